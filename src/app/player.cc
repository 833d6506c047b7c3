#include "app/player.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

#include "app/core/app_context.h"
#include "app/core/country_flags.h"
#include "app/core/export_file_choice.h"
#include "app/core/startup.h"
#include "app/core/transport_rules.h"
#include "app/flag_images.h"
#include "app/main_window.h"
#include "audio/mix_export.h"
#include "playlist/load_playlist.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_rows.h"
#include "playlist/random_playlist_command.h"

namespace tw {
namespace {

void ShowPlayingError(Dialogs& dialogs, const QString& path) {
  dialogs.Message("Playing error", PlayingErrorText(path), DialogIcon::kError);
}

}  // namespace

Player::Player(AppContext& context, MainWindow& window)
    : context_(context),
      window_(window),
      random_(RandomSource::FromSystem()),
      song_length_(EngineSongLength()) {
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, [this] { PlaybackTick(); });
  export_timer_.setInterval(100);
  connect(&export_timer_, &QTimer::timeout, this, [this] {
    if (!export_) return;
    const int percent = static_cast<int>(std::lround(export_->Progress()));
    if (export_bar_) export_bar_->setValue(percent);
    if (export_percent_) export_percent_->setText(QString::number(percent) + "%");
    if (!export_->Running()) FinishExport();
  });
  clock_.start();
  context_.mix_host.SetTarget(this);
}

Player::~Player() {
  if (export_) {
    export_->Cancel();
    FinishExport();
  }
  context_.scheduler.ReleaseSlots();
  context_.mix_host.SetTarget(nullptr);
}

PlaylistServices Player::Services() {
  return PlaylistServices{context_.paths,
                          context_.dialogs,
                          context_.databases.song_database,
                          context_.catalogue,
                          context_.preferences,
                          context_.playlist,
                          *this,
                          random_,
                          song_length_};
}

bool Player::MixerPlaying() const {
  return context_.audio.engine().State(context_.audio.main_mixer()) == engine::PlayState::kPlaying;
}

void Player::ShowPauseButton(bool pause) {
  window_.PlayButton()->setVisible(!pause);
  window_.PauseButton()->setVisible(pause);
}

void Player::Play() {
  if (context_.playlist.empty()) return;
  const MixView view = context_.scheduler.View();
  if (!view.valid) return;
  const QString path = context_.scheduler.SongPath(view.current.entry);
  engine::Engine& engine = context_.audio.engine();
  const engine::Channel mixer = context_.audio.main_mixer();
  if (engine.State(mixer) == engine::PlayState::kPaused) {
    if (!QFileInfo(path).isFile()) {
      Stop();
      ShowPlayingError(context_.dialogs, path);
      return;
    }
    engine.Play(mixer, false);
    ShowPauseButton(true);
  } else {
    if (!QFileInfo(path).isFile()) {
      ShowPlayingError(context_.dialogs, path);
      return;
    }
    engine.Play(mixer, true);
    ShowPauseButton(true);
    DrawSpectrum();
    window_.LevelMeter()->show();
    timer_.start();
    window_.PositionSlider()->setEnabled(true);
  }
  if (context_.scheduler.mixing() || context_.scheduler.fading()) ToggleTransitionClock();
}

void Player::Pause() {
  if (MixerPlaying()) {
    context_.audio.engine().Pause(context_.audio.main_mixer());
    ShowPauseButton(false);
  }
  if (context_.scheduler.mixing() || context_.scheduler.fading()) ToggleTransitionClock();
}

void Player::ToggleTransitionClock() {
  if (!clock_paused_) {
    clock_paused_ = true;
  } else {
    clock_paused_ = false;
    transition_start_ = clock_.elapsed() - transition_elapsed_;
  }
}

void Player::StopMixer() {
  clock_paused_ = false;
  timer_.stop();
  context_.audio.engine().Stop(context_.audio.main_mixer());
  transition_shown_ = false;
  window_.PositionSlider()->show();
  window_.FadeSlider()->hide();
  window_.LevelMeter()->hide();
  ShowPauseButton(false);
}

