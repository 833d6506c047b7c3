#include "audio/engine/encoder_sink.h"

#include <algorithm>

namespace tw::engine {

std::unique_ptr<EncoderSink> EncoderSink::Open(EncoderFormat format, const std::string& path,
                                               std::string* error) {
  std::unique_ptr<AudioFileWriter> writer =
      format == EncoderFormat::kMp3_320 ? OpenMp3Writer(path, error) : OpenWavWriter(path, error);
  if (!writer) return nullptr;
  return std::make_unique<EncoderSink>(std::move(writer));
}

EncoderSink::EncoderSink(std::unique_ptr<AudioFileWriter> writer)
    : writer_(std::move(writer)), queue_(static_cast<size_t>(kQueueFrames * 2)) {
  thread_ = std::thread([this] { Run(); });
}

EncoderSink::~EncoderSink() { Finish(nullptr); }

void EncoderSink::Push(const float* stereo, int64_t frames) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (int64_t done = 0; done < frames;) {
    writable_.wait(lock, [&] { return tail_ - head_ < kQueueFrames || closing_; });
    if (closing_) return;
    const int64_t room = kQueueFrames - (tail_ - head_);
    const int64_t at = tail_ % kQueueFrames;
    const int64_t n = std::min({frames - done, room, kQueueFrames - at});
    std::copy(stereo + 2 * done, stereo + 2 * (done + n), queue_.begin() + 2 * at);
    tail_ += n;
    done += n;
    // Wake the encoder for whole batches only: a wake-up per small block costs more than
    // the encoding it would start.
    if (tail_ - head_ >= kBatchFrames) readable_.notify_one();
  }
}

void EncoderSink::Run() {
  std::vector<float> block(static_cast<size_t>(kBatchFrames * 2));
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    readable_.wait(lock, [&] { return tail_ - head_ >= kBatchFrames || closing_; });
    if (tail_ == head_ && closing_) return;
    const int64_t at = head_ % kQueueFrames;
    const int64_t n = std::min({tail_ - head_, kQueueFrames - at, kBatchFrames});
    std::copy(queue_.begin() + 2 * at, queue_.begin() + 2 * (at + n), block.begin());
    lock.unlock();
    writer_->Write(block.data(), n);
    lock.lock();
    head_ += n;
    writable_.notify_one();
  }
}

bool EncoderSink::Finish(std::string* error) {
  if (!finished_) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    readable_.notify_one();
    writable_.notify_all();
    if (thread_.joinable()) thread_.join();
    writer_->Finish();
    finished_ = true;
  }
  if (!writer_->error().empty() && error) *error = writer_->error();
  return writer_->error().empty();
}

}  // namespace tw::engine
