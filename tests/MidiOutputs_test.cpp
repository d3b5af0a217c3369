#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "helpers/Environment.h"
#include "helpers/MidiCsv.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "midi/CreditDate.h"
#include "midi/ERollMidi.h"
#include "midi/MidiOutputPath.h"
#include "midi/ScanImageMidi.h"
#include "support/ProgramVersion.h"

namespace tarvelo {
namespace {

using testing::ExpectSoundMidiFile;
using testing::MidiCsvListing;
using testing::RecordingFrontEnd;
using testing::RecordsOfKind;
using testing::TempDir;

using ScopedEnv = testing::ScopedEnvironment;

// One output written from hand-made events into a fresh folder.
struct Output {
  TempDir dir;
  RecordingFrontEnd ui;
  RollTypeDefinition roll;
  RollInfo info;
  KeywordList keywords;
  EventList events;
  std::string folder = dir.Path().string() + "/";
  std::string name = "roll";
  int tempo = 80;
  ScopedEnv date{"SOURCE_DATE_EPOCH", "1182556800"};  // Saturday, June 23, 2007

  // The texts as the converter always wrote them, unless a test asks for the descriptive ones.
  explicit Output(bool literal = true) {
    Set("OutputFiles", "LiteralRollInfo", literal ? 1 : 0);
    Add(EventKind::kText, 0, 0).Text = "/CIS_embedded_title: Roll";
  }
  TrackEvent& Add(EventKind kind, int track, uint32_t y, int value = 0) {
    TrackEvent event;
    event.Kind = kind;
    event.Track = track;
    event.YPosition = y;
    event.Value = value;
    events.push_back(event);
    return events.back();
  }
  void Note(int track, uint32_t on, uint32_t off) {
    Add(EventKind::kNoteOn, track, on, 85);
    Add(EventKind::kNoteOff, track, off);
  }
  // The outputs take their naming and framing settings from the profile as it is now.
  MidiOutputResult ScanImage() {
    SortEventsByPosition(events);
    ui.ReloadSettings();
    return WriteScanImageMidi(Source(), events, keywords, ui);
  }
  MidiOutputResult ERoll() {
    SortEventsByPosition(events);
    ui.ReloadSettings();
    return WriteERollMidi(Source(), events, keywords, ui);
  }
  MidiOutputSource Source() const {
    return {folder, name, tempo, roll, info, ui.settings.General, ui.settings.ERoll, ui.settings.Outputs};
  }
  void Set(const char* section, const char* key, int value) {
    ui.Store().WriteProfileInt(section, key, value).Ignore();
  }
};

// The records after the texts the outputs put first: the music and the framing events.
std::vector<std::string> Body(const MidiCsvListing& listing) {
  std::vector<std::string> body;
  bool started = false;
  for (const std::string& line : listing.lines) {
    const bool text = line.find("_t, ") != std::string::npos || line.find(", Tempo, ") != std::string::npos ||
                      line.find(", Time_signature,") != std::string::npos ||
                      line.find(", Key_signature,") != std::string::npos;
    if (!started &&
        (text || line.find(", Header,") != std::string::npos || line.find("Start_track") != std::string::npos))
      continue;
    started = true;
    if (line != "0, 0, End_of_file") body.push_back(line);
  }
  return body;
}

// Every text-like record's text, in order.
std::vector<std::string> Texts(const MidiCsvListing& listing) {
  std::vector<std::string> texts;
  for (const std::string& line : listing.lines) {
    const size_t quote = line.find('"');
    if (quote == std::string::npos || line.find("_t, ") == std::string::npos) continue;
    texts.push_back(line.substr(quote + 1, line.size() - quote - 2));
  }
  return texts;
}

TEST(CreditDate, FormatsTheSourceDateEpochInEnglish) {
  {
    ScopedEnv date("SOURCE_DATE_EPOCH", "1182643199");
    EXPECT_EQ(CreditDateText(), "Saturday, June 23, 2007");
  }
  {
    ScopedEnv date("SOURCE_DATE_EPOCH", "0");
    EXPECT_EQ(CreditDateText(), "Thursday, January 01, 1970");
  }
  ScopedEnv date("SOURCE_DATE_EPOCH", "not a number");  // the local clock: some real date
  EXPECT_NE(CreditDateText().find(", 20"), std::string::npos);
}

TEST(MidiOutputs, EachKindIsNamedByItsOwnPrefixAndSuffix) {
  GeneralSettings general;
  general.ScanMidiFilePrefix = "s_";
  general.ScanMidiFileSuffix = "_S";
  ERollSettings eroll;
  eroll.eRollMidiFilePrefix = "e_";
  eroll.eRollMidiFileSuffix = "_E";
  OutputSettings outputs;
  outputs.ExpressionMidiFilePrefix = "x_";
  outputs.ExpressionMidiFileSuffix = "_X";
  auto path = [&](MidiOutputKind kind, const std::string& folder) {
    return MidiOutputPath(kind, folder, "Roll 12", general, eroll, outputs);
  };
  EXPECT_EQ(path(MidiOutputKind::kScanImage, "out/"), "out/s_Roll 12_S.mid");
  EXPECT_EQ(path(MidiOutputKind::kERoll, "out/"), "out/e_Roll 12_E.mid");
  EXPECT_EQ(path(MidiOutputKind::kExpression, ""), "x_Roll 12_X.mid");
}

TEST(ScanImageMidi, TextsComeFirstInTheirOrder) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.info.Title = "Nocturne";
  out.info.RollManufacturer = "Ampico";
  out.info.RollClass = "A";
  out.info.RollNumber = "  123";
  out.info.Composer = "  Chopin ";
  out.info.MiscInfo = "hand-played";
  out.keywords.AddText("/play_tempo: 80");
  out.Note(60, 1000, 1500);
  const MidiOutputResult result = out.ScanImage();
  ASSERT_TRUE(result.Outcome.ok()) << result.Outcome.message();
  EXPECT_EQ(result.Path, out.folder + "roll_ScanImageMIDI.mid");
  EXPECT_EQ(out.ui.statuses, std::vector<std::string>{"Writing Output MIDI File"});
  EXPECT_TRUE(out.ui.messages.empty());

