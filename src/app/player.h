#ifndef TUNEWRIGHT_APP_PLAYER_H_
#define TUNEWRIGHT_APP_PLAYER_H_

#include <atomic>
#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "audio/mix_host.h"
#include "playlist/playlist_services.h"
#include "playlist/playlist_sink.h"
#include "playlist/random_source.h"

#include <QDialog>
class QLabel;
class QProgressBar;

namespace tw {

struct AppContext;
class MainWindow;
class MixExport;
enum class MainCommand;

// The transport and the now-playing display of the main window, and its playlist and export
// commands: the buttons drive the mix scheduler, the scheduler reports back through MixHost,
// loading a playlist through PlaylistSink. Main thread; what the mixing thread reports is
// picked up by the playback timer.
class Player : public QObject, public MixHost, public PlaylistSink {
 public:
  Player(AppContext& context, MainWindow& window);
  ~Player() override;

  void Play();
  void Pause();
  void Stop();
  void Previous();
  void Next();
  void RowSelected(int row);
  void RowDoubleClicked();
  void Seek(int value);
  // The menu commands that belong to playlists and the mix.
  void Command(MainCommand command);
  // Loads the session's playlist at start-up and cues its stored row.
  void RestoreSession();
  // The 100 ms playback timer's work.
  void PlaybackTick();
  void ExportMix();

  bool transition_shown() const { return transition_shown_; }
  bool exporting() const { return static_cast<bool>(export_); }
  QDialog* ExportWindow() const { return export_window_; }

  // MixHost
  void ShowNowPlaying(const PlaylistEntry& entry) override;
  void SetupPositionSlider() override;
  void StopTransport() override;
  void MixStopped() override { stop_pending_.store(true); }

  // PlaylistSink
  void ReleaseSlots() override;
  void ShowRows(const std::vector<PlaylistRow>& rows) override;
  void ShowFirstSong(const PlaylistEntry& entry) override;
  void StopPlayback() override;
  void SelectAndCueRow(int row) override;

 private:
  PlaylistServices Services();
  bool MixerPlaying() const;
  void ShowPauseButton(bool pause);
  void ToggleTransitionClock();
  void UpdateTimeLabels();
  void DrawSpectrum();
  void SetSlider(int maximum, int value);
  void StopMixer();
  void FinishExport();

  AppContext& context_;
  MainWindow& window_;
  QTimer timer_;
  RandomSource random_;
  SongLengthProbe song_length_;
  QElapsedTimer clock_;
  bool transition_shown_ = false;
  bool clock_paused_ = false;
  qint64 transition_start_ = 0;
  qint64 transition_elapsed_ = 0;
  bool setting_slider_ = false;
  std::atomic<bool> stop_pending_{false};
  std::unique_ptr<MixExport> export_;
  QPointer<QDialog> export_window_;
  QProgressBar* export_bar_ = nullptr;
  QLabel* export_percent_ = nullptr;
  QTimer export_timer_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_PLAYER_H_
