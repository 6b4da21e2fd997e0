// Kv_tools unique identifiers in the native build: a random version-4 GUID.
#include <cstdint>
#include <random>

#include "kv_tools/identifiers.h"

namespace Kv_tools {

String CreateStrID() {
  static std::mt19937_64 engine{std::random_device{}()};
  unsigned char b[16];
  for (int i = 0; i < 16; i += 8) {
    uint64_t v = engine();
    for (int k = 0; k < 8; ++k) b[i + k] = static_cast<unsigned char>(v >> (8 * k));
  }
  b[7] = static_cast<unsigned char>((b[7] & 0x0F) | 0x40);  // version 4 (Data3 high nibble)
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // variant 1
  return GuidText(b);
}

}  // namespace Kv_tools