  const auto listing = ExpectSoundMidiFile(result.Path);
  EXPECT_EQ(RecordsOfKind(listing, "Tempo"), std::vector<std::string>{"1, 0, Tempo, 750000"});
  EXPECT_EQ(RecordsOfKind(listing, "Title_t"),
            std::vector<std::string>{"1, 0, Title_t, \"Nocturne - Ampico A #   123\""});  // entries as stored
  std::vector<std::string> expected = {
      "Nocturne - Ampico A #   123",
      "copyright info here",
      "Conversion to ScanImage MIDI made Saturday, June 23, 2007 with Quenby CIS converter - "
      "https://tarvelo.example.org",
      "CIS to ScanImageMIDI converter - Beta Version - June. 23, 2007",
      "Fail-Safe Roll Type Scan Image",
  };
  for (const std::string& text : out.info.EmbeddedTexts()) expected.push_back(text);
  expected.push_back("/CIS_embedded_title: Roll");
  expected.push_back("/play_tempo: 80");
  EXPECT_EQ(Texts(listing), expected);
  EXPECT_EQ(expected[5 + 2], "/subtitle: ");        // empty entries are written too
  EXPECT_EQ(expected[5 + 9], "/composer: Chopin");  // trimmed
  EXPECT_EQ(expected[5 + 23], "hand-played");       // the misc info without a keyword
}

// Without the literal switch both outputs claim nothing nobody said: the template's
// stand-ins and the shipped copyright text are left out, the credit names no web address
// unless one is set, and the version text names the release instead of a beta date.
TEST(MidiOutputs, DescriptiveTextsLeaveOutPlaceholders) {
  TARVELO_REQUIRE_MIDICSV();
  for (const bool eroll : {false, true}) {
    Output out(false);
    IniProfile shipped;
    out.info = RollInfo(shipped);  // every template entry at its shipped default
    out.info.Title = "Nocturne";
    out.info.ScannedBy = "A. Archivist";  // a real value stays
    out.info.Owner = "  Name Of Roll Owner ";
    out.Note(60, 1000, 1500);
    const MidiOutputResult result = eroll ? out.ERoll() : out.ScanImage();
    ASSERT_TRUE(result.Outcome.ok()) << result.Outcome.message();
    const auto listing = ExpectSoundMidiFile(result.Path);
    EXPECT_TRUE(RecordsOfKind(listing, "Copyright_t").empty());
    const std::vector<std::string> texts = Texts(listing);
    const auto has = [&texts](const std::string& text) {
      return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    for (const char* absent : {"/owner: Name Of Roll Owner", "/date_scanned: Today's Date",
                               "/scanning_system: Type Of Scanning System", "/music_category: Piano_Roll : Classical"})
      EXPECT_FALSE(has(absent)) << absent;
    for (const char* kept :
         {"/scanned_by: A. Archivist", "/printed_image_capture: n/a", "/title: Nocturne", "/composer: "})
      EXPECT_TRUE(has(kept)) << kept;
    for (const std::string& text : texts) {
      EXPECT_EQ(text.find("example.org"), std::string::npos) << text;
      EXPECT_EQ(text.find("Beta Version"), std::string::npos) << text;
    }
    const std::string credit =
        eroll ? ERollCreditText("Saturday, June 23, 2007", "") : ScanImageCreditText("Saturday, June 23, 2007", "");
    EXPECT_TRUE(has(credit)) << credit;
    EXPECT_TRUE(has("CIS to ScanImageMIDI converter - Version " + ProgramVersion() +
                    (ProgramBuild().empty() ? "" : " - build " + ProgramBuild())));
  }

  Output named(false);
  named.ui.Store().WriteProfileString("OutputFiles", "CreditWebAddress", " https://rolls.example.net ").Ignore();
  named.ui.Store().WriteProfileString("Midi Gen Settings", "MidiCopyrightInfoString", "(c) 1925 Ampico").Ignore();
  named.Note(60, 1000, 1500);
  const auto listing = ExpectSoundMidiFile(named.ScanImage().Path);
  EXPECT_EQ(RecordsOfKind(listing, "Copyright_t"), std::vector<std::string>{"1, 0, Copyright_t, \"(c) 1925 Ampico\""});
  const auto texts = Texts(listing);
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      "Conversion to ScanImage MIDI made Saturday, June 23, 2007 with Quenby CIS converter - "
                      "https://rolls.example.net"),
            texts.end());
}

