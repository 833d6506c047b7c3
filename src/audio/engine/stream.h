#ifndef TUNEWRIGHT_AUDIO_ENGINE_STREAM_H_
#define TUNEWRIGHT_AUDIO_ENGINE_STREAM_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/engine/channel_object.h"
#include "audio/engine/decoder.h"
#include "audio/engine/sync_list.h"

namespace tw::engine {

class Mixer;

// One decoded source with its read position, playback rate and syncs. Its decoder keeps the
// file in memory, so rendering does no file I/O; every buffer is allocated here, so rendering
// does not allocate either.
class Stream : public ChannelObject {
 public:
  Stream(std::unique_ptr<Decoder> decoder, StreamKind kind);
  ~Stream() override;

  StreamKind kind() const { return kind_; }
  int SampleRate() const { return sample_rate_; }
  int DecoderChannels() const { return decoder_channels_; }
  int64_t LengthFrames() const { return length_; }
  // The source frame the next output frame is read at (its whole part).
  int64_t PositionFrames() const { return frame_; }
  bool Ended() const { return frame_ >= length_; }

  // Clamped to [0, length]. Syncs at exactly the new position fire when it is rendered.
  void SetPosition(int64_t frame);
  // False for a rate that is not a positive finite number of Hz up to kMaxRate.
  bool SetRate(double hz);
  double Rate() const { return rate_; }
  static constexpr double kMaxRate = 1'000'000.0;

  // Output frames that can be rendered before a sync falls due or the end is reached, at most
  // `limit`; 0 when one is due now.
  int64_t FramesUntilEvent(int64_t limit) const;
  // Fires the syncs due at the current position (and the end syncs once the end is reached).
  // Stops early when a callback moves or frees this stream; the caller asks again.
  void DispatchDue(Engine* engine);
  // Treats the syncs due now as passed, without firing them.
  void PassDueSyncs() { scan_from_ = frame_ + 1; }
  // `frames` output frames at the playback rate, overwriting `out` (interleaved stereo). The
  // caller makes sure no event falls inside (FramesUntilEvent).
  void Render(float* out, int64_t frames);
  // Reads at the stream's own rate without resampling or syncs (direct reads of a decode stream).
  int64_t ReadDirect(float* out, int64_t frames);

  SyncList syncs;
  bool end_fired = false;
  Mixer* owner = nullptr;      // the mixer (or a playable stream's own bus) this stream sounds in
  std::unique_ptr<Mixer> bus;  // a playable stream's own bus, listed with the output's channels

 private:
  void Refill();

  std::unique_ptr<Decoder> decoder_;
  StreamKind kind_;
  int sample_rate_ = 44100;
  int decoder_channels_ = 2;
  int64_t length_ = 0;

  int64_t frame_ = 0;
  int64_t fraction_ = 0;  // in 1/SincResampler::kRateDenominator frames
  int64_t step_ = 0;      // per output frame, same unit
  double rate_ = 44100.0;

  int64_t scan_from_ = 0;  // syncs at frames below this have been passed
  uint64_t seeks_ = 0;

  std::vector<float> buffer_;  // decoded stereo frames [buffer_start_, buffer_start_ + count)
  int64_t buffer_start_ = 0;
  int64_t buffer_count_ = 0;
  std::vector<float> decode_scratch_;
  int64_t decoder_next_ = 0;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_STREAM_H_