void Player::Stop() {
  if (context_.playlist.empty()) return;
  StopMixer();
  const int row = window_.SelectedRow();
  if (row >= 0) context_.playlist.current = row;
  SetupPositionSlider();
  if (row >= 0) RowSelected(row);
}

void Player::StopTransport() { StopMixer(); }

void Player::Previous() {
  if (context_.playlist.empty()) return;
  const int row = window_.SelectedRow();
  if (row - 1 >= 0) window_.SelectRow(row - 1, true);
}

void Player::Next() {
  if (context_.playlist.empty()) return;
  const int row = window_.SelectedRow();
  if (row + 1 < context_.playlist.size()) window_.SelectRow(row + 1, true);
}

void Player::RowSelected(int row) {
  if (export_) return;
  context_.scheduler.CueSong(row, false, context_.dialogs);
}

void Player::RowDoubleClicked() {
  if (MixerPlaying()) {
    Pause();
  } else {
    Play();
  }
}

void Player::SetSlider(int maximum, int value) {
  setting_slider_ = true;
  window_.PositionSlider()->setRange(0, std::max(0, maximum));
  window_.PositionSlider()->setValue(value);
  setting_slider_ = false;
}

void Player::SetupPositionSlider() {
  const MixView view = context_.scheduler.View();
  if (!view.valid) {
    SetSlider(0, 0);
    UpdateTimeLabels();
    return;
  }
  const PlaylistEntry& a = view.current.entry;
  const bool last = a.track >= context_.playlist.size();
  SetSlider(PositionSliderMaximum(a, last ? 0.0f : view.next.introprefix, last), 0);
  UpdateTimeLabels();
}

void Player::UpdateTimeLabels() {
  QSlider* slider = window_.PositionSlider();
  if (!context_.scheduler.mixing() && !context_.scheduler.fading()) {
    const int m = slider->maximum() / 1000;
    const int v = slider->value() / 1000;
    window_.ElapsedLabel()->setText(FormatDuration(v, false));
    window_.RemainingLabel()->setText("-" + FormatDuration(m - v, false));
  } else {
    QSlider* fade = window_.FadeSlider();
    window_.RemainingLabel()->setText(
        "-" + FormatDuration((fade->maximum() - fade->value()) / 1000, false));
  }
}

void Player::Seek(int value) {
  if (setting_slider_ || context_.scheduler.callback_busy()) return;
  const MixView view = context_.scheduler.View();
  if (!view.valid) return;
  const double t = SeekSeconds(view.current.entry, value, window_.PositionSlider()->maximum());
  engine::Engine& engine = context_.audio.engine();
  const engine::Channel stream = view.current.stream;
  engine.SetPosition(
      stream, engine::ToFrames(engine::Seconds(std::max(0.0, t)), engine.SampleRate(stream)));
  UpdateTimeLabels();
}

void Player::PlaybackTick() {
  if (stop_pending_.exchange(false) && !export_) {
    Stop();
    const QString error = context_.scheduler.TakePlayingError();
    if (!error.isEmpty()) ShowPlayingError(context_.dialogs, error);
    return;
  }
  MixScheduler& scheduler = context_.scheduler;
  if (scheduler.callback_busy()) return;
  const MixView view = scheduler.View();
  if (view.mixing || view.fading) {
    if (!transition_shown_) {
      transition_shown_ = true;
      transition_start_ = clock_.elapsed();
      transition_elapsed_ = 0;
      const int d = TransitionSeconds(view.current.entry, view.next, !view.mixing);
      window_.PositionSlider()->hide();
      window_.FadeSlider()->setRange(0, d * 1000);
      window_.FadeSlider()->show();
      window_.ElapsedLabel()->setText(view.mixing ? "Mixing" : "Fading");
    }
    if (!clock_paused_) transition_elapsed_ = clock_.elapsed() - transition_start_;
    window_.FadeSlider()->setValue(static_cast<int>(transition_elapsed_));
  } else {
    if (transition_shown_) {
      transition_shown_ = false;
      window_.PositionSlider()->show();
      window_.FadeSlider()->hide();
      SetupPositionSlider();
      ShowNowPlaying(view.current.entry);
    }
    if (view.valid) {
      engine::Engine& engine = context_.audio.engine();
      const engine::Channel stream = view.current.stream;
      const double seconds =
          engine::ToSeconds(engine.Position(stream), engine.SampleRate(stream)).value;
      const int value = SliderValueFor(view.current.entry, seconds);
      if (value > 0) SetSlider(window_.PositionSlider()->maximum(), value);
    }
  }
  UpdateTimeLabels();
  DrawSpectrum();
}

