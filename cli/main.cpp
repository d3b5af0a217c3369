// tarvelo-cli: batch conversion of CIS roll scans, header reports and settings.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/HelpText.h"
#include "cli/ManualPage.h"
#include "cli/StopSignals.h"
#include "support/Console.h"
#include "support/ProcessEnvironment.h"
#include "support/ProgramVersion.h"
#include "view/RollOverview.h"

namespace {

void AddProfileOptions(CLI::App& command, tarvelo::cli::ProfileOptions& options) {
  command.add_option("--profile", options.profile_path, "Settings profile file (default: the user's profile)");
  command
      .add_option("--set", options.sets,
                  "Override a setting for this run: \"Section/Key=Value\" (repeatable; names: settings list)")
      ->allow_extra_args(false);
  command.add_option("--preset", options.preset, "Use scanner preset N (0-15) for this run");
  command
      .add_option("--max-scan-mb", options.max_scan_mb,
                  "Refuse a CIS file larger than N MB (default 256; a conversion takes about 3 times the file's size)")
      ->check(CLI::Range(1, 1 << 20));
  command
      .add_option("--image-holes", options.image_holes,
                  "A picture's holes are its light or its dark pixels (default: found from the picture)")
      ->check(CLI::IsMember({"light", "dark"}));
  command
      .add_option("--image-start", options.image_start,
                  "The row of a picture played first: bottom (the default) or top")
      ->check(CLI::IsMember({"bottom", "top"}));
  command.add_option("--image-lpi", options.image_lpi, "A picture's rows per inch along the roll (default: its DPI)")
      ->check(CLI::Range(1, 10000));
}

#ifdef TARVELO_HAVE_PICTURES
void AddPictureOptions(CLI::App& command, tarvelo::cli::PictureOptions& options) {
  AddProfileOptions(command, options.profile);
  command.add_option("--roll-types", options.library, "Roll type library file (RollTypeDefinitions.xml)");
  command.add_option("--roll-type", options.roll_type,
                     "Roll type for this run (default: the profile's); auto: the one the scan shows (aligns)");
  auto* align =
      command.add_flag("--align", options.align,
                       "Convert with the DPI, offset and stretch the scan's measurement suggests (this run only)");
  command.add_flag("--no-align", options.no_align, "Convert with the preset's DPI, offset and stretch (no Auto-Tweak)")
      ->excludes(align);
  command.add_option("-o,--output", options.output, "PNG file to write")->required();
  command.add_option("file", options.file, "CIS file or picture (PNG, TIFF, JPEG)")->required();
}
#endif

#ifdef TARVELO_HAVE_AUDIO
void AddListenOptions(CLI::App& command, tarvelo::cli::ListenOptions& options) {
  AddProfileOptions(command, options.profile);
  command.add_option("--roll-types", options.library, "Roll type library file (RollTypeDefinitions.xml)");
  command.add_option("--roll-type", options.roll_type,
                     "Roll type for this run (default: the profile's); auto: the one the scan shows");
  auto* align = command.add_flag("--align", options.align,
                                 "Convert with the DPI, offset and stretch the scan's measurement suggests");
  command.add_flag("--no-align", options.no_align, "Convert with the preset's DPI, offset and stretch (no Auto-Tweak)")
      ->excludes(align);
  command
      .add_option("--source", options.source,
                  "The MIDI output heard: expression, eroll or scanimage (default: expression when the roll "
                  "type has an expression system, else eroll)")
      ->check(CLI::IsMember({"expression", "eroll", "scanimage"}));
}
#endif

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->footer(tarvelo::cli::CommandHelpFooter(name));
  return command;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvelo::cli;
  tarvelo::KeepFreedMemoryInProcess();
  InstallStopSignals();
  tarvelo::UseUtf8StandardStreams();
  // File names and texts arrive as UTF-8 on every system.
  std::vector<std::string> arguments = tarvelo::CommandLineArguments(argc, argv);
  std::vector<char*> utf8_argv;
  for (std::string& argument : arguments) utf8_argv.push_back(argument.data());
  utf8_argv.push_back(nullptr);
  SetProgramName(arguments.empty() ? "tarvelo-cli" : arguments.front());
  CLI::App app{"Tarvelo: converts CIS roll scans into MIDI files", ProgramName()};
  app.require_subcommand(1);
  app.set_version_flag("--version", ProgramVersionText(), "Show the program's version and exit");
  app.footer(MainHelpFooter());

