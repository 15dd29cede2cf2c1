#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "finder/quiet_view.h"
#include "finder/scan.h"
#include "fixtures.h"
#include "vcl/vcl.h"

namespace {

// The pictures are stored whole, so the tool finds them in its own executable.
TEST(Resources, TheExecutableCarriesItsSevenEyePicturesWhole) {
  const TempFolder folder("zenpiko-self-scan");
  const std::string copy = folder.Path() + "\\self.exe";
  ASSERT_TRUE(CopyFileA(Application->ExeName().c_str(), copy.c_str(), FALSE));

  QuietView view;
  const ScanOutcome outcome = ScanFile(view, copy);
  EXPECT_EQ(outcome.found, 7);
  EXPECT_EQ(outcome.notWritten, 0);
  for (int i = 0; i < 7; ++i) {
    const std::string picture = folder.Path() + "\\self00" + std::to_string(i) + ".BMP";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExA(picture.c_str(), GetFileExInfoStandard, &data)) << picture;
    EXPECT_EQ(data.nFileSizeLow, 2198u) << picture;
  }
}

}  // namespace
