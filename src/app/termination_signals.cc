#include "app/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace tw {
namespace {

int g_signal_pipe[2] = {-1, -1};  // written by the signal handler, read on the main thread

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signal_pipe[1], &byte, 1);
}

}  // namespace

void HandleTerminationSignals(std::function<void()> on_request) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) != 0) return;
  auto* notifier =
      new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [notifier, on_request = std::move(on_request)] {
                     char byte;
                     [[maybe_unused]] const ssize_t got = ::read(g_signal_pipe[0], &byte, 1);
                     notifier->setEnabled(false);  // one request is enough
                     on_request();
                   });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace tw
