// Byte streams: reads and writes at a position, like the runtime's streams.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/errors.h"

namespace rtl {

class KV_API Stream {
 public:
  virtual ~Stream() = default;

  // Reads up to count bytes at the position into buffer and moves past them; returns how
  // many were read, 0 at the end.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes count bytes at the position and moves past them, growing the stream as needed;
  // returns how many were written.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t Size() const = 0;

  // Writes all count bytes; EWriteError when the stream takes fewer.
  void WriteBuffer(const void* buffer, size_t count);
  // The bytes from the position to the end; the position is then at the end.
  std::string ReadToEnd();
};

// A stream over bytes in memory. A position beyond the end reads nothing; a write there
// fills the gap with zero bytes.
class KV_API MemoryStream final : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return static_cast<int64_t>(position_); }
  void SetPosition(int64_t position) override {
    position_ = position > 0 ? static_cast<size_t>(position) : 0;
  }
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

}  // namespace rtl
