#include "playlist/beat_grid.h"

#include <QStringList>

#include <gtest/gtest.h>

#include "data/marker_text.h"

namespace tw {
namespace {

QStringList Lines(const QString& grid) {
  EXPECT_TRUE(grid.endsWith('\n'));
  QStringList lines = grid.split('\n');
  lines.removeLast();
  return lines;
}

TEST(SectionLength, CountsTheLoopOnlyWhenTheSectionHasOne) {
  struct Case {
    float start, end, loop_start, loop_end;
    int64_t repeat;
    float expected;
  } cases[] = {
      {10, 20, 0, 0, 3, 10},    // no loop: the repeat count is ignored
      {10, 20, 12, 14, 3, 16},  // 10 + 3 x 2
      {10, 20, 0, 14, 1, 24},   // a loop start at 0 still counts (start + end above 0)
      {10, 20, 12, 14, 0, 10},  // repeated no times
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(SectionLength(c.start, c.end, c.loop_start, c.loop_end, c.repeat), c.expected);
  }
}

TEST(NormaliseBeatList, AnEmptyListBecomesTheRegularGrid) {
  const QStringList lines = Lines(NormaliseBeatList("", 10, 26, SectionLoop{}));
  ASSERT_EQ(lines.size(), 32);
  EXPECT_EQ(lines.first(), "10");
  EXPECT_EQ(lines.at(1), "10.5");
  EXPECT_EQ(lines.last(), "25.5");
}

TEST(NormaliseBeatList, LateFirstBeatGetsTheSectionStartInFrontAndTheGridContinues) {
  // Start 10, end 26 (interval 0.5); three user beats, the first 1 s after the start.
  const QString stored =
      MarkerText(11, 4) + "\r\n" + MarkerText(11.5f, 4) + "\\n" + MarkerText(12.25f, 4) + "\n";
  const QStringList lines = Lines(NormaliseBeatList(stored, 10, 26, SectionLoop{}));
  ASSERT_EQ(lines.size(), 32);
  EXPECT_EQ(lines.mid(0, 4), QStringList({"10", "11", "11.5", "12.25"}));
  EXPECT_EQ(lines.at(4), "12");  // start + 4 x interval
  EXPECT_EQ(lines.at(31), "25.5");
}

TEST(NormaliseBeatList, AnEmptyLineBetweenBeatsTakesTheGridPosition) {
  const QStringList lines = Lines(NormaliseBeatList("10\n\n11.1\n", 10, 26, SectionLoop{}));
  EXPECT_EQ(lines.mid(0, 4), QStringList({"10", "10.5", "11.1000003815", "11.5"}));
}

TEST(NormaliseBeatList, TheLoopStretchesTheGrid) {
  // 16 s plus 2 repeats of a 4 s loop: 24 s over 32 beats.
  const QStringList lines = Lines(NormaliseBeatList("", 10, 26, SectionLoop{12, 16, 2}));
  EXPECT_EQ(lines.at(1), "10.75");
  // A loop with only one end set is no loop.
  EXPECT_EQ(Lines(NormaliseBeatList("", 10, 26, SectionLoop{0, 16, 2})).at(1), "10.5");
}

TEST(NormaliseBeatList, AnEarlyFirstBeatIsKeptAsTheFirstLine) {
  const QStringList lines = Lines(NormaliseBeatList("00:10.1000\n", 10, 26, SectionLoop{}));
  EXPECT_FLOAT_EQ(lines.first().toFloat(), 10.1f);
  EXPECT_EQ(lines.at(1), "10.5");
}

}  // namespace
}  // namespace tw
