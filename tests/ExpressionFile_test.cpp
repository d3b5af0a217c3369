// The expression MIDI file of whole conversions: synthetic rolls of every system and the real
// scans, read back by independent readers (midicsv; mido where python3 has it) and held
// against the eRoll file of the same run.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/Environment.h"
#include "helpers/ExpressionRolls.h"
#include "helpers/MidiCsv.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::ExpectSoundMidiFile;
using testing::RecordingFrontEnd;
using testing::TempDir;

struct Note {
  long Tick, Channel, Pitch, Velocity;
  bool operator<(const Note& other) const {
    return std::tie(Tick, Channel, Pitch, Velocity) < std::tie(other.Tick, other.Channel, other.Pitch, other.Velocity);
  }
};

// The notes (velocity 0: their ends) and controllers of a file as midicsv lists it.
struct Listing {
  std::vector<Note> Notes;
  std::vector<Note> Controllers;  // Pitch = controller, Velocity = value
  std::vector<std::string> Texts;
  std::vector<std::string> Programs;
};

Listing Read(const std::string& path) {
  Listing listing;
  for (const std::string& line : ExpectSoundMidiFile(path).lines) {
    Note n{};
    char kind[32] = {};
    if (std::sscanf(line.c_str(), "%*d, %ld, %31[A-Za-z_], %ld, %ld, %ld", &n.Tick, kind, &n.Channel, &n.Pitch,
                    &n.Velocity) == 5) {
      if (std::string(kind) == "Note_on_c") listing.Notes.push_back(n);
      if (std::string(kind) == "Control_c") listing.Controllers.push_back(n);
    }
    if (line.find(", Program_c, ") != std::string::npos) listing.Programs.push_back(line);
    if (line.find(", Text_t, ") != std::string::npos) listing.Texts.push_back(line);
  }
  return listing;
}

// mido, an independent MIDI reader of the Python world, where the system's python3 has it.
void ExpectMidoReads(const std::string& path) {
  if (!fs::exists("/usr/bin/python3") ||
      testing::RunCommand("/usr/bin/python3 -c 'import mido' 2>/dev/null").status != 0)
    return;
  const testing::CommandResult read = testing::RunCommand(
      "/usr/bin/python3 -c 'import mido, sys; m = mido.MidiFile(sys.argv[1]); print(sum(1 for e in m if "
      "e.type == \"note_on\" and e.velocity > 0))' " +
      testing::ShellQuote(path));
  EXPECT_EQ(read.status, 0) << read.err;
}

struct Converted {
  TempDir dir;
  RecordingFrontEnd ui;
  testing::ScopedEnvironment date{"SOURCE_DATE_EPOCH", "1182556800"};
  RollTypeDefinition roll;
  std::string Path(const char* suffix) const { return dir.File(std::string("roll") + suffix + ".mid"); }
};

