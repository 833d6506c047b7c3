#ifndef TUNEWRIGHT_AUDIO_ENGINE_VORBIS_DECODER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_VORBIS_DECODER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::engine {

// Ogg Vorbis through libvorbisfile. The granule positions give the exact length; seeks are
// sample-accurate. A chained stream whose later links change the format ends at that link.
std::unique_ptr<Decoder> OpenVorbisDecoder(std::vector<uint8_t> bytes, std::string* error);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_VORBIS_DECODER_H_
