#ifndef TUNEWRIGHT_LIBRARY_CORE_DEMO_SONG_H_
#define TUNEWRIGHT_LIBRARY_CORE_DEMO_SONG_H_

#include <cstdint>
#include <vector>

#include <QString>

#include "data/song_record.h"

namespace tw::demo {

enum class DemoFormat { kMp3, kOgg, kWav };

// One song of the demo library: how it is made and how it is marked. Every length is in
// beats; the audio starts with `lead_in_beats` before the first beat of the intro.
struct DemoSong {
  QString artist, title, label, catno, country, genre;
  int year = 0;
  double bpm = 124;
  int root_note = 45;  // MIDI note of the key's root (45 = A2)
  uint64_t seed = 1;
  DemoFormat format = DemoFormat::kWav;
  double lead_in_beats = 1;
  int body_phrases = 10;     // 32-beat phrases between the intro and the break
  int intro_loop_beats = 0;  // 0: no loop; else the intro holds 32 - this * repeat beats
  int intro_loop_repeat = 0;
  int break_loop_beats = 0;
  int break_loop_repeat = 0;
  int skip_phrases = 0;       // phrases of the body that a shortened play jumps over
  double prestart_beats = 0;  // introprefix
  double mute_beats = 0;      // breakmute
  double continue_beats = 0;  // breakcontinue
  bool intro_fade = false;
  bool break_fade = false;
  bool intro_bass = true;    // what the intro holds besides its beat
  bool break_melody = true;  // the break keeps the chords
  bool beat_lists = false;   // write the marked beats of both sections
};

// The twelve songs, always the same.
std::vector<DemoSong> DemoSongs();

// Where the song's sections lie, in beats from the first beat of the intro.
struct DemoLayout {
  int intro_beats;  // physical beats of the intro
  int body_beats;
  int break_beats;  // physical beats of the break
  int outro_beats;
  double total_seconds;
};
DemoLayout LayoutOf(const DemoSong& song);

// The song rendered as 44100 Hz interleaved stereo floats.
std::vector<float> RenderDemoSong(const DemoSong& song);

// The record of the song, with `filename` and `sleeve` as given (relative names).
SongRecord DemoRecord(const DemoSong& song, const QString& filename, const QString& sleeve);

}  // namespace tw::demo

#endif  // TUNEWRIGHT_LIBRARY_CORE_DEMO_SONG_H_
