// Holes put in order across the roll: by centre, equal centres in the order they came (the
// measurement's hole list and everything fitted from it depend on that order).
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvelo
