#include "audio/audio_system.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(AudioSystem, StartsTwoMixersAtThreeQuartersVolume) {
  AudioSystem audio;
  ASSERT_EQ(audio.Start(engine::OutputChoice::kNull), "");
  engine::Engine& e = audio.engine();
  EXPECT_TRUE(audio.main_mixer());
  EXPECT_TRUE(audio.test_mixer());
  EXPECT_EQ(e.State(audio.main_mixer()), engine::PlayState::kStopped);
  EXPECT_EQ(e.SampleRate(audio.main_mixer()), 44100);

  audio.SetDynamicAmplification(true);
  audio.SetDynamicAmplification(true);  // a second press adds nothing
  EXPECT_TRUE(audio.dynamic_amplification());
  audio.SetDynamicAmplification(false);
  EXPECT_FALSE(audio.dynamic_amplification());

  const engine::Channel mixer = audio.main_mixer();
  audio.Stop();
  EXPECT_FALSE(audio.started());
  EXPECT_FALSE(e.Play(mixer, true));  // freed: the old handle is harmless
}

TEST(AudioSystem, FailuresNameTheComponent) {
  EXPECT_EQ(AudioStartFailure(engine::EngineComponent::kOutput),
            "Audio output cannot be initialized.");
  EXPECT_EQ(AudioStartFailure(engine::EngineComponent::kNone), "");
  for (auto c : {engine::EngineComponent::kResampler, engine::EngineComponent::kSpectrum,
                 engine::EngineComponent::kEncoder}) {
    EXPECT_TRUE(AudioStartFailure(c).startsWith("Failed to load "));
  }
}

}  // namespace
}  // namespace tw
