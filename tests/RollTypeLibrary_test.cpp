#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cis/CisReader.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/DescribeRollType.h"
#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;
using testing::TempDir;
using testing::WriteBytes;

const std::string kShipped = std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml";

const std::string kSmallLibrary =
    "<?xml version=\"1.0\"?>\n<RollTypeDefinitions>\n"
    "  <RollType Name=\"First\"><DefaultTrackNoteVelocity>40</DefaultTrackNoteVelocity></RollType>\n"
    "  <RollType><DefaultTrackNoteVelocity>41</DefaultTrackNoteVelocity></RollType>\n"
    "  <Other Name=\"not a roll type\"/>\n"
    "  <RollType Name=\"Caf\xC3\xA9 \xE2\x80\x93 "
    "\xF0\x9F\x8E\xB9\"><DefaultTrackNoteVelocity>42</DefaultTrackNoteVelocity>"
    "</RollType>\n"
    "</RollTypeDefinitions>\n";

// UTF-8 text to UTF-16 little-endian bytes with the FF FE byte-order mark.
std::string ToUtf16WithBom(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    uint32_t code;
    int length;
    if (b < 0x80)
      code = b, length = 1;
    else if (b < 0xE0)
      code = b & 0x1F, length = 2;
    else if (b < 0xF0)
      code = b & 0x0F, length = 3;
    else
      code = b & 0x07, length = 4;
    for (int k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<size_t>(length);
    auto unit = [&out](uint32_t u) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>(u >> 8);
    };
    if (code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  return out;
}

// ASCII text as UTF-16 big-endian bytes (not a supported encoding).
std::string BigEndian(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string(1, '\0') + c;
  return out;
}

// Loads as the front ends do: a failure the load returns is shown as one error message.
Result LoadReporting(const std::vector<std::string>& candidates, XmlDocument& doc, std::vector<std::string>& names,
                     RecordingFrontEnd& ui, std::string* loaded_path = nullptr) {
  Result loaded = LoadRollTypeDefinitions(candidates, doc, names, loaded_path);
  if (!loaded.ok()) ui.ShowMessage(MessageKind::kError, loaded.message());
  return loaded;
}

TEST(RollTypeLibrary, LoadsNamesInFileOrderFromTheFirstCandidateThatOpens) {
  TempDir dir;
  WriteBytes(dir.File("RollTypeDefinitions.xml"), kSmallLibrary);
  RecordingFrontEnd ui;
  XmlDocument doc;
  std::vector<std::string> names;
  std::string loaded;
  ASSERT_TRUE(LoadReporting({dir.File("missing.xml"), dir.File("RollTypeDefinitions.xml")}, doc, names, ui, &loaded));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(loaded, dir.File("RollTypeDefinitions.xml"));
  EXPECT_EQ(names, (std::vector<std::string>{"Fail-Safe", "First", "", "Caf\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x8E\xB9"}));
}

TEST(RollTypeLibrary, EachProblemHasItsMessageAndLeavesOnlyFailSafe) {
  TempDir dir;
  struct Case {
    std::string bytes;
    std::string message;
  };
  const std::vector<Case> cases = {
      {std::string("<RollTypeDefinitions>\0\0\0", 24) + std::string(100, '\x01'),
       "Error converting file to string (may contain binary data)"},
      {"\xFE\xFF" + BigEndian(kSmallLibrary), "Error converting file to string (may contain binary data)"},
      {"<RollTypeDefinitions><RollType Name='x'></RollTypeDefinitions>",
       "Loading the XML config file :  File Does Not Parse Properly"},
  };
  for (const Case& c : cases) {
    WriteBytes(dir.File("lib.xml"), c.bytes);
    RecordingFrontEnd ui;
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocument(kSmallLibrary));
    std::vector<std::string> names = {"stale"};
    EXPECT_FALSE(LoadReporting({dir.File("lib.xml")}, doc, names, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
    EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});
    doc.ResetPosition();
    EXPECT_FALSE(doc.FindElement("")) << "the parsed tree is empty after a failed load";
  }

  RecordingFrontEnd ui;
  XmlDocument doc;
  std::vector<std::string> names;
  EXPECT_EQ(LoadReporting({dir.File("none1.xml"), dir.File("none2.xml")}, doc, names, ui).kind(),
            Result::Kind::kNotFound);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Unable to open XML config file " + dir.File("none1.xml")});
  EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});

  // Parsed, but without roll types: no message, Fail-Safe only.
  WriteBytes(dir.File("lib.xml"), "<Something><Else/></Something>");
  RecordingFrontEnd quiet;
  EXPECT_TRUE(LoadReporting({dir.File("lib.xml")}, doc, names, quiet));
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});
}

