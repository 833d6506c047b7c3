#include "audio/engine/vorbis_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>

#include "audio/engine/memory_file.h"
#include "audio/engine/sample_clamp.h"

namespace tw::engine {
namespace {

// Holes (lost or damaged pages) in a row after which the stream counts as ended.
constexpr int kMaxHolesInARow = 64;

size_t ReadCallback(void* out, size_t size, size_t count, void* user) {
  if (size == 0) return 0;
  return static_cast<MemoryFile*>(user)->Read(out, size * count) / size;
}

int SeekCallback(void* user, ogg_int64_t offset, int whence) {
  return static_cast<MemoryFile*>(user)->Seek(offset, whence) < 0 ? -1 : 0;
}

long TellCallback(void* user) { return static_cast<long>(static_cast<MemoryFile*>(user)->Tell()); }

class VorbisDecoder final : public Decoder {
 public:
  explicit VorbisDecoder(std::vector<uint8_t> bytes) : file_(std::move(bytes)) {}
  ~VorbisDecoder() override {
    if (open_) ov_clear(&vorbis_);
  }
  VorbisDecoder(const VorbisDecoder&) = delete;
  VorbisDecoder& operator=(const VorbisDecoder&) = delete;

  bool Open(std::string* error) {
    const ov_callbacks callbacks = {ReadCallback, SeekCallback, nullptr, TellCallback};
    const int code = ov_open_callbacks(&file_, &vorbis_, nullptr, 0, callbacks);
    if (code != 0) return Fail(error, code == OV_ENOTVORBIS ? "not Vorbis data" : "bad stream");
    open_ = true;
    const vorbis_info* info = ov_info(&vorbis_, 0);
    const ogg_int64_t length = ov_pcm_total(&vorbis_, -1);
    if (!info || info->channels <= 0 || length <= 0) return Fail(error, "no audio");
    format_ = {static_cast<int>(info->rate), info->channels};
    length_ = length;
    return true;
  }

  AudioFormat Format() const override { return format_; }
  int64_t LengthFrames() const override { return length_; }
  int64_t Position() const override { return position_; }

  int64_t Read(float* out, int64_t frames) override {
    frames = std::min(frames, length_ - position_);
    int64_t read = 0;
    int holes = 0;
    while (read < frames && !at_end_) {
      float** channels = nullptr;
      int link = 0;
      const int wanted = static_cast<int>(std::min<int64_t>(frames - read, 1 << 20));
      const long got = ov_read_float(&vorbis_, &channels, wanted, &link);
      if (got == OV_HOLE && ++holes < kMaxHolesInARow) continue;
      const vorbis_info* info = got > 0 ? ov_info(&vorbis_, link) : nullptr;
      if (got <= 0 || !info || info->channels != format_.channels) {
        at_end_ = true;
        break;
      }
      holes = 0;
      float* dest = out + read * format_.channels;
      for (long i = 0; i < got; ++i) {
        for (int c = 0; c < format_.channels; ++c) *dest++ = channels[c][i];
      }
      read += got;
    }
    ClampToUnit(out, static_cast<size_t>(read * format_.channels));
    position_ += read;
    return read;
  }

  bool Seek(int64_t frame) override {
    frame = std::clamp<int64_t>(frame, 0, length_);
    // ov_pcm_seek refuses the very end; a position there just reads nothing.
    const bool ok = frame == length_ || ov_pcm_seek(&vorbis_, frame) == 0;
    if (!ok) return false;
    position_ = frame;
    at_end_ = false;
    return true;
  }

 private:
  static bool Fail(std::string* error, const char* message) {
    if (error) *error = std::string("Ogg Vorbis: ") + message;
    return false;
  }

  MemoryFile file_;
  OggVorbis_File vorbis_{};
  bool open_ = false;
  AudioFormat format_;
  int64_t length_ = 0;
  int64_t position_ = 0;
  bool at_end_ = false;
};

}  // namespace

std::unique_ptr<Decoder> OpenVorbisDecoder(std::vector<uint8_t> bytes, std::string* error) {
  auto decoder = std::make_unique<VorbisDecoder>(std::move(bytes));
  if (!decoder->Open(error)) return nullptr;
  return decoder;
}

}  // namespace tw::engine
