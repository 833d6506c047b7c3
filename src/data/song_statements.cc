#include "data/song_statements.h"

#include <QStringList>

#include "data/marker_text.h"
#include "data/sql_text.h"

namespace tw {
namespace {

// Builds a VALUES list in which quoted and bare values are joined as "', '", "', ", ", '" and
// ", " so that the text equals what the record editor has always written.
class ValuesList {
 public:
  ValuesList& Quoted(const QString& text) {
    Append("'" + EscapeQuotes(text) + "'");
    return *this;
  }
  ValuesList& Marker(float seconds) { return Quoted(MarkerText(seconds, 4)); }
  ValuesList& Bare(const QString& text) {
    Append(text);
    return *this;
  }
  ValuesList& Bare(long long value) { return Bare(QString::number(value)); }
  QString Text() const { return text_; }

 private:
  void Append(const QString& value) {
    if (!text_.isEmpty()) text_ += ", ";
    text_ += value;
  }
  QString text_;
};

}  // namespace

QString SongInsertStatement(const SongRecord& r) {
  ValuesList v;
  v.Quoted(r.artist).Quoted(r.title).Bare(BareNumber(r.bpm)).Marker(r.introprefix);
  v.Bare(r.introfade).Marker(r.introstart).Marker(r.introend).Quoted(r.introbeatlist);
  v.Bare(r.introbeats).Bare(r.introbass).Bare(r.introvocal).Bare(r.intromelody);
  v.Bare(r.breakfade).Marker(r.breakstart).Marker(r.breakend).Quoted(r.breakbeatlist);
  v.Bare(r.breakbeats).Bare(r.breakbass).Bare(r.breakvocal).Bare(r.breakmelody);
  v.Quoted(r.genre).Quoted(r.filename).Quoted(r.sleeve).Bare(r.year).Quoted(r.label);
  v.Quoted(r.catno).Quoted(r.country).Marker(r.breakmute).Marker(r.breakcontinue);
  v.Marker(r.introloopstart).Marker(r.introloopend).Marker(r.breakloopstart);
  v.Marker(r.breakloopend).Bare(r.introlooprepeat).Bare(r.breaklooprepeat);
  v.Marker(r.skipstart).Marker(r.skipend);
  return "INSERT INTO music (artist, title, bpm, introprefix, introfade, introstart, introend, "
         "introbeatlist, introbeats, introbass, introvocal, intromelody, breakfade, breakstart, "
         "breakend, breakbeatlist, breakbeats, breakbass, breakvocal, breakmelody, genre, "
         "filename, sleeve, `year`, label, catno, country, breakmute, breakcontinue, "
         "introloopstart, introloopend, breakloopstart, breakloopend, introlooprepeat, "
         "breaklooprepeat, skipstart, skipend) VALUES (" +
         v.Text() + ")";
}

}  // namespace tw
