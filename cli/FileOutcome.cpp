#include "cli/FileOutcome.h"

#include "services/MessageHeadline.h"

namespace tarvelo::cli {

FileStatus FileStatusOf(ConversionStatus status) {
  switch (status) {
    case ConversionStatus::kConverted:
      return FileStatus::kConverted;
    case ConversionStatus::kConvertedWithWarnings:
      return FileStatus::kConvertedWithWarnings;
    case ConversionStatus::kFailed:
      return FileStatus::kFailed;
    case ConversionStatus::kStopped:
      return FileStatus::kStopped;
  }
  return FileStatus::kFailed;
}

const char* FileStatusName(FileStatus status) {
  if (status == FileStatus::kSkipped) return "skipped";
  for (const ConversionStatus ended : {ConversionStatus::kConverted, ConversionStatus::kConvertedWithWarnings,
                                       ConversionStatus::kFailed, ConversionStatus::kStopped}) {
    if (FileStatusOf(ended) == status) return ConversionStatusName(ended);
  }
  return "failed";
}

std::string DecidingMessage(FileStatus status, const std::vector<ReportedMessage>& messages) {
  const MessageKind wanted = status == FileStatus::kFailed                  ? MessageKind::kError
                             : status == FileStatus::kConvertedWithWarnings ? MessageKind::kWarning
                                                                            : MessageKind::kInformation;
  for (const ReportedMessage& message : messages)
    if (message.Kind == wanted) return MessageHeadline(message.Text);
  return messages.empty() ? "" : MessageHeadline(messages.front().Text);
}

}  // namespace tarvelo::cli
