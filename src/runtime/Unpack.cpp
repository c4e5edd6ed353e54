#include "runtime/Unpack.h"

namespace rt {

std::optional<std::string> Unpack(const unsigned char* data, std::size_t length, std::size_t size) {
  std::string made;
  made.reserve(size);
  std::size_t at = 0;
  while (at < length && made.size() < size) {
    unsigned flags = data[at++];
    for (int item = 0; item < 8 && at < length && made.size() < size; ++item, flags >>= 1) {
      if ((flags & 1) == 0) {
        made += static_cast<char>(data[at++]);
        continue;
      }
      if (length - at < 2) return std::nullopt;
      const unsigned token = data[at] | (data[at + 1] << 8);
      at += 2;
      const std::size_t distance = (token >> 4) + 1;
      const std::size_t count = (token & 0xF) + 3;
      if (distance > made.size() || made.size() + count > size) return std::nullopt;
      // Byte by byte: a reference may reach into what it is making ("abababab").
      for (std::size_t i = 0; i < count; ++i) made += made[made.size() - distance];
    }
  }
  if (made.size() != size) return std::nullopt;
  return made;
}

}  // namespace rt
