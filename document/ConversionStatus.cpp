#include "document/ConversionStatus.h"

#include <algorithm>

#include "document/ConversionSummary.h"

namespace tarvelo {

const char* ConversionStatusName(ConversionStatus status) {
  switch (status) {
    case ConversionStatus::kConverted:
      return "converted";
    case ConversionStatus::kConvertedWithWarnings:
      return "converted with warnings";
    case ConversionStatus::kFailed:
      return "failed";
    case ConversionStatus::kStopped:
      return "stopped";
  }
  return "failed";
}

ConversionStatus DecideConversionStatus(const Result& ended, const std::array<int, 3>& message_counts,
                                        const std::vector<OutputFileRecord>& outputs) {
  if (ended.kind() == Result::Kind::kCancelled) return ConversionStatus::kStopped;
  const bool output_failed =
      std::any_of(outputs.begin(), outputs.end(), [](const OutputFileRecord& o) { return !o.Outcome.ok(); });
  const auto count = [&message_counts](MessageKind kind) { return message_counts[static_cast<size_t>(kind)]; };
  if (!ended.ok() || output_failed || count(MessageKind::kError) > 0) return ConversionStatus::kFailed;
  if (count(MessageKind::kWarning) > 0) return ConversionStatus::kConvertedWithWarnings;
  return ConversionStatus::kConverted;
}

}  // namespace tarvelo
