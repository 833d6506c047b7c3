#ifndef TUNEWRIGHT_AUDIO_ENGINE_AUDIO_FILE_WRITER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_AUDIO_FILE_WRITER_H_

#include <cstdint>
#include <memory>
#include <string>

namespace tw::engine {

// Writes 44100 Hz stereo float frames to an audio file. Used from one thread.
class AudioFileWriter {
 public:
  virtual ~AudioFileWriter() = default;
  // False (with error() set) when writing failed; later calls keep failing.
  virtual bool Write(const float* stereo, int64_t frames) = 0;
  // Completes and closes the file; false when that or any earlier write failed.
  virtual bool Finish() = 0;
  const std::string& error() const { return error_; }

 protected:
  std::string error_;
};

// MP3, 320 kbit/s constant bit rate, plain stereo, with an Info tag that records the encoder's
// delay and padding so decoders can restore the exact length. Null with a message when the file
// cannot be created.
std::unique_ptr<AudioFileWriter> OpenMp3Writer(const std::string& path, std::string* error);
// Whether the MP3 encoder initialises with the settings above (the engine's start-up check).
bool Mp3EncoderAvailable();
// 16-bit PCM WAV.
std::unique_ptr<AudioFileWriter> OpenWavWriter(const std::string& path, std::string* error);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_AUDIO_FILE_WRITER_H_