  InfoOptions info;
  auto* info_command = AddCommand(app, "info",
                                  "Show the header of CIS files, the lines read and damaged, the roll's "
                                  "length and playing time");
  AddProfileOptions(*info_command, info.profile);
  info_command->add_flag("--json", info.json, "Print one JSON document on standard output");
  info_command->add_flag("-r,--recursive", info.recursive, "Report the CIS files below named folders too");
  info_command->add_flag("--images", info.images,
                         "Named folders give their pictures too (*.png *.tif *.tiff *.jpg *.jpeg)");
  info_command->add_option("files", info.files, "CIS files, pictures (PNG, TIFF, JPEG) and folders")->required();

  ConvertOptions convert;
  auto* convert_command = AddCommand(app, "convert",
                                     "Convert CIS files (and the CIS files in folders) into ScanImage and eRoll "
                                     "MIDI files");
  AddProfileOptions(*convert_command, convert.profile);
  convert_command->add_option("--roll-types", convert.library, "Roll type library file (RollTypeDefinitions.xml)");
  convert_command->add_option("--roll-type", convert.roll_type,
                              "Roll type for this run (default: the profile's); auto: the one the scan shows "
                              "(aligns each file)");
  auto* align_option = convert_command->add_flag("--align", convert.align,
                                                 "Convert each file with the DPI, offset and stretch its measurement "
                                                 "suggests (this run only), whatever the preset's Auto-Tweak says");
  convert_command
      ->add_flag("--no-align", convert.no_align,
                 "Convert with the preset's DPI, offset and stretch, without Auto-Tweak (this run only); with the "
                 "preset's AutoTweakSettings at 0 every conversion is literal")
      ->excludes(align_option);
  convert_command
      ->add_option("--info", convert.info, "Roll information entry for this run, e.g. composer=Chopin (repeatable)")
      ->allow_extra_args(false);
  auto* output_dir_option = convert_command->add_option("--output-dir", convert.output_dir,
                                                        "Write the outputs here instead of next to each input");
  convert_command
      ->add_flag("--keep-tree", convert.keep_tree,
                 "Below --output-dir, keep each input's folder (relative to the working folder)")
      ->needs(output_dir_option);
  convert_command->add_flag("-r,--recursive", convert.recursive, "Convert the CIS files below named folders too");
  convert_command->add_flag("--images", convert.images,
                            "Named folders give their pictures too (*.png *.tif *.tiff *.jpg *.jpeg)");
  convert_command->add_flag("--no-clobber", convert.no_clobber,
                            "Skip a file when one of its outputs exists already (default: replace it)");
  convert_command
      ->add_option("-j,--jobs", convert.jobs,
                   "Convert N files at once (default: the number of processor cores; at most 4 per core). Each "
                   "file being converted takes about 6 times its size in memory (25 MB for a 4 MB scan)")
      ->check(CLI::Range(1, 1024));
  convert_command->add_flag("--no-scan-midi", convert.no_scan_midi, "Do not write the ScanImage MIDI files");
  convert_command->add_flag("--no-eroll-midi", convert.no_eroll_midi, "Do not write the eRoll MIDI files");
  auto* expression_option = convert_command->add_flag(
      "--expression-midi", convert.expression_midi,
      "Also write the expression MIDI files: the roll's dynamics and pedals as its reproducing system plays them");
  convert_command
      ->add_flag("--no-expression-midi", convert.no_expression_midi,
                 "Do not write the expression MIDI files (whatever OutputFiles/WriteExpressionMidi says)")
      ->excludes(expression_option);
  convert_command->add_flag("--json", convert.json, "Print a JSON report of the run on standard output");
  convert_command->add_flag("--strict", convert.strict, "Exit with 1 instead of 3 when a file had warnings");
  auto* quiet_option = convert_command->add_flag("-q,--quiet", convert.quiet,
                                                 "Print only warnings and errors (no progress, no summary)");
  convert_command
      ->add_flag("-v,--verbose", convert.verbose, "List every output written with its notes and length in minutes")
      ->excludes(quiet_option);
  convert_command->add_option("--log", convert.log, "Write the report (every message, output and the summary) here");
  convert_command->add_option("--catalog", convert.catalog,
                              "Write a catalogue of the batch here, a row per input (FILE.csv or FILE.jsonl)");
  convert_command->add_option("files", convert.files, "CIS files, pictures (PNG, TIFF, JPEG) and folders")->required();

