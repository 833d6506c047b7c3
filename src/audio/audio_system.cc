#include "audio/audio_system.h"

namespace tw {

QString AudioStartFailure(engine::EngineComponent component) {
  switch (component) {
    case engine::EngineComponent::kOutput:
      return "Audio output cannot be initialized.";
    case engine::EngineComponent::kResampler:
      return "Failed to load the resampler";
    case engine::EngineComponent::kSpectrum:
      return "Failed to load the spectrum analyser (FFTW)";
    case engine::EngineComponent::kEncoder:
      return "Failed to load the MP3 encoder (LAME)";
    case engine::EngineComponent::kNone:
      break;
  }
  return {};
}

AudioSystem::AudioSystem() : engine_(std::make_unique<engine::Engine>()) {}

AudioSystem::~AudioSystem() { Stop(); }

QString AudioSystem::Start(engine::OutputChoice output) {
  const engine::StartResult result = engine_->Start(output);
  if (!result.ok()) return AudioStartFailure(result.failed);
  main_mixer_ = engine_->CreateMixer(engine::MixerKind::kPlaying);
  test_mixer_ = engine_->CreateMixer(engine::MixerKind::kPlaying);
  if (!main_mixer_ || !test_mixer_) return AudioStartFailure(engine::EngineComponent::kOutput);
  engine_->SetVolume(main_mixer_, 0.75f);
  engine_->SetVolume(test_mixer_, 0.75f);
  started_ = true;
  return {};
}

void AudioSystem::Stop() {
  if (!started_) return;
  started_ = false;
  engine_->Free(main_mixer_);
  engine_->Free(test_mixer_);
  main_mixer_ = test_mixer_ = {};
  dynamic_amp_ = {};
  engine_->StopOutput();
  engine_->CollectGarbage();
}

engine::Channel AudioSystem::ReplaceMainMixer(engine::MixerKind kind) {
  engine_->Free(main_mixer_);
  dynamic_amp_ = {};
  main_mixer_ = engine_->CreateMixer(kind);
  return main_mixer_;
}

void AudioSystem::SetMainVolume(float volume) { engine_->SetVolume(main_mixer_, volume); }

void AudioSystem::SetDynamicAmplification(bool on) {
  if (on && !dynamic_amp_) {
    dynamic_amp_ = engine_->AddDynamicAmp(main_mixer_);
  } else if (!on && dynamic_amp_) {
    engine_->RemoveEffect(dynamic_amp_);
    dynamic_amp_ = {};
  }
}

}  // namespace tw
