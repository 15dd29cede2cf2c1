#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "finder/scan.h"
#include "finder/names.h"
#include "finder/texts.h"
#include "fixtures.h"
#include "screen.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace {

// The main window inside this test program, driven through its window procedure. Its
// construction scans this program's first argument (a GoogleTest option), which it cannot open.
class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
    ResultText.clear();
    ResultCount = 0;
  }

  // What the shell hands over: a DROPFILES block with ANSI names, each ended by a zero, and one
  // more zero at the end. The window releases it.
  static HGLOBAL DropOf(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& p : paths) names += p + '\0';
    names += '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(block);
    return block;
  }

  static void Drop(const std::vector<std::string>& paths) {
    SendMessageA(Form1->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(paths)), 0);
  }

  static std::string Report() { return Form1->Memo1->Lines().Text(); }

  // The name at the start of each report line.
  static std::vector<std::string> ReportNames() {
    std::vector<std::string> names;
    const std::string text = Report();
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        names.push_back("unended line: " + text.substr(at));
        break;
      }
      names.push_back(text.substr(at, text.find(' ', at) - at));
      at = end + 2;
    }
    return names;
  }

  static std::vector<TImage*> VisibleEyes() {
    std::vector<TImage*> eyes;
    for (TImage* i : {Form1->Image_left, Form1->Image_right, Form1->Image_normal, Form1->Image_lose, Form1->Image_win}) {
      if (i->Visible()) eyes.push_back(i);
    }
    return eyes;
  }
};

