#include "finder/header.h"

#include <cstring>

HeaderBytes HeaderWindow{};
BitmapHeaderRecord BitmapHeader{};

namespace {

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t S32(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                    (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
  return static_cast<std::int32_t>(v);  // two's complement by definition since C++20
}

// Signed 32-bit arithmetic that wraps instead of overflowing.
std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace

void ClearHeaderWindow() { HeaderWindow.fill(0); }

void PushHeaderByte(std::uint8_t b) {
  std::memmove(HeaderWindow.data(), HeaderWindow.data() + 1, kHeaderSize - 1);
  HeaderWindow[kHeaderSize - 1] = b;
}

BitmapHeaderRecord DecodeHeaderBytes(const std::uint8_t* w) {
  BitmapHeaderRecord h;
  h.bfType = U16(w + 0);            // "BM"
  h.bfSize = S32(w + 2);            // whole file size
  h.bfReserved1 = U16(w + 6);
  h.bfReserved2 = U16(w + 8);
  h.bfOffBits = S32(w + 10);        // start of the pixel data
  h.biSize = S32(w + 14);           // info header size
  h.biWidth = S32(w + 18);
  h.biHeight = S32(w + 22);         // negative for top-down
  h.biPlanes = U16(w + 26);
  h.biBitCount = U16(w + 28);
  h.biCompression = S32(w + 30);
  h.biSizeImage = S32(w + 34);
  h.biXPelsPerMeter = S32(w + 38);
  h.biYPelsPerMeter = S32(w + 42);
  h.biClrUsed = S32(w + 46);
  h.biClrImportant = S32(w + 50);
  return h;
}

void DecodeHeader() { BitmapHeader = DecodeHeaderBytes(HeaderWindow.data()); }

std::int32_t ComputedFileSize(const BitmapHeaderRecord& h) {
  const std::int32_t row = WrapAdd(WrapMul(h.biBitCount, h.biWidth), 31) / 32;  // 32-bit words per row
  return WrapAdd(WrapMul(WrapMul(row, h.biHeight), 4), h.bfOffBits);
}

int IsBitmapHeader(const BitmapHeaderRecord& h, bool extended) {
  bool ok = h.bfType == 0x4D42 && h.biPlanes == 1 && h.bfReserved1 == 0 && h.bfReserved2 == 0;
  if (extended) {
    ok = ok && h.biSize == 40;
  } else {
    ok = ok && ComputedFileSize(h) == h.bfSize;
  }
  return ok ? 0 : -2;
}

int IsBitmapHeader(bool extended) { return IsBitmapHeader(BitmapHeader, extended); }
