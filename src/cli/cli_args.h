#ifndef TUNEWRIGHT_CLI_CLI_ARGS_H_
#define TUNEWRIGHT_CLI_CLI_ARGS_H_

#include <optional>

#include <QString>
#include <QStringList>

namespace tw::cli {

// Takes "--name VALUE" out of `args`; nothing when absent. A "--name" without a value is
// reported on standard error and sets `*bad`.
std::optional<QString> TakeOption(QStringList& args, const QString& name, bool* bad);

// The folder that plays the working directory's role: --root DIR, else the program's rule.
QString RootFolder(QStringList& args, bool* bad);

// Prints what is left over, if anything, and returns true when something was.
bool RejectLeftovers(const QStringList& args);

}  // namespace tw::cli

#endif  // TUNEWRIGHT_CLI_CLI_ARGS_H_
