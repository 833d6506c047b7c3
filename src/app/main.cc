// Tunewright, the desktop program.
#include <cstdio>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QScreen>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/player.h"
#include "app/qt_dialogs.h"
#include "app/termination_signals.h"

namespace {

#ifdef TW_INSTALLED_BUILD
constexpr bool kInstalledBuild = true;
#else
constexpr bool kInstalledBuild = false;
#endif

// Every path out of the program ends here: Qt has released its windows, fonts and files by
// the time main returns, and the exit code is 0 whether the run ended normally or aborted.
int EndProgram() {
  QApplication::closeAllWindows();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("Tunewright");
  // TUNEWRIGHT_DIALOGS=console sends every message to standard error and answers every
  // question No, for unattended runs (scripts, CI) that must never wait on a modal box.
  tw::QtDialogs qt_dialogs;
  tw::ConsoleDialogs console_dialogs;
  tw::Dialogs& dialogs = qgetenv("TUNEWRIGHT_DIALOGS") == "console"
                             ? static_cast<tw::Dialogs&>(console_dialogs)
                             : static_cast<tw::Dialogs&>(qt_dialogs);

  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize desktop = screen ? screen->size() : QSize();
  if (!tw::DisplaySupported(desktop.width(), desktop.height())) {
    dialogs.Message("Program aborted", "Screen resolution not supported.", tw::DialogIcon::kError);
    return EndProgram();
  }

  const QString root =
      tw::ProgramRoot(kInstalledBuild, QCoreApplication::applicationDirPath(), QDir::currentPath());
  QDir::setCurrent(root);  // every relative path of the program resolves against it

  tw::AppContext context(root, dialogs);
  tw::StartupHooks hooks;
  hooks.register_font = tw::RegisterInterfaceFont;
  hooks.start_audio = [](tw::AppContext& c) { return tw::StartAudio(c); };
  if (!tw::Startup(context, hooks)) return EndProgram();  // the message has been shown

  std::unique_ptr<tw::Player> player;
  tw::MainWindow::Handlers handlers;
  tw::MainWindow* window = nullptr;
  bool shut_down = false;
  auto shutdown_once = [&] {
    if (shut_down) return;
    shut_down = true;
    player.reset();  // the mix stops before the engine goes
    tw::Shutdown(context, window->SelectedRow());
    QCoreApplication::quit();
  };
  handlers.shutdown = shutdown_once;
  // The player needs the window, the window its handlers: they reach the player once it exists.
  auto on_player = [&](auto call) {
    return [&, call](auto... args) {
      if (player) call(*player, args...);
    };
  };
  handlers.command = on_player([](tw::Player& p, tw::MainCommand c) { p.Command(c); });
  handlers.previous = on_player([](tw::Player& p) { p.Previous(); });
  handlers.play = on_player([](tw::Player& p) { p.Play(); });
  handlers.pause = on_player([](tw::Player& p) { p.Pause(); });
  handlers.stop = on_player([](tw::Player& p) { p.Stop(); });
  handlers.next = on_player([](tw::Player& p) { p.Next(); });
  handlers.row_selected = on_player([](tw::Player& p, int row) { p.RowSelected(row); });
  handlers.row_double_clicked = on_player([](tw::Player& p) { p.RowDoubleClicked(); });
  handlers.seek = on_player([](tw::Player& p, int value) { p.Seek(value); });
  handlers.set_volume = [&](float volume) { context.audio.SetMainVolume(volume); };
  handlers.set_dynamics = [&](bool on) { context.audio.SetDynamicAmplification(on); };
  const bool youtube = app.arguments().value(1) == "youtube";
  tw::MainWindow main_window(context, std::move(handlers), youtube, desktop);
  window = &main_window;
  player = std::make_unique<tw::Player>(context, main_window);
  tw::LoadSession(context);
  player->RestoreSession();
  context.session_cue = true;
  main_window.move(screen->availableGeometry().center() - main_window.rect().center());
  main_window.show();
  tw::CheckFolders(context);
  tw::HandleTerminationSignals([&] {
    QApplication::closeAllWindows();  // secondary windows first, then the main window
    if (main_window.isVisible()) shutdown_once();
  });
  if (&dialogs == &console_dialogs) {
    std::fprintf(stderr, "Tunewright: running in %s\n", qPrintable(root));  // for scripts
  }
  app.exec();
  player.reset();
  return EndProgram();
}
