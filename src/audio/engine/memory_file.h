#ifndef TUNEWRIGHT_AUDIO_ENGINE_MEMORY_FILE_H_
#define TUNEWRIGHT_AUDIO_ENGINE_MEMORY_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw::engine {

// A whole file held in memory with a read cursor: the one byte source of every decoder, so
// that decoding and seeking never touch the disk. Reads and seeks never allocate.
class MemoryFile {
 public:
  explicit MemoryFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  // Copies up to `size` bytes to `out` and advances; returns the bytes copied (0 at the end).
  size_t Read(void* out, size_t size);
  // `whence` is SEEK_SET, SEEK_CUR or SEEK_END. Returns the new offset, or -1 (cursor
  // unchanged) for an offset before the start. Offsets past the end are kept; reads there
  // return 0.
  int64_t Seek(int64_t offset, int whence);
  int64_t Tell() const { return cursor_; }
  int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int64_t cursor_ = 0;
};

// Reads the whole file at `path`. Returns false with a message in `error` when it cannot.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_MEMORY_FILE_H_
