#include <gtest/gtest.h>

#include "midi/VersionText.h"

namespace tarvelo {
namespace {

TEST(VersionText, FullTextJoinsNameStageAndDate) {
  EXPECT_EQ(CVersionText{}.FullText(), "CIS to ScanImageMIDI converter - Beta Version - June. 23, 2007");
}

}  // namespace
}  // namespace tarvelo
