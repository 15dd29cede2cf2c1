#include "finder/header.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/test_support.h"

namespace {

struct HeaderCase {
  const char* what;
  HeaderFields fields;
  int normal;    // expected result in normal mode
  int extended;  // and in extended mode
};

HeaderFields With(void (*change)(HeaderFields&)) {
  HeaderFields f;
  change(f);
  return f;
}

const HeaderCase kHeaderCases[] = {
    {"24-bit 3x1 of the declared size", {}, 0, 0},
    {"the program's own 100x40 eyes", With([](HeaderFields& f) {
       f = {100, 40, 4, 118, 2198};
     }), 0, 0},
    // One plane only: both modes check it.
    {"no plane", With([](HeaderFields& f) { f.planes = 0; }), -2, -2},
    {"two planes", With([](HeaderFields& f) { f.planes = 2; }), -2, -2},
    {"first reserved word set", With([](HeaderFields& f) { f.reserved1 = 1; }), -2, -2},
    {"second reserved word set", With([](HeaderFields& f) { f.reserved2 = 0x100; }), -2, -2},
    // Normal mode never looks at biSize; extended mode wants exactly 40.
    {"core header size 12", With([](HeaderFields& f) { f.infoSize = 12; }), 0, -2},
    {"V4 header size 108", With([](HeaderFields& f) { f.infoSize = 108; }), 0, -2},
    // Extended mode never looks at the size equation.
    {"two bytes padded at the end", With([](HeaderFields& f) { f.fileSize = 68; }), -2, 0},
    {"declared size one short", With([](HeaderFields& f) { f.fileSize = 65; }), -2, 0},
    {"top-down 8x8 at 4 bits", With([](HeaderFields& f) {
       f = {8, -8, 4, 54, 150};
     }), -2, 0},
    // The row division truncates toward zero: (-100 + 31) / 32 is -2, not -3.
    {"negative width, truncated row", With([](HeaderFields& f) {
       f = {-100, 1, 1, 54, -2 * 4 + 54};
     }), 0, 0},
    {"negative width, floored row", With([](HeaderFields& f) {
       f = {-100, 1, 1, 54, -3 * 4 + 54};
     }), -2, 0},
    // Signed 32-bit wrap: 32 bits x 2^27 pixels is 2^32, which wraps to 0 words per row.
    {"row product wraps to zero", With([](HeaderFields& f) {
       f = {0x08000000, 5, 32, 54, 54};
     }), 0, 0},
    // One word per row times 2^30 rows times 4 wraps to 0.
    {"pixel size wraps to zero", With([](HeaderFields& f) {
       f = {1, 0x40000000, 32, 54, 54};
     }), 0, 0},
    // 0x7FFFFFFC + 16 wraps past INT_MAX to a negative declared size.
    {"adding the offset wraps negative", With([](HeaderFields& f) {
       f = {1, 0x1FFFFFFF, 32, 16, INT_MIN + 12};
     }), 0, 0},
};

TEST(IsBitmapHeader, AcceptsExactlyTheHeadersEachModeAllows) {
  for (const HeaderCase& c : kHeaderCases) {
    const Bytes header = MakeHeader(c.fields);
    const BitmapHeaderRecord h = DecodeHeaderBytes(header.data());
    EXPECT_EQ(IsBitmapHeader(h, false), c.normal) << c.what << " (normal mode)";
    EXPECT_EQ(IsBitmapHeader(h, true), c.extended) << c.what << " (extended mode)";
  }
}

TEST(IsBitmapHeader, RejectsTheMagicOnlyAsBM) {
  Bytes header = MakeHeader({});
  header[1] = 'N';
  EXPECT_EQ(IsBitmapHeader(DecodeHeaderBytes(header.data()), false), -2);
  header[0] = 'M';
  header[1] = 'B';  // the bytes swapped
  EXPECT_EQ(IsBitmapHeader(DecodeHeaderBytes(header.data()), true), -2);
}

TEST(HeaderWindow, ClearedWindowIsNeverAccepted) {
  ClearHeaderWindow();
  DecodeHeader();
  EXPECT_EQ(IsBitmapHeader(false), -2);
  EXPECT_EQ(IsBitmapHeader(true), -2);
}

TEST(HeaderWindow, AcceptsAHeaderOnlyOnceItsLastBytePassesIn) {
  const Bytes header = MakeHeader({});
  ClearHeaderWindow();
  for (std::size_t i = 0; i < header.size(); ++i) {
    PushHeaderByte(header[i]);
    DecodeHeader();
    EXPECT_EQ(IsBitmapHeader(true), i + 1 == header.size() ? 0 : -2) << "after byte " << i + 1;
  }
  EXPECT_TRUE(std::equal(header.begin(), header.end(), HeaderWindow.begin())) << "the window keeps the bytes as read";
  PushHeaderByte(0);  // one more byte shifts the magic out
  DecodeHeader();
  EXPECT_EQ(IsBitmapHeader(true), -2);
}

TEST(DecodeHeader, ReadsEveryFieldLittleEndianAtItsOffset) {
  HeaderBytes w;
  for (std::size_t i = 0; i < w.size(); ++i) w[i] = static_cast<std::uint8_t>(i + 0x80);
  const BitmapHeaderRecord h = DecodeHeaderBytes(w.data());
  auto u16 = [&](int at) { return static_cast<std::uint16_t>(w[at] | w[at + 1] << 8); };
  auto s32 = [&](int at) {
    return static_cast<std::int32_t>(std::uint32_t{w[at]} | std::uint32_t{w[at + 1]} << 8 |
                                     std::uint32_t{w[at + 2]} << 16 | std::uint32_t{w[at + 3]} << 24);
  };
  EXPECT_EQ(h.bfType, u16(0));
  EXPECT_EQ(h.bfSize, s32(2));
  EXPECT_LT(h.bfSize, 0) << "high bit set: read as signed";
  EXPECT_EQ(h.bfReserved1, u16(6));
  EXPECT_EQ(h.bfReserved2, u16(8));
  EXPECT_EQ(h.bfOffBits, s32(10));
  EXPECT_EQ(h.biSize, s32(14));
  EXPECT_EQ(h.biWidth, s32(18));
  EXPECT_EQ(h.biHeight, s32(22));
  EXPECT_EQ(h.biPlanes, u16(26));
  EXPECT_EQ(h.biBitCount, u16(28));
  EXPECT_EQ(h.biCompression, s32(30));
  EXPECT_EQ(h.biSizeImage, s32(34));
  EXPECT_EQ(h.biXPelsPerMeter, s32(38));
  EXPECT_EQ(h.biYPelsPerMeter, s32(42));
  EXPECT_EQ(h.biClrUsed, s32(46));
  EXPECT_EQ(h.biClrImportant, s32(50));
}

}  // namespace
