#include "data/song_record.h"

#include <algorithm>

#include "data/database.h"
#include "data/marker_text.h"

namespace tw {
namespace {

// Column indexes of a "SELECT * FROM music" row.
enum Column {
  kId,
  kArtist,
  kTitle,
  kBpm,
  kIntroPrefix,
  kIntroFade,
  kIntroStart,
  kIntroEnd,
  kIntroBeatList,
  kIntroBass,
  kIntroVocal,
  kIntroMelody,
  kIntroBeats,
  kBreakFade,
  kBreakStart,
  kBreakEnd,
  kBreakBeatList,
  kBreakBass,
  kBreakVocal,
  kBreakMelody,
  kBreakBeats,
  kGenre,
  kFilename,
  kSleeve,
  kYear,
  kLabel,
  kCatno,
  kCountry,
  kBreakMute,
  kBreakContinue,
  kIntroLoopStart,
  kIntroLoopEnd,
  kBreakLoopStart,
  kBreakLoopEnd,
  kIntroLoopRepeat,
  kBreakLoopRepeat,
  kSkipStart,
  kSkipEnd,
};

float Marker(const QueryResult& row, int column) { return MarkerSeconds(row.ColumnText(column)); }
int Flag(const QueryResult& row, int column) { return row.ColumnInteger(column) != 0 ? 1 : 0; }
int64_t Repeat(const QueryResult& row, int column) {
  return std::max<int64_t>(1, row.ColumnInteger(column));
}

}  // namespace

SongRecord ReadSongRecord(const QueryResult& row) {
  SongRecord r;
  r.id = row.ColumnText(kId);
  r.artist = row.ColumnText(kArtist);
  r.title = row.ColumnText(kTitle);
  r.bpm = static_cast<float>(row.ColumnReal(kBpm));
  r.introprefix = Marker(row, kIntroPrefix);
  r.introfade = Flag(row, kIntroFade);
  r.introstart = Marker(row, kIntroStart);
  r.introend = Marker(row, kIntroEnd);
  r.introbeatlist = row.ColumnText(kIntroBeatList);
  r.introbass = Flag(row, kIntroBass);
  r.introvocal = Flag(row, kIntroVocal);
  r.intromelody = Flag(row, kIntroMelody);
  r.introbeats = Flag(row, kIntroBeats);
  r.breakfade = Flag(row, kBreakFade);
  r.breakstart = Marker(row, kBreakStart);
  r.breakend = Marker(row, kBreakEnd);
  r.breakbeatlist = row.ColumnText(kBreakBeatList);
  r.breakbass = Flag(row, kBreakBass);
  r.breakvocal = Flag(row, kBreakVocal);
  r.breakmelody = Flag(row, kBreakMelody);
  r.breakbeats = Flag(row, kBreakBeats);
  r.genre = row.ColumnText(kGenre);
  r.filename = row.ColumnText(kFilename);
  r.sleeve = row.ColumnText(kSleeve);
  r.year = row.ColumnInteger(kYear);
  r.label = row.ColumnText(kLabel);
  r.catno = row.ColumnText(kCatno);
  r.country = row.ColumnText(kCountry);
  r.breakmute = Marker(row, kBreakMute);
  r.breakcontinue = Marker(row, kBreakContinue);
  r.introloopstart = Marker(row, kIntroLoopStart);
  r.introloopend = Marker(row, kIntroLoopEnd);
  r.breakloopstart = Marker(row, kBreakLoopStart);
  r.breakloopend = Marker(row, kBreakLoopEnd);
  r.introlooprepeat = Repeat(row, kIntroLoopRepeat);
  r.breaklooprepeat = Repeat(row, kBreakLoopRepeat);
  r.skipstart = Marker(row, kSkipStart);
  r.skipend = Marker(row, kSkipEnd);
  return r;
}

}  // namespace tw
