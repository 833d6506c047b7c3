#ifndef TUNEWRIGHT_LIBRARY_CORE_OGG_WRITER_H_
#define TUNEWRIGHT_LIBRARY_CORE_OGG_WRITER_H_

#include <cstdint>
#include <string>

namespace tw::demo {

// Writes 44100 Hz interleaved stereo floats as an Ogg Vorbis file (quality 0.5, about
// 160 kbit/s). False with a message when the file cannot be written.
bool WriteOggVorbis(const std::string& path, const float* stereo, int64_t frames,
                    std::string* error);

}  // namespace tw::demo

#endif  // TUNEWRIGHT_LIBRARY_CORE_OGG_WRITER_H_