TEST(ScanImageMidi, LeadInTruncatedTicksAndLeftOutTracks) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.roll.TrackMidiChannel[63] = 2;
  out.Add(EventKind::kTempo, 0, 500).TempoValue = 700000;  // before the first playable event: delta 0
  out.Note(60, 1000, 2200);                                // 2200 is 1.2 inches after 1000: 480 ticks
  out.Note(61, 1001, 2300);
  out.Note(62, 1002, 2400);
  out.Note(63, 1003, 2500);   // tick 401
  out.Note(130, 1500, 2000);  // beyond note 127: left out, time not taken
  const MidiOutputResult result = out.ScanImage();
  ASSERT_TRUE(result.Outcome.ok());
  const auto listing = ExpectSoundMidiFile(result.Path);
  EXPECT_EQ(RecordsOfKind(listing, "Tempo"), (std::vector<std::string>{"1, 0, Tempo, 750000", "1, 0, Tempo, 700000"}));
  EXPECT_EQ(Body(listing),
            (std::vector<std::string>{
                "1, 1280, Note_on_c, 0, 60, 85", "1, 1280, Note_on_c, 0, 61, 85", "1, 1280, Note_on_c, 0, 62, 85",
                "1, 1281, Note_on_c, 2, 63, 85", "1, 1760, Note_on_c, 0, 60, 0", "1, 1800, Note_on_c, 0, 61, 0",
                "1, 1840, Note_on_c, 0, 62, 0", "1, 1880, Note_on_c, 2, 63, 0", "1, 1880, End_track"}));

  Output none;
  none.Set("Midi Gen Settings", "ScanMidiLeadInTime", 0);
  none.Note(60, 1000, 2200);
  ASSERT_TRUE(none.ScanImage().Outcome.ok());
  EXPECT_EQ(Body(ExpectSoundMidiFile(none.folder + "roll_ScanImageMIDI.mid")).front(), "1, 0, Note_on_c, 0, 60, 85");
}

