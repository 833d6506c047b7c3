#include "audio/engine/sndfile_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>

#include "audio/engine/memory_file.h"
#include "audio/engine/sample_clamp.h"

namespace tw::engine {
namespace {

sf_count_t LengthCallback(void* user) { return static_cast<MemoryFile*>(user)->Size(); }

sf_count_t SeekCallback(sf_count_t offset, int whence, void* user) {
  return static_cast<MemoryFile*>(user)->Seek(offset, whence);
}

sf_count_t ReadCallback(void* out, sf_count_t count, void* user) {
  if (count <= 0) return 0;
  return static_cast<sf_count_t>(
      static_cast<MemoryFile*>(user)->Read(out, static_cast<size_t>(count)));
}

sf_count_t WriteCallback(const void*, sf_count_t, void*) { return 0; }

sf_count_t TellCallback(void* user) { return static_cast<MemoryFile*>(user)->Tell(); }

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

bool IsWavOrAiff(int format) {
  switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_AIFF:
      return true;
    default:
      return false;
  }
}

class SndfileDecoder final : public Decoder {
 public:
  explicit SndfileDecoder(std::vector<uint8_t> bytes) : file_(std::move(bytes)) {}

  bool Open(std::string* error) {
    SF_VIRTUAL_IO io = {LengthCallback, SeekCallback, ReadCallback, WriteCallback, TellCallback};
    SF_INFO info{};
    sndfile_.reset(sf_open_virtual(&io, SFM_READ, &info, &file_));
    if (!sndfile_) {
      if (error) *error = std::string("WAV/AIFF: ") + sf_strerror(nullptr);
      return false;
    }
    if (!IsWavOrAiff(info.format) || info.channels <= 0 || info.samplerate <= 0 ||
        info.frames <= 0) {
      if (error) *error = "WAV/AIFF: no audio data";
      return false;
    }
    format_ = {info.samplerate, info.channels};
    length_ = info.frames;
    return true;
  }

  AudioFormat Format() const override { return format_; }
  int64_t LengthFrames() const override { return length_; }
  int64_t Position() const override { return position_; }

  int64_t Read(float* out, int64_t frames) override {
    frames = std::min(frames, length_ - position_);
    if (frames <= 0) return 0;
    const sf_count_t read = sf_readf_float(sndfile_.get(), out, frames);
    if (read <= 0) return 0;
    ClampToUnit(out, static_cast<size_t>(read * format_.channels));
    position_ += read;
    return read;
  }

  bool Seek(int64_t frame) override {
    frame = std::clamp<int64_t>(frame, 0, length_);
    if (sf_seek(sndfile_.get(), frame, SEEK_SET) < 0) return false;
    position_ = frame;
    return true;
  }

 private:
  MemoryFile file_;
  std::unique_ptr<SNDFILE, SndfileCloser> sndfile_;
  AudioFormat format_;
  int64_t length_ = 0;
  int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> OpenSndfileDecoder(std::vector<uint8_t> bytes, std::string* error) {
  auto decoder = std::make_unique<SndfileDecoder>(std::move(bytes));
  if (!decoder->Open(error)) return nullptr;
  return decoder;
}

}  // namespace tw::engine
