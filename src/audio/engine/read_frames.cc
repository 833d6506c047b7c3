#include "audio/engine/read_frames.h"

#include <algorithm>
#include <cmath>

namespace tw::engine {

int64_t ReadFramesFloat(Decoder& decoder, int64_t start, int64_t count, std::vector<float>* out) {
  const int64_t length = decoder.LengthFrames();
  start = std::clamp<int64_t>(start, 0, length);
  count = std::clamp<int64_t>(count, 0, length - start);
  const int channels = decoder.Format().channels;
  out->assign(static_cast<size_t>(count * channels), 0.0f);
  if (count == 0 || !decoder.Seek(start)) {
    out->clear();
    return 0;
  }
  int64_t done = 0;
  while (done < count) {
    const int64_t got = decoder.Read(out->data() + done * channels, count - done);
    if (got <= 0) break;
    done += got;
  }
  out->resize(static_cast<size_t>(done * channels));
  return done;
}

int64_t ReadFramesInt16(Decoder& decoder, int64_t start, int64_t count, std::vector<int16_t>* out) {
  std::vector<float> samples;
  const int64_t done = ReadFramesFloat(decoder, start, count, &samples);
  out->resize(samples.size());
  // Scaling by 32768 and saturating gives 16-bit sources back bit for bit.
  std::transform(samples.begin(), samples.end(), out->begin(), [](float s) {
    return static_cast<int16_t>(std::clamp(std::lrint(s * 32768.0f), -32768L, 32767L));
  });
  return done;
}

}  // namespace tw::engine
