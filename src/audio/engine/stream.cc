#include "audio/engine/stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "audio/engine/mixer.h"
#include "audio/engine/sinc_resampler.h"

namespace tw::engine {
namespace {

constexpr int64_t kBufferFrames = 8192;
constexpr int64_t kDen = SincResampler::kRateDenominator;
constexpr int64_t kBefore = SincResampler::kTapsBefore;
constexpr int64_t kAfter = SincResampler::kTapsAfter;

}  // namespace

Stream::Stream(std::unique_ptr<Decoder> decoder, StreamKind kind)
    : ChannelObject(Type::kStream), decoder_(std::move(decoder)), kind_(kind) {
  const AudioFormat format = decoder_->Format();
  sample_rate_ = format.sample_rate > 0 ? format.sample_rate : 44100;
  decoder_channels_ = std::max(1, format.channels);
  length_ = std::max<int64_t>(0, decoder_->LengthFrames());
  rate_ = sample_rate_;
  step_ = SincResampler::StepForRate(rate_);
  buffer_.assign(static_cast<size_t>(kBufferFrames * 2), 0.0f);
  decode_scratch_.assign(static_cast<size_t>(kBufferFrames * decoder_channels_), 0.0f);
  decoder_next_ = decoder_->Position();
  shown_rate.store(rate_);
}

Stream::~Stream() = default;

void Stream::SetPosition(int64_t frame) {
  frame_ = std::clamp<int64_t>(frame, 0, length_);
  fraction_ = 0;
  scan_from_ = frame_;
  end_fired = false;
  ++seeks_;
}

bool Stream::SetRate(double hz) {
  if (!(hz > 0.0) || hz > kMaxRate) return false;
  const int64_t step = SincResampler::StepForRate(hz);
  if (step <= 0) return false;
  rate_ = hz;
  step_ = step;
  return true;
}

int64_t Stream::FramesUntilEvent(int64_t limit) const {
  if (Ended()) return 0;
  const int64_t target = std::min(syncs.NextFrame(scan_from_), length_);
  if (target <= frame_) return 0;
  // The first n with frame_ + (fraction_ + n * step_) / kDen >= target.
  const int64_t distance = (target - frame_) * kDen - fraction_;
  const int64_t n = (distance + step_ - 1) / step_;
  return std::min(n, limit);
}

void Stream::DispatchDue(Engine* engine) {
  const uint64_t seeks = seeks_;
  const int64_t at = frame_;
  int64_t after_frame = std::numeric_limits<int64_t>::min();
  uint64_t after_order = 0;
  while (const SyncList::Entry* due = syncs.NextDue(scan_from_, at, after_frame, after_order)) {
    const SyncList::Entry entry = *due;  // the callback may change the list
    after_frame = entry.frame;
    after_order = entry.order;
    if (entry.mode == SyncMode::kOnce) syncs.Remove(entry.id);
    entry.fn(SyncEvent{engine, handle, Sync{handle, entry.id}, entry.user, entry.context});
    if (dead || seeks_ != seeks) return;
  }
  scan_from_ = at + 1;
  if (!Ended() || end_fired) return;
  end_fired = true;
  uint64_t after = 0;
  while (const SyncList::Entry* due = syncs.NextEnd(after)) {
    const SyncList::Entry entry = *due;
    after = entry.order;
    if (entry.mode == SyncMode::kOnce) syncs.Remove(entry.id);
    entry.fn(SyncEvent{engine, handle, Sync{handle, entry.id}, entry.user, entry.context});
    if (dead || seeks_ != seeks) return;
  }
}

void Stream::Render(float* out, int64_t frames) {
  int64_t done = 0;
  while (done < frames) {
    if (frame_ - kBefore < buffer_start_ || frame_ + kAfter >= buffer_start_ + buffer_count_) {
      Refill();
    }
    const int64_t end = buffer_start_ + buffer_count_;
    if (step_ == kDen && fraction_ == 0) {
      // Own speed on whole frames: the kernel is a unit impulse there, so copy.
      const int64_t n = std::min(frames - done, end - kAfter - frame_);
      std::memcpy(out + 2 * done, &buffer_[static_cast<size_t>(2 * (frame_ - buffer_start_))],
                  static_cast<size_t>(n) * 2 * sizeof(float));
      frame_ += n;
      done += n;
      continue;
    }
    const int64_t whole = step_ / kDen;
    const int64_t part = step_ % kDen;
    while (done < frames && frame_ + kAfter < end) {
      SincResampler::Interpolate(
          &buffer_[static_cast<size_t>(2 * (frame_ - kBefore - buffer_start_))], fraction_,
          out + 2 * done);
      fraction_ += part;
      if (fraction_ >= kDen) {
        fraction_ -= kDen;
        ++frame_;
      }
      frame_ += whole;
      ++done;
    }
  }
}

int64_t Stream::ReadDirect(float* out, int64_t frames) {
  int64_t done = 0;
  frames = std::min(frames, length_ - frame_);
  fraction_ = 0;
  while (done < frames) {
    if (frame_ < buffer_start_ || frame_ + kAfter >= buffer_start_ + buffer_count_) Refill();
    const int64_t end = buffer_start_ + buffer_count_;
    const int64_t n = std::min(frames - done, end - kAfter - frame_);
    std::memcpy(out + 2 * done, &buffer_[static_cast<size_t>(2 * (frame_ - buffer_start_))],
                static_cast<size_t>(n) * 2 * sizeof(float));
    frame_ += n;
    done += n;
  }
  return done;
}

void Stream::Refill() {
  const int64_t start = frame_ - kBefore;
  const int64_t end = buffer_start_ + buffer_count_;
  if (start >= buffer_start_ && start < end) {
    const int64_t keep = end - start;
    std::memmove(buffer_.data(), &buffer_[static_cast<size_t>(2 * (start - buffer_start_))],
                 static_cast<size_t>(keep) * 2 * sizeof(float));
    buffer_count_ = keep;
  } else {
    buffer_count_ = 0;
  }
  buffer_start_ = start;
  while (buffer_count_ < kBufferFrames) {
    const int64_t next = buffer_start_ + buffer_count_;
    float* dst = &buffer_[static_cast<size_t>(2 * buffer_count_)];
    const int64_t room = kBufferFrames - buffer_count_;
    if (next < 0 || next >= length_) {
      // Before the start and past the end the kernel reads silence.
      const int64_t n = next < 0 ? std::min(room, -next) : room;
      std::fill(dst, dst + 2 * n, 0.0f);
      buffer_count_ += n;
      continue;
    }
    if (decoder_next_ != next) {
      decoder_->Seek(next);
      decoder_next_ = next;
    }
    const int64_t want = std::min(room, length_ - next);
    const int64_t got = std::max<int64_t>(0, decoder_->Read(decode_scratch_.data(), want));
    const float* src = decode_scratch_.data();
    if (decoder_channels_ == 1) {
      for (int64_t i = 0; i < got; ++i) dst[2 * i] = dst[2 * i + 1] = src[i];
    } else {
      for (int64_t i = 0; i < got; ++i) {
        dst[2 * i] = src[i * decoder_channels_];
        dst[2 * i + 1] = src[i * decoder_channels_ + 1];
      }
    }
    decoder_next_ += got;
    buffer_count_ += got;
    if (got < want) {
      // A decoding error: the rest of the stream reads as silence rather than stalling.
      std::fill(dst + 2 * got, dst + 2 * want, 0.0f);
      buffer_count_ += want - got;
      decoder_next_ = -1;
    }
  }
}

}  // namespace tw::engine