  AlignOptions align;
  auto* align_command =
      AddCommand(app, "align", "Measure CIS files and suggest the scanner settings and roll type that fit them");
  AddProfileOptions(*align_command, align.profile);
  align_command->add_option("--roll-types", align.library, "Roll type library file (RollTypeDefinitions.xml)");
  align_command->add_option("--roll-type", align.roll_type,
                            "Roll type to fit (default: the profile's), or auto to recognise it");
  align_command->add_flag("--json", align.json, "Print a JSON report on standard output");
  align_command
      ->add_option("--write-preset", align.write_preset,
                   "Store the suggestion in scanner preset N (0-15), with the preset dialog's checks")
      ->check(CLI::Range(0, 15));
  align_command->add_flag("-r,--recursive", align.recursive, "Measure the CIS files below named folders too");
  align_command->add_flag("--images", align.images,
                          "Named folders give their pictures too (*.png *.tif *.tiff *.jpg *.jpeg)");
  align_command->add_option("files", align.files, "CIS files, pictures (PNG, TIFF, JPEG) and folders")->required();

  RollTypesOptions roll_types;
  auto* roll_types_command = AddCommand(app, "roll-types", "List the roll types, or describe the named ones");
  AddProfileOptions(*roll_types_command, roll_types.profile);
  roll_types_command->add_option("--roll-types", roll_types.library, "Roll type library file");
  roll_types_command->add_option("names", roll_types.names, "Roll type names to describe");

  EditOptions edit;
  std::string title;
  double tempo = 0;
  long long lpi = 0;
  auto* edit_command = AddCommand(app, "edit", "Correct the title, tempo or lines per inch of a CIS file");
  AddProfileOptions(*edit_command, edit.profile);
  edit_command->add_option("file", edit.file, "CIS file")->required();
  auto* title_option = edit_command->add_option("--title", title, "Roll title (at most 32 bytes, the title area)");
  auto* tempo_option = edit_command->add_option("--tempo", tempo, "Tempo (0 to 10000)");
  auto* lpi_option = edit_command->add_option("--lpi", lpi, "Lines per inch (1 to 32767)");
  edit_command->add_option("-o,--output", edit.output, "Write the result here instead of replacing the file");

#ifdef TARVELO_HAVE_PICTURES
  RenderOptions render;
  auto* render_command =
      AddCommand(app, "render", "Convert a CIS file and write its roll view as a PNG picture (no MIDI files)");
  AddPictureOptions(*render_command, render.picture);
  auto* from_option =
      render_command->add_option("--from", render.from_inch, "Inch of the roll at the top of the picture (default 0)")
          ->check(CLI::NonNegativeNumber);
  auto* zoom_option =
      render_command->add_option("--zoom", render.zoom_level, "Zoom level 1-9 (5: 63 pixels per inch, the default)")
          ->check(CLI::Range(1, 9));
  render_command
      ->add_option("--height", render.height,
                   "Height of the view in pixels (default 600, at most 5000); with --overview the most (default 2000)")
      ->check(CLI::Range(1, 20000));
  auto* tracking_option = render_command->add_flag("--tracking", render.tracking, "Show the tracking corrections");
  auto* overview_option =
      render_command
          ->add_flag("--overview", render.overview,
                     "Draw the whole roll in one picture: its width across the picture, its length scaled to fit")
          ->excludes(from_option)
          ->excludes(zoom_option)
          ->excludes(tracking_option);
  render_command->add_option("--width", render.width, "Width of the overview in pixels (default 600)")
      ->check(CLI::Range(tarvelo::kOverviewLeastWidth, 20000))
      ->needs(overview_option);

  PictureOptions histogram;
  auto* histogram_command = AddCommand(
      app, "histogram", "Convert a CIS file and write its spacing histogram as a PNG picture (no MIDI files)");
  AddPictureOptions(*histogram_command, histogram);
#endif

#ifdef TARVELO_HAVE_AUDIO
  RenderAudioOptions render_audio;
  auto* render_audio_command = AddCommand(
      app, "render-audio", "Convert a CIS file and render it into a sound file with the software synthesizer");
  AddListenOptions(*render_audio_command, render_audio.listen);
  render_audio_command->add_option("-o,--output", render_audio.output, "Sound file to write (.wav or .flac)")
      ->required();
  render_audio_command->add_option("--soundfont", render_audio.soundfont,
                                   "SoundFont file (default: \"Audio Settings/SoundFont\", else the installed "
                                   "TimGM6mb)");
  render_audio_command->add_option("--from", render_audio.from, "Start this many seconds into the MIDI file")
      ->check(CLI::NonNegativeNumber);
  render_audio_command->add_option("--length", render_audio.length, "Render this many seconds (default: to the end)")
      ->check(CLI::PositiveNumber);
  render_audio_command->add_option("--format", render_audio.format, "wav or flac (default: from the file's name)")
      ->check(CLI::IsMember({"wav", "flac"}));
  render_audio_command->add_flag("-q,--quiet", render_audio.quiet, "Print only warnings and errors");
  render_audio_command->add_option("file", render_audio.listen.file, "CIS file")->required();

