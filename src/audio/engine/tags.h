#ifndef TUNEWRIGHT_AUDIO_ENGINE_TAGS_H_
#define TUNEWRIGHT_AUDIO_ENGINE_TAGS_H_

#include <string>

namespace tw::engine {

// The tag fields the record editor fills in, as UTF-8; empty when the file has none.
struct TrackTags {
  std::string artist;
  std::string title;
  std::string year;  // the leading year of the date tag ("1999" from "1999-05-01")
  std::string genre;
};

// Reads the tags of an MPEG audio file (ID3v2, else ID3v1), Ogg Vorbis (Vorbis comments),
// WAV (ID3 chunk, else RIFF INFO) or AIFF (ID3 chunk), choosing the reader by the file's
// content. A file without tags gives empty fields and true; false with a message in `error`
// only when the file cannot be read or is no such audio file. Call it off the mixing thread.
bool ReadTags(const std::string& path, TrackTags* tags, std::string* error = nullptr);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_TAGS_H_
