// The command-line scanner as a user runs it: its streams, its exit status, its files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "finder/header.h"
#include "finder/names.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string Text(const fs::path& p) {
  const Bytes b = ReadFile(p);
  return std::string(b.begin(), b.end());
}

CliRun Zenpiko(const TempDir& dir, const std::vector<std::string>& args) {
  std::string command = Quote(ZENPIKO_CLI);
  for (const std::string& a : args) command += " " + Quote(a);
  command += " >" + Quote((dir.path() / "stdout").string()) + " 2>" + Quote((dir.path() / "stderr").string());
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Text(dir.path() / "stdout"), Text(dir.path() / "stderr")};
  fs::remove(dir.path() / "stdout");
  fs::remove(dir.path() / "stderr");
  return run;
}

std::string LineFor(const std::string& name, const Bytes& bmp) {
  return ReportLine(name, DecodeHeaderBytes(bmp.data()), kUtf8Texts) + "\n";
}

TEST(Cli, PrintsEachFilesReportThenItsResultAndGoesOnPastOneItCannotOpen) {
  TempDir dir;
  const Bytes a = MakeBitmap(3, 1, 24), b = MakeBitmap(8, 2, 4);
  Bytes two = a;
  Append(two, b);
  const std::string first = dir.Write("first.exe", two);
  const std::string none = dir.Write("none.dat", Bytes(300, 7));
  const std::string missing = (dir.path() / "missing.exe").string();

  const CliRun run = Zenpiko(dir, {first, missing, none});
  EXPECT_EQ(run.out, LineFor("firs000.BMP", a) + LineFor("firs001.BMP", b) +
                         "2枚のＢＭＰ画像を取り出しました\nＢＭＰ画像は見つかりませんでした\n");
  EXPECT_EQ(run.err, "zenpiko: cannot open " + missing + ": No such file or directory\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadFile(dir.path() / "firs001.BMP"), b);

  const CliRun again = Zenpiko(dir, {first});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.err, "") << "no progress when stderr is not a terminal";
}

TEST(Cli, ExtendedModeAcceptsAPaddedBitmap) {
  TempDir dir;
  HeaderFields padded;
  padded.fileSize = 68;
  Bytes bmp = MakeHeader(padded);
  bmp.resize(68, 1);
  const std::string path = dir.Write("pad.bin", bmp);
  EXPECT_EQ(Zenpiko(dir, {path}).out, "ＢＭＰ画像は見つかりませんでした\n");
  const CliRun run = Zenpiko(dir, {"--extended", path});
  EXPECT_EQ(run.out, LineFor("pad000.BMP", bmp) + "1枚のＢＭＰ画像を取り出しました\n");
  EXPECT_EQ(ReadFile(dir.path() / "pad000.BMP"), bmp);
}

TEST(Cli, ReportsUsageErrors) {
  TempDir dir;
  const struct {
    std::vector<std::string> args;
    int status;
    bool usageOnStdout;
  } cases[] = {
      {{"--help"}, 0, true},
      {{"--bogus", "file"}, 2, false},
      {{}, 2, false},
      {{"--extended"}, 2, false},
  };
  for (const auto& c : cases) {
    const CliRun run = Zenpiko(dir, c.args);
    EXPECT_EQ(run.status, c.status) << testing::PrintToString(c.args);
    EXPECT_NE((c.usageOnStdout ? run.out : run.err).find("usage: zenpiko"), std::string::npos);
    if (!c.usageOnStdout) {
      EXPECT_EQ(run.out, "");
    }
  }
}

TEST(Cli, ExitsOneWhenAPictureCouldNotBeWritten) {
  TempDir dir;
  const Bytes bmp = MakeBitmap(3, 1, 24);
  const std::string path = dir.Write("GAME000.BMP", bmp);
  const CliRun run = Zenpiko(dir, {path});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, LineFor("GAME000.BMP", bmp) + "GAME000.BMPは書き込めませんでした\n" +
                         "0枚のＢＭＰ画像を取り出しました（1枚は書き込めませんでした）\n");
  EXPECT_EQ(ReadFile(path), bmp);
}

TEST(Cli, FindsPicturesPastFourGibibytes) {
  TempDir dir;
  const Bytes a = MakeBitmap(3, 1, 24, 0xA1), b = MakeBitmap(5, 3, 8, 0xB2);
  const std::string path = (dir.path() / "huge.img").string();
  {
    std::ofstream f(path, std::ios::binary);  // sparse: only the pictures take space
    f.seekp((std::streamoff{4} << 30) + 12345);
    f.write(reinterpret_cast<const char*>(a.data()), static_cast<std::streamsize>(a.size()));
    f.seekp((std::streamoff{4} << 30) + 200000);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  const CliRun run = Zenpiko(dir, {path});
  EXPECT_EQ(run.out, LineFor("huge000.BMP", a) + LineFor("huge001.BMP", b) + "2枚のＢＭＰ画像を取り出しました\n");
  EXPECT_EQ(ReadFile(dir.path() / "huge001.BMP"), b);
}

}  // namespace
