#include <gtest/gtest.h>

#include "keywords/KeywordList.h"

namespace tarvelo {
namespace {

TEST(KeywordList, SameKeyReplacesInPlaceAndKeysAreCaseSensitive) {
  KeywordList list;
  list.AddText("/title: A");
  list.AddText("/composer: X");
  list.AddText("/title: B");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemText(0), "/title: B");
  list.AddText("/Title: C");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.FindKey("/title:   "), 0);
  EXPECT_EQ(list.FindKey("/nothing:"), -1);
}

TEST(KeywordList, TextsWithoutSlashOrColonAndComments) {
  KeywordList list;
  list.AddText("Beta Version");
  EXPECT_EQ(list.ItemText(0), "Beta Version ");
  list.AddText("/no_colon   ");
  EXPECT_EQ(list.ItemText(1), "/no_colon ");
  list.AddText("/comment: first");
  list.AddText("/Comment: second");
  list.AddText("/comment: first");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ItemText(2), "/comment: first ");
  list.AddText("    ");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ItemText(-1), "");
  EXPECT_EQ(list.ItemText(list.Count()), "");
}

TEST(KeywordList, NumericFormsKeepTheBlanksThatJoinTheirTexts) {
  KeywordList list;
  list.AddKeyInteger("/play_tempo: ", 80);
  EXPECT_EQ(list.ItemText(0), "/play_tempo: 80  ");
  list.AddKeyReal("/scanner_takeup_accel_correction: ", 1.5, " Pct. per foot", " APPLIED");
  EXPECT_EQ(list.ItemText(1), "/scanner_takeup_accel_correction: 1.500  Pct. per foot  APPLIED");
  list.AddKeyReal("/offset: ", -0.25);
  EXPECT_EQ(list.ItemText(2), "/offset: -0.250  ");
  list.AddKeyInteger("/Twin_Array_Blend_Area_Width: ", 60, " thousandths");
  EXPECT_EQ(list.ItemText(3), "/Twin_Array_Blend_Area_Width: 60  thousandths ");
}

}  // namespace
}  // namespace tarvelo
