// Fixtures shared by the finder's tests: headers built byte by byte, a recording view, temporary folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "finder/view.h"

using Bytes = std::vector<std::uint8_t>;

struct HeaderFields {
  std::int32_t width = 3;
  std::int32_t height = 1;
  std::uint16_t bitCount = 24;
  std::int32_t offBits = 54;
  std::int32_t fileSize = 66;  // 3 words x 1 row x 4 + 54
  std::uint16_t planes = 1;
  std::int32_t infoSize = 40;
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
};

// The 54 header bytes, little-endian, in file order.
Bytes MakeHeader(const HeaderFields& f);
// A header whose declared size is right, followed by that many bytes of `fill`.
Bytes MakeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bitCount, std::uint8_t fill = 0x11);

void Append(Bytes& to, const Bytes& from);

// Every operation a scan performs on its view, one string each, in order.
class RecordingView : public ScanView {
 public:
  std::vector<std::string> ops;
  std::vector<std::string> lines;  // the report as it stands
  bool extended = false;
  bool mainVisible = true;
  bool resultVisible = false;

  void ClearReport() override;
  void AddReportLine(std::string_view line) override;
  void SetPathCaption(std::string_view path) override;
  void SetEyeVisible(Eye eye, bool visible) override;
  bool ExtendedMode() override;
  void RepaintNow() override;
  bool IsVisible(Window window) override;
  void Show(Window window) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
};

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string Write(const std::string& name, const Bytes& data) const;

 private:
  std::filesystem::path path_;
};

Bytes ReadFile(const std::filesystem::path& path);
// The files of a folder except `skip`, by name, with their bytes.
std::vector<std::pair<std::string, Bytes>> FolderContents(const std::filesystem::path& dir, const std::string& skip);
