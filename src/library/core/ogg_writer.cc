#include "library/core/ogg_writer.h"

#include <cstdio>
#include <memory>

#include <vorbis/vorbisenc.h>

namespace tw::demo {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// libvorbis' encoder state, cleared in reverse order of making.
struct VorbisEncoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool dsp_ready = false;
  VorbisEncoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~VorbisEncoder() {
    if (dsp_ready) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
};

bool WritePage(std::FILE* file, const ogg_page& page) {
  return std::fwrite(page.header, 1, page.header_len, file) ==
             static_cast<size_t>(page.header_len) &&
         std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
}

}  // namespace

bool WriteOggVorbis(const std::string& path, const float* stereo, int64_t frames,
                    std::string* error) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    if (error) *error = "cannot create " + path;
    return false;
  }
  VorbisEncoder e;
  if (vorbis_encode_init_vbr(&e.info, 2, 44100, 0.5f) != 0) {
    if (error) *error = "the Vorbis encoder refused its settings";
    return false;
  }
  vorbis_comment_add_tag(&e.comment, "ENCODER", "Tunewright");
  vorbis_analysis_init(&e.dsp, &e.info);
  vorbis_block_init(&e.dsp, &e.block);
  ogg_stream_init(&e.stream, 0x7477);
  e.dsp_ready = true;

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &comments, &codebooks);
  ogg_stream_packetin(&e.stream, &header);
  ogg_stream_packetin(&e.stream, &comments);
  ogg_stream_packetin(&e.stream, &codebooks);
  ogg_page page;
  bool ok = true;
  while (ok && ogg_stream_flush(&e.stream, &page) != 0) ok = WritePage(file.get(), page);

  constexpr int64_t kChunk = 4096;
  int64_t done = 0;
  bool end_of_stream = false;
  bool input_done = false;
  while (ok && !end_of_stream) {
    const int64_t n = std::min(kChunk, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&e.dsp, static_cast<int>(n));
      for (int64_t i = 0; i < n; ++i) {
        buffer[0][i] = stereo[(done + i) * 2];
        buffer[1][i] = stereo[(done + i) * 2 + 1];
      }
      vorbis_analysis_wrote(&e.dsp, static_cast<int>(n));
      done += n;
    } else if (!input_done) {
      vorbis_analysis_wrote(&e.dsp, 0);  // no more audio
      input_done = true;
    } else {
      break;  // everything went out and no end page came: the file is complete anyway
    }
    while (ok && vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
      vorbis_analysis(&e.block, nullptr);
      vorbis_bitrate_addblock(&e.block);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&e.dsp, &packet) != 0) {
        ogg_stream_packetin(&e.stream, &packet);
        while (ok && ogg_stream_pageout(&e.stream, &page) != 0) {
          ok = WritePage(file.get(), page);
          if (ogg_page_eos(&page)) end_of_stream = true;
        }
      }
    }
  }
  if (ok) ok = std::fflush(file.get()) == 0;
  if (!ok && error) *error = "cannot write " + path;
  return ok;
}

}  // namespace tw::demo
