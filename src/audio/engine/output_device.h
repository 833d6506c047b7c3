#ifndef TUNEWRIGHT_AUDIO_ENGINE_OUTPUT_DEVICE_H_
#define TUNEWRIGHT_AUDIO_ENGINE_OUTPUT_DEVICE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tw::engine {

// Where the summed real-time channels go. The device calls `pull` on its own thread for
// interleaved stereo float frames at 44100 Hz.
class OutputDevice {
 public:
  using PullFn = std::function<void(float* out, int64_t frames)>;
  virtual ~OutputDevice() = default;
  // False with a message when the device cannot be opened.
  virtual bool Start(PullFn pull, std::string* error) = 0;
  virtual void Stop() = 0;
  // Blocks the device could not deliver in time.
  virtual int64_t Underruns() const = 0;
};

// The default output device through SDL2 audio.
std::unique_ptr<OutputDevice> MakeSdlOutput();
// A thread that pulls `block_frames` at a time at real-time pace on absolute deadlines and
// discards the sound.
std::unique_ptr<OutputDevice> MakeNullOutput(int64_t block_frames = 256);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_OUTPUT_DEVICE_H_
