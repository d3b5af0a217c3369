// Holes put in order across the roll: by centre, equal centres in the order they came (the
// measurement's hole list and everything fitted from it depend on that order).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "align/HoleOrder.h"

namespace tarvelo {
namespace {

MeasuredHole Hole(double center, int32_t lines) {
  MeasuredHole hole;
  hole.Center = center;
  hole.Lines = lines;
  return hole;
}

TEST(HoleOrder, SortsByCenterKeepingTheOrderOfEqualCenters) {
  std::vector<MeasuredHole> holes{Hole(30, 1), Hole(10, 2), Hole(30, 3), Hole(-5, 4), Hole(10, 5), Hole(30, 6)};
  SortByCenter(holes);
  std::vector<int32_t> order;
  for (const MeasuredHole& hole : holes) order.push_back(hole.Lines);
  EXPECT_EQ(order, (std::vector<int32_t>{4, 2, 5, 1, 3, 6}));

  std::vector<MeasuredHole> none;
  SortByCenter(none);
  EXPECT_TRUE(none.empty());
}

// Centres of every sign and size, many of them equal: the order a stable sort gives.
TEST(HoleOrder, MatchesAStableSortOverNegativeLargeAndRepeatedCenters) {
  std::vector<MeasuredHole> holes;
  uint32_t state = 12345;
  for (int32_t k = 0; k < 5000; ++k) {
    state = state * 1103515245u + 12345u;
    const double center = (static_cast<int>(state >> 16) % 4001 - 2000) * (k % 3 == 0 ? 0.25 : 1.7);
    holes.push_back(Hole(k % 7 == 0 ? 0.0 : center, k));
  }
  holes.push_back(Hole(-0.0, -1));
  holes.push_back(Hole(1e9, -2));
  std::vector<MeasuredHole> expected = holes;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const MeasuredHole& a, const MeasuredHole& b) { return a.Center < b.Center; });
  SortByCenter(holes);
  ASSERT_EQ(holes.size(), expected.size());
  for (size_t k = 0; k < holes.size(); ++k) ASSERT_EQ(holes[k].Lines, expected[k].Lines) << k;
}

}  // namespace
}  // namespace tarvelo
