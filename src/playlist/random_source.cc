#include "playlist/random_source.h"

#include <QRandomGenerator>

#include "data/database.h"

namespace tw {

RandomSource RandomSource::FromSystem() {
  return RandomSource(QRandomGenerator::system()->generate64());
}

ScopedSqlRandom::ScopedSqlRandom(Database& songs, RandomSource& random) : songs_(songs) {
  songs_.SetRandomFunction([&random] { return random.NextInteger(); });
}

ScopedSqlRandom::~ScopedSqlRandom() { songs_.SetRandomFunction(nullptr); }

}  // namespace tw
