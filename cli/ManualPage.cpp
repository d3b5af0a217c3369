#include "cli/ManualPage.h"

#include <CLI/CLI.hpp>

#include "cli/HelpText.h"
#include "support/TextTrim.h"

namespace tarvelo::cli {

namespace {

// Text as roff shows it literally: backslashes and hyphens escaped, and a line that would
// start with a request's "." or "'" guarded.
std::string Roff(const std::string& text) {
  std::string out;
  bool line_start = true;
  for (const char c : text) {
    if (line_start && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    line_start = c == '\n';
  }
  return out;
}

// The lines of `text` joined into one paragraph for man to fill.
std::string Filled(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = TrimWhiteSpace(std::string_view(text).substr(start, end - start));
    if (!line.empty()) out += (out.empty() ? "" : " ") + std::string(line);
    start = end + 1;
  }
  return Roff(out);
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// An example command broken at blanks outside quotes into lines of at most `columns`, each
// continued with " \", the lines after the first indented: pasted into a shell it runs as one.
std::string ExampleLines(const std::string& command, size_t columns) {
  std::vector<std::string> words;
  std::string word;
  char quote = 0;
  for (const char c : command) {
    if (quote == 0 && c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      continue;
    }
    if (quote == 0 && (c == '\'' || c == '"')) {
      quote = c;
    } else if (c == quote) {
      quote = 0;
    }
    word += c;
  }
  if (!word.empty()) words.push_back(word);
  std::string lines, line;
  for (const std::string& next : words) {
    if (!line.empty() && line.size() + 1 + next.size() + 2 > columns) {
      lines += line + " \\\n";
      line = "    " + next;
    } else {
      line += (line.empty() ? "" : " ") + next;
    }
  }
  return lines + line + "\n";
}

// The example lines of a help page ("  tarvelo-cli ...") as a preformatted block.
std::string Examples(const std::string& examples) {
  // The page's text starts 7 columns in, an example's lines 4 more: 80 - 11 columns each.
  constexpr size_t kColumns = 69;
  std::string block = ".PP\n.RS 4\n.nf\n";
  size_t start = 0;
  while (start < examples.size()) {
    size_t end = examples.find('\n', start);
    if (end == std::string::npos) end = examples.size();
    const std::string_view line = TrimWhiteSpace(std::string_view(examples).substr(start, end - start));
    if (!line.empty()) block += Roff(ExampleLines(std::string(line), kColumns));
    start = end + 1;
  }
  return block + ".fi\n.RE\n";
}

// The paragraphs of `text` (separated by empty lines), each filled.
std::string Paragraphs(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\n\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string paragraph = Filled(text.substr(start, end - start));
    if (!paragraph.empty()) out += ".PP\n" + paragraph + "\n";
    start = end + 2;
  }
  return out;
}

std::string Entries(const std::vector<HelpEntry>& entries) {
  std::string out;
  for (const HelpEntry& entry : entries) out += ".TP\n.B " + Roff(entry.Term) + "\n" + Filled(entry.Text) + "\n";
  return out;
}

bool Shown(const CLI::Option* option) { return !option->get_group().empty(); }

// "\fB\-j\fR, \fB\-\-jobs\fR \fIINT\fR" for an option, "\fIfiles\fR ..." for a positional.
std::string OptionTerm(const CLI::Option& option) {
  if (!option.nonpositional()) {
    return "\\fI" + Roff(option.get_name(true, false)) + "\\fR" +
           (option.get_expected_max() >= CLI::detail::expected_max_vector_size ? " ..." : "");
  }
  std::string term;
  for (const std::string& name : CLI::detail::split(option.get_name(false, true), ','))
    term += (term.empty() ? "" : ", ") + std::string("\\fB") + Roff(name) + "\\fR";
  if (option.get_type_size() != 0 && !option.get_type_name().empty())
    term += " \\fI" + Roff(option.get_type_name()) + "\\fR";
  return term;
}

// The command's synopsis: its name, [options] and its positionals.
std::string Synopsis(const CLI::App& command) {
  std::string line = "\\fB" + Roff(ProgramName() + " " + command.get_name()) + "\\fR [\\fIoptions\\fR]";
  for (const CLI::Option* option : command.get_options()) {
    if (!Shown(option) || option->nonpositional()) continue;
    std::string name = "\\fI" + Roff(option->get_name(true, false)) + "\\fR";
    if (option->get_expected_max() >= CLI::detail::expected_max_vector_size) name += " ...";
    line += " " + (option->get_required() ? name : "[" + name + "]");
  }
  return line;
}

std::string CommandSection(const CLI::App& command) {
  std::string out = ".SH " + Roff(Upper(command.get_name())) + "\n" + Synopsis(command) + "\n.PP\n" +
                    Filled(command.get_description()) + ".\n.SS Options\n";
  for (const CLI::Option* option : command.get_options()) {
    if (!Shown(option)) continue;
    out += ".TP\n" + OptionTerm(*option) + "\n" + Filled(option->get_description()) + "\n";
  }
  if (const std::string examples = CommandExamples(command.get_name()); !examples.empty())
    out += ".SS Examples\n" + Examples(examples);
  if (const std::string notes = CommandNotes(command.get_name()); !notes.empty())
    out += ".SS Notes\n" + Paragraphs(notes);
  return out;
}

}  // namespace

std::string ManualPage(const CLI::App& app, const std::string& version) {
  const std::string program = Roff(ProgramName());
  std::string page =
      ".TH " + Roff(Upper(ProgramName())) + " 1 \"\" \"" + program + " " + Roff(version) + "\" \"User Commands\"\n";
  page += ".SH NAME\n" + program + " \\- convert CIS roll scans into MIDI files, report on scans, keep settings\n";
  const std::vector<const CLI::App*> commands = app.get_subcommands([](const CLI::App*) { return true; });
  page += ".SH SYNOPSIS\n";
  for (size_t i = 0; i < commands.size(); ++i) page += (i ? ".br\n" : "") + Synopsis(*commands[i]) + "\n";
  page += ".br\n\\fB" + program + "\\fR \\fB\\-\\-version\\fR\n.br\n\\fB" + program +
          "\\fR [\\fIcommand\\fR] \\fB\\-\\-help\\fR\n";
  page += ".SH DESCRIPTION\n" + Filled(app.get_description()) +
          ". A CIS file is the scan of a player piano or reproducing piano roll made by a contact "
          "image sensor roll scanner; " +
          program +
          " converts such scans into Standard MIDI Files: a ScanImage file of every hole as punched, "
          "an eRoll file mapped through the roll type for playing, and, when asked, an expression "
          "file.\n.PP\nEach command is described in a section of its own below; \\fB" +
          program + " \\fIcommand\\fB \\-\\-help\\fR shows the same.\n";
  for (const CLI::App* command : commands) page += CommandSection(*command);
  page += ".SH \"EXIT STATUS\"\n" + Entries(ExitStatusEntries());
  page += ".SH ENVIRONMENT\n" + Entries(EnvironmentEntries());
  page +=
      ".SH FILES\n"
      ".TP\n.I ~/.config/Quenby_Software/Tarvelo.ini\n"
      "The settings profile (see ENVIRONMENT for where else it may be).\n"
      ".TP\n.I RollTypeDefinitions.xml\n"
      "The roll type library: the one in the working folder, else the one installed with the "
      "program (share/tarvelo below its prefix); \\fB\\-\\-roll\\-types\\fR names another.\n"
      ".TP\n.IR name .ann\n"
      "Roll information for the scan \\fIname\\fR.cis, read from beside it when the setting "
      "\\fBUseAnnFile\\fR is 1.\n";
  page += ".SH EXAMPLES\n" + Examples(MainExamples());
  page += ".SH \"SEE ALSO\"\nThe README of the Tarvelo sources.\n";
  return page;
}

}  // namespace tarvelo::cli