TEST(RollTypeLibrary, ABareRollTypeTopElementIsListed) {
  // Without a RollTypeDefinitions top element the RollType search runs at the top level: a
  // bare RollType is found there, a RollType inside another element is not.
  TempDir dir;
  RecordingFrontEnd ui;
  XmlDocument doc;
  std::vector<std::string> names;
  WriteBytes(dir.File("lib.xml"),
             "<RollType Name='Bare'><HighestTrackHoleNumber>90</HighestTrackHoleNumber></RollType>");
  EXPECT_TRUE(LoadReporting({dir.File("lib.xml")}, doc, names, ui));
  EXPECT_EQ(names, (std::vector<std::string>{"Fail-Safe", "Bare"}));
  WriteBytes(dir.File("lib.xml"), "<Other><RollType Name='Inner'/></Other>");
  EXPECT_TRUE(LoadReporting({dir.File("lib.xml")}, doc, names, ui));
  EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});
  EXPECT_TRUE(ui.messages.empty());
}

TEST(RollTypeLibrary, Utf16FileWithByteOrderMarkLoadsLikeItsUtf8Equivalent) {
  TempDir dir;
  WriteBytes(dir.File("utf8.xml"), kSmallLibrary);
  WriteBytes(dir.File("utf16.xml"), ToUtf16WithBom(kSmallLibrary));
  RecordingFrontEnd ui;
  XmlDocument doc8, doc16;
  std::vector<std::string> names8, names16;
  ASSERT_TRUE(LoadReporting({dir.File("utf8.xml")}, doc8, names8, ui));
  ASSERT_TRUE(LoadReporting({dir.File("utf16.xml")}, doc16, names16, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(names8, names16);
  EXPECT_EQ(doc8.Text(), doc16.Text());
  RollTypeDefinition a, b;
  EXPECT_TRUE(ApplyActiveRollType(a, names8[3], doc8, ui));
  EXPECT_TRUE(ApplyActiveRollType(b, names16[3], doc16, ui));
  EXPECT_EQ(a.TrackMidiVelocity[50], 42);
  EXPECT_EQ(a.TrackMidiVelocity, b.TrackMidiVelocity);
}

// A UTF-16 file cut by one byte used to load with its last character dropped.
TEST(RollTypeLibrary, Utf16FileOfAnOddLengthIsRefused) {
  TempDir dir;
  std::string utf16 = ToUtf16WithBom(kSmallLibrary);
  utf16.pop_back();
  WriteBytes(dir.File("odd.xml"), utf16);
  RecordingFrontEnd ui;
  XmlDocument doc;
  std::vector<std::string> names;
  EXPECT_FALSE(LoadReporting({dir.File("odd.xml")}, doc, names, ui));
  EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});
  ASSERT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
  EXPECT_EQ(ui.messages[0].rfind("Loading the XML config file :  File Does Not Parse Properly", 0), 0u)
      << ui.messages[0];
}

TEST(RollTypeLibrary, FileAbove16MegabytesIsRefusedUnread) {
  TempDir dir;
  WriteBytes(dir.File("huge.xml"), "<RollTypeDefinitions>");
  std::filesystem::resize_file(dir.File("huge.xml"), kMaxRollTypeFileBytes + 1);  // sparse: no disk taken
  WriteBytes(dir.File("small.xml"), kSmallLibrary);
  RecordingFrontEnd ui;
  XmlDocument doc;
  std::vector<std::string> names;
  // Not passed over for the next candidate either: the file named first is the one refused.
  EXPECT_EQ(LoadReporting({dir.File("huge.xml"), dir.File("small.xml")}, doc, names, ui).kind(),
            Result::Kind::kInvalid);
  EXPECT_EQ(names, std::vector<std::string>{"Fail-Safe"});
  ASSERT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
  EXPECT_EQ(ui.messages[0],
            "The roll type file " + dir.File("huge.xml") +
                " holds 16777217 bytes, more than the 16777216 a roll type file may hold; it is not read.");
  // A file of exactly the limit is read.
  std::filesystem::resize_file(dir.File("huge.xml"), kMaxRollTypeFileBytes);
  ui.messages.clear();
  ui.kinds.clear();
  EXPECT_EQ(LoadReporting({dir.File("huge.xml")}, doc, names, ui).kind(), Result::Kind::kCorrupt);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Error converting file to string (may contain binary data)");
}

