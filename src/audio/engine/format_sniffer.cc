#include "audio/engine/format_sniffer.h"

#include <cstring>

namespace tw::engine {
namespace {

// How far into the file (after any ID3v2 tag) an MPEG frame sync is looked for: covers junk
// or padding some taggers leave, while keeping a text file's scan short.
constexpr size_t kMpegSyncSearchBytes = 64 * 1024;
// Consecutive well-formed frame headers needed before the data counts as MPEG audio; one
// chance match of 11 sync bits in arbitrary data is common, three chained ones are not.
constexpr int kMpegFramesToConfirm = 3;

bool StartsWith(const uint8_t* data, size_t size, const char* magic) {
  const size_t n = std::strlen(magic);
  return size >= n && std::memcmp(data, magic, n) == 0;
}

// Length in bytes of the MPEG audio frame whose header starts at `p`, or 0 if the four bytes
// are no valid header. Free-format frames (bitrate index 0) are not recognised.
size_t MpegFrameLength(const uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return 0;
  const int version_bits = (p[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
  const int layer_bits = (p[1] >> 1) & 3;    // 1: III, 2: II, 3: I
  const int bitrate_index = (p[2] >> 4) & 15;
  const int rate_index = (p[2] >> 2) & 3;
  const int padding = (p[2] >> 1) & 1;
  if (version_bits == 1 || layer_bits == 0 || bitrate_index == 0 || bitrate_index == 15 ||
      rate_index == 3) {
    return 0;
  }
  static constexpr int kBitrates[2][3][15] = {
      {// MPEG-1: layer I, II, III
       {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {// MPEG-2 and 2.5
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  static constexpr int kRates[3] = {44100, 48000, 32000};
  const bool mpeg1 = version_bits == 3;
  const int layer = 4 - layer_bits;  // 1, 2 or 3
  const int bitrate = kBitrates[mpeg1 ? 0 : 1][layer - 1][bitrate_index] * 1000;
  int rate = kRates[rate_index];
  if (version_bits == 2) rate /= 2;
  if (version_bits == 0) rate /= 4;
  if (layer == 1) return static_cast<size_t>((12 * bitrate / rate + padding) * 4);
  const int samples_per_frame = (layer == 3 && !mpeg1) ? 576 : 1152;
  return static_cast<size_t>(samples_per_frame / 8 * bitrate / rate + padding);
}

bool LooksLikeMpegAudio(const uint8_t* data, size_t size) {
  const size_t limit = size < kMpegSyncSearchBytes ? size : kMpegSyncSearchBytes;
  for (size_t start = 0; start + 4 <= limit; ++start) {
    if (data[start] != 0xFF) continue;
    size_t at = start;
    int frames = 0;
    uint8_t first_header[4];
    std::memcpy(first_header, data + start, 4);
    while (frames < kMpegFramesToConfirm && at + 4 <= size) {
      const size_t length = MpegFrameLength(data + at);
      // Version, layer and sample rate never change between the frames of one stream.
      if (length == 0 || (data[at + 1] & 0xFE) != (first_header[1] & 0xFE) ||
          (data[at + 2] & 0x0C) != (first_header[2] & 0x0C)) {
        break;
      }
      ++frames;
      at += length;
    }
    // A file too short for three frames still counts when every frame it has chains up.
    if (frames == kMpegFramesToConfirm || (frames > 0 && at == size)) return true;
  }
  return false;
}

// Size of an ID3v2 tag at the start of `data` (header, body and footer), or 0 if none.
size_t Id3v2Size(const uint8_t* data, size_t size) {
  if (size < 10 || !StartsWith(data, size, "ID3")) return 0;
  if ((data[6] | data[7] | data[8] | data[9]) & 0x80) return 0;
  const size_t body = (static_cast<size_t>(data[6]) << 21) | (static_cast<size_t>(data[7]) << 14) |
                      (static_cast<size_t>(data[8]) << 7) | data[9];
  const bool footer = data[5] & 0x10;
  return 10 + body + (footer ? 10 : 0);
}

ContainerFormat SniffAfterTags(const uint8_t* data, size_t size) {
  if (size >= 12 &&
      (StartsWith(data, size, "RIFF") || StartsWith(data, size, "RIFX") ||
       StartsWith(data, size, "RF64")) &&
      std::memcmp(data + 8, "WAVE", 4) == 0) {
    return ContainerFormat::kWav;
  }
  if (size >= 12 && StartsWith(data, size, "FORM") &&
      (std::memcmp(data + 8, "AIFF", 4) == 0 || std::memcmp(data + 8, "AIFC", 4) == 0)) {
    return ContainerFormat::kAiff;
  }
  if (StartsWith(data, size, "OggS")) {
    // The first page holds the codec's identification header; Vorbis's starts "\1vorbis".
    const size_t limit = size < 256 ? size : 256;
    for (size_t i = 0; i + 7 <= limit; ++i) {
      if (std::memcmp(data + i, "\x01vorbis", 7) == 0) return ContainerFormat::kOggVorbis;
    }
    return ContainerFormat::kOggOther;
  }
  if (LooksLikeMpegAudio(data, size)) return ContainerFormat::kMpegAudio;
  return ContainerFormat::kUnknown;
}

}  // namespace

ContainerFormat SniffFormat(const uint8_t* data, size_t size) {
  const size_t tag = Id3v2Size(data, size);
  if (tag > 0) {
    // ID3v2 in front is MPEG practice; the MPEG decoder skips the tag itself. The other
    // decoders expect their container at the first byte, so nothing else is accepted here.
    if (tag < size && LooksLikeMpegAudio(data + tag, size - tag)) {
      return ContainerFormat::kMpegAudio;
    }
    return ContainerFormat::kUnknown;
  }
  return SniffAfterTags(data, size);
}

const char* ContainerFormatName(ContainerFormat format) {
  switch (format) {
    case ContainerFormat::kMpegAudio:
      return "MPEG audio";
    case ContainerFormat::kOggVorbis:
      return "Ogg Vorbis";
    case ContainerFormat::kOggOther:
      return "Ogg (not Vorbis)";
    case ContainerFormat::kWav:
      return "WAV";
    case ContainerFormat::kAiff:
      return "AIFF";
    case ContainerFormat::kUnknown:
      break;
  }
  return "unknown";
}

}  // namespace tw::engine
