#ifndef TUNEWRIGHT_AUDIO_ENGINE_MPEG_DECODER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_MPEG_DECODER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::engine {

// MPEG-1/2/2.5 layers 1-3 through libmpg123: a full scan at open gives the exact length
// (LAME/Xing encoder delay and padding removed where the file records them) and a seek index
// for sample-accurate seeks. A file without that tag (older or non-LAME encoders, layer I
// and II) decodes whole frames of 1152 samples, starting with the encoder's delay plus the
// synthesis delay (529 samples for layer III, 481 for layer II): LAME without its tag puts a
// source's first sample at 1105, twolame at 481. Returns null with a message in `error` on
// failure.
std::unique_ptr<Decoder> OpenMpegDecoder(std::vector<uint8_t> bytes, std::string* error);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_MPEG_DECODER_H_
