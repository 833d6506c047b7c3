#ifndef TUNEWRIGHT_DATA_DATABASES_H_
#define TUNEWRIGHT_DATA_DATABASES_H_

#include "data/database.h"

namespace tw {

class DataPaths;
class Dialogs;

// The two connections of a run: the song library (`music`) and the file catalogue (`files`).
struct Databases {
  Database song_database;
  Database file_catalogue;
};

// Opens or creates both databases below `paths` (whose data folder exists). On failure it has
// shown "Program aborted" with the reason and returns false; nothing has been written then.
bool OpenDatabases(const DataPaths& paths, Dialogs& dialogs, Databases& databases);

// The song database first, then the file catalogue.
void CloseDatabases(Databases& databases);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_DATABASES_H_
