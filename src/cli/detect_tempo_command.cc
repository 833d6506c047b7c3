#include <cstdio>

#include "cli/commands.h"

namespace tw::cli {

int RunDetectTempo(const QStringList& args) {
  std::fputs("detect-tempo: not available yet\n", stderr);
  return 1;
}

}  // namespace tw::cli