TEST_F(MainWindow, ComesUpCentredAndEmptyAndAcceptsDroppedFiles) {
  EXPECT_TRUE(Form1->Visible());
  RECT r;
  GetWindowRect(Form1->Handle(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
  EXPECT_TRUE(GetWindowLongPtrA(Form1->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(GetWindowLongPtrA(Form2->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(VisibleEyes(), std::vector<TImage*>{Form1->Image_normal});
  EXPECT_EQ(DifferencesFromPicture(*Form1->Image_normal), 0);
  EXPECT_FALSE(Form1->CheckBox_mode->Checked());
  EXPECT_EQ(Form1->Label_fname->Caption(), "");
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(MainWindow, ScansThreeDroppedFilesInTheShellsOrder) {
  TempFolder folder("zenpiko-drop");
  const std::string first = folder.Write("frst.bin", FileWithPictures(2));
  const std::string second = folder.Write("scnd.bin", FileWithPictures(1));
  const std::string third = folder.Write("thrd.bin", FileWithPictures(3));
  Drop({first, second, third});

  // The report and the path are the third file's.
  EXPECT_EQ(ReportNames(), (std::vector<std::string>{"thrd000.BMP", "thrd001.BMP", "thrd002.BMP"}));
  EXPECT_EQ(Form1->Label_fname->Caption(), third);
  for (const char* name : {"frst000.BMP", "frst001.BMP", "scnd000.BMP", "thrd000.BMP", "thrd001.BMP", "thrd002.BMP"}) {
    EXPECT_TRUE(folder.Exists(name)) << name;
  }
  EXPECT_FALSE(folder.Exists("frst002.BMP"));
  // Shown after the first scan and left as it was by the other two.
  EXPECT_TRUE(Form2->Visible());
  EXPECT_EQ(Form2->Label1->Caption(), FoundText(2, kShiftJisTexts));
  EXPECT_EQ(ResultText, FoundText(3, kShiftJisTexts));
  // Back at rest, on the screen too.
  EXPECT_EQ(VisibleEyes(), std::vector<TImage*>{Form1->Image_normal});
  Application->ProcessMessages();
  EXPECT_EQ(DifferencesFromPicture(*Form1->Image_normal), 0);
}

TEST_F(MainWindow, ADropWhileTheBoxIsCheckedScansInExtendedMode) {
  TempFolder folder("zenpiko-extended");
  const std::string path = folder.Write("extd.bin", "leading bytes" + ExtendedOnlyBitmap());

  Drop({path});
  EXPECT_EQ(ResultCount, 0) << "the normal mode must not take this header";
  EXPECT_FALSE(folder.Exists("extd000.BMP"));

  // As a person would: a click on the box, then another drop.
  SendMessageA(Form1->CheckBox_mode->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(Form1->CheckBox_mode->Checked());
  Drop({path});
  EXPECT_EQ(ResultCount, 1);
  EXPECT_TRUE(folder.Exists("extd000.BMP"));
  EXPECT_TRUE(Form1->CheckBox_mode->Checked()) << "the scan keeps the user's choice";
}

TEST_F(MainWindow, ADroppedNameLongerThanTheOldBufferArrivesWhole) {
  TempFolder folder("zenpiko-long");
  // 258 bytes: past a 256-byte buffer, within what the system's ANSI file calls open.
  const std::string name = std::string(258 - folder.Path().size() - 5, 'n') + ".bin";
  const std::string path = folder.Write(name, FileWithPictures(1));
  ASSERT_EQ(path.size(), 258u);
  Drop({path});
  EXPECT_EQ(Form1->Label_fname->Caption(), path);
  EXPECT_EQ(ResultCount, 1);
}

// Counts the WM_PAINT messages the main window receives while it lives.
class PaintCounter {
 public:
  explicit PaintCounter(HWND window) : window_(window) {
    counter_ = this;
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  ~PaintCounter() {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    counter_ = nullptr;
  }
  int Paints() const { return paints_; }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) ++counter_->paints_;
    return CallWindowProcA(counter_->previous_, w, m, wp, lp);
  }
  static inline PaintCounter* counter_ = nullptr;
  HWND window_;
  WNDPROC previous_;
  int paints_ = 0;
};

TEST_F(MainWindow, ALongScanPaintsAtMostOnceAFrameAndEndsPainted) {
  TempFolder folder("zenpiko-paint");
  // No picture in 8 MiB: the eyes switch every 20001 bytes, about 420 times.
  const std::string path = folder.Write("long.bin", std::string(8 << 20, '\0'));
  Form2->Show();  // up from an earlier scan: this one shows no window, which would mark the area
  Application->ProcessMessages();

  int paints = 0;
  std::chrono::steady_clock::duration took{};
  {
    const PaintCounter counter(Form1->Handle());
    const auto start = std::chrono::steady_clock::now();
    Drop({path});
    took = std::chrono::steady_clock::now() - start;
    paints = counter.Paints();
  }
  EXPECT_EQ(ResultCount, 0);
  // Painted when asked first, and then only once a frame has passed since the last paint
  // (a scan quicker than a frame may not paint at all; one more for anything the system sends).
  const auto frames = static_cast<int>(took / PaintPace::kFrame);
  EXPECT_LE(paints, 2 + frames) << "in " << std::chrono::duration<double>(took).count() << " s";
  // The eyes are left at rest and their area marked, so the message loop paints them.
  EXPECT_EQ(VisibleEyes(), std::vector<TImage*>{Form1->Image_normal});
  HRGN waiting = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(Form1->Handle(), waiting, FALSE);
  const RECT eyes = Form1->Image_normal->BoundsRect();
  EXPECT_TRUE(RectInRegion(waiting, &eyes));
  DeleteObject(waiting);
  Application->ProcessMessages();
  EXPECT_EQ(DifferencesFromPicture(*Form1->Image_normal), 0);
}

// Waits for this program's open dialog, then answers it on that thread with `answer`.
std::future<RECT> AnswerOpenDialog(std::function<void(HWND)> answer) {
  return std::async(std::launch::async, [answer = std::move(answer)] {
    RECT rect{};
    const HWND d = WaitFor([] {
      HWND w = GetForegroundWindow();
      char cls[16] = {};
      GetClassNameA(w, cls, sizeof cls);
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      return std::string_view(cls) == "#32770" && pid == GetCurrentProcessId() ? w : nullptr;
    });
    if (!d) return rect;
    Sleep(300);  // placed once fully built
    GetWindowRect(d, &rect);
    answer(d);
    return rect;
  });
}

void TypeAndConfirm(HWND dialog, const std::string& path) {
  for (HWND edit : Descendants(dialog, "Edit")) {
    if (IsWindowVisible(edit)) {
      SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      break;
    }
  }
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

TEST_F(MainWindow, TheOpenButtonScansTheChosenFileAndCancellingChangesNothing) {
  TempFolder folder("zenpiko-open");
  const std::string path = folder.Write("open.bin", FileWithPictures(2));

  auto chosen = AnswerOpenDialog([&](HWND d) { TypeAndConfirm(d, path); });
  SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0);
  const RECT r = chosen.get();
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3);
  EXPECT_EQ(Form1->Label_fname->Caption(), path);
  EXPECT_EQ(ResultCount, 2);
  EXPECT_TRUE(Form2->Visible());

  SendMessageA(Form1->CheckBox_mode->Handle(), BM_CLICK, 0, 0);
  const std::string report = Report();
  const std::string result = ResultText;
  auto cancelled = AnswerOpenDialog([](HWND d) { PostMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); });
  SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0);
  cancelled.get();
  EXPECT_EQ(Report(), report);
  EXPECT_EQ(Form1->Label_fname->Caption(), path);
  EXPECT_TRUE(Form1->CheckBox_mode->Checked());
  EXPECT_EQ(ResultText, result);
  EXPECT_EQ(ResultCount, 2);
  EXPECT_EQ(Form1->OpenDialog1->FileName, path);
}

}  // namespace
