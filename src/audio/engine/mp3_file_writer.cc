#include <lame/lame.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/engine/audio_file_writer.h"
#include "audio/engine/positions.h"

namespace tw::engine {
namespace {

class Mp3FileWriter : public AudioFileWriter {
 public:
  Mp3FileWriter(FILE* file, lame_global_flags* lame) : file_(file), lame_(lame) {}
  ~Mp3FileWriter() override {
    if (file_) std::fclose(file_);
    if (lame_) lame_close(lame_);
  }

  bool Write(const float* stereo, int64_t frames) override {
    if (!error_.empty()) return false;
    constexpr int64_t kMaxFrames = 8192;
    for (int64_t done = 0; done < frames;) {
      const int n = static_cast<int>(std::min(kMaxFrames, frames - done));
      // LAME's worst case: 1.25 bytes per sample plus 7200.
      out_.resize(static_cast<size_t>(n * 5 / 4 + 7200));
      const int bytes = lame_encode_buffer_interleaved_ieee_float(
          lame_, stereo + 2 * done, n, out_.data(), static_cast<int>(out_.size()));
      if (bytes < 0) return Fail("MP3 encoder error " + std::to_string(bytes));
      if (!Put(bytes)) return false;
      done += n;
    }
    return true;
  }

  bool Finish() override {
    if (!file_) return error_.empty();
    if (error_.empty()) {
      out_.resize(7200);
      const int bytes = lame_encode_flush(lame_, out_.data(), static_cast<int>(out_.size()));
      if (bytes < 0) {
        Fail("MP3 encoder error on flush");
      } else if (Put(bytes)) {
        // Rewrite the Info frame at the start now that the length is known.
        unsigned char tag[2880];
        const size_t tag_size = lame_get_lametag_frame(lame_, tag, sizeof(tag));
        if (tag_size > 0 && tag_size <= sizeof(tag)) {
          if (std::fseek(file_, 0, SEEK_SET) != 0 ||
              std::fwrite(tag, 1, tag_size, file_) != tag_size) {
            Fail(std::string("cannot write the MP3 header: ") + std::strerror(errno));
          }
        }
      }
    }
    if (std::fclose(file_) != 0 && error_.empty()) {
      Fail(std::string("cannot close the MP3 file: ") + std::strerror(errno));
    }
    file_ = nullptr;
    return error_.empty();
  }

 private:
  bool Put(int bytes) {
    if (bytes > 0 && std::fwrite(out_.data(), 1, static_cast<size_t>(bytes), file_) !=
                         static_cast<size_t>(bytes)) {
      return Fail(std::string("cannot write the MP3 file: ") + std::strerror(errno));
    }
    return true;
  }
  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
  }

  FILE* file_;
  lame_global_flags* lame_;
  std::vector<unsigned char> out_;
};

lame_global_flags* NewLame() {
  lame_global_flags* lame = lame_init();
  if (!lame) return nullptr;
  lame_set_num_channels(lame, kMixChannels);
  lame_set_in_samplerate(lame, kMixRate);
  lame_set_out_samplerate(lame, kMixRate);
  lame_set_brate(lame, 320);
  lame_set_mode(lame, STEREO);
  lame_set_VBR(lame, vbr_off);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return nullptr;
  }
  return lame;
}

}  // namespace

bool Mp3EncoderAvailable() {
  lame_global_flags* lame = NewLame();
  if (lame) lame_close(lame);
  return lame != nullptr;
}

std::unique_ptr<AudioFileWriter> OpenMp3Writer(const std::string& path, std::string* error) {
  lame_global_flags* lame = NewLame();
  if (!lame) {
    if (error) *error = "the MP3 encoder cannot be initialized";
    return nullptr;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = "cannot create " + path + ": " + std::strerror(errno);
    lame_close(lame);
    return nullptr;
  }
  return std::make_unique<Mp3FileWriter>(file, lame);
}

}  // namespace tw::engine