  PlayOptions play;
  auto* play_command =
      AddCommand(app, "play", "Convert a CIS file and play it to a MIDI port or through the software synthesizer");
  AddListenOptions(*play_command, play.listen);
  play_command->add_option("--port", play.port,
                           "MIDI port to play to: 128:0, a client's name or part of one (default: "
                           "\"Audio Settings/MidiOutput\", else the software synthesizer)");
  play_command->add_option("--soundfont", play.soundfont, "SoundFont file of the software synthesizer");
  play_command->add_option("--from", play.from, "Start this many seconds into the MIDI file")
      ->check(CLI::NonNegativeNumber);
  play_command->add_flag("--list-ports", play.list_ports, "List the MIDI ports that take MIDI, and exit");
  play_command->add_flag("-q,--quiet", play.quiet, "Print only warnings and errors");
  play_command->add_option("file", play.listen.file, "CIS file");
#endif

  SettingsOptions settings;
  auto* settings_command = AddCommand(app, "settings", "Read and change the settings profile");
  settings_command->add_option("--profile", settings.profile_path, "Settings profile file");
  settings_command->add_option("action", settings.action, "list, get or set")
      ->required()
      ->check(CLI::IsMember({"list", "get", "set"}));
  settings_command->add_option("names", settings.arguments, "Section/Key (get) or Section/Key=Value (set)");

  // The build makes the manual page from the commands above (hidden from the help).
  app.add_flag_callback("--manual-page",
                        [&app] {
                          std::fputs(ManualPage(app, tarvelo::ProgramVersion()).c_str(), stdout);
                          throw CLI::Success();
                        })
      ->group("");

  try {
    app.parse(static_cast<int>(arguments.size()), utf8_argv.data());
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : kExitUsage;
  }
  if (settings_command->parsed() && settings.action != "list" && settings.arguments.empty()) {
    std::fprintf(stderr, "tarvelo-cli: settings %s needs at least one setting name\n", settings.action.c_str());
    return kExitUsage;
  }

  // Whatever the standard library throws (memory, file system) ends the command with a
  // message and exit status 1, never with an abort.
  int status = kExitFileFailed;
  try {
    if (info_command->parsed()) {
      status = RunInfo(info);
    } else if (roll_types_command->parsed()) {
      status = RunRollTypes(roll_types);
    } else if (edit_command->parsed()) {
      if (title_option->count() > 0) edit.edit.Title = title;
      if (tempo_option->count() > 0) edit.edit.Tempo = tempo;
      if (lpi_option->count() > 0) edit.edit.LinesPerInch = lpi;
      status = RunEdit(edit);
    } else if (convert_command->parsed()) {
      convert.command_line = arguments;
      convert.command_line.front() = ProgramName();
      status = RunConvert(convert);
    } else if (align_command->parsed()) {
      status = RunAlign(align);
#ifdef TARVELO_HAVE_PICTURES
    } else if (render_command->parsed()) {
      status = RunRender(render);
    } else if (histogram_command->parsed()) {
      status = RunHistogram(histogram);
#endif
#ifdef TARVELO_HAVE_AUDIO
    } else if (render_audio_command->parsed()) {
      status = RunRenderAudio(render_audio);
    } else if (play_command->parsed()) {
      status = RunPlay(play);
#endif
    } else {
      status = RunSettingsCommand(settings);
    }
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tarvelo-cli: out of memory\n");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", error.what());
  } catch (...) {
    std::fprintf(stderr, "tarvelo-cli: unexpected failure\n");
  }
  // A command that was asked to stop says so in its status, whatever it managed to finish.
  if (const int stop_signal = StopSignal(); stop_signal != 0) return ExitStatusForSignal(stop_signal);
  return status;
}
