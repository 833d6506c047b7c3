#include "data/marker_text.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tw {
namespace {

struct WriteCase {
  float seconds;
  int decimals;
  const char* text;
};

TEST(MarkerText, WritesTruncatedNeverRounded) {
  const WriteCase cases[] = {
      {0.0f, 4, "00:00.0000"},     {0.0f, 3, "00:00.000"},      {83.45f, 4, "01:23.4499"},
      {83.45f, 3, "01:23.449"},    {0.015f, 4, "00:00.0149"},   {59.99999f, 4, "00:59.9999"},
      {600.5f, 4, "10:00.5000"},   {3599.25f, 4, "59:59.2500"}, {128.0f, 4, "02:08.0000"},
      {10.0f, 4, "00:10.0000"},    {60.0f, 4, "01:00.0000"},    {0.5f, 6, "00:00.500000"},
      {6000.0f, 4, "100:00.0000"}, {7384.5f, 4, "123:04.5000"}, {-1.5f, 4, "-00:01.5000"},
      {-0.015f, 4, "-00:00.0149"},
  };
  for (const WriteCase& c : cases) {
    EXPECT_EQ(MarkerText(c.seconds, c.decimals), c.text) << c.seconds << " / " << c.decimals;
  }
}

TEST(MarkerText, ReadsEveryStoredForm) {
  const std::pair<const char*, float> cases[] = {
      {"01:23.4499", 83.4499f},
      {"01.23.4499", 83.4499f},
      {"83.4499", 83.4499f},
      {"02:08.0000", 128.0f},
      {"02.08.0000", 128.0f},
      {" 02:08 ", 128.0f},
      {"128", 128.0f},
      {"", 0.0f},
      {"   ", 0.0f},
      {"00:00.0000", 0.0f},
      {"100:00.0000", 6000.0f},
      {"-00:01.5000", -1.5f},
      {"abc", 0.0f},
      {"01:2x", 62.0f},
      {"00:10.000", 10.0f},
  };
  for (const auto& [text, seconds] : cases) {
    EXPECT_FLOAT_EQ(MarkerSeconds(QString::fromLatin1(text)), seconds) << text;
  }
}

TEST(MarkerText, RereadValueIsTheFloatNearestTheText) {
  // The stored text reads back as the float just below 83.4499, so a second save lowers the
  // marker by 0.0001 s, while round values stay exact.
  EXPECT_EQ(MarkerSeconds(QStringLiteral("01:23.4499")), 83.4499f);
  EXPECT_EQ(MarkerText(MarkerSeconds(QStringLiteral("01:23.4499")), 4), "01:23.4498");
  for (const char* stable : {"00:10.0000", "10:00.5000", "123:04.5000", "-00:01.5000"}) {
    EXPECT_EQ(MarkerText(MarkerSeconds(QString::fromLatin1(stable)), 4), stable);
  }
}

TEST(MarkerText, LongAndNegativeTimesSurviveWriteAndRead) {
  for (float seconds : {5999.5f, 6000.25f, 35999.0f, -3.25f, -120.5f}) {
    const float back = MarkerSeconds(MarkerText(seconds, 4));
    EXPECT_NEAR(back, seconds, 0.0002) << seconds;
  }
}

TEST(BeatList, AcceptsEveryLineBreak) {
  const QString lists[] = {
      "00:10.000\n00:12.500\n",   "00:10.000\r00:12.500\r",   "00:10.000\r\n00:12.500\r\n",
      "00:10.000\\n00:12.500\\n", "00.10.000\\r00.12.500\\r",
      "00:10.000\n\n00:12.500",  // an empty line and a missing last break
  };
  for (const QString& list : lists) {
    const std::vector<float> beats = ParseBeatList(list);
    ASSERT_EQ(beats.size(), 2u) << list.toStdString();
    EXPECT_FLOAT_EQ(beats[0], 10.0f);
    EXPECT_FLOAT_EQ(beats[1], 12.5f);
    EXPECT_EQ(BeatListCount(list), 2);
  }
  EXPECT_TRUE(ParseBeatList(QString()).empty());
}

TEST(BareNumber, DropsTrailingZeros) {
  EXPECT_EQ(BareNumber(127.5f), "127.5");
  EXPECT_EQ(BareNumber(128.0f), "128");
  EXPECT_EQ(BareNumber(0.0), "0");
  EXPECT_EQ(BareNumber(NAN), "0");
}

}  // namespace
}  // namespace tw
