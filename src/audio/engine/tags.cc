#include "audio/engine/tags.h"

#include <taglib/aifffile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevector.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include <cctype>
#include <memory>
#include <vector>

#include "audio/engine/format_sniffer.h"
#include "audio/engine/memory_file.h"

namespace tw::engine {
namespace {

std::unique_ptr<TagLib::File> OpenTagFile(ContainerFormat format, TagLib::IOStream* stream) {
  // Audio properties are not needed: skipping them spares a scan of the audio data.
  switch (format) {
    case ContainerFormat::kMpegAudio:
      return std::make_unique<TagLib::MPEG::File>(stream, TagLib::ID3v2::FrameFactory::instance(),
                                                  false);
    case ContainerFormat::kOggVorbis:
      return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, false);
    case ContainerFormat::kWav:
      return std::make_unique<TagLib::RIFF::WAV::File>(stream, false);
    case ContainerFormat::kAiff:
      return std::make_unique<TagLib::RIFF::AIFF::File>(stream, false);
    case ContainerFormat::kOggOther:
    case ContainerFormat::kUnknown:
      break;
  }
  return nullptr;
}

std::string FirstValue(const TagLib::PropertyMap& properties, const char* key) {
  const auto it = properties.find(key);
  if (it == properties.end() || it->second.isEmpty()) return {};
  return it->second.front().to8Bit(true);
}

std::string LeadingYear(const std::string& date) {
  size_t digits = 0;
  while (digits < date.size() && std::isdigit(static_cast<unsigned char>(date[digits]))) {
    ++digits;
  }
  return digits == 4 ? date.substr(0, 4) : date;
}

}  // namespace

bool ReadTags(const std::string& path, TrackTags* tags, std::string* error) {
  *tags = TrackTags();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  const ContainerFormat format = SniffFormat(bytes.data(), bytes.size());
  TagLib::ByteVectorStream stream(TagLib::ByteVector(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<unsigned int>(bytes.size())));
  const std::unique_ptr<TagLib::File> file = OpenTagFile(format, &stream);
  if (!file || !file->isValid()) {
    if (error) *error = path + ": no tags readable (not a supported audio file)";
    return false;
  }
  // The property map is the one view that covers every tag kind alike, RIFF INFO included
  // (a WAV's tag() shows only its ID3 chunk).
  const TagLib::PropertyMap properties = file->properties();
  tags->artist = FirstValue(properties, "ARTIST");
  tags->title = FirstValue(properties, "TITLE");
  tags->year = LeadingYear(FirstValue(properties, "DATE"));
  tags->genre = FirstValue(properties, "GENRE");
  return true;
}

}  // namespace tw::engine
