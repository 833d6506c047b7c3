#include "app/core/transport_rules.h"

#include <algorithm>
#include <cmath>

#include "playlist/beat_grid.h"

namespace tw {
namespace {

float BreakLength(const PlaylistEntry& e) {
  return SectionLength(e.breakstart, e.breakend, e.breakloopstart, e.breakloopend,
                       e.breaklooprepeat);
}

}  // namespace

NowPlayingText NowPlayingLines(const PlaylistEntry& s) {
  NowPlayingText text;
  if (s.artist.isEmpty() || s.title.isEmpty()) {
    text.lines[0] = s.filename;
    return text;
  }
  text.lines[0] = s.artist + " - " + s.title;
  const QString catno = s.catno.isEmpty() ? QString() : " (" + s.catno + ")";
  const bool dated = s.year.toInt() >= 1900;
  if (dated && !s.label.isEmpty()) {
    text.lines[1] = s.year + ", " + s.label + catno;
  } else if (dated) {
    text.lines[1] = s.year + catno;
  } else if (!s.label.isEmpty()) {
    text.lines[1] = s.label + catno;
  }
  text.lines[2] = s.country;
  text.flag_allowed = true;
  return text;
}

int PositionSliderMaximum(const PlaylistEntry& a, float next_introprefix, bool last_entry) {
  double length = a.playtime;
  if (!last_entry) length -= std::round(BreakLength(a));
  length = (length - next_introprefix) * 1000.0;
  if (!last_entry || a.shortened) length -= 100;
  return static_cast<int>(length);
}

int SliderValueFor(const PlaylistEntry& a, double stream_seconds) {
  double p = std::round(stream_seconds);
  if (a.shortened && p > a.skipstart) p -= a.skipend - a.skipstart;
  if (a.track > 1) p -= a.introend;
  return p > 0 ? static_cast<int>(p * 1000) : -1;
}

double SeekSeconds(const PlaylistEntry& a, int slider_value, int slider_maximum) {
  double t = slider_value / 1000;
  if (a.track > 1) t = std::round(t + a.introend);
  if (a.shortened && t > a.skipstart) t = std::round(t + (a.skipend - a.skipstart));
  if (slider_value > slider_maximum - 2000) t -= 2;
  return t;
}

int TransitionSeconds(const PlaylistEntry& a, const PlaylistEntry& b, bool fading) {
  double d = std::round(std::round(BreakLength(a)) + a.breakcontinue);
  if (!fading && !b.introfade) d = std::round(d + b.introprefix);
  return static_cast<int>(d);
}

std::array<int, 16> SpectrumBars(const std::array<float, 1024>& magnitudes, int height) {
  std::array<int, 16> bars{};
  int b0 = 0;
  for (int x = 0; x < 16; ++x) {
    int b1 = static_cast<int>(std::lround(std::pow(2.0, x * 10.0 / 15.0)));
    b1 = std::min(b1, 1023);
    if (b1 <= b0) b1 = b0 + 1;
    float peak = 0;
    for (int i = b0 + 1; i <= b1; ++i) peak = std::max(peak, magnitudes[static_cast<size_t>(i)]);
    b0 = b1;
    const long y = std::lround(std::sqrt(peak) * 3 * height - 4);
    bars[static_cast<size_t>(x)] = static_cast<int>(std::clamp<long>(y, 0, height));
  }
  return bars;
}

}  // namespace tw
