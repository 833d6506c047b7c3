#include "library/core/demo_song.h"

#include <algorithm>
#include <cmath>

#include "data/marker_text.h"

namespace tw::demo {
namespace {

constexpr int kRate = 44100;
constexpr double kTwoPi = 2.0 * M_PI;

// A small deterministic generator, so the library comes out the same on every machine.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Noise() { return Uniform() * 2.0 - 1.0; }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t state_;
};

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// The rendered song: stereo frames, with helpers that add sounds at a time.
class Canvas {
 public:
  explicit Canvas(int64_t frames) : samples_(static_cast<size_t>(frames) * 2, 0.0f) {}
  int64_t frames() const { return static_cast<int64_t>(samples_.size() / 2); }

  void Add(const std::vector<float>& mono, double at_seconds, float gain, float pan) {
    const int64_t start = std::llround(at_seconds * kRate);
    const float left = gain * (1.0f - std::max(0.0f, pan));
    const float right = gain * (1.0f + std::min(0.0f, pan));
    for (size_t i = 0; i < mono.size(); ++i) {
      const int64_t f = start + static_cast<int64_t>(i);
      if (f < 0 || f >= frames()) continue;
      samples_[f * 2] += mono[i] * left;
      samples_[f * 2 + 1] += mono[i] * right;
    }
  }
  std::vector<float> Take() { return std::move(samples_); }
  std::vector<float>& samples() { return samples_; }

 private:
  std::vector<float> samples_;
};

std::vector<float> Kick() {
  std::vector<float> s(kRate * 35 / 100);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hz = 45.0 + 95.0 * std::exp(-t * 28.0);
    phase += kTwoPi * hz / kRate;
    const double click = i < 60 ? (60 - i) / 60.0 * 0.3 : 0.0;
    s[i] = static_cast<float>((std::sin(phase) + click) * std::exp(-t * 7.5));
  }
  return s;
}

std::vector<float> Noise(Random& random, double seconds, double decay, double highpass) {
  std::vector<float> s(static_cast<size_t>(seconds * kRate));
  double low = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double n = random.Noise();
    low += highpass * (n - low);
    s[i] = static_cast<float>((n - low) * std::exp(-t * decay));
  }
  return s;
}

std::vector<float> Clap(Random& random) {
  std::vector<float> s = Noise(random, 0.22, 18.0, 0.08);
  // Three quick bursts before the tail, as hands that do not quite meet.
  for (size_t i = 0; i < s.size() && i < 900; ++i) s[i] *= (i % 300 < 120) ? 1.6f : 0.4f;
  return s;
}

// A note of a detuned saw pair through a one-pole low-pass, with attack and release.
std::vector<float> SawNote(double hz, double seconds, double cutoff, double attack, double release,
                           double detune) {
  std::vector<float> s(static_cast<size_t>((seconds + release) * kRate));
  double p1 = 0, p2 = 0.37, low = 0;
  const double a = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
  const double step1 = hz / kRate, step2 = hz * (1.0 + detune) / kRate;
  const size_t attack_frames = std::max<size_t>(1, static_cast<size_t>(attack * kRate));
  const size_t hold_frames = static_cast<size_t>(seconds * kRate);
  const double fall = std::exp(-4.0 / (release * kRate));  // per frame after the hold
  double tail = 1.0;
  for (size_t i = 0; i < s.size(); ++i) {
    p1 += step1;
    p2 += step2;
    if (p1 >= 1.0) p1 -= 1.0;
    if (p2 >= 1.0) p2 -= 1.0;
    const double saw = (2.0 * p1 - 1.0) + (2.0 * p2 - 1.0);
    low += a * (saw - low);
    double env = i < attack_frames ? static_cast<double>(i) / attack_frames : 1.0;
    if (i > hold_frames) env *= (tail *= fall);
    s[i] = static_cast<float>(low * 0.5 * env);
  }
  return s;
}

