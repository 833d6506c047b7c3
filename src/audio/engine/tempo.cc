#include "audio/engine/tempo.h"

#include <dsp/onsets/DetectionFunction.h>
#include <dsp/tempotracking/TempoTrackV2.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/engine/read_frames.h"

namespace tw::engine {
namespace {

// About 86 detection-function values per second and 50 Hz spectral bins at 44.1 kHz: the
// resolution the beat tracker's fixed lag ranges were designed for.
constexpr double kStepsPerSecond = 86.0;
constexpr double kMaximumBinHz = 50.0;
// The first values of the detection function see the window ramping in, not an onset.
constexpr size_t kSkippedStartValues = 2;
// TempoTrackV2 filters the detection function in windows of 512 values (about six seconds)
// taken every 128; with fewer than two windows its period decoding has nothing to work on.
constexpr size_t kMinimumDetectionValues = 512 + 128;
// Below this many beats no tempo is trustworthy.
constexpr size_t kMinimumBeats = 4;
// A two-thirds or three-halves tempo replaces the tracker's only when its periodicity score
// beats the tracker's by this factor: the tracker is right far more often than not.
constexpr double kMetricalSwitchRatio = 1.15;
// Periodicity score (a sum of normalised autocorrelations) below which the onsets show no
// beat.
constexpr double kMinimumPeriodicity = 0.3;
// Multiples of a beat period summed into its periodicity score.
constexpr int kScoreMultiples = 4;

size_t NextPowerOfTwo(size_t n) {
  size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

std::vector<double> DetectionFunctionOf(const float* mono, size_t frames, size_t step,
                                        size_t window) {
  DFConfig config{};
  config.stepSize = static_cast<unsigned int>(step);
  config.frameLength = static_cast<unsigned int>(window);
  config.DFType = DF_COMPLEXSD;
  config.dbRise = 3.0;
  config.adaptiveWhitening = false;
  config.whiteningRelaxCoeff = -1.0;
  config.whiteningFloor = -1.0;
  DetectionFunction detector(config);
  std::vector<double> frame(window);
  std::vector<double> values;
  values.reserve(frames / step + 1);
  for (size_t start = 0; start + window <= frames; start += step) {
    std::copy(mono + start, mono + start + window, frame.begin());
    values.push_back(detector.processTimeDomain(frame.data()));
  }
  if (values.size() <= kSkippedStartValues) return {};
  values.erase(values.begin(), values.begin() + kSkippedStartValues);
  return values;
}

// Beat period in detection-function steps from the tracked beat positions: a least-squares
// line through them. Each beat is numbered from the previous one by how many median intervals
// lie between them, so a missed beat does not bend the slope and a doubled one is dropped.
double BeatPeriodOf(const std::vector<double>& beats) {
  std::vector<double> intervals;
  for (size_t i = 1; i < beats.size(); ++i) intervals.push_back(beats[i] - beats[i - 1]);
  std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
  const double median = intervals[intervals.size() / 2];
  if (median <= 0) return 0;
  double sum_x = 0, sum_y = 0, sum_xx = 0, sum_xy = 0;
  double index = 0;
  double previous = beats.front();
  size_t n = 0;
  for (const double beat : beats) {
    const double steps = std::round((beat - previous) / median);
    if (n > 0 && steps < 1) continue;  // a doubled beat
    index += steps;
    previous = beat;
    sum_x += index;
    sum_y += beat;
    sum_xx += index * index;
    sum_xy += index * beat;
    ++n;
  }
  const double count = static_cast<double>(n);
  const double denominator = count * sum_xx - sum_x * sum_x;
  if (n < kMinimumBeats || denominator <= 0) return 0;
  return (count * sum_xy - sum_x * sum_y) / denominator;
}

// Normalised autocorrelation of the detection function at a fractional lag.
class Periodicity {
 public:
  explicit Periodicity(const std::vector<double>& df) : df_(df) {
    double mean = 0;
    for (const double v : df_) mean += v;
    mean /= static_cast<double>(df_.size());
    for (double& v : df_) v -= mean;
    energy_ = 0;
    for (const double v : df_) energy_ += v * v;
  }

  // How strongly the function repeats every `period` steps, summed over a few multiples and
  // the half period: music in two or four has onsets between its beats, so a period that is
  // really three half-beats long finds nothing at its own half.
  double Score(double period) const {
    double score = AutocorrelationAt(period / 2);
    for (int k = 1; k <= kScoreMultiples; ++k) score += AutocorrelationAt(k * period);
    return score;
  }

 private:
  double AutocorrelationAt(double lag) const {
    const size_t low = static_cast<size_t>(lag);
    const double fraction = lag - static_cast<double>(low);
    return (1 - fraction) * AutocorrelationAt(low) + fraction * AutocorrelationAt(low + 1);
  }
  double AutocorrelationAt(size_t lag) const {
    if (energy_ <= 0 || lag >= df_.size()) return 0;
    double sum = 0;
    for (size_t i = lag; i < df_.size(); ++i) sum += df_[i] * df_[i - lag];
    // Scaled to the overlap so long lags are not penalised for their shorter sums.
    return sum / energy_ * static_cast<double>(df_.size()) / static_cast<double>(df_.size() - lag);
  }

  std::vector<double> df_;
  double energy_ = 0;
};

// The tracker's beat period, or two thirds or three halves of its tempo when the detection
// function repeats markedly better at that period; 0 when it hardly repeats at all (noise,
// a drone), where the tracker's beats are arbitrary.
double CorrectMetricalLevel(const std::vector<double>& df, double period) {
  const Periodicity periodicity(df);
  const double tracked = periodicity.Score(period);
  if (tracked < kMinimumPeriodicity) return 0;
  double best_period = period;
  double best_score = tracked * kMetricalSwitchRatio;
  for (const double candidate : {period * 1.5, period / 1.5}) {
    if (candidate * kScoreMultiples >= static_cast<double>(df.size())) continue;
    const double score = periodicity.Score(candidate);
    if (score > best_score) {
      best_score = score;
      best_period = candidate;
    }
  }
  return best_period;
}

}  // namespace

double EstimateTempoBpm(const float* mono, size_t frames, int sample_rate, double preferred_bpm) {
  if (sample_rate <= 0 || preferred_bpm <= 0) return 0;
  const size_t step = static_cast<size_t>(sample_rate / kStepsPerSecond);
  const size_t window = NextPowerOfTwo(static_cast<size_t>(sample_rate / kMaximumBinHz));
  const std::vector<double> df = DetectionFunctionOf(mono, frames, step, window);
  if (df.size() < kMinimumDetectionValues) return 0;

  TempoTrackV2 tracker(static_cast<float>(sample_rate), step);
  // The tracker writes one period per detection-function value without resizing the vector.
  std::vector<double> periods(df.size());
  std::vector<double> tempi;
  tracker.calculateBeatPeriod(df, periods, tempi, preferred_bpm, false);
  std::vector<double> beats;
  tracker.calculateBeats(df, periods, beats);
  if (beats.size() < kMinimumBeats) return 0;

  const double period = BeatPeriodOf(beats);
  if (period <= 0) return 0;
  const double corrected = CorrectMetricalLevel(df, period);
  if (corrected <= 0) return 0;
  return 60.0 * sample_rate / (static_cast<double>(step) * corrected);
}

double EstimateTempoBpm(Decoder& decoder, int64_t start_frame, int64_t frame_count,
                        double preferred_bpm) {
  std::vector<float> samples;
  const int64_t frames = ReadFramesFloat(decoder, start_frame, frame_count, &samples);
  const int channels = decoder.Format().channels;
  if (frames <= 0 || channels <= 0) return 0;
  std::vector<float> mono(static_cast<size_t>(frames));
  for (int64_t i = 0; i < frames; ++i) {
    float sum = 0;
    for (int c = 0; c < channels; ++c) sum += samples[static_cast<size_t>(i * channels + c)];
    mono[static_cast<size_t>(i)] = sum / static_cast<float>(channels);
  }
  return EstimateTempoBpm(mono.data(), mono.size(), decoder.Format().sample_rate, preferred_bpm);
}

}  // namespace tw::engine
