#include "playlist/playlist_parser.h"

#include <cmath>

#include <QRegularExpression>
#include <QStringList>

#include "data/database.h"
#include "data/marker_text.h"
#include "data/sql_text.h"
#include "playlist/beat_grid.h"

namespace tw {
namespace {

constexpr float kMinimumDistance = 0.015f;

constexpr const char* kSelectEntry =
    "SELECT id, artist, title, year, label, catno, country, genre, bpm, introprefix, "
    "introstart, introend, introloopstart, introloopend, introlooprepeat, breakstart, breakend, "
    "breakcontinue, breakloopstart, breakloopend, breaklooprepeat, skipstart, skipend, "
    "filename, sleeve, breakmute, introbeats, breakbeats, introfade, breakfade, introbeatlist, "
    "breakbeatlist FROM music WHERE id='";

int8_t Flag(const QueryResult& row, int column) { return row.ColumnInteger(column) != 0 ? 1 : 0; }
float Marker(const QueryResult& row, int column) { return MarkerSeconds(row.ColumnText(column)); }

// Fills everything an entry takes from its row; tempo and times are the caller's.
PlaylistEntry ReadEntry(const QueryResult& row) {
  PlaylistEntry e;
  e.id = row.ColumnText(0);
  e.artist = row.ColumnText(1);
  e.title = row.ColumnText(2);
  e.year = row.ColumnText(3);
  e.label = row.ColumnText(4);
  e.catno = row.ColumnText(5);
  e.country = row.ColumnText(6);
  e.bpm = static_cast<float>(row.ColumnReal(8));
  e.introprefix = Marker(row, 9);
  e.introstart = Marker(row, 10);
  e.introend = Marker(row, 11);
  e.introloopstart = Marker(row, 12);
  e.introloopend = Marker(row, 13);
  e.introlooprepeat = row.ColumnInteger(14);
  e.breakstart = Marker(row, 15);
  e.breakend = Marker(row, 16);
  e.breakcontinue = Marker(row, 17);
  e.breakloopstart = Marker(row, 18);
  e.breakloopend = Marker(row, 19);
  e.breaklooprepeat = row.ColumnInteger(20);
  e.skipstart = Marker(row, 21);
  e.skipend = Marker(row, 22);
  e.filename = row.ColumnText(23);
  e.sleeve = row.ColumnText(24);
  e.breakmute = Marker(row, 25);
  e.introbeats = Flag(row, 26);
  e.breakbeats = Flag(row, 27);
  e.introfade = Flag(row, 28);
  e.breakfade = Flag(row, 29);
  e.introbeatlist =
      NormaliseBeatList(row.ColumnText(30), e.introstart, e.introend,
                        SectionLoop{e.introloopstart, e.introloopend, e.introlooprepeat});
  e.breakbeatlist =
      NormaliseBeatList(row.ColumnText(31), e.breakstart, e.breakend,
                        SectionLoop{e.breakloopstart, e.breakloopend, e.breaklooprepeat});

  // The mixer cannot place two events closer than this.
  if (e.introprefix > 0 && e.introprefix < kMinimumDistance) e.introprefix = kMinimumDistance;
  if (e.breakcontinue > 0 && e.breakcontinue < kMinimumDistance) {
    e.breakcontinue = kMinimumDistance;
  }
  if (e.skipstart > 0 && e.skipend > 0) {
    if (e.skipstart - e.introend < kMinimumDistance) e.skipstart = e.introend + kMinimumDistance;
    if (e.breakstart - e.skipend < kMinimumDistance) e.skipend = e.breakstart - kMinimumDistance;
  }
  return e;
}

float IntroLength(const PlaylistEntry& e) {
  return SectionLength(e.introstart, e.introend, e.introloopstart, e.introloopend,
                       e.introlooprepeat);
}

float BreakLength(const PlaylistEntry& e) {
  return SectionLength(e.breakstart, e.breakend, e.breakloopstart, e.breakloopend,
                       e.breaklooprepeat);
}

}  // namespace

TimeEntry ParseTimeEntry(const QString& text) {
  static const QRegularExpression kLeadingNumber(R"(^\s*[+-]?(\d+\.?\d*|\.\d+))");
  TimeEntry entry;
  QString time = text.trimmed();
  if (time.endsWith(kShortenedMark)) {
    entry.shortened = true;
    time.chop(1);
  }
  const QRegularExpressionMatch match = kLeadingNumber.match(time);
  if (match.hasMatch()) entry.seconds = match.captured(0).trimmed().toFloat();
  return entry;
}

QString PitchText(float playback_bpm, float bpm) {
  // A song without a tempo has no deviation to show.
  const float deviation = bpm > 0 ? std::fabs(playback_bpm / bpm - 1.0f) * 100.0f : 0.0f;
  const QString number = QString::number(deviation, 'f', 2) + '%';
  return playback_bpm < bpm ? " -" + number : "+" + number;
}

bool ParsePlaylistText(Database& songs, const QString& text, Playlist& playlist) {
  playlist = Playlist();
  const QString id_list = text.section('|', 0, 0);
  const QStringList ids = id_list.split(',');
  const QStringList times = text.section('|', 1, 1).split(',');

  int64_t frequency = kNativeFrequency;
  float playback_bpm = 0;
  for (qsizetype i = 0; i < ids.size(); ++i) {
    QString id = ids.at(i).trimmed();
    const bool reset_mark = id.endsWith(kTempoResetMark);
    if (reset_mark) id.chop(1);
    // The text may come from a hand-edited file: nothing but a row id goes into the query.
    if (!IsDecimalId(id)) break;
    QueryResult row = songs.Query(kSelectEntry + id + "' LIMIT 1");
    if (!row.NextRow()) break;

    PlaylistEntry entry = ReadEntry(row);
    entry.track = i + 1;
    const TimeEntry time = ParseTimeEntry(i < times.size() ? times.at(i) : QString());
    entry.playtime = time.seconds;
    entry.shortened = time.shortened ? 1 : 0;

    if (i == 0 || reset_mark) {
      frequency = kNativeFrequency;
      playback_bpm = entry.bpm;
      entry.pitch = kNoPitch;
    } else {
      // Sections without a length (unset markers) give no usable rate: the song keeps the
      // rate of the one before rather than a rate of zero or infinity.
      const float next = std::round(IntroLength(entry) / BreakLength(playlist.entries.back()) *
                                    static_cast<float>(frequency));
      if (std::isfinite(next) && next >= 1 && next <= 1e9f) {
        frequency = static_cast<int64_t>(next);
      }
      entry.pitch = PitchText(playback_bpm, entry.bpm);
    }
    entry.playbackbpm = playback_bpm;
    entry.frequency = frequency;
    playlist.entries.push_back(std::move(entry));
  }
  playlist.current = playlist.empty() ? -1 : 0;
  return !playlist.empty();
}

}  // namespace tw
