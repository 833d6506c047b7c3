#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>

#include "audio/engine/output_device.h"
#include "audio/engine/positions.h"

namespace tw::engine {
namespace {

class SdlOutput : public OutputDevice {
 public:
  ~SdlOutput() override { Stop(); }

  bool Start(PullFn pull, std::string* error) override {
    if (device_ != 0) return true;
    pull_ = std::move(pull);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      if (error) *error = std::string("SDL audio: ") + SDL_GetError();
      return false;
    }
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = 256;  // about 5.8 ms per callback
    want.callback = &SdlOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      if (error) *error = std::string("SDL audio device: ") + SDL_GetError();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    period_ = std::chrono::duration<double>(static_cast<double>(have.samples) / kMixRate);
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Stop() override {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  int64_t Underruns() const override { return underruns_.load(); }

 private:
  static void Callback(void* userdata, Uint8* stream, int length) {
    auto* self = static_cast<SdlOutput*>(userdata);
    const auto now = std::chrono::steady_clock::now();
    // A callback that comes more than two periods after the previous one means the device ran
    // dry in between.
    if (self->last_.time_since_epoch().count() != 0 && now - self->last_ > 2 * self->period_) {
      self->underruns_.fetch_add(1, std::memory_order_relaxed);
    }
    self->last_ = now;
    self->pull_(reinterpret_cast<float*>(stream),
                length / static_cast<int>(sizeof(float) * kMixChannels));
  }

  SDL_AudioDeviceID device_ = 0;
  PullFn pull_;
  std::chrono::duration<double> period_{0.0058};
  std::chrono::steady_clock::time_point last_{};
  std::atomic<int64_t> underruns_{0};
};

}  // namespace

std::unique_ptr<OutputDevice> MakeSdlOutput() { return std::make_unique<SdlOutput>(); }

}  // namespace tw::engine
