// tunewright-cli: the program's rules without windows, for scripts, checks and renders.
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QStringList>

#include "cli/commands.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const QStringList&);
};

constexpr Command kCommands[] = {
    {"init", "init [--root DIR]", tw::cli::RunInit},
    {"detect-tempo", "detect-tempo FILE...", tw::cli::RunDetectTempo},
    {"demo", "demo [--root DIR]", tw::cli::RunDemo},
    {"generate", "generate [--root DIR] [--seed N]", tw::cli::RunGenerate},
    {"render", "render [--root DIR] (--playlist FILE.mix | --random [--seed N]) --out FILE",
     tw::cli::RunRender},
};

int Usage() {
  std::fputs("usage: tunewright-cli COMMAND [ARGS]\n", stderr);
  for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  if (args.isEmpty()) return Usage();
  const QString name = args.takeFirst();
  for (const Command& c : kCommands) {
    if (name == QLatin1String(c.name)) return c.run(args);
  }
  std::fprintf(stderr, "tunewright-cli: unknown command '%s'\n", qPrintable(name));
  return Usage();
}
