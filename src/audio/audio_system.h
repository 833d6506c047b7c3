#ifndef TUNEWRIGHT_AUDIO_AUDIO_SYSTEM_H_
#define TUNEWRIGHT_AUDIO_AUDIO_SYSTEM_H_

#include <memory>

#include <QString>

#include "audio/engine/engine.h"

namespace tw {

// The audio engine of a run with its two mixers: MainMixer plays the mix (and is the source
// of the export), TestMixer the beat sync test. Main thread.
class AudioSystem {
 public:
  AudioSystem();
  ~AudioSystem();

  // Checks the engine's components, opens the output and creates both mixers at volume 0.75;
  // the abort message when something failed ("Audio output cannot be initialized.", ...),
  // empty on success.
  QString Start(engine::OutputChoice output = engine::OutputChoice::kFromEnvironment);
  // Frees the mixers (and every source in them) and stops the output.
  void Stop();
  bool started() const { return started_; }

  engine::Engine& engine() { return *engine_; }
  engine::Channel main_mixer() const { return main_mixer_; }
  engine::Channel test_mixer() const { return test_mixer_; }

  // Frees MainMixer with every source in it and puts a new mixer of `kind` in its place (a
  // decoding one for an export), without volume or dynamics. Returns the new mixer.
  engine::Channel ReplaceMainMixer(engine::MixerKind kind);

  // The main window's volume slider: value / 100.
  void SetMainVolume(float volume);
  // Adds or removes the dynamic amplification on MainMixer; it survives song changes.
  void SetDynamicAmplification(bool on);
  bool dynamic_amplification() const { return static_cast<bool>(dynamic_amp_); }

 private:
  std::unique_ptr<engine::Engine> engine_;
  engine::Channel main_mixer_;
  engine::Channel test_mixer_;
  engine::Effect dynamic_amp_;
  bool started_ = false;
};

// The abort message for a component that failed the start-up check.
QString AudioStartFailure(engine::EngineComponent component);

}  // namespace tw

#endif  // TUNEWRIGHT_AUDIO_AUDIO_SYSTEM_H_
