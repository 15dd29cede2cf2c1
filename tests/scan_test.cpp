#include "finder/scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "finder/names.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

using Ops = std::vector<std::string>;

std::string Line(const std::string& name, const Bytes& bitmap) {
  return "line " + ReportLine(name, DecodeHeaderBytes(bitmap.data()), kUtf8Texts);
}

// What every scan of an opened file starts with.
Ops Opening(const std::string& path) {
  return {"clear", "repaint", "hide normal", "show right", "path " + path, "repaint", "mode"};
}

// What it ends with when the main window is up and the result window is not.
Ops Closing(bool found) {
  return {"hide left",        "hide right",          found ? "show win" : "show lose", "visible? main",
          "visible? result",  "show window result",  "hide win",                       "hide lose",
          "show normal"};
}

Ops Concat(std::initializer_list<Ops> parts) {
  Ops all;
  for (const Ops& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Ops kToLeft = {"show left", "hide right", "repaint"};
const Ops kToRight = {"hide left", "show right", "repaint"};

TEST(ScanFile, TakesOutAFileThatIsItselfABitmap) {
  TempDir dir;
  const Bytes bmp = MakeBitmap(3, 1, 24);
  const std::string path = dir.Write("PUZZLE.EXE", bmp);
  RecordingView view;
  const ScanOutcome outcome = ScanFile(view, path);

  EXPECT_EQ(view.ops, Concat({Opening(path), {Line("PUZZ000.BMP", bmp)}, Closing(true)}));
  EXPECT_EQ(ReadFile(dir.path() / "PUZZ000.BMP"), bmp);
  EXPECT_EQ(ResultCount, 1);
  EXPECT_EQ(ResultText, "1枚のＢＭＰ画像を取り出しました");
  EXPECT_TRUE(outcome.opened);
  EXPECT_EQ(outcome.found, 1);
}

TEST(ScanFile, TakesOutARealBitmapUpToItsDeclaredSize) {
  const fs::path suite = fs::path(ZENPIKO_TESTDATA) / "g" / "pal4.bmp";
  if (!fs::exists(suite)) GTEST_SKIP() << "no " << suite;
  TempDir dir;
  Bytes data = ReadFile(suite);
  ASSERT_GT(data.size(), 54u);
  const Bytes original = data;
  data.resize(data.size() + 100, 0xEE);  // trailing bytes that belong to no picture
  const std::string path = dir.Write("pal4.bin", data);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(ReadFile(dir.path() / "pal4000.BMP"), original);
  EXPECT_EQ(view.lines, std::vector<std::string>{Line("pal4000.BMP", original).substr(5)});
}

TEST(ScanFile, FindsBitmapsBackToBackAndSwitchesTheEyesBetweenThem) {
  TempDir dir;
  const Bytes first = MakeBitmap(3, 1, 24, 0xAA);
  const Bytes second = MakeBitmap(8, 2, 4, 0xBB);
  Bytes data = first;
  Append(data, second);
  const std::string path = dir.Write("ab.exe", data);
  RecordingView view;
  ScanFile(view, path);

  // The first byte after a picture switches the eyes before anything else.
  EXPECT_EQ(view.ops, Concat({Opening(path), {Line("ab000.BMP", first)}, kToLeft, {Line("ab001.BMP", second)},
                              Closing(true)}));
  EXPECT_EQ(ReadFile(dir.path() / "ab000.BMP"), first);
  EXPECT_EQ(ReadFile(dir.path() / "ab001.BMP"), second);
  EXPECT_EQ(ResultText, "2枚のＢＭＰ画像を取り出しました");
}

TEST(ScanFile, NeverLooksInsideThePixelBytesOfAFoundBitmap) {
  TempDir dir;
  const Bytes inner = MakeBitmap(3, 1, 24, 0x22);
  Bytes outer = MakeBitmap(16, 4, 8, 0x33);  // 64 pixel bytes, room for the inner one
  std::copy(inner.begin(), inner.end(), outer.begin() + 54);
  const std::string path = dir.Write("nest.dat", outer);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(view.lines.size(), 1u);
  EXPECT_EQ(ReadFile(dir.path() / "nest000.BMP"), outer);
  EXPECT_FALSE(fs::exists(dir.path() / "nest001.BMP"));
}

TEST(ScanFile, KeepsTheShortFileWhenTheInputEndsInsideAPicture) {
  TempDir dir;
  Bytes bmp = MakeBitmap(10, 10, 24);
  bmp.resize(100);  // declares 374 bytes
  const std::string path = dir.Write("cut.bmp", bmp);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(ReadFile(dir.path() / "cut000.BMP"), bmp);
  EXPECT_EQ(ResultCount, 1);
}

TEST(ScanFile, FindsAHeaderThatBeginsInsideThePreviousOne) {
  // The window is not cleared after a picture: its header stays in it, and a header whose
  // first bytes are the end of that one is found once its remaining bytes have been read.
  const Bytes second = MakeBitmap(3, 1, 24, 0x44);
  HeaderFields f{2, 2, 24, 54, 2 * 2 * 4 + 54};
  Bytes first = MakeHeader(f);
  constexpr std::size_t kShared = 6;  // biClrImportant and two bytes before it: not tested by either mode
  std::copy(second.begin(), second.begin() + kShared, first.end() - kShared);
  first.resize(static_cast<std::size_t>(f.fileSize), 0x55);

  Bytes data = first;
  data.insert(data.end(), second.begin() + kShared, second.end());
  TempDir dir;
  const std::string path = dir.Write("in.bin", data);
  for (bool extended : {false, true}) {
    RecordingView view;
    view.extended = extended;
    ScanFile(view, path);
    EXPECT_EQ(view.lines.size(), 2u) << "extended " << extended;
    EXPECT_EQ(ReadFile(dir.path() / "in000.BMP"), first);
    EXPECT_EQ(ReadFile(dir.path() / "in001.BMP"), second) << "its header was never contiguous in the input";
  }
}

TEST(ScanFile, SwitchesTheEyesEvery20001BytesRead) {
  struct Case {
    std::size_t size;
    Ops switches;
  };
  const Case cases[] = {
      {0, {}},
      {20000, {}},
      {20001, kToLeft},
      {40001, kToLeft},
      {40002, Concat({kToLeft, kToRight})},
      {2 * 20001 + 5, Concat({kToLeft, kToRight})},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.Write("z.bin", Bytes(c.size, 'B'));  // "BB..." is never "BM"
    RecordingView view;
    ScanFile(view, path);
    EXPECT_EQ(view.ops, Concat({Opening(path), c.switches, Closing(false)})) << c.size << " bytes";
    EXPECT_EQ(ResultText, "ＢＭＰ画像は見つかりませんでした");
    EXPECT_EQ(ResultCount, 0);
  }
}

TEST(ScanFile, SwitchesTheEyesBeforeReportingAHeaderThatEndsOnTheSwitchingByte) {
  TempDir dir;
  const Bytes bmp = MakeBitmap(3, 1, 24);
  Bytes data(20001 - 54, 0);
  Append(data, bmp);  // the header's last byte is byte 20001
  const std::string path = dir.Write("s.bin", data);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(view.ops, Concat({Opening(path), kToLeft, {Line("s000.BMP", bmp)}, Closing(true)}));
}

TEST(ScanFile, PresentsTheResultByWhichWindowsAreUp) {
  TempDir dir;
  const std::string path = dir.Write("p.bin", MakeBitmap(3, 1, 24));
  const Ops ending = {"hide win", "hide lose", "show normal"};

  RecordingView commandLine;  // before the main window is on the screen
  commandLine.mainVisible = false;
  ScanFile(commandLine, path);
  const Ops expectCommandLine = Concat({{"visible? main", "show window main",
                                         "message 1枚のＢＭＰ画像を取り出しました | 調査結果"},
                                        ending});
  EXPECT_EQ(Ops(commandLine.ops.end() - 6, commandLine.ops.end()), expectCommandLine);

  RecordingView resultUp;  // a result window still up keeps its result
  resultUp.resultVisible = true;
  ScanFile(resultUp, path);
  EXPECT_EQ(Ops(resultUp.ops.end() - 5, resultUp.ops.end()), Concat({{"visible? main", "visible? result"}, ending}));
}

TEST(ScanFile, DoesNothingButClearWhenTheFileCannotBeOpened) {
  TempDir dir;
  const std::string earlier = dir.Write("e.bin", MakeBitmap(3, 1, 24));
  RecordingView first;
  ScanFile(first, earlier);
  for (const std::string& path : {(dir.path() / "missing.exe").string(), dir.path().string()}) {
    RecordingView view;
    const ScanOutcome outcome = ScanFile(view, path);
    EXPECT_EQ(view.ops, (Ops{"clear", "repaint"})) << path;
    EXPECT_FALSE(outcome.opened);
    EXPECT_FALSE(outcome.openError.empty());
    EXPECT_EQ(ResultText, "1枚のＢＭＰ画像を取り出しました") << "the previous result stays";
  }
}

TEST(ScanFile, EmptiesAnOlderLongerPictureOfTheSameName) {
  TempDir dir;
  dir.Write("o000.BMP", Bytes(5000, 0x77));
  const Bytes bmp = MakeBitmap(3, 1, 24);
  const std::string path = dir.Write("o.bin", bmp);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(ReadFile(dir.path() / "o000.BMP"), bmp);
}

// A picture that cannot be written is still skipped, reported as not written and not counted;
// the next picture goes on as if it had been written.
TEST(ScanFile, GoesOnPastAPictureThatCannotBeWritten) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> blockFirstOutput;  // in the way of x000.BMP
  };
  const Case cases[] = {
      {"a directory of that name", [](const TempDir& d) { fs::create_directory(d.path() / "x000.BMP"); }},
      {"a link to the scanned file", [](const TempDir& d) { fs::create_symlink(d.path() / "x.bin", d.path() / "x000.BMP"); }},
      {"a full disk", [](const TempDir& d) { fs::create_symlink("/dev/full", d.path() / "x000.BMP"); }},
  };
  const Bytes inner = MakeBitmap(3, 1, 24, 0x01);
  Bytes first = MakeBitmap(16, 8, 8, 0x02);  // 128 pixel bytes
  std::copy(inner.begin(), inner.end(), first.begin() + 60);  // must stay unseen
  const Bytes second = MakeBitmap(8, 2, 4, 0x03);
  Bytes data = first;
  Append(data, second);

  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.Write("x.bin", data);
    c.blockFirstOutput(dir);
    RecordingView view;
    const ScanOutcome outcome = ScanFile(view, path);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(view.lines, (std::vector<std::string>{Line("x000.BMP", first).substr(5), "x000.BMPは書き込めませんでした",
                                                    Line("x001.BMP", second).substr(5)}));
    EXPECT_EQ(ReadFile(dir.path() / "x001.BMP"), second);
    EXPECT_EQ(ReadFile(path), data) << "the scanned file is never touched";
    EXPECT_EQ(ResultCount, 1);
    EXPECT_EQ(ResultText, "1枚のＢＭＰ画像を取り出しました（1枚は書き込めませんでした）");
    EXPECT_EQ(outcome.notWritten, 1);
    EXPECT_EQ(view.ops[view.ops.size() - 7], "show win");
  }
  // After a full disk nothing partly written is left behind.
  TempDir dir;
  const std::string path = dir.Write("x.bin", data);
  fs::create_symlink("/dev/full", dir.path() / "x000.BMP");
  RecordingView view;
  ScanFile(view, path);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "x000.BMP")));
}

TEST(ScanFile, NeverOverwritesTheFileBeingScanned) {
  // Scanning GAME000.BMP names its first picture GAME000.BMP again.
  TempDir dir;
  const Bytes bmp = MakeBitmap(3, 1, 24);
  const std::string path = dir.Write("GAME000.BMP", bmp);
  RecordingView view;
  ScanFile(view, path);
  EXPECT_EQ(ReadFile(path), bmp);
  EXPECT_EQ(view.lines.back(), "GAME000.BMPは書き込めませんでした");
  EXPECT_EQ(ResultCount, 0);
  EXPECT_EQ(ResultText, "0枚のＢＭＰ画像を取り出しました（1枚は書き込めませんでした）");
  EXPECT_EQ(view.ops[view.ops.size() - 7], "show lose");
}

}  // namespace
