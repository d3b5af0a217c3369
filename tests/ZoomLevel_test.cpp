#include <gtest/gtest.h>

#include "view/ZoomLevel.h"

namespace tarvelo {
namespace {

TEST(ZoomLevel, FactorsAndLimits) {
  ZoomLevel zoom;
  EXPECT_EQ(zoom.Level(), 5);
  EXPECT_EQ(zoom.Factor(), 1.0);
  EXPECT_EQ(ZoomLevel::FactorOf(1), 0.0625);
  EXPECT_EQ(ZoomLevel::FactorOf(9), 16.0);

  zoom = ZoomLevel(8);
  EXPECT_TRUE(zoom.CanZoomIn());
  zoom.ZoomIn();
  EXPECT_EQ(zoom.Level(), 9);
  EXPECT_FALSE(zoom.CanZoomIn()) << "\"Zoom In\" greyed at the largest level";
  EXPECT_TRUE(zoom.CanZoomOut());
  zoom.ZoomIn();
  EXPECT_EQ(zoom.Level(), 9);

  zoom = ZoomLevel(2);
  zoom.ZoomOut();
  EXPECT_EQ(zoom.Level(), 1);
  EXPECT_FALSE(zoom.CanZoomOut()) << "\"Zoom Out\" greyed at the smallest level";
  EXPECT_TRUE(zoom.CanZoomIn());
  zoom.ZoomOut();
  EXPECT_EQ(zoom.Factor(), 0.0625);

  EXPECT_EQ(ZoomLevel(0).Level(), 1);
  EXPECT_EQ(ZoomLevel(42).Level(), 9);
}

}  // namespace
}  // namespace tarvelo
