#include "screen.h"

#include <chrono>
#include <thread>

HWND WaitFor(const std::function<HWND()>& find, int ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = find()) != nullptr; }, ms);
  return found;
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

namespace {

struct DialogSearch {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM p) {
  auto* search = reinterpret_cast<DialogSearch*>(p);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string_view(cls) == "#32770" && IsWindowVisible(w) && WindowText(w) == search->caption) {
    search->found = w;
    return FALSE;
  }
  return TRUE;
}

struct ClassSearch {
  std::string windowClass;
  std::vector<HWND> found;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM p) {
  auto* search = reinterpret_cast<ClassSearch*>(p);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, search->windowClass.c_str()) == 0) search->found.push_back(w);
  return TRUE;
}

}  // namespace

HWND FindDialog(std::string_view caption) {
  DialogSearch search{std::string(caption)};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int n = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

std::vector<HWND> Descendants(HWND parent, const char* windowClass) {
  ClassSearch search{windowClass, {}};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::future<BoxSeen> AnswerBox(std::string caption, std::vector<HWND> others, std::function<void()> after) {
  return std::async(std::launch::async, [caption = std::move(caption), others = std::move(others),
                                         after = std::move(after)] {
    BoxSeen seen;
    const HWND box = WaitFor([&] { return FindDialog(caption); });
    if (box) {
      seen.found = true;
      seen.owner = GetWindow(box, GW_OWNER);
      for (HWND w : others) seen.othersEnabled.push_back(IsWindowEnabled(w) != FALSE);
      const HICON stop = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND));
      for (HWND s : Descendants(box, "Static")) {
        const std::string t = WindowText(s);
        if (!t.empty()) seen.text = t;
        if (reinterpret_cast<HICON>(SendMessageA(s, STM_GETICON, 0, 0)) == stop) seen.stopIcon = true;
      }
      PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      WaitUntil([&] { return !IsWindow(box); });
    }
    if (after) after();
    return seen;
  });
}

namespace {

// Copies `width` x `height` pixels from `source` at (x, y) into a 32-bit top-down DIB.
Pixels Read(HDC source, int x, int y, int width, int height) {
  Pixels p;
  p.width = width;
  p.height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  BitmapHandle dib(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDCHandle memory(CreateCompatibleDC(source));
  {
    SelectedObject selected(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
  }
  const auto* q = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) p.rgb.push_back(q[i] & 0xFFFFFF);
  return p;
}

}  // namespace

Pixels Capture(HWND window, const RECT& area) {
  WindowDC dc(window);
  return Read(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

Pixels PicturePixels(const TPicture& picture) {
  WindowDC screen(nullptr);
  MemoryDCHandle memory(CreateCompatibleDC(screen.get()));
  SelectedObject selected(memory.get(), picture.Bitmap());
  return Read(memory.get(), 0, 0, picture.Width(), picture.Height());
}

int DifferencesFromPicture(const TImage& image) {
  const Pixels want = PicturePixels(image.Picture());
  const RECT area{image.Left(), image.Top(), image.Left() + want.width, image.Top() + want.height};
  const Pixels got = Capture(image.Parent(), area);
  int differences = 0;
  for (std::size_t i = 0; i < want.rgb.size(); ++i) differences += want.rgb[i] != got.rgb[i];
  return differences;
}
