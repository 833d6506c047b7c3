#include <sndfile.h>

#include "audio/engine/audio_file_writer.h"
#include "audio/engine/positions.h"

namespace tw::engine {
namespace {

class WavFileWriter : public AudioFileWriter {
 public:
  explicit WavFileWriter(SNDFILE* file) : file_(file) {}
  ~WavFileWriter() override {
    if (file_) sf_close(file_);
  }

  bool Write(const float* stereo, int64_t frames) override {
    if (!error_.empty()) return false;
    if (sf_writef_float(file_, stereo, frames) != frames) {
      error_ = std::string("cannot write the WAV file: ") + sf_strerror(file_);
      return false;
    }
    return true;
  }

  bool Finish() override {
    if (!file_) return error_.empty();
    if (sf_close(file_) != 0 && error_.empty()) error_ = "cannot close the WAV file";
    file_ = nullptr;
    return error_.empty();
  }

 private:
  SNDFILE* file_;
};

}  // namespace

std::unique_ptr<AudioFileWriter> OpenWavWriter(const std::string& path, std::string* error) {
  SF_INFO info{};
  info.samplerate = kMixRate;
  info.channels = kMixChannels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    if (error) *error = "cannot create " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  // Clip instead of wrapping around when the mix goes above full scale.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return std::make_unique<WavFileWriter>(file);
}

}  // namespace tw::engine
