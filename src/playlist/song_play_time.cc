#include "playlist/song_play_time.h"

#include <QFile>

#include "audio/engine/decoder.h"

namespace tw {

SongLengthProbe EngineSongLength() {
  return [](const QString& path) -> double {
    const auto decoder = engine::OpenDecoder(QFile::encodeName(path).toStdString());
    if (!decoder || decoder->Format().sample_rate <= 0) return -1.0;
    return static_cast<double>(decoder->LengthFrames()) / decoder->Format().sample_rate;
  };
}

float SongPlayTime(int position, float introend, float breakend, float breakloopstart,
                   float breakloopend, int64_t breaklooprepeat, const QString& path,
                   const SongLengthProbe& song_length) {
  const float loop_extension =
      breakloopstart + breakloopend > 0
          ? static_cast<float>(breaklooprepeat) * (breakloopend - breakloopstart)
          : 0.0f;
  switch (position) {
    case kFirstSong:
      return breakend + loop_extension;
    case kMiddleSong:
      return breakend - introend + loop_extension;
    case kLastSong: {
      const double length = song_length ? song_length(path) : -1.0;
      return static_cast<float>(length) - introend;
    }
    default:
      return 0.0f;
  }
}

}  // namespace tw
