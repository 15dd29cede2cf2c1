#include "finder/names.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "tests/test_support.h"

namespace {

constexpr PathRules kWindowsRules{'\\', false};
constexpr PathRules kPosixRules{'/', true};

struct NameCase {
  const char* path;
  PathRules rules;
  const char* namePart;
  const char* pathStem;
};

const NameCase kNameCases[] = {
    {"C:\\Games\\PUZZLE.EXE", kWindowsRules, "PUZZ", "C:\\Games\\PUZZ"},
    {"C:\\a\\b.c.exe", kWindowsRules, "b", "C:\\a\\b"},       // the first full stop ends the name
    {"D:\\x\\ab.exe", kWindowsRules, "ab", "D:\\x\\ab"},
    {"C:\\dir\\.data", kWindowsRules, "", "C:\\dir\\"},       // nothing before the full stop
    {"C:\\dir\\", kWindowsRules, "", "C:\\dir\\"},
    {"setup.exe", kWindowsRules, "setu", "setu"},             // no directory at all
    {"", kWindowsRules, "", ""},
    {"..\\GAME000.BMP", kWindowsRules, "GAME", "..\\GAME"},
    {"a/b/cdefg.exe", kWindowsRules, "a/b/", "a/b/"},         // a forward slash is part of the name
    // A Shift_JIS trail byte 0x5C counts as a backslash: "ソフト" is 83 5C 83 74 83 67.
    {"C:\\\x83\x5C\x83\x74\x83\x67.exe", kWindowsRules, "\x83\x74\x83\x67", "C:\\\x83\x5C\x83\x74\x83\x67"},
    // The byte cut may split a double-byte character: "aゲー" is 61 83 51 81 5B.
    {"C:\\a\x83\x51\x81\x5B.exe", kWindowsRules, "a\x83\x51\x81", "C:\\a\x83\x51\x81"},
    {"/home/u/PUZZLE.EXE", kPosixRules, "PUZZ", "/home/u/PUZZ"},
    {"C:\\Games\\PUZZLE.EXE", kPosixRules, "C:\\G", "C:\\G"},  // a backslash is part of the name
    {"/x/.profile", kPosixRules, "", "/x/"},
    // UTF-8 characters stay whole: the cut stops at the last one that fits in 4 bytes.
    {"/g/ゲーム.exe", kPosixRules, "ゲ", "/g/ゲ"},
    {"aゲーム.exe", kPosixRules, "aゲ", "aゲ"},
    {"/x/abé.txt", kPosixRules, "abé", "/x/abé"},
    {"/x/abcé", kPosixRules, "abc", "/x/abc"},
    {"/x/\xff\xfe\xfd\xfc\xfb", kPosixRules, "\xff\xfe\xfd\xfc", "/x/\xff\xfe\xfd\xfc"},  // not UTF-8: bytes
    {"/x/a\xe3\x82", kPosixRules, "a\xe3\x82", "/x/a\xe3\x82"},  // a truncated character counts bytewise
};

TEST(DeriveNames, CutsTheNameAfterAtMostFourBytes) {
  for (const NameCase& c : kNameCases) {
    const ScanNames names = DeriveNames(c.path, c.rules);
    EXPECT_EQ(names.NamePart, c.namePart) << c.path;
    EXPECT_EQ(names.PathStem, c.pathStem) << c.path;
  }
}

TEST(DeriveNames, HandlesAPathOfAnyLength) {
  const std::string dir(5000, 'd');
  const ScanNames names = DeriveNames(dir + "\\PUZZLE.EXE", kWindowsRules);
  EXPECT_EQ(names.NamePart, "PUZZ");
  EXPECT_EQ(names.PathStem, dir + "\\PUZZ");
}

TEST(HexNumber, PadsToThreeUpperCaseDigitsAndGrowsPastFFF) {
  const std::pair<int, const char*> cases[] = {
      {0, "000"}, {10, "00A"}, {255, "0FF"}, {4095, "FFF"}, {4096, "1000"}, {0xABCDE, "ABCDE"}};
  for (const auto& [n, hex] : cases) EXPECT_EQ(HexNumber(n), hex) << n;
}

TEST(ReportName, AddsTheNumberAndAnUpperCaseExtension) {
  const ScanNames names = DeriveNames("C:\\Games\\puzzle.exe", kWindowsRules);
  EXPECT_EQ(ReportName(names, 0), "puzz000.BMP");
  EXPECT_EQ(ReportName(names, 10), "puzz00A.BMP");
  EXPECT_EQ(OutputPath(names, 10), "C:\\Games\\puzz00A.BMP");
  EXPECT_EQ(OutputPath(DeriveNames("C:\\dir\\.data", kWindowsRules), 0), "C:\\dir\\000.BMP");
}

TEST(ReportLine, IsExactlyTheseShiftJisBytes) {
  HeaderFields eyes{100, 40, 4, 118, 2198};
  EXPECT_EQ(ReportLine("PUZZ000.BMP", DecodeHeaderBytes(MakeHeader(eyes).data()), kShiftJisTexts),
            "PUZZ000.BMP   100x40\xc4\xde\xaf\xc4  4\xcb\xde\xaf\xc4\xb6\xd7\xb0  2198bytes");
  HeaderFields topDown{8, -8, 4, 54, 150};
  EXPECT_EQ(ReportLine("ab000.BMP", DecodeHeaderBytes(MakeHeader(topDown).data()), kShiftJisTexts),
            "ab000.BMP   8x-8\xc4\xde\xaf\xc4  4\xcb\xde\xaf\xc4\xb6\xd7\xb0  150bytes");
  // Width, height and size print signed; the bit count unsigned.
  HeaderFields extremes{INT32_MIN, -1, 65535, 54, -2147483636};
  EXPECT_EQ(ReportLine("x000.BMP", DecodeHeaderBytes(MakeHeader(extremes).data()), kUtf8Texts),
            "x000.BMP   -2147483648x-1ﾄﾞｯﾄ  65535ﾋﾞｯﾄｶﾗｰ  -2147483636bytes");
}

TEST(ResultTexts, AreExactlyTheseShiftJisBytes) {
  // "12枚のＢＭＰ画像を取り出しました"
  EXPECT_EQ(FoundText(12, kShiftJisTexts),
            "12\x96\x87\x82\xcc\x82\x61\x82\x6c\x82\x6f\x89\xe6\x91\x9c\x82\xf0\x8e\xe6\x82\xe8\x8f\x6f\x82\xb5"
            "\x82\xdc\x82\xb5\x82\xbd");
  // "ＢＭＰ画像は見つかりませんでした"
  EXPECT_EQ(NoneFoundText(kShiftJisTexts),
            "\x82\x61\x82\x6c\x82\x6f\x89\xe6\x91\x9c\x82\xcd\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9"
            "\x82\xf1\x82\xc5\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(kShiftJisTexts.resultCaption), "\x92\xb2\x8d\xb8\x8c\x8b\x89\xca");  // "調査結果"
  EXPECT_EQ(PartlyWrittenText(0, 2, kUtf8Texts), "0枚のＢＭＰ画像を取り出しました（2枚は書き込めませんでした）");
}

std::string ShiftJisToUtf8(std::string_view sjis) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "(no CP932 converter)";
  std::string in(sjis), out(sjis.size() * 3, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return "(not Shift_JIS)";
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(Texts, UsesTheSameCharactersInBothEncodings) {
  const std::string_view Texts::*fields[] = {&Texts::dots,          &Texts::bitColour,        &Texts::foundSuffix,
                                             &Texts::noneFound,     &Texts::resultCaption,    &Texts::notWrittenSuffix,
                                             &Texts::partialMiddle, &Texts::partialSuffix};
  for (auto field : fields) EXPECT_EQ(ShiftJisToUtf8(kShiftJisTexts.*field), kUtf8Texts.*field);
}

}  // namespace
