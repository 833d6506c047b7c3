#include "cli/cli_args.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>

#include "app/core/startup.h"

namespace tw::cli {

std::optional<QString> TakeOption(QStringList& args, const QString& name, bool* bad) {
  const qsizetype i = args.indexOf(name);
  if (i < 0) return std::nullopt;
  if (i + 1 >= args.size()) {
    std::fprintf(stderr, "tunewright-cli: %s needs a value\n", qPrintable(name));
    *bad = true;
    args.removeAt(i);
    return std::nullopt;
  }
  QString value = args.at(i + 1);
  args.remove(i, 2);
  return value;
}

QString RootFolder(QStringList& args, bool* bad) {
  if (auto root = TakeOption(args, "--root", bad)) return QDir(*root).absolutePath();
#ifdef TW_INSTALLED_BUILD
  constexpr bool kInstalled = true;
#else
  constexpr bool kInstalled = false;
#endif
  return ProgramRoot(kInstalled, QCoreApplication::applicationDirPath(), QDir::currentPath());
}

bool RejectLeftovers(const QStringList& args) {
  if (args.isEmpty()) return false;
  std::fprintf(stderr, "tunewright-cli: unexpected argument '%s'\n", qPrintable(args.first()));
  return true;
}

}  // namespace tw::cli
