#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "finder/scan.h"

namespace {

class SilentView : public ScanView {
 public:
  void ClearReport() override {}
  void AddReportLine(std::string_view) override {}
  void SetPathCaption(std::string_view) override {}
  void SetEyeVisible(Eye, bool) override {}
  bool ExtendedMode() override { return false; }
  void RepaintNow() override {}
  bool IsVisible(Window) override { return true; }
  void Show(Window) override {}
  void ShowMessage(std::string_view, std::string_view) override {}
};

// The pictures are stored whole, so the tool finds them in its own executable.
TEST(Resources, TheExecutableCarriesItsSevenEyePicturesWhole) {
  char self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  char temp[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string dir = std::string(temp) + "zenpiko-self-scan";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string copy = dir + "\\self.exe";
  ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));

  SilentView view;
  const ScanOutcome outcome = ScanFile(view, copy);
  EXPECT_EQ(outcome.found, 7);
  EXPECT_EQ(outcome.notWritten, 0);
  for (int i = 0; i < 7; ++i) {
    const std::string picture = dir + "\\self00" + std::to_string(i) + ".BMP";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExA(picture.c_str(), GetFileExInfoStandard, &data)) << picture;
    EXPECT_EQ(data.nFileSizeLow, 2198u) << picture;
    DeleteFileA(picture.c_str());
  }
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
