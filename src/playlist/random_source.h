#ifndef TUNEWRIGHT_PLAYLIST_RANDOM_SOURCE_H_
#define TUNEWRIGHT_PLAYLIST_RANDOM_SOURCE_H_

#include <cstdint>
#include <random>

namespace tw {

class Database;

// The one source of chance of the playlist rules: the order of ORDER BY RANDOM() and the
// shortening draw. Seeded, it repeats itself exactly, which the tests and the command-line
// tool's --seed rely on; the program seeds it from the system's true random source.
class RandomSource {
 public:
  explicit RandomSource(uint64_t seed) : engine_(seed) {}
  static RandomSource FromSystem();

  int64_t NextInteger() { return static_cast<int64_t>(engine_()); }
  // A fair draw of 0 or 1.
  int NextBit() { return static_cast<int>(engine_() >> 63); }

 private:
  std::mt19937_64 engine_;
};

// Makes RANDOM() of `songs` draw from `random` while it lives; the built-in comes back after.
class ScopedSqlRandom {
 public:
  ScopedSqlRandom(Database& songs, RandomSource& random);
  ~ScopedSqlRandom();
  ScopedSqlRandom(const ScopedSqlRandom&) = delete;
  ScopedSqlRandom& operator=(const ScopedSqlRandom&) = delete;

 private:
  Database& songs_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_RANDOM_SOURCE_H_