TEST(RollTypeLibrary, CandidatesStartInTheWorkingFolder) {
  const auto candidates = RollTypeDefinitionsCandidates("/work/dir", "/opt/tarvelo/bin/tarvelo-cli");
  ASSERT_GE(candidates.size(), 3u);
  // Compared as paths: on Windows the names are joined with backslashes.
  using std::filesystem::path;
  EXPECT_EQ(path(candidates[0]), path("/work/dir/RollTypeDefinitions.xml"));
  EXPECT_EQ(path(candidates[1]), path("/opt/tarvelo/bin/RollTypeDefinitions.xml"));
  EXPECT_EQ(path(candidates[2]), path("/opt/tarvelo/share/tarvelo/RollTypeDefinitions.xml"));
  EXPECT_EQ(path(candidates.back()), path(std::string(TARVELO_DATA_DIR) + "/RollTypeDefinitions.xml"));
  // Nothing twice, empty inputs skipped.
  const auto plain = RollTypeDefinitionsCandidates("", "");
  ASSERT_EQ(plain.size(), 1u);
  const auto same = RollTypeDefinitionsCandidates(TARVELO_DATA_DIR, "");
  EXPECT_EQ(same.size(), 1u);
}

// ---- The shipped library ---------------------------------------------------------------

struct Shipped {
  XmlDocument doc;
  std::vector<std::string> names;
  RecordingFrontEnd ui;
  Shipped() { EXPECT_TRUE(LoadReporting({kShipped}, doc, names, ui)); }
  RollTypeDefinition Get(const std::string& name) {
    RollTypeDefinition r;
    EXPECT_TRUE(ApplyActiveRollType(r, name, doc, ui)) << name;
    return r;
  }
};

TEST(ShippedRollTypes, LoadWithoutAnyMessageAndListTheCommonTypes) {
  Shipped lib;
  EXPECT_TRUE(lib.ui.messages.empty());
  for (const char* name : {"88-Note", "65-Note", "Ampico A", "Ampico B", "Duo-Art", "Welte Licensee", "Welte T-100 Red",
                           "Welte T-98 Green", "Recordo", "Artecho", "Aeolian 176-Note Organ"}) {
    EXPECT_NE(std::find(lib.names.begin(), lib.names.end(), name), lib.names.end()) << name;
  }
  EXPECT_EQ(lib.names[0], "Fail-Safe");
  for (size_t i = 1; i < lib.names.size(); ++i) lib.Get(lib.names[i]);
  EXPECT_TRUE(lib.ui.messages.empty()) << lib.ui.messages.front();
}

TEST(ShippedRollTypes, HoleRangesNotesAndPedals) {
  Shipped lib;
  struct Expect {
    const char* name;
    int lowest, highest;  // hole range
    int first_note_track, last_note_track, first_pitch;
    int sustain_track;  // -1: none on note 18
  };
  const Expect expected[] = {
      {"88-Note", 16, 113, 21, 108, 21, 18},        {"Ampico A", 16, 113, 23, 105, 23, 18},
      {"Ampico B", 15, 114, 23, 105, 23, 18},       {"Duo-Art", 16, 113, 25, 104, 25, 18},
      {"Welte Licensee", 16, 113, 24, 103, 24, -1}, {"Welte T-98 Green", 16, 113, 21, 108, 21, 18},
      {"Recordo", 16, 113, 21, 108, 21, 18},        {"Artecho", 15, 114, 23, 105, 23, 18},
      {"Welte T-100 Red", 1, 100, 11, 90, 24, -1},  {"65-Note", 1, 65, 1, 65, 33, -1},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    const RollTypeDefinition r = lib.Get(e.name);
    EXPECT_EQ(r.LowestTrackHoleNumber, e.lowest);
    EXPECT_EQ(r.HighestTrackHoleNumber, e.highest);
    EXPECT_EQ(r.LowestTrackUsedForRestoration, e.first_note_track);
    EXPECT_EQ(r.HighestTrackUsedForRestoration, e.last_note_track);
    EXPECT_EQ(r.LowerRollEdgeExpectedLocation, 1.6);
    for (int n = e.first_note_track; n <= e.last_note_track; ++n) {
      EXPECT_EQ(r.TrackMidiPitch[n], e.first_pitch + (n - e.first_note_track)) << n;
      EXPECT_EQ(r.TrackMidiVelocity[n], 85) << n;
      EXPECT_EQ(r.TrackMidiChannel[n], 0) << n;
    }
    // Note 18 is the eRoll output's sustain pedal: only a real sustain hole may play it.
    std::vector<int> on_18;
    for (int n = e.lowest; n <= e.highest; ++n)
      if (r.TrackMidiPitch[n] == 18) on_18.push_back(n);
    EXPECT_EQ(on_18, e.sustain_track < 0 ? std::vector<int>{} : std::vector<int>{e.sustain_track});
    // Control holes outside the notes play silently.
    for (int n = e.lowest; n < e.first_note_track; ++n) EXPECT_LE(r.TrackMidiVelocity[n], 85) << n;
  }
  // The lock-and-cancel Welte holes in the sustain place keep notes off 18.
  EXPECT_EQ(lib.Get("Welte Licensee").TrackMidiPitch[18], 14);
  EXPECT_EQ(lib.Get("Welte T-100 Red").TrackMidiPitch[5], 13);
  EXPECT_EQ(lib.Get("Welte T-100 Red").TrackMidiPitch[93], 106);
  EXPECT_TRUE(lib.Get("Welte T-100 Red").ApplyAccelerationToTempo);
  EXPECT_EQ(lib.Get("Welte T-100 Red").TakeupSpoolAccelerationPctPerFoot, 0.22);
  EXPECT_FALSE(lib.Get("Duo-Art").ApplyAccelerationToTempo);

  const RollTypeDefinition organ = lib.Get("Aeolian 176-Note Organ");
  EXPECT_EQ(organ.ChannelInstrument[0], 19);
  EXPECT_EQ(organ.ChannelInstrument[1], 19);
  EXPECT_EQ(organ.TrackMidiChannel[33], 1);
  EXPECT_EQ(organ.TrackMidiPitch[33], 36);
  EXPECT_EQ(organ.TrackMidiChannel[148], 0);
  EXPECT_EQ(organ.TrackMidiPitch[148], 93);
  EXPECT_EQ(organ.TrackMidiChannel[1], 3);
}

