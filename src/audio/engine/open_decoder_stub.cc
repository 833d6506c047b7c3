#include "audio/engine/decoder.h"

namespace tw::engine {

// Placeholder until the format decoders land.
std::unique_ptr<Decoder> OpenDecoder(const std::string& path, std::string* error) {
  if (error) *error = "no decoder available for " + path;
  return nullptr;
}

}  // namespace tw::engine
