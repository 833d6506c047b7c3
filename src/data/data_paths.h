#ifndef TUNEWRIGHT_DATA_DATA_PATHS_H_
#define TUNEWRIGHT_DATA_DATA_PATHS_H_

#include <QString>

namespace tw {

// Where the program's files live, below one root folder: the working directory of the run
// (see the start-up rule), or a temporary folder in the tests.
class DataPaths {
 public:
  explicit DataPaths(const QString& root);

  const QString& Root() const { return root_; }
  // `relative` below the root, with "/" separators.
  QString Resolve(const QString& relative) const;

  QString DataFolder() const { return Resolve("assets/data"); }
  QString SongDatabase() const { return Resolve("assets/data/tunewright.db1"); }
  QString FileCatalogue() const { return Resolve("assets/data/tunewright.db2"); }
  QString PreferencesFile() const { return Resolve("assets/data/tunewright.ini"); }
  QString BeatsFile() const { return Resolve("assets/beats.wav"); }
  QString FontFile() const { return Resolve("assets/Bebas-Regular.ttf"); }
  QString BoldFontFile() const { return Resolve("assets/Bebas-Bold.ttf"); }

 private:
  QString root_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_DATA_PATHS_H_