TEST(ShippedRollTypes, TrackBandsRiseAcrossTheRollWithoutOverlap) {
  Shipped lib;
  for (size_t i = 1; i < lib.names.size(); ++i) {
    SCOPED_TRACE(lib.names[i]);
    const RollTypeDefinition r = lib.Get(lib.names[i]);
    const int lowest = r.LowestTrackHoleNumber, highest = r.HighestTrackHoleNumber;
    // The pixel-to-track map takes the lowest-numbered slot whose band reaches a pixel, so every
    // slot below the first track must end below it, and the bands must rise.
    for (int n = 0; n < lowest; ++n) EXPECT_LE(r.TrackUpperBoundary[n], r.TrackLowerBoundary[lowest] + 1e-9) << n;
    for (int n = lowest; n < highest; ++n) {
      EXPECT_LT(r.TrackCenter[n], r.TrackCenter[n + 1]) << n;
      EXPECT_LE(r.TrackUpperBoundary[n], r.TrackLowerBoundary[n + 1] + 1e-6) << n;
      EXPECT_NEAR(r.TrackCenter[n], (r.TrackLowerBoundary[n] + r.TrackUpperBoundary[n]) / 2, 1e-9) << n;
    }
    EXPECT_GT(r.TrackLowerBoundary[lowest], r.LowerRollEdgeExpectedLocation);
    EXPECT_LT(r.TrackUpperBoundary[highest], r.UpperRollEdgeExpectedLocation);
  }
  // T-100: hole k centred 1.6 + (k + 1) x 0.12526 in.
  const RollTypeDefinition red = Shipped().Get("Welte T-100 Red");
  EXPECT_NEAR(red.TrackCenter[1], 1.85052, 1e-5);
  EXPECT_NEAR(red.TrackCenter[100], 1.6 + 101 * 0.12526, 1e-5);
  EXPECT_NEAR(red.TrackWidth[50], 0.12526, 1e-9);
}