// Converts `plan` with the shipped roll type `roll_type`, the expression file on.
std::unique_ptr<Converted> Convert(const synth::SyntheticRollSpec& plan, const char* roll_type, int dpi = 300,
                                   bool eroll = true) {
  auto converted = std::make_unique<Converted>();
  IniProfile& profile = converted->ui.Store();
  profile.WriteProfileInt("OutputFiles", "WriteExpressionMidi", 1).Ignore();
  profile.WriteProfileInt("OutputFiles", "eRollMidi", eroll ? 1 : 0).Ignore();
  profile.WriteProfileInt("Scanner Settings", "ScannerDPI0", dpi).Ignore();
  // Runs with other settings are compared byte for byte: no settings digest in the files.
  profile.WriteProfileInt("OutputFiles", "LiteralRollInfo", 1).Ignore();
  converted->ui.ReloadSettings();
  if (std::string(roll_type) != "Fail-Safe") converted->roll = testing::ShippedRollType(roll_type);
  testing::WriteBytes(converted->dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  TarveloDoc doc(converted->ui, converted->ui);
  doc.SetRollType(converted->roll);
  EXPECT_TRUE(doc.Load(converted->dir.File("roll.cis"), converted->ui.settings).ok());
  return converted;
}

// What every expression file must be against the eRoll file of its run.
void ExpectPlaysTheERollNotes(const Converted& run, size_t least_distinct, bool soft_pedal) {
  const Listing eroll = Read(run.Path("_eRollMIDI"));
  const Listing expression = Read(run.Path("_ExpressionMIDI"));
  ExpectMidoReads(run.Path("_ExpressionMIDI"));
  std::set<long> note_pitches;
  for (int track = 0; track < kTrackSlots; ++track)
    if (run.roll.TrackUsedForRestoration[static_cast<size_t>(track)])
      note_pitches.insert(run.roll.TrackMidiPitch[static_cast<size_t>(track)]);
  // The same notes on the same ticks, channels and pitches, ends included; nothing else.
  std::multiset<std::tuple<long, long, long, bool>> wanted, played;
  for (const Note& n : eroll.Notes)
    if (note_pitches.count(n.Pitch)) wanted.emplace(n.Tick, n.Channel, n.Pitch, n.Velocity > 0);
  for (const Note& n : expression.Notes) played.emplace(n.Tick, n.Channel, n.Pitch, n.Velocity > 0);
  EXPECT_EQ(played, wanted);
  EXPECT_GT(wanted.size(), 200u);

  const long split = run.roll.TrackMidiPitch[static_cast<size_t>(run.roll.Expression.FirstTreble())];
  std::map<long, int> bass, treble;
  std::set<long> distinct;
  for (const Note& n : expression.Notes) {
    if (n.Velocity == 0) continue;
    EXPECT_GE(n.Velocity, 30);
    EXPECT_LE(n.Velocity, 100);
    (n.Pitch < split ? bass : treble)[n.Velocity]++;
    distinct.insert(n.Velocity);
  }
  EXPECT_GE(distinct.size(), least_distinct);
  EXPECT_NE(bass, treble);
  // Pedals down and up again, on the channel of the notes.
  std::set<std::pair<long, long>> pedals;
  for (const Note& c : expression.Controllers)
    if (c.Pitch == 64 || c.Pitch == 67) pedals.emplace(c.Pitch, c.Velocity);
  EXPECT_TRUE(pedals.count({64, 127}) && pedals.count({64, 0}));
  EXPECT_EQ(pedals.count({67, 127}) == 1, soft_pedal);
  EXPECT_EQ(expression.Programs, std::vector<std::string>{"1, 0, Program_c, 0, 0"});
  ASSERT_FALSE(expression.Texts.empty());
  EXPECT_NE(expression.Texts.back().find("/expression_model: " +
                                         std::string(ExpressionSystemName(run.roll.Expression.System))),
            std::string::npos);
}

TEST(ExpressionFile, EverySystemPlaysTheERollNotesWithItsDynamicsAndPedals) {
  TARVELO_REQUIRE_MIDICSV();
  const std::tuple<ExpressionSystem, size_t, bool> systems[] = {
      {ExpressionSystem::kWelteLicensee, 20, true}, {ExpressionSystem::kWelteRed, 20, true},
      {ExpressionSystem::kWelteGreen, 20, true},    {ExpressionSystem::kDuoArt, 20, true},
      {ExpressionSystem::kAmpicoA, 20, true},       {ExpressionSystem::kAmpicoB, 20, true},
      {ExpressionSystem::kArtecho, 20, false},      {ExpressionSystem::kRecordoB, 6, false},
      {ExpressionSystem::kThemodist, 2, true},
  };
  for (const auto& [system, least_distinct, soft_pedal] : systems) {
    SCOPED_TRACE(ExpressionSystemName(system));
    const testing::ExpressionRoll roll = testing::MakeExpressionRoll(system);
    auto run = Convert(roll.Plan, roll.RollType.c_str(), roll.ScannerDpi);
    EXPECT_EQ(run->ui.CountOf(MessageKind::kWarning) + run->ui.CountOf(MessageKind::kError), 0)
        << (run->ui.messages.empty() ? "" : run->ui.messages.front());
    ExpectPlaysTheERollNotes(*run, least_distinct, soft_pedal);
  }
}

TEST(ExpressionFile, TheOtherOutputsStayAsTheyAreAndTheFileNeedsNoERollFile) {
  TARVELO_REQUIRE_MIDICSV();
  const testing::ExpressionRoll roll = testing::MakeExpressionRoll(ExpressionSystem::kDuoArt);
  auto with = Convert(roll.Plan, "Duo-Art");
  auto alone = Convert(roll.Plan, "Duo-Art", 300, false);
  EXPECT_FALSE(fs::exists(alone->Path("_eRollMIDI")));
  EXPECT_EQ(testing::ReadBytes(alone->Path("_ExpressionMIDI")), testing::ReadBytes(with->Path("_ExpressionMIDI")));

  // Off by default: no expression file, and the others byte for byte as with it.
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("OutputFiles", "LiteralRollInfo", 1).Ignore();
  ui.ReloadSettings();
  testing::ScopedEnvironment date{"SOURCE_DATE_EPOCH", "1182556800"};
  TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(roll.Plan));
  TarveloDoc doc(ui, ui);
  doc.SetRollType(testing::ShippedRollType("Duo-Art"));
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_FALSE(fs::exists(dir.File("roll_ExpressionMIDI.mid")));
  EXPECT_EQ(testing::ReadBytes(dir.File("roll_eRollMIDI.mid")), testing::ReadBytes(with->Path("_eRollMIDI")));
  EXPECT_EQ(testing::ReadBytes(dir.File("roll_ScanImageMIDI.mid")), testing::ReadBytes(with->Path("_ScanImageMIDI")));
  ASSERT_EQ(with->ui.messages.size(), 0u);
  ASSERT_EQ(doc.Summary().Outputs.size(), 2u);
}

