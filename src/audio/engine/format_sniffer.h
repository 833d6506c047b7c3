#ifndef TUNEWRIGHT_AUDIO_ENGINE_FORMAT_SNIFFER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_FORMAT_SNIFFER_H_

#include <cstddef>
#include <cstdint>

namespace tw::engine {

enum class ContainerFormat {
  kUnknown,
  kMpegAudio,  // MPEG-1/2/2.5 layers 1-3, with or without ID3 tags
  kOggVorbis,
  kOggOther,  // an Ogg stream of another codec (Opus, FLAC, ...): not decodable here
  kWav,
  kAiff,
};

// Tells a file's format from its first bytes, never from its name. `size` may be the whole
// file; only the first few hundred kilobytes are looked at.
ContainerFormat SniffFormat(const uint8_t* data, size_t size);

const char* ContainerFormatName(ContainerFormat format);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_FORMAT_SNIFFER_H_
