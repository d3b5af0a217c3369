#include "cli/FileOutcome.h"

#include <algorithm>

namespace tarvelo::cli {

const char* FileStatusName(FileStatus status) {
  switch (status) {
    case FileStatus::kConverted:
      return "converted";
    case FileStatus::kConvertedWithWarnings:
      return "converted with warnings";
    case FileStatus::kFailed:
      return "failed";
    case FileStatus::kSkipped:
      return "skipped";
    case FileStatus::kStopped:
      return "stopped";
  }
  return "failed";
}

FileStatus StatusOfConversion(const Result& loaded, const std::vector<ReportedMessage>& messages,
                              const std::vector<OutputFileRecord>& outputs) {
  if (loaded.kind() == Result::Kind::kCancelled) return FileStatus::kStopped;
  const auto has = [&messages](MessageKind kind) {
    return std::any_of(messages.begin(), messages.end(), [kind](const ReportedMessage& m) { return m.Kind == kind; });
  };
  const bool output_failed =
      std::any_of(outputs.begin(), outputs.end(), [](const OutputFileRecord& o) { return !o.Outcome.ok(); });
  if (!loaded.ok() || output_failed || has(MessageKind::kError)) return FileStatus::kFailed;
  if (has(MessageKind::kWarning)) return FileStatus::kConvertedWithWarnings;
  return FileStatus::kConverted;
}

namespace {

// The first line of `text` that holds more than blanks, without its surrounding blanks. A
// line that only names the file (the damaged-line messages start with one) is passed over:
// the reports name the file already.
std::string FirstLine(const std::string& text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const size_t first = text.find_first_not_of(' ', start);
    if (first != std::string::npos && first < end && text.compare(first, 10, "*** File :") != 0) {
      size_t last = end;
      while (last > first && text[last - 1] == ' ') --last;
      return text.substr(first, last - first);
    }
    start = end + 1;
  }
  return "";
}

}  // namespace

std::string DecidingMessage(FileStatus status, const std::vector<ReportedMessage>& messages) {
  const MessageKind wanted = status == FileStatus::kFailed                  ? MessageKind::kError
                             : status == FileStatus::kConvertedWithWarnings ? MessageKind::kWarning
                                                                            : MessageKind::kInformation;
  for (const ReportedMessage& message : messages)
    if (message.Kind == wanted) return FirstLine(message.Text);
  return messages.empty() ? "" : FirstLine(messages.front().Text);
}

}  // namespace tarvelo::cli
