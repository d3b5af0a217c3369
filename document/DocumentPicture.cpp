// What the document records of a scan read from a picture.
#include "document/TarveloDoc.h"

namespace tarvelo {

void TarveloDoc::RecordPictureKeywords() {
  const PictureOrigin& picture = scan_.Header.Picture;
  if (!picture.IsPicture) return;
  keywords_.AddText("/Source_File_Type: " + picture.Format + " picture");
  keywords_.AddText("/Processing_History: " + picture.Format + " picture --> ScanImageMIDI");
  keywords_.AddKeyValue("/picture_geometry: ",
                        std::to_string(picture.Width) + " x " + std::to_string(picture.Rows) + " pixels | " +
                            picture.DpiNote + " | " + std::to_string(scan_.Header.LinesPerInch) +
                            " lines per inch | from the " + (picture.StartsAtBottom ? "bottom" : "top") + " row");
  keywords_.AddKeyValue("/picture_holes: ", std::string(picture.HolesLight ? "light" : "dark") +
                                                " | brightness threshold " + std::to_string(picture.Threshold));
  keywords_.AddKeyValue("/play_tempo_from: ", picture.TempoSource);
}

}  // namespace tarvelo
