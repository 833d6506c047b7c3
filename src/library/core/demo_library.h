#ifndef TUNEWRIGHT_LIBRARY_CORE_DEMO_LIBRARY_H_
#define TUNEWRIGHT_LIBRARY_CORE_DEMO_LIBRARY_H_

#include <functional>
#include <vector>

#include <QString>

namespace tw {

class DataPaths;
struct Databases;

// Makes the demo library below `paths`: `music/` with twelve songs of our own making (MP3,
// OGG and WAV), `sleeves/` with a picture for each, their records in the song database, the
// files in the catalogue, and both folders in the preferences. Always the same songs.
// Songs already in the database (same file name) are not added twice. Returns the number of
// songs added, or -1 with `error` set.
int CreateDemoLibrary(const DataPaths& paths, Databases& databases, QString* error,
                      const std::function<void(const QString&)>& progress = {});

namespace demo {
struct DemoSong;
}
// The same with other songs (the tests use a few short ones).
int CreateDemoLibrary(const DataPaths& paths, Databases& databases,
                      const std::vector<demo::DemoSong>& songs, QString* error,
                      const std::function<void(const QString&)>& progress = {});

}  // namespace tw

#endif  // TUNEWRIGHT_LIBRARY_CORE_DEMO_LIBRARY_H_
