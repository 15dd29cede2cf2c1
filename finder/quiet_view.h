// A view that shows nothing, for scans whose outcome and files are all that is wanted.
#pragma once

#include "finder/view.h"

class QuietView final : public ScanView {
 public:
  void ClearReport() override {}
  void AddReportLine(std::string_view) override {}
  void SetPathCaption(std::string_view) override {}
  void SetEyeVisible(Eye, bool) override {}
  bool ExtendedMode() override { return false; }
  void RepaintNow() override {}
  // As if the main window were up with the result window open: nothing is shown, nothing waits.
  bool IsVisible(Window) override { return true; }
  void Show(Window) override {}
  void ShowMessage(std::string_view, std::string_view) override {}
};
