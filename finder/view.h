// What a scan needs of the window it reports to; nothing more.
#pragma once

#include <string_view>

enum class Eye { Normal, Left, Right, Win, Lose };
enum class Window { Main, Result };

class ScanView {
 public:
  virtual ~ScanView() = default;

  virtual void ClearReport() = 0;
  virtual void AddReportLine(std::string_view line) = 0;
  virtual void SetPathCaption(std::string_view path) = 0;
  // Only marks the picture for repainting; RepaintNow puts it on the screen.
  virtual void SetEyeVisible(Eye eye, bool visible) = 0;
  virtual bool ExtendedMode() = 0;
  virtual void RepaintNow() = 0;
  virtual bool IsVisible(Window window) = 0;
  // Makes the window visible and brings it to the front.
  virtual void Show(Window window) = 0;
  // Modal, information icon, OK only.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};
