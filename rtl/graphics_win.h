// The runtime's picture and image: a graphic file held in memory and read through GDI+.
// Windows only.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/controls_win.h"
#include "rtl/errors.h"
#include "rtl/stream.h"

namespace rtl {

// Bytes that are no picture of a format the platform reads.
class KV_API EInvalidGraphic : public Exception { using Exception::Exception; };

// One graphic in any format that GDI+ reads (PNG, BMP, JPEG, GIF, TIFF, icons), kept as its
// file bytes, so that saving gives back exactly the format that was loaded.
class KV_API TPicture {
 public:
  bool Empty() const { return bytes_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Loads a graphic file from the stream's position to its end; the format comes from the
  // data. EInvalidGraphic, picture unchanged, when the bytes are no readable picture.
  void LoadFromStream(Stream& AStream);
  // Writes the graphic file in its own format; nothing when the picture is empty.
  void SaveToStream(Stream& AStream) const;
  // The graphic's pixels at its own size, rows top-down, each 0xAARRGGBB; empty when the
  // picture is. Example: a 2 x 1 picture gives two values.
  std::vector<uint32_t> Pixels() const;
  // Replaces the graphic with a PNG of W x H pixels laid out as Pixels gives them.
  // EInvalidGraphic when the platform can't make the PNG (picture unchanged).
  void AssignPng(const std::vector<uint32_t>& Pixels, int W, int H);

 private:
  std::string bytes_;
  int width_ = 0;
  int height_ = 0;
};

// An image control: a component that holds a picture.
class KV_API TImage : public TComponent {
 public:
  explicit TImage(TComponent* AOwner) : TComponent(AOwner) {}
  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }

 private:
  TPicture picture_;
};

}  // namespace rtl
#endif
