#include <cstdio>

#include <QFile>
#include <QFileInfo>

#include "cli/commands.h"
#include "library/core/detect_tempo.h"

namespace tw::cli {

// One line per file: the tempo text, a tab, the path as given. Files that cannot be decoded
// get a message on stderr and make the exit status 1, after every file has been tried.
int RunDetectTempo(const QStringList& args) {
  if (args.isEmpty()) {
    std::fputs("usage: tunewright-cli detect-tempo FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (const QString& path : args) {
    QString error;
    const QString tempo = library::DetectTempo(QFileInfo(path).absoluteFilePath(), &error);
    if (!error.isEmpty()) {
      std::fprintf(stderr, "detect-tempo: %s\n", error.toLocal8Bit().constData());
      status = 1;
      continue;
    }
    std::printf("%s\t%s\n", tempo.toLatin1().constData(), QFile::encodeName(path).constData());
  }
  return status;
}

}  // namespace tw::cli
