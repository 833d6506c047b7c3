#ifndef TUNEWRIGHT_AUDIO_ENGINE_DECODER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_DECODER_H_

#include <cstdint>
#include <memory>
#include <string>

namespace tw::engine {

struct AudioFormat {
  int sample_rate = 0;
  int channels = 0;
};

// One decoded audio file. Not thread-safe: one owner at a time.
//
// Every decoder keeps the whole (compressed) file in memory, so Read and Seek never touch the
// disk and may run on the mixing thread; they also never allocate after Open.
class Decoder {
 public:
  virtual ~Decoder() = default;

  virtual AudioFormat Format() const = 0;
  // Exact length in frames: encoder delay and padding removed where the format records them.
  virtual int64_t LengthFrames() const = 0;
  // Reads up to `frames` frames as interleaved floats in [-1, 1] with Format().channels
  // channels. Returns the frames read; 0 at the end or on a decoding error.
  virtual int64_t Read(float* out, int64_t frames) = 0;
  // Sample-accurate: the next Read starts exactly at `frame` (clamped to the length).
  virtual bool Seek(int64_t frame) = 0;
  virtual int64_t Position() const = 0;
};

// Opens a file by its content (MPEG layers 1-3, Ogg Vorbis, WAV, AIFF), whatever its name's
// extension. Returns null with a message in `error` (when given) for anything else.
// Reads the file; call it off the mixing thread.
std::unique_ptr<Decoder> OpenDecoder(const std::string& path, std::string* error = nullptr);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_DECODER_H_
