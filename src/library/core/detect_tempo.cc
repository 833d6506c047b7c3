#include "library/core/detect_tempo.h"

#include <cmath>
#include <string>

#include <QFile>

#include "audio/engine/decoder.h"
#include "audio/engine/tempo.h"

namespace tw::library {
namespace {

constexpr float kSlowestMixingBpm = 70.0f;
constexpr float kFastestMixingBpm = 160.0f;

}  // namespace

TempoWindow TempoAnalysisWindow(float length_seconds) {
  if (length_seconds > 90) return {60, 90};
  if (length_seconds > 60) return {30, 60};
  if (length_seconds > 30) return {0, 30};
  return {0, static_cast<int>(std::lround(length_seconds))};
}

float FoldTempo(float bpm) {
  if (bpm > kFastestMixingBpm) return bpm / 2;
  if (bpm < kSlowestMixingBpm) return bpm * 2;
  return bpm;
}

QString FormatTempo(float bpm) {
  return QString::number(static_cast<double>(bpm), 'f', 2)
      .rightJustified(6, QLatin1Char('0'), true);
}

QString DetectTempo(const QString& absolute_path, QString* error) {
  if (error) error->clear();
  std::string message;
  const auto decoder =
      engine::OpenDecoder(QFile::encodeName(absolute_path).toStdString(), &message);
  if (!decoder) {
    if (error) *error = QString::fromStdString(message);
    return QString::fromLatin1(kUnknownTempoText);
  }
  const int rate = decoder->Format().sample_rate;
  const float length_seconds =
      static_cast<float>(static_cast<double>(decoder->LengthFrames()) / rate);
  const TempoWindow window = TempoAnalysisWindow(length_seconds);
  // Between octave-related readings the tracker leans to the middle of the mixing range
  // (its geometric centre), so fewer songs need the single fold below.
  const double preferred_bpm = std::sqrt(kSlowestMixingBpm * kFastestMixingBpm);
  const float bpm = static_cast<float>(engine::EstimateTempoBpm(
      *decoder, static_cast<int64_t>(window.start_seconds) * rate,
      static_cast<int64_t>(window.end_seconds - window.start_seconds) * rate, preferred_bpm));
  if (bpm <= 0) return QString::fromLatin1(kUnknownTempoText);
  return FormatTempo(FoldTempo(bpm));
}

}  // namespace tw::library