TEST(ScanImageMidi, NamePartsPedalsMetaTextsAndUnhandledTypes) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.ui.Store().WriteProfileString("Midi Gen Settings", "ScanMidiFilePrefix", "pre_").Ignore();
  out.ui.Store().WriteProfileString("Midi Gen Settings", "ScanMidiFileSuffix", "_post").Ignore();
  out.Add(EventKind::kSustainPedal, 40, 1000, 100);
  out.Add(EventKind::kSoftPedal, 40, 1000, 0);
  out.Add(EventKind::kMarker, 0, 1200).Text = "mark";
  out.Add(EventKind::kLyric, 0, 1200).Text = "la";
  TrackEvent& odd = out.Add(static_cast<EventKind>(500), 41, 1200, 9);  // no kind the outputs know
  odd.Text = "odd";
  const MidiOutputResult result = out.ScanImage();
  ASSERT_TRUE(result.Outcome.ok());
  EXPECT_EQ(result.Path, out.folder + "pre_roll_post.mid");
  EXPECT_EQ(Body(ExpectSoundMidiFile(result.Path)),
            (std::vector<std::string>{"1, 1280, Control_c, 0, 64, 100", "1, 1280, Control_c, 0, 67, 0",
                                      "1, 1360, Marker_t, \"mark\"", "1, 1360, Lyric_t, \"la\"",
                                      "1, 1360, Control_c, 0, 4, 9", "1, 1360, End_track"}));
  EXPECT_EQ(out.ui.kinds, std::vector<MessageKind>{MessageKind::kWarning});
  EXPECT_EQ(out.ui.messages, std::vector<std::string>{"Unhandled Event Encountered : \n Event Type = 500\n Event Y "
                                                      "Position = 1200\n Event Text = odd"});
}

TEST(ERollMidi, PowerRollMarkersLeadInAndTrailer) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.roll.TrackMidiPitch[40] = 52;
  out.roll.TrackMidiChannel[40] = 1;
  out.Note(40, 1000, 2200);
  const MidiOutputResult result = out.ERoll();
  ASSERT_TRUE(result.Outcome.ok());
  EXPECT_EQ(result.Path, out.folder + "roll_eRollMIDI.mid");
  EXPECT_EQ(Body(ExpectSoundMidiFile(result.Path)),
            (std::vector<std::string>{"1, 0, Program_c, 0, 0", "1, 0, Note_on_c, 0, 1, 1", "1, 100, Note_on_c, 0, 1, 0",
                                      "1, 1480, Note_on_c, 1, 52, 85", "1, 1960, Note_on_c, 1, 52, 0",
                                      "1, 3240, Note_on_c, 0, 0, 1", "1, 3340, Note_on_c, 0, 0, 0",
                                      "1, 3350, Control_c, 0, 120, 0", "1, 3350, End_track"}));

  Output off;
  off.Set("Midi eRoll Settings", "IncludePowerRollEvents", 0);
  off.Set("Midi eRoll Settings", "eRollMidiTrailerTime", 1);
  off.Note(40, 1000, 2200);
  ASSERT_TRUE(off.ERoll().Outcome.ok());
  EXPECT_EQ(Body(ExpectSoundMidiFile(off.folder + "roll_eRollMIDI.mid")),
            (std::vector<std::string>{"1, 0, Program_c, 0, 0", "1, 1280, Note_on_c, 0, 40, 85",
                                      "1, 1760, Note_on_c, 0, 40, 0", "1, 2400, Control_c, 0, 120, 0",
                                      "1, 2400, End_track"}));
}