// The hole columns of a real Ampico B scan sit on the Ampico B track centres once the paper's
// bass edge is placed at 1.6 inch.
TEST(ShippedRollTypes, AmpicoBColumnsOfARealScanSitOnTheTrackCentres) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string bytes = testing::ReadBytes((testing::RealCisDir() / "stepper_bicolor.CIS").string());
  RecordingFrontEnd ui;
  CisScanData scan;
  scan.Header.Names.Name = "stepper_bicolor";
  scan.Header.Names.Extension = "CIS";
  ASSERT_TRUE(ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, false, scan, ui).ok());
  const int hole_image_width = scan.Run.ScanWidth / 2;  // the second half is an ink channel
  const double dpi = 300.0;

  // The paper's bass edge: the end of the first dark run, median over the lines.
  std::vector<int> edges;
  for (int i = 0; i < scan.Lines.Size(); ++i)
    if (scan.Lines.TransitionCount(i) > 2) edges.push_back(scan.Lines.Transitions(i)[1]);
  std::nth_element(edges.begin(), edges.begin() + static_cast<long>(edges.size() / 2), edges.end());
  const double edge = edges[edges.size() / 2];

  const RollTypeDefinition r = Shipped().Get("Ampico B");
  std::map<int, std::pair<long, double>> per_track;  // count, summed offset from the centre
  long holes = 0;
  for (int i = 0; i < scan.Lines.Size(); ++i) {
    const auto t = scan.Lines.Transitions(i);
    for (size_t k = 2; k + 1 < t.size() && t[k + 1] <= hole_image_width; k += 2) {
      const int width = t[k + 1] - t[k];
      if (width < 8 || width > 60) continue;
      const double y = 1.6 + ((t[k] + t[k + 1]) / 2.0 - edge) / dpi;
      if (y < r.LowerRollEdgeExpectedLocation || y > r.UpperRollEdgeExpectedLocation) continue;
      int n = 0;
      while (n < 255 && r.TrackUpperBoundary[n] < y) ++n;
      per_track[n].first++;
      per_track[n].second += y - r.TrackCenter[n];
      ++holes;
    }
  }
  ASSERT_GT(holes, 100000);
  int columns = 0;
  for (const auto& [n, stats] : per_track) {
    if (stats.first < holes / 1000) continue;  // stray marks
    ++columns;
    EXPECT_GE(n, r.LowestTrackHoleNumber);
    EXPECT_LE(n, r.HighestTrackHoleNumber);
    EXPECT_LT(std::fabs(stats.second / stats.first), 0.03) << "track " << n;
  }
  EXPECT_GT(columns, 60);
  EXPECT_GT(per_track[18].first, holes / 1000) << "sustain";
  EXPECT_GT(per_track[111].first, holes / 1000) << "soft";
  EXPECT_GT(per_track[15].first, holes / 1000) << "amplifier, found only on B rolls";
}

TEST(DescribeRollType, ListsSettingsAndTheTracksOfTheHoleRange) {
  Shipped lib;
  const std::string text = DescribeRollType(lib.Get("Duo-Art"));
  EXPECT_NE(text.find("Name: Duo-Art\n"), std::string::npos);
  EXPECT_NE(text.find("UpperRollEdgeExpectedLocation: 12.85\n"), std::string::npos);
  // Track 18: 2 .. 2.0555556 .. 2.1111111, channel 0, pitch 18, velocity 1.
  EXPECT_NE(text.find("   18         2.  2.0555556  2.1111111       0    18        1\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n   15 "), std::string::npos);
  EXPECT_NE(text.find("\n  113 "), std::string::npos);
  EXPECT_EQ(text.find("\n  114 "), std::string::npos);
}

TEST(TarveloDocRollType, AppliedRollTypeNamesTheConversion) {
  Shipped lib;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  EXPECT_EQ(doc.RollTypeName(), "Fail-Safe");
  EXPECT_EQ(doc.RollType().HighestTrackHoleNumber, 119);
  for (size_t i = 1; i < lib.names.size(); ++i) {
    ASSERT_TRUE(doc.ApplyRollType(lib.doc, lib.names[i]));
    doc.RunPipeline(ui.settings);
    const int at = doc.Keywords().FindKey("/CIS_converted_as_type:");
    ASSERT_GE(at, 0);
    EXPECT_EQ(doc.Keywords().Items()[static_cast<size_t>(at)].Value, lib.names[i]);
  }
  EXPECT_FALSE(doc.ApplyRollType(lib.doc, "Nope"));
  EXPECT_EQ(doc.RollTypeName(), "Nope");
  EXPECT_EQ(doc.RollType().HighestTrackHoleNumber, 119);
  EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
  // A roll type applied once elsewhere (as a batch does) and handed to the document.
  RollTypeDefinition recordo;
  ASSERT_TRUE(ApplyActiveRollType(recordo, "Recordo", lib.doc, ui));
  doc.SetRollType(recordo);
  EXPECT_EQ(doc.RollTypeName(), "Recordo");
  doc.RunPipeline(ui.settings);
  EXPECT_EQ(doc.Keywords().ItemText(doc.Keywords().FindKey("/CIS_converted_as_type:")),
            "/CIS_converted_as_type: Recordo");
}

}  // namespace
}  // namespace tarvelo
