#include "data/song_statistics.h"

#include "data/database.h"

namespace tw {

bool RefreshSongStatistics(Database& songs) {
  const int64_t rows = songs.LookupInteger("SELECT COUNT(id) FROM music");
  if (rows == 0) return false;  // ANALYZE records nothing for an empty table
  // The first number of a stat text is the table's row count when it was gathered. A
  // database without the statistics table fails the query, which reads as none.
  const int64_t analysed =
      songs.LookupText("SELECT stat FROM sqlite_stat1 WHERE tbl='music' AND idx='index_bpm'")
          .section(' ', 0, 0)
          .toLongLong();
  if (analysed > 0 && rows <= 2 * analysed && 2 * rows >= analysed) return false;
  return songs.Execute("ANALYZE music");
}

}  // namespace tw
