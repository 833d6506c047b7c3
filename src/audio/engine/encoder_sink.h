#ifndef TUNEWRIGHT_AUDIO_ENGINE_ENCODER_SINK_H_
#define TUNEWRIGHT_AUDIO_ENGINE_ENCODER_SINK_H_

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/engine/audio_file_writer.h"
#include "audio/engine/engine_types.h"

namespace tw::engine {

// Encodes what a decoding mixer renders on a thread of its own, fed through a preallocated
// queue, so rendering the next blocks and encoding the last ones overlap. The producer waits
// when the queue is full: it is the thread pulling the decoding mixer, never the output thread.
class EncoderSink {
 public:
  static std::unique_ptr<EncoderSink> Open(EncoderFormat format, const std::string& path,
                                           std::string* error);
  explicit EncoderSink(std::unique_ptr<AudioFileWriter> writer);
  ~EncoderSink();

  void Push(const float* stereo, int64_t frames);
  // Encodes what is queued, completes and closes the file. False with a message on any failure.
  bool Finish(std::string* error);

 private:
  void Run();

  static constexpr int64_t kQueueFrames = 1 << 16;
  static constexpr int64_t kBatchFrames = 8192;
  std::unique_ptr<AudioFileWriter> writer_;
  std::vector<float> queue_;
  int64_t head_ = 0;  // frames, ever increasing
  int64_t tail_ = 0;
  bool closing_ = false;
  bool finished_ = false;
  std::mutex mutex_;
  std::condition_variable readable_;
  std::condition_variable writable_;
  std::thread thread_;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_ENCODER_SINK_H_