TEST(ERollMidi, ProgramChangesAndNote18Sustain) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.Set("Midi eRoll Settings", "IncludePowerRollEvents", 0);
  out.roll.ChannelInstrument[9] = 5;
  out.roll.TrackMidiPitch[3] = 18;
  out.Note(3, 1000, 1600);
  ASSERT_TRUE(out.ERoll().Outcome.ok());
  EXPECT_EQ(Body(ExpectSoundMidiFile(out.folder + "roll_eRollMIDI.mid")),
            (std::vector<std::string>{"1, 0, Program_c, 0, 0", "1, 0, Program_c, 9, 5", "1, 1280, Note_on_c, 0, 18, 85",
                                      "1, 1280, Control_c, 0, 64, 127", "1, 1520, Note_on_c, 0, 18, 0",
                                      "1, 1520, Control_c, 0, 64, 0", "1, 2800, Control_c, 0, 120, 0",
                                      "1, 2800, End_track"}));

  Output plain;
  plain.Set("Midi eRoll Settings", "IncludePowerRollEvents", 0);
  plain.Set("Midi eRoll Settings", "IncludeTrack18SustainPedal", 0);
  plain.Note(18, 1000, 1600);  // Fail-Safe: track 18 is note 18
  ASSERT_TRUE(plain.ERoll().Outcome.ok());
  EXPECT_TRUE(RecordsOfKind(ExpectSoundMidiFile(plain.folder + "roll_eRollMIDI.mid"), "Control_c").size() == 1u);
}

TEST(ERollMidi, KeywordItemsAndTempoAcceleration) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.keywords.AddText("/File_Type: ScanImageMIDI");
  out.keywords.AddText("/Source_File_Type: CIS file");
  out.keywords.AddText("/Processing_History: CIS --> ScanImageMIDI");
  out.roll.TakeupSpoolAccelerationPctPerFoot = 1;  // not applied: ApplyAccelerationToTempo is off
  out.Note(40, 1000, 2000);
  ASSERT_TRUE(out.ERoll().Outcome.ok());
  EXPECT_EQ(out.keywords.Count(), 3);
  EXPECT_EQ(out.keywords.ItemText(0), "/File_Type: eRollMIDI file");
  EXPECT_EQ(out.keywords.ItemText(1), "/Source_File_Type: CIS");
  EXPECT_EQ(out.keywords.ItemText(2), "/Processing_History: CIS --> eRollMIDI ");
  EXPECT_EQ(out.events.size(), 3u);
  const auto texts = Texts(ExpectSoundMidiFile(out.folder + "roll_eRollMIDI.mid"));
  const std::vector<std::string> tail(texts.end() - 9, texts.end());
  EXPECT_EQ(tail,
            (std::vector<std::string>{
                "/owner: ", "", "Roll Template Type Used = Fail-Safe",
                "Conversion to eRoll MIDI made Saturday, June 23, 2007 with Quenby E-Roll converter - "
                "https://tarvelo.example.org",
                "CIS to ScanImageMIDI converter - Beta Version - June. 23, 2007", "/CIS_embedded_title: Roll",
                "/File_Type: eRollMIDI file", "/Source_File_Type: CIS", "/Processing_History: CIS --> eRollMIDI "}));

  Output accel;
  accel.roll.ApplyAccelerationToTempo = true;
  accel.roll.TakeupSpoolAccelerationPctPerFoot = 1;  // 750 thousandths apart at tempo 80
  accel.Note(40, 1000, 2000);
  ASSERT_TRUE(accel.ERoll().Outcome.ok());
  EXPECT_EQ(accel.keywords.ItemText(0), "/eRollTempoAcceleration: 1.000 PctPerFoot  for takeup-spool acceleration");
  const auto listing = ExpectSoundMidiFile(accel.folder + "roll_eRollMIDI.mid");
  // 750 lies before the first note (delta 0); 1500 is 200 ticks after the note at 1000.
  EXPECT_EQ(RecordsOfKind(listing, "Tempo"),
            (std::vector<std::string>{"1, 0, Tempo, 750000", "1, 0, Tempo, 749531", "1, 1680, Tempo, 749063"}));
  const auto accel_texts = Texts(listing);  // the item set by the output comes before the three it changes
  EXPECT_EQ(accel_texts[accel_texts.size() - 4],
            "/eRollTempoAcceleration: 1.000 PctPerFoot  for takeup-spool acceleration");
}