std::vector<float> LeadNote(double hz, double seconds) {
  std::vector<float> s(static_cast<size_t>(seconds * kRate));
  double phase = 0;
  double decay = 1.0;
  const double fall = std::exp(-3.0 / kRate);
  const size_t attack = kRate / 200;
  const size_t release = kRate / 250;  // a short fade at the end keeps the note from clicking
  for (size_t i = 0; i < s.size(); ++i) {
    phase += hz / kRate;
    if (phase >= 1.0) phase -= 1.0;
    const double triangle = 4.0 * std::abs(phase - 0.5) - 1.0;
    const double square = phase < 0.5 ? 0.3 : -0.3;
    double env = (decay *= fall);
    if (i < attack) env *= static_cast<double>(i) / attack;
    if (s.size() - i < release) env *= static_cast<double>(s.size() - i) / release;
    s[i] = static_cast<float>((triangle + square) * env);
  }
  return s;
}

// Minor-key chord roots, in semitones above the key's root: i, VI, III, VII.
constexpr int kProgression[4] = {0, 8, 3, 10};
constexpr int kPentatonic[5] = {0, 3, 5, 7, 10};

}  // namespace

std::vector<DemoSong> DemoSongs() {
  auto song = [](QString artist, QString title, double bpm, int root, DemoFormat format) {
    DemoSong s;
    s.artist = std::move(artist);
    s.title = std::move(title);
    s.bpm = bpm;
    s.root_note = root;
    s.format = format;
    return s;
  };
  using F = DemoFormat;
  std::vector<DemoSong> songs = {
      song("Harbour Lights", "Low Tide", 118.0, 45, F::kMp3),
      song("Kestrel & Vane", "Paper Satellites", 120.0, 43, F::kOgg),
      song("Mira Okafor", "Glass Orchard", 121.0, 41, F::kWav),
      song("The Night Shift", "Copper Wire", 122.0, 40, F::kMp3),
      song("Lumen Drift", "Still Water Run", 122.5, 46, F::kOgg),
      song("Harbour Lights", "Signal Fires", 123.0, 44, F::kWav),
      song("Odd Meridian", "Tessellate", 124.0, 42, F::kMp3),
      song("Saskia Lund", "Northern Line", 125.0, 45, F::kOgg),
      song("Kestrel & Vane", "Night Garden", 126.0, 47, F::kWav),
      song("Tamsin Reyes", "O'Leary's Groove", 127.0, 43, F::kMp3),
      song("Odd Meridian", "Half Light", 128.0, 41, F::kOgg),
      song("Lumen Drift", "Afterglow 100%", 130.0, 44, F::kWav),
  };
  const char* labels[] = {"Tidewater", "Low Orbit", "Fieldnotes", "Tidewater"};
  const char* countries[] = {"UK", "Germany", "Netherlands", "USA", "Sweden", "Italy"};
  const char* genres[] = {"House", "Deep House", "Tech House,House", "Techno"};
  for (size_t i = 0; i < songs.size(); ++i) {
    DemoSong& s = songs[i];
    s.seed = 1000 + i * 7919;
    s.label = labels[i % 4];
    s.catno = QString("%1%2").arg(QString(labels[i % 4]).left(3).toUpper()).arg(101 + i);
    s.country = countries[i % 6];
    s.genre = genres[i % 4];
    s.year = 2014 + static_cast<int>(i);
    // 3 to 5 minutes: 10 to 13 phrases between intro and break.
    s.body_phrases = 10 + static_cast<int>(i % 4);
    s.intro_bass = i % 3 != 0;
    s.break_melody = i % 4 != 1;
    s.beat_lists = i % 2 == 0;
  }
  // A variety of markers, so every transition rule has a song that uses it.
  songs[1].intro_loop_beats = 8, songs[1].intro_loop_repeat = 1;
  songs[2].break_loop_beats = 8, songs[2].break_loop_repeat = 2;
  songs[3].skip_phrases = 3;
  songs[4].prestart_beats = 2, songs[4].lead_in_beats = 2;
  songs[5].mute_beats = 2, songs[5].continue_beats = 4;
  songs[6].intro_fade = true, songs[6].break_fade = true;
  songs[7].intro_loop_beats = 4, songs[7].intro_loop_repeat = 2;
  songs[7].skip_phrases = 2;
  songs[8].prestart_beats = 1, songs[8].intro_fade = true, songs[8].lead_in_beats = 2;
  songs[9].break_loop_beats = 4, songs[9].break_loop_repeat = 3, songs[9].continue_beats = 2;
  songs[10].mute_beats = 1, songs[10].skip_phrases = 4;
  songs[11].prestart_beats = 1, songs[11].lead_in_beats = 1, songs[11].break_fade = true;
  return songs;
}

