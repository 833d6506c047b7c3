#include "audio/engine/mpeg_decoder.h"

#include <mpg123.h>

#include <sys/types.h>
#include <algorithm>
#include <cstdio>
#include <mutex>

#include "audio/engine/memory_file.h"
#include "audio/engine/sample_clamp.h"

namespace tw::engine {
namespace {

struct HandleDeleter {
  void operator()(mpg123_handle* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
  }
};
using Mpg123Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

// mpg123_init is a no-op in recent libmpg123 but was required once per process before.
void InitLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

mpg123_ssize_t ReadCallback(void* user, void* out, size_t size) {
  return static_cast<mpg123_ssize_t>(static_cast<MemoryFile*>(user)->Read(out, size));
}

off_t SeekCallback(void* user, off_t offset, int whence) {
  return static_cast<off_t>(static_cast<MemoryFile*>(user)->Seek(offset, whence));
}

// Calls of mpg123_read without output in a row after which a damaged stream counts as ended.
constexpr int kMaxIdleCalls = 8;

class MpegDecoder final : public Decoder {
 public:
  explicit MpegDecoder(std::vector<uint8_t> bytes) : file_(std::move(bytes)) {}

  bool Open(std::string* error) {
    InitLibraryOnce();
    int code = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &code));
    if (!handle_) return Fail(error, mpg123_plain_strerror(code));
    mpg123_param(handle_.get(), MPG123_ADD_FLAGS,
                 MPG123_GAPLESS | MPG123_FORCE_FLOAT | MPG123_QUIET, 0.0);
    // Accept any rate and channel count the stream declares, always as 32-bit float.
    mpg123_format_none(handle_.get());
    const long* rates = nullptr;
    size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    for (size_t i = 0; i < rate_count; ++i) {
      mpg123_format(handle_.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_replace_reader_handle(handle_.get(), ReadCallback, SeekCallback, nullptr) !=
            MPG123_OK ||
        mpg123_open_handle(handle_.get(), &file_) != MPG123_OK) {
      return Fail(error, mpg123_strerror(handle_.get()));
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_.get(), &rate, &channels, &encoding) != MPG123_OK) {
      return Fail(error, mpg123_strerror(handle_.get()));
    }
    // Lock the output format: a later frame with another channel count is converted to this
    // one instead of changing the stream under the caller.
    mpg123_format_none(handle_.get());
    mpg123_format(handle_.get(), rate, channels, MPG123_ENC_FLOAT_32);
    // The full scan reads every frame header: the exact length and a complete seek index.
    if (mpg123_scan(handle_.get()) != MPG123_OK) {
      return Fail(error, mpg123_strerror(handle_.get()));
    }
    const off_t length = mpg123_length(handle_.get());
    if (length <= 0) return Fail(error, "no audio frames");
    format_ = {static_cast<int>(rate), channels};
    length_ = length;
    return Seek(0);
  }

  AudioFormat Format() const override { return format_; }
  int64_t LengthFrames() const override { return length_; }
  int64_t Position() const override { return position_; }

  int64_t Read(float* out, int64_t frames) override {
    frames = std::min(frames, length_ - position_);
    if (frames <= 0 || at_end_) return 0;
    const size_t frame_bytes = sizeof(float) * static_cast<size_t>(format_.channels);
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    const size_t wanted = static_cast<size_t>(frames) * frame_bytes;
    size_t got = 0;
    int idle_calls = 0;
    while (got < wanted) {
      size_t done = 0;
      const int code = mpg123_read(handle_.get(), bytes + got, wanted - got, &done);
      got += done;
      idle_calls = done > 0 ? 0 : idle_calls + 1;
      if ((code == MPG123_OK || code == MPG123_NEW_FORMAT) && idle_calls < kMaxIdleCalls) {
        continue;
      }
      // End of stream, a decoding error, or a decoder that stopped making progress.
      at_end_ = true;
      break;
    }
    const int64_t read = static_cast<int64_t>(got / frame_bytes);
    ClampToUnit(out, static_cast<size_t>(read) * static_cast<size_t>(format_.channels));
    position_ += read;
    return read;
  }

  bool Seek(int64_t frame) override {
    frame = std::clamp<int64_t>(frame, 0, length_);
    const off_t reached = mpg123_seek(handle_.get(), static_cast<off_t>(frame), SEEK_SET);
    if (reached < 0) return false;
    position_ = reached;
    at_end_ = false;
    return reached == frame;
  }

 private:
  static bool Fail(std::string* error, const char* message) {
    if (error) *error = std::string("MPEG audio: ") + message;
    return false;
  }

  MemoryFile file_;  // declared before the handle: the handle reads from it until closed
  Mpg123Handle handle_;
  AudioFormat format_;
  int64_t length_ = 0;
  int64_t position_ = 0;
  bool at_end_ = false;
};

}  // namespace

std::unique_ptr<Decoder> OpenMpegDecoder(std::vector<uint8_t> bytes, std::string* error) {
  auto decoder = std::make_unique<MpegDecoder>(std::move(bytes));
  if (!decoder->Open(error)) return nullptr;
  return decoder;
}

}  // namespace tw::engine