void Player::DrawSpectrum() {
  std::array<float, 1024> magnitudes{};
  if (!context_.audio.engine().Spectrum(context_.audio.main_mixer(), &magnitudes)) return;
  QLabel* meter = window_.LevelMeter();
  const int width = meter->width(), height = meter->height();
  QPixmap canvas(width, height);
  canvas.fill(window_.palette().color(QPalette::Window));
  QPainter painter(&canvas);
  QLinearGradient gradient(0, 0, width, height);
  gradient.setColorAt(0, QColor(26, 132, 184));
  gradient.setColorAt(1, Qt::white);
  painter.setPen(Qt::NoPen);
  painter.setBrush(gradient);
  const int w = width / 16;
  const std::array<int, 16> bars = SpectrumBars(magnitudes, height);
  for (int x = 0; x < 16; ++x) {
    const int y = bars[static_cast<size_t>(x)];
    painter.drawRect(x * w + 3, height - y, w - 2, y);
  }
  painter.end();
  meter->setPixmap(canvas);
}

void Player::ShowNowPlaying(const PlaylistEntry& s) {
  const NowPlayingText text = NowPlayingLines(s);
  for (int i = 0; i < 3; ++i)
    window_.NowPlayingLine(i)->setText(text.lines[static_cast<size_t>(i)]);
  const CountryFlag flag = text.flag_allowed ? FlagForCountry(s.country) : CountryFlag::kNone;
  if (flag != CountryFlag::kNone) {
    window_.FlagImage()->setPixmap(
        FlagImage(flag).scaled(30, 30, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    window_.FlagImage()->show();
  } else {
    window_.FlagImage()->hide();
  }
  const QString sleeve = context_.preferences.Path_sleevesfiles + NativePath(s.sleeve);
  const QString suffix = QFileInfo(sleeve).suffix().toLower();
  QPixmap picture;
  const bool known = suffix == "bmp" || suffix == "png" || suffix == "jpg";
  if (!s.sleeve.isEmpty() && known && QFileInfo(sleeve).isFile() &&
      picture.load(sleeve, suffix == "jpg" ? "JPEG" : suffix.toUpper().toLatin1().constData())) {
    window_.SleeveImage()->setPixmap(picture.scaled(100, 100));
    window_.SleeveImage()->show();
  } else {
    window_.SleeveImage()->hide();
  }
  window_.LayOut();
  window_.SelectRow(static_cast<int>(s.track) - 1, false);
}

void Player::ReleaseSlots() {
  context_.scheduler.ReleaseSlots();
  ApplyMixPreferences(context_);
}

void Player::ShowRows(const std::vector<PlaylistRow>& rows) {
  QTreeWidget* list = window_.PlaylistList();
  const QSignalBlocker quiet(list);
  list->clear();
  for (const PlaylistRow& r : rows) {
    auto* item = new QTreeWidgetItem({r.track, r.song, r.play_time, r.incremental_time,
                                      r.original_bpm, r.playback_bpm, r.pitch});
    list->addTopLevelItem(item);
  }
}

void Player::ShowFirstSong(const PlaylistEntry& entry) {
  ShowNowPlaying(entry);
  SetSlider(0, 0);
}

void Player::StopPlayback() {
  StopMixer();
  context_.audio.engine().SetPosition(context_.audio.main_mixer(), engine::Frames(0));
}

void Player::SelectAndCueRow(int row) {
  window_.SelectRow(row, false);
  RowSelected(row);
}

void Player::RestoreSession() {
  if (context_.preferences.IDs.isEmpty()) return;
  PlaylistServices services = Services();
  LoadPlaylist(services, context_.preferences.IDs, true);
}

void Player::Command(MainCommand command) {
  if (export_) return;
  PlaylistServices services = Services();
  switch (command) {
    case MainCommand::kLoadPlaylist:
      LoadPlaylistFile(services);
      break;
    case MainCommand::kSavePlaylist:
      if (!context_.playlist.empty()) SavePlaylistFile(services);
      break;
    case MainCommand::kRandomPlaylist:
      CreateRandomPlaylist(services);
      break;
    case MainCommand::kExportMix:
      ExportMix();
      break;
    default:
      break;
  }
}

void Player::ExportMix() {
  if (export_ || context_.playlist.empty()) return;
  const std::optional<QString> path = ChooseExportFile(context_.dialogs, context_.paths);
  if (!path) return;
  if (MixerPlaying() ||
      context_.audio.engine().State(context_.audio.main_mixer()) == engine::PlayState::kPaused) {
    StopMixer();
  }
  window_.setEnabled(false);
  export_ = std::make_unique<MixExport>(context_.audio, context_.scheduler, context_.playlist);
  QString error;
  if (!export_->Prepare(*path, engine::EncoderFormat::kMp3_320, context_.dialogs, &error)) {
    FinishExport();
    if (!error.isEmpty()) context_.dialogs.Message("Saving error", error, DialogIcon::kError);
    return;
  }

  auto* dialog = new QDialog(&window_, Qt::Dialog | Qt::WindowCloseButtonHint |
                                           Qt::WindowMinimizeButtonHint | Qt::WindowTitleHint);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle("Tunewright - Export mix to audiofile");
  dialog->setFixedSize(600, 160);
  auto* text = new QLabel(dialog);
  text->setGeometry(10, 20, 580, 40);
  text->setFont(QFont(context_.interface_font_family, 12));
  text->setText("Exporting mix to " + QFileInfo(*path).fileName() + " ...\nExporting playlist to " +
                QFileInfo(SongListPath(*path)).fileName() + " ...");
  export_bar_ = new QProgressBar(dialog);
  export_bar_->setRange(0, 100);
  export_bar_->setTextVisible(false);
  export_bar_->setGeometry(10, 70, 530, 20);
  export_percent_ = new QLabel("0%", dialog);
  export_percent_->setGeometry(550, 72, 50, 20);
  auto* cancel = new QPushButton("Cancel", dialog);
  cancel->setGeometry(490, 110, 100, 30);
  connect(cancel, &QPushButton::clicked, this, [this] {
    if (export_) export_->Cancel();
  });
  // A close request cancels too; the window goes when the pump has stopped.
  connect(dialog, &QDialog::rejected, this, [this] {
    if (export_) export_->Cancel();
  });
  dialog->move(window_.geometry().center() - dialog->rect().center());
  dialog->show();
  export_window_ = dialog;
  export_->Start();
  export_timer_.start();
}

void Player::FinishExport() {
  export_timer_.stop();
  if (!export_) return;
  QString error;
  const float volume = static_cast<float>(window_.VolumeSlider()->value()) / 100.0f;
  const bool dynamics = !window_.DynamicsOffButton()->isHidden();
  const bool written = export_->Finish(volume, dynamics, &error);
  export_.reset();
  stop_pending_.store(false);
  context_.scheduler.TakePlayingError();
  if (export_window_) export_window_->close();
  export_bar_ = nullptr;
  export_percent_ = nullptr;
  window_.setEnabled(true);
  const int row = window_.SelectedRow();
  if (row >= 0) context_.scheduler.CueSong(row, false, context_.dialogs);
  if (!written) context_.dialogs.Message("Saving error", error, DialogIcon::kError);
}

}  // namespace tw