DemoLayout LayoutOf(const DemoSong& s) {
  DemoLayout l;
  l.intro_beats = 32 - s.intro_loop_beats * s.intro_loop_repeat;
  l.body_beats = s.body_phrases * 32;
  l.break_beats = 32 - s.break_loop_beats * s.break_loop_repeat;
  l.outro_beats = 16;
  const double beat = 60.0 / s.bpm;
  l.total_seconds =
      0.1 +
      (s.lead_in_beats + l.intro_beats + l.body_beats + l.break_beats + l.outro_beats) * beat + 2.0;
  return l;
}

namespace {

double FirstBeat(const DemoSong& s) { return 0.1 + s.lead_in_beats * 60.0 / s.bpm; }

QString BeatList(double start, double beat, int count) {
  QString list;
  for (int k = 1; k < count; ++k)
    list += MarkerText(static_cast<float>(start + k * beat), 3) + "\n";
  return list;
}

}  // namespace

SongRecord DemoRecord(const DemoSong& s, const QString& filename, const QString& sleeve) {
  const DemoLayout l = LayoutOf(s);
  const double beat = 60.0 / s.bpm;
  const double t0 = FirstBeat(s);
  auto at = [&](double beats) { return static_cast<float>(t0 + beats * beat); };
  SongRecord r;
  r.artist = s.artist;
  r.title = s.title;
  r.label = s.label;
  r.catno = s.catno;
  r.country = s.country;
  r.genre = s.genre;
  r.year = s.year;
  r.bpm = static_cast<float>(s.bpm);
  r.filename = filename;
  r.sleeve = sleeve;
  r.introstart = at(0);
  r.introend = at(l.intro_beats);
  r.introprefix = static_cast<float>(s.prestart_beats * beat);
  r.introfade = s.intro_fade;
  r.introbeats = 1;
  r.introbass = s.intro_bass;
  r.intromelody = 0;
  r.introvocal = 0;
  if (s.intro_loop_beats > 0) {
    r.introloopstart = at(8);
    r.introloopend = at(8 + s.intro_loop_beats);
    r.introlooprepeat = s.intro_loop_repeat;
  }
  const int break_at = l.intro_beats + l.body_beats;
  r.breakstart = at(break_at);
  r.breakend = at(break_at + l.break_beats);
  r.breakbeats = 1;
  r.breakbass = 0;
  r.breakmelody = s.break_melody;
  r.breakvocal = 0;
  r.breakfade = s.break_fade;
  r.breakmute = static_cast<float>(s.mute_beats * beat);
  r.breakcontinue = static_cast<float>(s.continue_beats * beat);
  if (s.break_loop_beats > 0) {
    r.breakloopstart = at(break_at + 4);
    r.breakloopend = at(break_at + 4 + s.break_loop_beats);
    r.breaklooprepeat = s.break_loop_repeat;
  }
  if (s.skip_phrases > 0) {
    r.skipstart = at(l.intro_beats + 32);
    r.skipend = at(l.intro_beats + 32 + 32 * s.skip_phrases);
  }
  if (s.beat_lists) {
    r.introbeatlist = BeatList(r.introstart, beat, l.intro_beats);
    r.breakbeatlist = BeatList(r.breakstart, beat, l.break_beats);
  }
  return r;
}

