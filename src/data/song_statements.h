#ifndef TUNEWRIGHT_DATA_SONG_STATEMENTS_H_
#define TUNEWRIGHT_DATA_SONG_STATEMENTS_H_

#include <QString>

#include "data/song_record.h"

namespace tw {

// The INSERT of a new song: all 37 columns but `id`, markers as 4-decimal marker texts.
QString SongInsertStatement(const SongRecord& record);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_SONG_STATEMENTS_H_
