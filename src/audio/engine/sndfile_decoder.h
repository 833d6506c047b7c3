#ifndef TUNEWRIGHT_AUDIO_ENGINE_SNDFILE_DECODER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SNDFILE_DECODER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::engine {

// WAV (RIFF, RF64, WAVE_FORMAT_EXTENSIBLE) and AIFF/AIFC through libsndfile.
std::unique_ptr<Decoder> OpenSndfileDecoder(std::vector<uint8_t> bytes, std::string* error);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SNDFILE_DECODER_H_
