#include <gtest/gtest.h>

#include "document/ConversionStatus.h"
#include "document/ConversionSummary.h"
#include "services/MessageHeadline.h"

namespace tarvelo {
namespace {

TEST(MessageHeadline, TakesTheFirstLineWithTextAndPassesOverTheFileName) {
  EXPECT_EQ(MessageHeadline("  The file ends after 12 of 40 scan lines  "), "The file ends after 12 of 40 scan lines");
  EXPECT_EQ(MessageHeadline("\n   \n second line\nthird"), "second line");
  // The damaged-line messages start with the file's name, which a one-line report has already.
  EXPECT_EQ(MessageHeadline("\n *** File : roll.cis\n *** Invalid Scan Line Data In File - width exceeded *** \n"),
            "*** Invalid Scan Line Data In File - width exceeded ***");
  EXPECT_EQ(MessageHeadline(""), "");
  EXPECT_EQ(MessageHeadline(" \n *** File : roll.cis\n"), "");
}

TEST(ConversionStatus, AnErrorOrAnUnwrittenOutputFailsAndAStopWinsOverBoth) {
  const std::array<int, 3> clean{2, 0, 0};
  const std::array<int, 3> warned{0, 1, 0};
  const std::array<int, 3> erred{0, 1, 1};
  const std::vector<OutputFileRecord> written{{"ScanImageMIDI", "a.mid", Result::Ok()}};
  const std::vector<OutputFileRecord> unwritten{{"ScanImageMIDI", "a.mid", Result::Ok()},
                                                {"eRollMIDI", "b.mid", Result::IoError("disk full")}};
  EXPECT_EQ(DecideConversionStatus(Result::Ok(), clean, written), ConversionStatus::kConverted);
  EXPECT_EQ(DecideConversionStatus(Result::Ok(), warned, written), ConversionStatus::kConvertedWithWarnings);
  EXPECT_EQ(DecideConversionStatus(Result::Ok(), erred, written), ConversionStatus::kFailed);
  EXPECT_EQ(DecideConversionStatus(Result::Ok(), clean, unwritten), ConversionStatus::kFailed);
  EXPECT_EQ(DecideConversionStatus(Result::Corrupt("too short"), clean, {}), ConversionStatus::kFailed);
  EXPECT_EQ(DecideConversionStatus(Result::Cancelled("stopped"), erred, unwritten), ConversionStatus::kStopped);
  EXPECT_STREQ(ConversionStatusName(ConversionStatus::kConvertedWithWarnings), "converted with warnings");
}

}  // namespace
}  // namespace tarvelo