TEST(MidiOutputs, ValuesBeyondTheMidiRangeAreLeftOutAndReportedOnce) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.roll.TrackMidiChannel[50] = 16;
  out.roll.TrackMidiPitch[51] = 200;
  out.roll.ChannelInstrument[3] = 300;
  out.Note(50, 1000, 1100);
  out.Note(50, 1200, 1300);
  out.Note(51, 1000, 1100);
  out.Note(52, 1000, 1100);
  ASSERT_TRUE(out.ERoll().Outcome.ok());
  const auto listing = ExpectSoundMidiFile(out.folder + "roll_eRollMIDI.mid");
  EXPECT_EQ(RecordsOfKind(listing, "Program_c"), std::vector<std::string>{"1, 0, Program_c, 0, 0"});
  const auto notes = RecordsOfKind(listing, "Note_on_c");
  EXPECT_EQ(notes.size(), 4u + 2u);       // the PowerRoll markers and track 52
  ASSERT_EQ(out.ui.messages.size(), 1u);  // one program change and six notes, told once
  EXPECT_EQ(out.ui.kinds[0], MessageKind::kWarning);
  EXPECT_NE(out.ui.messages[0].find("7 event(s) left out"), std::string::npos) << out.ui.messages[0];
  EXPECT_NE(out.ui.messages[0].find(out.folder + "roll_eRollMIDI.mid"), std::string::npos);

  // The ScanImage file maps the same channel; its own message names its own file.
  ASSERT_TRUE(out.ScanImage().Outcome.ok());
  ExpectSoundMidiFile(out.folder + "roll_ScanImageMIDI.mid");
  ASSERT_EQ(out.ui.messages.size(), 2u);
  EXPECT_NE(out.ui.messages[1].find("roll_ScanImageMIDI.mid"), std::string::npos);
}

TEST(MidiOutputs, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  Output out;
  out.folder = out.dir.File("missing") + "/";
  out.Note(40, 1000, 1100);
  const MidiOutputResult result = out.ScanImage();
  EXPECT_EQ(result.Outcome.kind(), Result::Kind::kIoError);
  ASSERT_EQ(out.ui.messages.size(), 1u);
  EXPECT_EQ(out.ui.kinds[0], MessageKind::kError);
  EXPECT_EQ(out.ui.messages[0], result.Outcome.message());
  EXPECT_NE(result.Outcome.message().find(out.folder + "roll_ScanImageMIDI.mid"), std::string::npos);
  EXPECT_NE(result.Outcome.message().find("No such file"), std::string::npos) << result.Outcome.message();
  EXPECT_TRUE(std::filesystem::is_empty(out.dir.Path()));
}

TEST(MidiOutputs, ARollTempoTooSlowForMidiIsWrittenAt100) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.tempo = 0;
  out.Note(40, 1000, 1100);
  ASSERT_TRUE(out.ScanImage().Outcome.ok());
  ASSERT_EQ(out.ui.messages.size(), 1u);
  EXPECT_EQ(out.ui.kinds[0], MessageKind::kWarning);
  EXPECT_NE(out.ui.messages[0].find("tempo 0"), std::string::npos);
  const auto listing = ExpectSoundMidiFile(out.folder + "roll_ScanImageMIDI.mid");
  EXPECT_EQ(RecordsOfKind(listing, "Tempo"), std::vector<std::string>{"1, 0, Tempo, 600000"});
  EXPECT_EQ(Body(listing).front(), "1, 1600, Note_on_c, 0, 40, 85");  // lead-in 2 s at tempo 100
}

// Positions whose tick product passes 2^32 (beyond about 745 feet) keep counting forward.
TEST(MidiOutputs, TicksOfVeryLongRollsDoNotWrap) {
  TARVELO_REQUIRE_MIDICSV();
  Output out;
  out.Note(60, 8000000, 8001200);  // tick 3200000
  out.Note(61, 9000000, 9001200);  // tick 3600000: 9000000 * 480 does not fit 32 bits
  ASSERT_TRUE(out.ScanImage().Outcome.ok());
  EXPECT_EQ(Body(ExpectSoundMidiFile(out.folder + "roll_ScanImageMIDI.mid")),
            (std::vector<std::string>{"1, 1280, Note_on_c, 0, 60, 85", "1, 1760, Note_on_c, 0, 60, 0",
                                      "1, 401280, Note_on_c, 0, 61, 85", "1, 401760, Note_on_c, 0, 61, 0",
                                      "1, 401760, End_track"}));
  EXPECT_TRUE(out.ui.messages.empty());
}

}  // namespace
}  // namespace tarvelo
