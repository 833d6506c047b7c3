#include "audio/engine/memory_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace tw::engine {

size_t MemoryFile::Read(void* out, size_t size) {
  if (cursor_ >= Size()) return 0;
  const size_t available = static_cast<size_t>(Size() - cursor_);
  const size_t n = size < available ? size : available;
  std::memcpy(out, bytes_.data() + cursor_, n);
  cursor_ += static_cast<int64_t>(n);
  return n;
}

int64_t MemoryFile::Seek(int64_t offset, int whence) {
  int64_t base = 0;
  switch (whence) {
    case SEEK_SET:
      base = 0;
      break;
    case SEEK_CUR:
      base = cursor_;
      break;
    case SEEK_END:
      base = Size();
      break;
    default:
      return -1;
  }
  const int64_t target = base + offset;
  if (target < 0) return -1;
  cursor_ = target;
  return cursor_;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat status {};
  if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
    if (error) *error = "cannot read " + path + ": not a regular file";
    return false;
  }
  // One read of the length the file has now, then more only if it grew meanwhile.
  bytes->resize(static_cast<size_t>(status.st_size));
  size_t filled = std::fread(bytes->data(), 1, bytes->size(), file.get());
  while (filled == bytes->size() && !std::ferror(file.get())) {
    uint8_t chunk[1 << 16];
    const size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
    if (n == 0) break;
    bytes->insert(bytes->end(), chunk, chunk + n);
    filled += n;
  }
  bytes->resize(filled);
  if (std::ferror(file.get())) {
    if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace tw::engine
