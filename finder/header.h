// The 54-byte window of the last bytes read and the bitmap header test.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kHeaderSize = 54;  // 14-byte file header + 40-byte info header

// Index 0 is the oldest byte, index 53 the newest.
using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

struct BitmapHeaderRecord {
  std::uint16_t bfType;
  std::int32_t bfSize;
  std::uint16_t bfReserved1;
  std::uint16_t bfReserved2;
  std::int32_t bfOffBits;
  std::int32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::int32_t biCompression;
  std::int32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::int32_t biClrUsed;
  std::int32_t biClrImportant;
};

// The program keeps one window and one decoded record.
extern HeaderBytes HeaderWindow;
extern BitmapHeaderRecord BitmapHeader;

void ClearHeaderWindow();
void PushHeaderByte(std::uint8_t b);
void DecodeHeader();
// 0 when the decoded header is accepted, -2 when it is not.
int IsBitmapHeader(bool extended);

// The same decoding and test over any 54 bytes, for callers that keep
// their own window (the block scan).
BitmapHeaderRecord DecodeHeaderBytes(const std::uint8_t* window);
int IsBitmapHeader(const BitmapHeaderRecord& h, bool extended);

// The declared size computed from the dimensions, in wrapping 32-bit arithmetic.
std::int32_t ComputedFileSize(const BitmapHeaderRecord& h);
