#include <utility>
#include <vector>

#include "audio/engine/decoder.h"
#include "audio/engine/format_sniffer.h"
#include "audio/engine/memory_file.h"
#include "audio/engine/mpeg_decoder.h"
#include "audio/engine/sndfile_decoder.h"
#include "audio/engine/vorbis_decoder.h"

namespace tw::engine {

std::unique_ptr<Decoder> OpenDecoder(const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return nullptr;
  const ContainerFormat format = SniffFormat(bytes.data(), bytes.size());
  std::string message;
  std::unique_ptr<Decoder> decoder;
  switch (format) {
    case ContainerFormat::kMpegAudio:
      decoder = OpenMpegDecoder(std::move(bytes), &message);
      break;
    case ContainerFormat::kOggVorbis:
      decoder = OpenVorbisDecoder(std::move(bytes), &message);
      break;
    case ContainerFormat::kWav:
    case ContainerFormat::kAiff:
      decoder = OpenSndfileDecoder(std::move(bytes), &message);
      break;
    case ContainerFormat::kOggOther:
      message = "an Ogg stream that is not Vorbis";
      break;
    case ContainerFormat::kUnknown:
      message = "not a supported audio file (MPEG audio, Ogg Vorbis, WAV or AIFF)";
      break;
  }
  if (!decoder && error) *error = path + ": " + message;
  return decoder;
}

}  // namespace tw::engine
