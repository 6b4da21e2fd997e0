// Text encodings: bytes to String and back. The four encodings are shared objects that live
// as long as the program; callers compare them by address and never free them.
#pragma once

#include <string>
#include <string_view>

#include "rtl/string.h"

namespace rtl {

class KV_API Encoding {
 public:
  // The process's ANSI code page, through the platform seam (1252 in the native build).
  static const Encoding* ANSI();
  // UTF-8: invalid bytes decode to U+FFFD, a lone surrogate encodes as U+FFFD.
  static const Encoding* UTF8();
  // UTF-16 little-endian; an odd final byte is dropped when decoding.
  static const Encoding* Unicode();
  // UTF-16 big-endian; an odd final byte is dropped when decoding.
  static const Encoding* BigEndianUnicode();

  // The bytes decoded. Example: Encoding::UTF8()->GetString("\xC3\xA4") == u"ä".
  virtual String GetString(std::string_view bytes) const = 0;
  // The text encoded. Example: Encoding::Unicode()->GetBytes(u"A") == std::string("A\0", 2).
  virtual std::string GetBytes(StringView text) const = 0;
  // The byte-order mark that starts a file in this encoding; empty for ANSI.
  // Example: Encoding::UTF8()->Preamble() == "\xEF\xBB\xBF".
  virtual std::string_view Preamble() const = 0;

  Encoding(const Encoding&) = delete;
  Encoding& operator=(const Encoding&) = delete;

 protected:
  Encoding() = default;
  ~Encoding() = default;
};

}  // namespace rtl