TEST(ExpressionFile, ARollTypeWithoutASystemPlaysTheERollVelocitiesAndSaysSoOnce) {
  TARVELO_REQUIRE_MIDICSV();
  synth::SyntheticRollSpec plan;
  plan.holes = {{18, 0.5, 1.0}, {60, 0.5, 0.3}, {64, 0.6, 0.3}, {70, 1.0, 0.2}};
  auto run = Convert(plan, "Fail-Safe");
  EXPECT_EQ(run->ui.messages, std::vector<std::string>{"The roll type \"Fail-Safe\" has no expression system: the "
                                                       "expression MIDI file plays the eRoll velocities."});
  EXPECT_EQ(run->ui.kinds, std::vector<MessageKind>{MessageKind::kInformation});
  const Listing eroll = Read(run->Path("_eRollMIDI"));
  const Listing expression = Read(run->Path("_ExpressionMIDI"));
  std::vector<Note> eroll_notes;
  for (const Note& n : eroll.Notes)
    if (n.Pitch > 1) eroll_notes.push_back(n);  // not the PowerRoll markers (notes 0 and 1)
  EXPECT_EQ(expression.Notes.size(), eroll_notes.size());
  EXPECT_TRUE(std::is_permutation(
      expression.Notes.begin(), expression.Notes.end(), eroll_notes.begin(),
      [](const Note& a, const Note& b) { return a.Tick == b.Tick && a.Pitch == b.Pitch && a.Velocity == b.Velocity; }));
  // Note 18 drives the sustain pedal as in the eRoll file.
  EXPECT_EQ(expression.Controllers.size(), 3u);  // down, up, all sound off
  ASSERT_EQ(run->ui.settings.Outputs.WriteExpressionMidi, true);
}

TEST(ExpressionFile, AFileThatCannotBeWrittenIsReportedAndTheOthersAreWritten) {
  const testing::ExpressionRoll roll = testing::MakeExpressionRoll(ExpressionSystem::kAmpicoB);
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("OutputFiles", "WriteExpressionMidi", 1).Ignore();
  ui.ReloadSettings();
  TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(roll.Plan));
  // A folder where the expression file should go.
  fs::create_directory(dir.File("roll_ExpressionMIDI.mid"));
  TarveloDoc doc(ui, ui);
  doc.SetRollType(testing::ShippedRollType("Ampico B"));
  (void)doc.Load(dir.File("roll.cis"), ui.settings);
  ASSERT_EQ(doc.Summary().Outputs.size(), 3u);
  EXPECT_EQ(doc.Summary().Outputs[2].Kind, "ExpressionMIDI");
  EXPECT_FALSE(doc.Summary().Outputs[2].Outcome.ok());
  EXPECT_EQ(ui.CountOf(MessageKind::kError), 1);
  EXPECT_TRUE(fs::exists(dir.File("roll_eRollMIDI.mid")));
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path())) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 3u);  // the scan and the two other outputs: nothing half written
}

// The real scans of four systems' rolls, aligned to their scans as a collector would convert them.
TEST(ExpressionFile, RealScansOfDuoArtAndAmpicoRolls) {
  TARVELO_REQUIRE_REAL_CIS();
  TARVELO_REQUIRE_MIDICSV();
  const std::pair<const char*, const char*> scans[] = {
      {"stepper_single.CIS", "Duo-Art"}, {"stepper_bicolor.CIS", "Ampico B"}, {"no_encoder_signal.CIS", "Ampico A"}};
  for (const auto& [file, roll_type] : scans) {
    SCOPED_TRACE(file);
    TempDir dir;
    fs::copy_file(testing::RealCisDir() / file, dir.Path() / "roll.cis");
    const testing::CommandResult converted = testing::RunCommand(
        testing::CliPath() + " convert --profile " + testing::ShellQuote(dir.File("profile.ini")) + " --roll-types " +
        testing::ShellQuote(std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml") + " --roll-type " +
        testing::ShellQuote(roll_type) + " --align --expression-midi -q " + testing::ShellQuote(dir.File("roll.cis")));
    ASSERT_EQ(converted.status, 0) << converted.err;
    Converted view;
    view.roll = testing::ShippedRollType(roll_type);
    fs::copy_file(dir.File("roll_eRollMIDI.mid"), view.Path("_eRollMIDI"));
    fs::copy_file(dir.File("roll_ExpressionMIDI.mid"), view.Path("_ExpressionMIDI"));
    ExpectPlaysTheERollNotes(view, 20, true);
  }
}

}  // namespace
}  // namespace tarvelo
