#ifndef TUNEWRIGHT_DATA_SONG_RECORD_H_
#define TUNEWRIGHT_DATA_SONG_RECORD_H_

#include <cstdint>

#include <QString>

namespace tw {

class QueryResult;

// One row of `music` in memory. Positions and offsets are seconds; a value not above 0 means
// the marker is not set. Flags are 0 or 1.
struct SongRecord {
  QString id;  // decimal text; empty for a record not saved yet
  QString artist;
  QString title;
  float bpm = 0;
  float introprefix = 0;  // offset before introstart
  int introfade = 0;
  float introstart = 0;
  float introend = 0;
  QString introbeatlist;
  int introbass = 0;
  int introvocal = 0;
  int intromelody = 0;
  int introbeats = 0;  // a flag: the intro has a beat
  int breakfade = 0;
  float breakstart = 0;
  float breakend = 0;
  QString breakbeatlist;
  int breakbass = 0;
  int breakvocal = 0;
  int breakmelody = 0;
  int breakbeats = 0;
  QString genre;
  QString filename;  // relative to the music folder
  QString sleeve;    // relative to the sleeves folder
  int64_t year = 0;
  QString label;
  QString catno;
  QString country;
  float breakmute = 0;      // offset before breakend
  float breakcontinue = 0;  // offset after breakend
  float introloopstart = 0;
  float introloopend = 0;
  float breakloopstart = 0;
  float breakloopend = 0;
  int64_t introlooprepeat = 0;
  int64_t breaklooprepeat = 0;
  float skipstart = 0;
  float skipend = 0;
};

// The select list that ReadSongRecord expects: every column, in table order.
inline constexpr const char* kSelectSongColumns = "SELECT * FROM music";

// Maps the current row of a "SELECT * FROM music ..." query to a record. Repeat counts below
// 1 read as 1; flags read as 0 or 1.
SongRecord ReadSongRecord(const QueryResult& row);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_SONG_RECORD_H_
