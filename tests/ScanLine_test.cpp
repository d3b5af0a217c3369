#include <gtest/gtest.h>

#include "cis/CisScanData.h"

namespace tarvelo {
namespace {

TEST(ScanLineArray, CopiesAreIndependentAndComputedValuesStartAtZero) {
  ScanLineArray as_read;
  const int32_t t[] = {10, 20, 30};
  as_read.AppendLine(t, 1);
  as_read.AppendLine(t, 2);
  EXPECT_FALSE(as_read.HasGeometry());
  ScanLineArray working = as_read;
  working.MutableTrackingOffsets()[1] = 0.5;
  EXPECT_EQ(working.Geometry(1).TrackingOffset, 0.5);
  EXPECT_EQ(as_read.Geometry(1).TrackingOffset, 0.0);
  working = as_read;
  EXPECT_EQ(working.Geometry(1).TrackingOffset, 0.0);
}

TEST(CisScanData, ResetValues) {
  CisScanData data;
  data.Tempo = 7;
  data.LinesAsRead.AppendLine({}, 0);
  data.Names.Name = "kept";
  data.Reset();
  EXPECT_EQ(data.LinesPerInch, 100);
  EXPECT_EQ(data.Tempo, 100);
  EXPECT_EQ(data.ScanWidth, 3000);
  EXPECT_EQ(data.InterpretedAverageLpi, 100.0);
  EXPECT_TRUE(data.Lines.Empty());
  EXPECT_TRUE(data.LinesAsRead.Empty());
  EXPECT_EQ(data.Names.Name, "kept");
}

}  // namespace
}  // namespace tarvelo