std::vector<float> RenderDemoSong(const DemoSong& s) {
  const DemoLayout l = LayoutOf(s);
  const double beat = 60.0 / s.bpm;
  const double t0 = FirstBeat(s);
  Canvas canvas(static_cast<int64_t>(l.total_seconds * kRate));
  Random random(s.seed);
  const std::vector<float> kick = Kick();
  const std::vector<float> clap = Clap(random);
  const std::vector<float> hat = Noise(random, 0.05, 90.0, 0.6);
  const std::vector<float> open_hat = Noise(random, 0.22, 14.0, 0.6);

  const int intro_end = l.intro_beats;
  const int break_start = intro_end + l.body_beats;
  const int break_end = break_start + l.break_beats;
  const int outro_end = break_end + l.outro_beats;
  const int breakdown = intro_end + 32 * (s.body_phrases / 2);  // one phrase without drums

  // A riser under the lead-in, so a prestarted intro has something to come in on.
  if (s.prestart_beats > 0) {
    std::vector<float> riser = Noise(random, s.lead_in_beats * beat, 0.0, 0.3);
    for (size_t i = 0; i < riser.size(); ++i) riser[i] *= static_cast<float>(i) / riser.size();
    canvas.Add(riser, t0 - s.lead_in_beats * beat, 0.25f, 0.0f);
  }

  // The lead's 32-beat phrase: one pentatonic note or a rest per eighth.
  struct LeadStep {
    int degree;
    bool rest;
  };
  std::vector<LeadStep> lead(64);
  for (LeadStep& step : lead) step = {random.Below(5), random.Uniform() < 0.35};

  for (int b = 0; b < outro_end; ++b) {
    const double t = t0 + b * beat;
    const bool in_break = b >= break_start && b < break_end;
    const bool in_outro = b >= break_end;
    const bool body = b >= intro_end && b < break_start;
    const bool drums = !(body && b >= breakdown && b < breakdown + 32);
    const float outro_gain =
        in_outro ? 1.0f - static_cast<float>(b - break_end) / l.outro_beats : 1;

    if (drums) {
      canvas.Add(kick, t, 0.9f * outro_gain, 0.0f);
      canvas.Add(hat, t + beat / 2, 0.18f * outro_gain, 0.3f);
      if (b % 2 == 1) canvas.Add(clap, t, 0.35f * outro_gain, -0.1f);
      if (body && b % 4 == 3) canvas.Add(open_hat, t + beat / 2, 0.12f, -0.3f);
    }
    // Chords: in the body a four-chord phrase of 32 beats; in the break two chords that
    // repeat every 8 beats, so a break loop of 4 or 8 beats fits.
    int chord = -1;
    if (body) chord = kProgression[((b - intro_end) / 8) % 4];
    if (in_break && s.break_melody) chord = kProgression[((b - break_start) / 4) % 2];
    if (chord >= 0 && b % 4 == 0) {
      const double length = 4 * beat;
      for (int interval : {12, 15, 19, 24}) {
        const double hz = NoteHz(s.root_note + chord + interval);
        canvas.Add(SawNote(hz, length * 0.95, 1400.0, 0.08, 0.3, 0.004), t, 0.055f,
                   interval % 2 ? 0.35f : -0.35f);
      }
    }
    // Bass: eighths off the beat on the chord's root (the intro's root only).
    const bool bass = (body && drums) || (b < intro_end && s.intro_bass);
    if (bass) {
      const int root = body ? kProgression[((b - intro_end) / 8) % 4] : 0;
      const double hz = NoteHz(s.root_note + root);
      canvas.Add(SawNote(hz, beat * 0.4, 380.0, 0.005, 0.05, 0.0), t + beat / 2, 0.5f, 0.0f);
    }
    // Lead: in the body from its second phrase on, out during the breakdown's drums-off half.
    if (body && b >= intro_end + 32) {
      for (int half = 0; half < 2; ++half) {
        const LeadStep& step = lead[((b - intro_end) * 2 + half) % 64];
        if (step.rest) continue;
        const double hz = NoteHz(s.root_note + 24 + kPentatonic[step.degree]);
        canvas.Add(LeadNote(hz, beat * 0.45), t + half * beat / 2, 0.16f, 0.05f);
      }
    }
  }

  // A gentle limiter keeps a song below full scale, with room for two songs overlapping.
  for (float& v : canvas.samples()) v = static_cast<float>(std::tanh(v * 1.1) * 0.7);
  return canvas.Take();
}

}  // namespace tw::demo
