#include "tests/scan_model.h"

#include <cstdint>
#include <cstdio>

#include "finder/header.h"
#include "finder/names.h"
#include "finder/scan.h"
#include "platform/platform.h"

void ModelScanFile(ScanView& view, const std::string& path) {
  view.ClearReport();
  view.RepaintNow();
  const ScanNames names = DeriveNames(path, SystemPathRules());
  int ImageCount = 0, PaceCounter = 0, EyeToggle = 0;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return;
  std::setvbuf(in, nullptr, _IOFBF, 512);
  ClearHeaderWindow();
  view.SetEyeVisible(Eye::Normal, false);
  view.SetEyeVisible(Eye::Right, true);
  view.SetPathCaption(path);
  view.RepaintNow();
  const bool extended = view.ExtendedMode();

  for (int c; (c = std::fgetc(in)) != EOF;) {
    if (++PaceCounter > 20000) {
      EyeToggle ^= 1;
      if (EyeToggle == 1) {
        view.SetEyeVisible(Eye::Left, true);
        view.SetEyeVisible(Eye::Right, false);
      } else {
        view.SetEyeVisible(Eye::Left, false);
        view.SetEyeVisible(Eye::Right, true);
      }
      view.RepaintNow();
      PaceCounter = 0;
    }
    PushHeaderByte(static_cast<std::uint8_t>(c));
    DecodeHeader();
    if (IsBitmapHeader(extended) != 0) continue;

    ReportBitmap(view, ReportName(names, ImageCount));
    std::FILE* out = std::fopen(OutputPath(names, ImageCount).c_str(), "wb");
    std::fwrite(HeaderWindow.data(), 1, HeaderWindow.size(), out);
    const auto rest = static_cast<std::int32_t>(static_cast<std::uint32_t>(BitmapHeader.bfSize) - 54u);
    for (std::int32_t i = 0; i < rest; ++i) {
      const int d = std::fgetc(in);
      if (d == EOF) break;
      std::fputc(d, out);
    }
    std::fclose(out);
    ++ImageCount;
    PaceCounter += 20001;
  }
  std::fclose(in);
  view.SetEyeVisible(Eye::Left, false);
  view.SetEyeVisible(Eye::Right, false);

  ResultCount = ImageCount;
  ResultText = ImageCount > 0 ? FoundText(ImageCount, SystemTexts()) : NoneFoundText(SystemTexts());
  view.SetEyeVisible(ImageCount > 0 ? Eye::Win : Eye::Lose, true);
  if (view.IsVisible(Window::Main)) {
    if (!view.IsVisible(Window::Result)) view.Show(Window::Result);
  } else {
    view.Show(Window::Main);
    view.ShowMessage(ResultText, SystemTexts().resultCaption);
  }
  view.SetEyeVisible(Eye::Win, false);
  view.SetEyeVisible(Eye::Lose, false);
  view.SetEyeVisible(Eye::Normal, true);
}
