#include <gtest/gtest.h>

#include <vector>

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

TEST(CisScanData, ResetGivesAFreshHeaderRunAndLines) {
  CisScanData data;
  data.Header.Tempo = 7;
  data.Header.Names.Name = "previous";
  data.LinesAsRead.AppendLine({}, 0);
  data.Run.CrossoverPixel = 9;
  data.Reset();
  EXPECT_EQ(data.Header.LinesPerInch, 100);
  EXPECT_EQ(data.Header.Tempo, 100);
  EXPECT_EQ(data.Header.Names.Name, "");
  EXPECT_EQ(data.Run.ScanWidth, 3000);
  EXPECT_EQ(data.Run.CrossoverPixel, 0);
  EXPECT_EQ(data.Run.InterpretedAverageLpi, 100.0);
  EXPECT_TRUE(data.Lines.Empty());
  EXPECT_TRUE(data.LinesAsRead.Empty());
}

// A run changes its own flags and width (a twin-array join, a mirroring); the next run starts
// from the header again, and the header never changes.
TEST(CisScanData, EachRunStartsFromTheHeader) {
  CisScanData data;
  data.Header.ScanWidth = 6000;
  data.Header.TwinArray = true;
  data.Header.MirrorImage = true;
  data.Lines.AppendLine(std::vector<int32_t>{3, 17}, 0);
  data.StartRun(false);
  data.KeepAsRead();
  EXPECT_EQ(data.Run.ScanWidth, 6000);
  EXPECT_TRUE(data.Run.TwinArray);
  EXPECT_EQ(data.LinesAsRead.Size(), 1);

  data.Run.ScanWidth = 2900;
  data.Run.ImageMirrored = true;
  data.Run.PaperOnLines.resize(1);
  data.StartRun(false);
  EXPECT_EQ(data.Run.ScanWidth, 6000);
  EXPECT_TRUE(data.Run.TwinArray);
  EXPECT_TRUE(data.Run.MirrorImage);
  EXPECT_FALSE(data.Run.ImageMirrored);
  EXPECT_TRUE(data.Run.PaperOnLines.empty());

  data.StartRun(true);  // the old format, forced, knows none of the type bits
  EXPECT_FALSE(data.Run.TwinArray);
  EXPECT_FALSE(data.Run.MirrorImage);
  EXPECT_TRUE(data.Header.TwinArray);
  EXPECT_EQ(data.Header.ScanWidth, 6000);
}

}  // namespace
}  // namespace tarvelo
