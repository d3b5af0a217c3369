#include <gtest/gtest.h>

#include "cis/CisScanData.h"

namespace tarvelo {
namespace {

TEST(ScanLine, ReadsInOrderThenMinusOneUntilRewound) {
  ScanLine line;
  EXPECT_EQ(line.NextTransition(), -1);
  EXPECT_EQ(line.TransitionCount(), 0);
  for (int v : {0, 5, 5, -3}) line.AppendTransition(v);
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(line.NextTransition(), 0);
    EXPECT_EQ(line.NextTransition(), 5);
    EXPECT_EQ(line.NextTransition(), 5);
    EXPECT_EQ(line.NextTransition(), -3);
    EXPECT_EQ(line.NextTransition(), -1);
    EXPECT_EQ(line.NextTransition(), -1);
    line.RewindTransitions();
  }
}

TEST(ScanLineArray, SetAtGrowFillsWithFreshLines) {
  ScanLineArray lines;
  ScanLine line;
  line.AppendTransition(7);
  line.AppendTransition(3000);
  line.LineWord = 0x80;
  line.Geometry.Position = 2.5;
  lines.SetAtGrow(10, line);
  ASSERT_EQ(lines.Size(), 11);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(lines.TransitionCount(i), 0);
    EXPECT_EQ(lines.Position(i), 0.0);
  }
  EXPECT_EQ(lines.Line(10).Transitions(), (std::vector<int32_t>{7, 3000}));
  EXPECT_EQ(lines.LineWord(10), 0x80);
  EXPECT_EQ(lines.Position(10), 2.5);

  // Replacing a middle line with one of another length keeps the others intact.
  ScanLine longer;
  for (int v : {1, 2, 3}) longer.AppendTransition(v);
  lines.SetAtGrow(4, longer);
  EXPECT_EQ(lines.TransitionCount(4), 3);
  EXPECT_EQ(lines.Line(10).Transitions(), (std::vector<int32_t>{7, 3000}));
  lines.SetSize(5);
  EXPECT_EQ(lines.Size(), 5);
  lines.SetSize(0);
  EXPECT_TRUE(lines.Empty());
}

TEST(ScanLineArray, CopiesAreIndependentAndComputedValuesStartAtZero) {
  ScanLineArray as_read;
  const int32_t t[] = {10, 20, 30};
  as_read.AppendLine(t, 1);
  as_read.AppendLine(t, 2);
  EXPECT_FALSE(as_read.HasGeometry());
  ScanLineArray working = as_read;
  working.MutableGeometry()[1].TrackingOffset = 0.5;
  EXPECT_EQ(working.Geometry(1).TrackingOffset, 0.5);
  EXPECT_EQ(as_read.Geometry(1).TrackingOffset, 0.0);
  working = as_read;
  EXPECT_EQ(working.Geometry(1).TrackingOffset, 0.0);
}

TEST(CisScanData, ResetValues) {
  CisScanData data;
  data.Tempo = 7;
  data.LinesAsRead.AppendLine({}, 0);
  data.FileName = "kept";
  data.Reset();
  EXPECT_EQ(data.LinesPerInch, 100);
  EXPECT_EQ(data.Tempo, 100);
  EXPECT_EQ(data.ScanWidth, 3000);
  EXPECT_EQ(data.InterpretedAverageLpi, 100.0);
  EXPECT_TRUE(data.Lines.Empty());
  EXPECT_TRUE(data.LinesAsRead.Empty());
  EXPECT_EQ(data.FileName, "kept");
}

}  // namespace
}  // namespace tarvelo
