#include "rtl/graphics_win.h"

#include <gdiplus.h>
#include <shlwapi.h>

#include <memory>

namespace rtl {
namespace {

using namespace Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpImage;

struct DisposeImage {
  void operator()(GpImage* p) const { GdipDisposeImage(p); }
};
using UniqueImage = std::unique_ptr<GpBitmap, DisposeImage>;

struct ReleaseCom {
  void operator()(IUnknown* p) const { p->Release(); }
};
using UniqueStream = std::unique_ptr<IStream, ReleaseCom>;

// The PNG encoder of GDI+.
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// GDI+ starts on first use (never from DllMain) and stays for the life of the process.
void StartGdiplus() {
  static const bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  if (!started) throw EInvalidGraphic(u"GDI+ could not be started");
}

UniqueImage BitmapFromBytes(const std::string& bytes) {
  StartGdiplus();
  UniqueStream stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<UINT>(bytes.size())));
  GpBitmap* bitmap = nullptr;
  if (!stream || GdipCreateBitmapFromStream(stream.get(), &bitmap) != Gdiplus::Ok)
    throw EInvalidGraphic(u"Unsupported picture format");
  return UniqueImage(bitmap);
}

std::string PngBytes(GpBitmap* bitmap) {
  IStream* raw = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &raw))) throw EInvalidGraphic(u"No memory for the PNG");
  UniqueStream stream(raw);
  if (GdipSaveImageToStream(bitmap, stream.get(), &kPngEncoder, nullptr) != Gdiplus::Ok)
    throw EInvalidGraphic(u"The PNG could not be written");
  ULARGE_INTEGER size{};
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &size);
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

}  // namespace

void TPicture::LoadFromStream(Stream& AStream) {
  std::string bytes = AStream.ReadToEnd();
  UniqueImage bitmap = BitmapFromBytes(bytes);
  UINT width = 0, height = 0;
  GdipGetImageWidth(bitmap.get(), &width);
  GdipGetImageHeight(bitmap.get(), &height);
  bytes_ = std::move(bytes);
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
}

void TPicture::SaveToStream(Stream& AStream) const {
  if (!bytes_.empty()) AStream.WriteBuffer(bytes_.data(), bytes_.size());
}

std::vector<uint32_t> TPicture::Pixels() const {
  if (Empty()) return {};
  UniqueImage bitmap = BitmapFromBytes(bytes_);
  std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
  // The caller's buffer receives the pixels, converted to 32-bit ARGB.
  Gdiplus::BitmapData data{};
  data.Width = width_;
  data.Height = height_;
  data.Stride = width_ * 4;
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = pixels.data();
  Gdiplus::Rect rect(0, 0, width_, height_);
  if (GdipBitmapLockBits(bitmap.get(), &rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat32bppARGB, &data) != Gdiplus::Ok)
    throw EInvalidGraphic(u"The picture's pixels could not be read");
  GdipBitmapUnlockBits(bitmap.get(), &data);
  return pixels;
}

void TPicture::AssignPng(const std::vector<uint32_t>& Pixels, int W, int H) {
  if (W < 1 || H < 1 || Pixels.size() != static_cast<size_t>(W) * H)
    throw EInvalidGraphic(u"No pixels for the PNG");
  StartGdiplus();
  GpBitmap* raw = nullptr;
  // GDI+ only reads the pixels while it encodes them.
  auto scan0 = reinterpret_cast<BYTE*>(const_cast<uint32_t*>(Pixels.data()));
  if (GdipCreateBitmapFromScan0(W, H, W * 4, PixelFormat32bppARGB, scan0, &raw) != Gdiplus::Ok)
    throw EInvalidGraphic(u"The PNG could not be made");
  UniqueImage bitmap(raw);
  bytes_ = PngBytes(bitmap.get());
  width_ = W;
  height_ = H;
}

}  // namespace rtl
