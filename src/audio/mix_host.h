#ifndef TUNEWRIGHT_AUDIO_MIX_HOST_H_
#define TUNEWRIGHT_AUDIO_MIX_HOST_H_

#include <atomic>

#include "playlist/playlist_entry.h"

namespace tw {

// What the mix scheduler needs of the player that shows it: the main window in the program, a
// plain recorder in the renderer and the tests.
class MixHost {
 public:
  virtual ~MixHost() = default;

  // Main thread, while a song is cued.
  virtual void ShowNowPlaying(const PlaylistEntry& entry) = 0;
  virtual void SetupPositionSlider() = 0;
  // Main thread: the transport's own stop, run before the scheduler reports a song that
  // cannot be played.
  virtual void StopTransport() = 0;
  // Any thread, the mixing thread included: the mix has ended or cannot go on, and MainMixer
  // is already stopped. Must return at once, without waiting or allocating; the player runs
  // its stop on its own thread (and shows MixScheduler::TakePlayingError, if any).
  virtual void MixStopped() = 0;
};

// A host without a window: remembers that the mix stopped.
class PlainMixHost : public MixHost {
 public:
  void ShowNowPlaying(const PlaylistEntry&) override {}
  void SetupPositionSlider() override {}
  void StopTransport() override {}
  void MixStopped() override { stopped_ = true; }
  bool stopped() const { return stopped_; }

 private:
  std::atomic<bool> stopped_{false};
};

// The host the scheduler is built with in the application context: it passes everything on
// to the player once one is plugged in (the main window), and to a plain host before.
class ForwardingMixHost : public MixHost {
 public:
  // Main thread, while no song is cued.
  void SetTarget(MixHost* target) { target_.store(target ? target : &plain_); }
  void ShowNowPlaying(const PlaylistEntry& entry) override {
    target_.load()->ShowNowPlaying(entry);
  }
  void SetupPositionSlider() override { target_.load()->SetupPositionSlider(); }
  void StopTransport() override { target_.load()->StopTransport(); }
  void MixStopped() override { target_.load()->MixStopped(); }
  const PlainMixHost& plain() const { return plain_; }

 private:
  PlainMixHost plain_;
  std::atomic<MixHost*> target_{&plain_};
};

}  // namespace tw

#endif  // TUNEWRIGHT_AUDIO_MIX_HOST_H_
