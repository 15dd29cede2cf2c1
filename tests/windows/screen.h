// What the tests read off the screen, and how they answer a modal box as a person would.
#pragma once

#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/vcl.h"

// Polls `find` until it gives a window or `ms` milliseconds pass; null then.
HWND WaitFor(const std::function<HWND()>& find, int ms = 15000);
bool WaitUntil(const std::function<bool()>& done, int ms = 15000);
// A visible dialog-class top-level window with this caption.
HWND FindDialog(std::string_view caption);
std::string WindowText(HWND window);
// All descendants of `parent` of one window class.
std::vector<HWND> Descendants(HWND parent, const char* windowClass);

struct BoxSeen {
  bool found = false;
  std::string text;
  HWND owner = nullptr;
  bool stopIcon = false;
  std::vector<bool> othersEnabled;  // the windows named to AnswerBox, while the box was up
};

// On another thread: waits for the box captioned `caption`, reads it, presses its OK button,
// then runs `after` (on that thread).
std::future<BoxSeen> AnswerBox(std::string caption, std::vector<HWND> others = {},
                               std::function<void()> after = {});

// 32-bit pixels, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> rgb;
  COLORREF At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// What a window shows in `area` of its client area, read back through its DC.
Pixels Capture(HWND window, const RECT& area);
Pixels PicturePixels(const TPicture& picture);
// Pixels where the picture and what the window shows at the image's place differ.
int DifferencesFromPicture(const TImage& image);

// A form built from description text, for forms the program does not have.
class TTestForm : public TForm {
 public:
  TTestForm(std::string_view description, THandlers handlers)
      : TForm(Application, ParseFormDescription(description), handlers) {}
};
