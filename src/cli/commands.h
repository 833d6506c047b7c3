#ifndef TUNEWRIGHT_CLI_COMMANDS_H_
#define TUNEWRIGHT_CLI_COMMANDS_H_

#include <QStringList>

namespace tw::cli {

// Each command gets its own arguments (without the command word) and returns the exit code.
int RunInit(const QStringList& args);
int RunDetectTempo(const QStringList& args);
int RunDemo(const QStringList& args);
int RunGenerate(const QStringList& args);
int RunRender(const QStringList& args);

}  // namespace tw::cli

#endif  // TUNEWRIGHT_CLI_COMMANDS_H_
