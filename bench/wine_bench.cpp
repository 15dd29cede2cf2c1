// wine_bench --rounds=N FILE: times scans of FILE in the Windows program's own main window,
// beside the same scan with no window and beside a window painted at every switch of the eyes,
// interleaved, and prints medians, MB/s and the paints each scan cost.
//
// The rounds come first: the main window scans the program's first argument as it is built,
// and "--rounds=N" is no file it can open.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "finder/quiet_view.h"
#include "finder/scan.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace {

using Clock = std::chrono::steady_clock;

// The main window's painting, counted on its way in.
long gPaints = 0;
WNDPROC gFormProc = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PAINT) ++gPaints;
  return CallWindowProcA(gFormProc, window, message, w, l);
}

// The main window as it would be if every switch of the eyes marked their areas and painted them.
class PaintedAtEverySwitch final : public ScanView {
 public:
  explicit PaintedAtEverySwitch(TForm1& form) : form_(form) {}
  void ClearReport() override { form_.ClearReport(); }
  void AddReportLine(std::string_view line) override { form_.AddReportLine(line); }
  void SetPathCaption(std::string_view path) override { form_.SetPathCaption(path); }
  void SetEyeVisible(Eye eye, bool visible) override {
    TImage* const images[] = {form_.Image_normal, form_.Image_left, form_.Image_right, form_.Image_win, form_.Image_lose};
    images[static_cast<int>(eye)]->SetVisible(visible);
  }
  bool ExtendedMode() override { return form_.ExtendedMode(); }
  void RepaintNow() override { form_.Update(); }
  bool IsVisible(Window window) override { return form_.IsVisible(window); }
  void Show(Window window) override { form_.Show(window); }
  void ShowMessage(std::string_view text, std::string_view caption) override { form_.ShowMessage(text, caption); }

 private:
  TForm1& form_;
};

struct Contender {
  const char* what;
  std::function<void()> run;
  std::vector<double> seconds;
  std::vector<long> paints;
};

template <typename T>
T Median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]).rfind("--rounds=", 0) != 0) {
    std::fprintf(stderr, "usage: wine_bench --rounds=N FILE\n");
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[1] + 9));
  const std::string path = argv[2];

  Application->Initialize();
  Application->CreateForm(Form1);
  Application->CreateForm(Form2);
  Application->ProcessMessages();
  gFormProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Form1->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));

  QuietView quiet;
  PaintedAtEverySwitch everySwitch(*Form1);
  std::vector<Contender> contenders = {
      {"no window (the finder alone)", [&] { ScanFile(quiet, path); }, {}, {}},
      {"main window, painted at every switch", [&] { ScanFile(everySwitch, path); }, {}, {}},
      {"main window as built", [&] { ScanFile(*Form1, path); }, {}, {}},
  };
  for (int r = 0; r <= rounds; ++r) {  // round 0 warms the page cache and the window
    for (Contender& c : contenders) {
      Application->ProcessMessages();
      gPaints = 0;
      const auto start = Clock::now();
      c.run();
      const double s = std::chrono::duration<double>(Clock::now() - start).count();
      if (r == 0) continue;
      c.seconds.push_back(s);
      c.paints.push_back(gPaints);
    }
  }

  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  const double bytes = static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  std::printf("%s (%.0f MiB), %d rounds, medians\n", path.c_str(), bytes / (1 << 20), rounds);
  const double base = Median(contenders.front().seconds);
  for (const Contender& c : contenders) {
    const double m = Median(c.seconds);
    std::printf("  %-38s %8.3f s  %8.1f MB/s  %5.2f x  %7ld paints\n", c.what, m, bytes / 1e6 / m, m / base,
                Median(c.paints));
  }
  return 0;
}
