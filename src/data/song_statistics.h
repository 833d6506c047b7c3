#ifndef TUNEWRIGHT_DATA_SONG_STATISTICS_H_
#define TUNEWRIGHT_DATA_SONG_STATISTICS_H_

namespace tw {

class Database;

// Gathers the query planner's statistics of `music` (ANALYZE) when there are none, or when
// they describe a table of less than half or more than twice its present size. Without them
// SQLite guesses that an equality on a 0/1 flag column (introbass=0) narrows a query more
// than a tempo range does, and a candidate query of the generator walks half the library
// through the flag's index instead of the few per cent inside the tempo window. True when
// statistics were gathered.
bool RefreshSongStatistics(Database& songs);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_SONG_STATISTICS_H_
