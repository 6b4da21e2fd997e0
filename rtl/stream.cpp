#include "rtl/stream.h"

#include <algorithm>
#include <cstring>

namespace rtl {

void Stream::WriteBuffer(const void* buffer, size_t count) {
  if (Write(buffer, count) != count) throw EWriteError(u"Stream write error");
}

std::string Stream::ReadToEnd() {
  std::string bytes;
  const int64_t rest = Size() - Position();
  if (rest > 0) bytes.reserve(static_cast<size_t>(rest));
  char chunk[65536];
  for (size_t n; (n = Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
  return bytes;
}

size_t MemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= bytes_.size()) return 0;
  const size_t n = std::min(count, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

size_t MemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (bytes_.size() < position_ + count) bytes_.resize(position_ + count, '\0');
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

}  // namespace rtl
