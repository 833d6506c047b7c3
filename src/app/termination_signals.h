#ifndef TUNEWRIGHT_APP_TERMINATION_SIGNALS_H_
#define TUNEWRIGHT_APP_TERMINATION_SIGNALS_H_

#include <functional>

namespace tw {

// Turns SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C in a terminal, `kill`) into a call of
// `on_request` on the main thread, so such an end still stores the session and closes the
// databases like Exit does. Call once, after the QApplication exists.
void HandleTerminationSignals(std::function<void()> on_request);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_TERMINATION_SIGNALS_H_
