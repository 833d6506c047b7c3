#include <cstdio>

#include "cli/commands.h"

namespace tw::cli {

int RunInit(const QStringList& args) {
  std::fputs("init: not available yet\n", stderr);
  return 1;
}

}  // namespace tw::cli
