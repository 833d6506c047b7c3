#ifndef TUNEWRIGHT_TESTS_SUPPORT_TEMP_ROOT_H_
#define TUNEWRIGHT_TESTS_SUPPORT_TEMP_ROOT_H_

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "data/data_paths.h"

namespace tw::testing {

// A temporary program root that plays the role of the working directory: `assets/` with the
// two required asset files (their content is never read at start-up) and an empty
// `assets/data/`, removed again at the end of the test.
class TempRoot {
 public:
  enum Contents { kWithAssets, kEmpty };
  explicit TempRoot(Contents contents = kWithAssets);

  QString Path() const { return dir_.path(); }
  QString File(const QString& relative) const { return dir_.filePath(relative); }
  DataPaths Paths() const { return DataPaths(Path()); }

  void Write(const QString& relative, const QByteArray& bytes) const;
  QByteArray Read(const QString& relative) const;
  void Remove(const QString& relative) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace tw::testing

#endif  // TUNEWRIGHT_TESTS_SUPPORT_TEMP_ROOT_H_
