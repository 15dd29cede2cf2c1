#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "finder/names.h"
#include "finder/texts.h"
#include "fixtures.h"
#include "screen.h"

namespace {

// The program as built, in the form Windows programs under Wine name it.
std::string ProgramPath() {
  std::string path = "Z:" ZENPIKO_EXE;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

const char* const kMainCaption = "Zenpiko Ver1.1";
const char* const kResultCaption = "\x92\xb2\x8d\xb8\x8c\x8b\x89\xca";  // 調査結果

struct WindowSearch {
  DWORD pid;
  const char* caption;
  const char* windowClass;
  bool visibleOnly;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == s->pid && WindowText(w) == s->caption && std::string_view(cls) == s->windowClass &&
      (!s->visibleOnly || IsWindowVisible(w))) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// One run of Zenpiko.exe with a command line, seen from outside as a person sees it.
class Program {
 public:
  explicit Program(const std::string& arguments) {
    std::string line = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }

  bool Started() const { return started_; }
  HWND Find(const char* caption, const char* windowClass, bool visibleOnly) const {
    WindowSearch s{pi_.dwProcessId, caption, windowClass, visibleOnly};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  HWND WaitForMain() const {
    return WaitFor([this] { return Find(kMainCaption, "ZenpikoForm", true); });
  }
  HWND Box(int ms) const {
    return WaitFor([this] { return Find(kResultCaption, "#32770", true); }, ms);
  }
  // Closes the main window as its close box does; the exit code, or -1 if it does not end.
  int Close(HWND main) const {
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<int>(code);
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

// What the main window shows, read from outside.
struct MainSeen {
  bool centred = false;
  std::string report;
  bool checked = true;
  std::string eye;   // which picture the eyes' place shows, "" for none of them
  bool resultShown = true;
};

// GetWindowText does not ask another program's control for its text; WM_GETTEXT does.
std::string ForeignText(HWND w) {
  DWORD_PTR length = 0;
  SendMessageTimeoutA(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  text.resize(copied);
  return text;
}

RECT ClientOnScreen(HWND w, int left, int top, int width, int height) {
  POINT p{left, top};
  ClientToScreen(w, &p);
  return RECT{p.x, p.y, p.x + width, p.y + height};
}

MainSeen Look(const Program& program, HWND main) {
  MainSeen seen;
  RECT r;
  GetWindowRect(main, &r);
  seen.centred = r.left == (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 &&
                 r.top == (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  for (HWND edit : Descendants(main, "Edit")) seen.report = ForeignText(edit);
  for (HWND button : Descendants(main, "Button")) {
    if (WindowText(button) == "\x8a\x67\x92\xa3\x91\xce\x89\x9e") {  // 拡張対応
      seen.checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
  }
  // The pictures and labels have no windows: read the screen where they are drawn.
  const RECT eyes = ClientOnScreen(main, 96, 8, 100, 40);
  const Pixels shown = Capture(nullptr, eyes);
  for (const char* name : {"EYE_NORMAL", "EYE_LEFT", "EYE_RIGHT", "EYE_WIN", "EYE_LOSE"}) {
    TPicture picture;
    picture.LoadFromResource(name);
    if (PicturePixels(picture).rgb == shown.rgb) seen.eye = name;
  }
  seen.resultShown = program.Find(kResultCaption, "ZenpikoForm", true) != nullptr;
  return seen;
}

void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(500)); }

TEST(StartUp, WithoutArgumentsShowsTheEmptyWindowAtRest) {
  Program program("");
  ASSERT_TRUE(program.Started());
  const HWND main = program.WaitForMain();
  ASSERT_TRUE(main);
  Settle();
  const MainSeen seen = Look(program, main);
  EXPECT_TRUE(seen.centred);
  EXPECT_EQ(seen.report, "");
  EXPECT_FALSE(seen.checked);
  EXPECT_EQ(seen.eye, "EYE_NORMAL");
  EXPECT_FALSE(seen.resultShown);
  EXPECT_TRUE(program.Find(kResultCaption, "ZenpikoForm", false)) << "the result window exists, hidden";
  EXPECT_FALSE(program.Box(500));
  EXPECT_EQ(program.Close(main), 0);
}

struct ArgumentCase {
  const char* why;
  std::string arguments;   // after the program's own path; {dir} stands for the test's folder
  std::string text;        // the message box's text, "" for no box at all
  const char* eyesDuringBox;
  int reportLines;
  std::vector<const char*> made;     // output files that must exist afterwards
  std::vector<const char*> notMade;  // and those that must not
};

std::string Expand(std::string s, const std::string& dir) {
  for (std::size_t at; (at = s.find("{dir}")) != std::string::npos;) s.replace(at, 5, dir);
  return s;
}

TEST(StartUp, ScansTheFirstArgumentBeforeTheWindowIsOnTheScreen) {
  TempFolder folder("zenpiko-start");
  folder.Write("pics.bin", FileWithPictures(2));
  folder.Write("none.bin", "no picture in here");
  folder.Write("scnd.bin", FileWithPictures(1));
  folder.Write("othr.bin", FileWithPictures(1));
  folder.MakeFolder("with blanks");
  folder.Write("with blanks\\blnk.bin", FileWithPictures(3));
  // An unquoted path is cut at the blank: this is the file that then gets scanned.
  folder.Write("cut", FileWithPictures(1));
  folder.Write("cut here.bin", FileWithPictures(2));
  CopyFileA(ProgramPath().c_str(), (folder.Path() + "\\self.exe").c_str(), FALSE);

  const std::string found1 = FoundText(1, kShiftJisTexts);
  const std::string found2 = FoundText(2, kShiftJisTexts);
  const std::string found3 = FoundText(3, kShiftJisTexts);
  const ArgumentCase cases[] = {
      {"a file with pictures", "{dir}\\pics.bin", found2, "EYE_WIN", 2, {"pics000.BMP", "pics001.BMP"}, {}},
      {"a file with none", "{dir}\\none.bin", NoneFoundText(kShiftJisTexts), "EYE_LOSE", 0, {}, {"none000.BMP"}},
      {"a file that cannot be opened", "{dir}\\missing.bin", "", nullptr, 0, {}, {}},
      {"a quoted path with blanks", "\"{dir}\\with blanks\\blnk.bin\"", found3, "EYE_WIN", 3,
       {"with blanks\\blnk002.BMP"}, {}},
      {"an unquoted path with blanks", "{dir}\\cut here.bin", found1, "EYE_WIN", 1, {"cut000.BMP"}, {"cut 000.BMP"}},
      {"two arguments", "{dir}\\scnd.bin {dir}\\othr.bin", found1, "EYE_WIN", 1, {"scnd000.BMP"}, {"othr000.BMP"}},
      {"its own executable", "{dir}\\self.exe", FoundText(7, kShiftJisTexts), "EYE_WIN", 7, {"self006.BMP"}, {}},
  };
  for (const ArgumentCase& c : cases) {
    SCOPED_TRACE(c.why);
    Program program(Expand(c.arguments, folder.Path()));
    ASSERT_TRUE(program.Started());
    const HWND box = program.Box(c.text.empty() ? 3000 : 20000);
    if (c.text.empty()) {
      EXPECT_FALSE(box) << "no box when the file cannot be opened";
      const HWND main = program.WaitForMain();
      ASSERT_TRUE(main);
      Settle();
      const MainSeen seen = Look(program, main);
      EXPECT_TRUE(seen.centred);
      EXPECT_EQ(seen.report, "");
      EXPECT_EQ(seen.eye, "EYE_NORMAL");
      EXPECT_EQ(program.Close(main), 0);
      continue;
    }
    ASSERT_TRUE(box);
    std::string text;
    for (HWND s : Descendants(box, "Static")) {
      if (!WindowText(s).empty()) text = WindowText(s);
    }
    EXPECT_EQ(text, c.text);
    // Already up, centred and holding the finished report, the eyes showing the outcome.
    const HWND main = program.Find(kMainCaption, "ZenpikoForm", true);
    ASSERT_TRUE(main);
    EXPECT_EQ(GetWindow(box, GW_OWNER), GetWindow(main, GW_OWNER)) << "owned by the application's window";
    EXPECT_FALSE(IsWindowEnabled(main));
    Settle();
    MainSeen seen = Look(program, main);
    EXPECT_TRUE(seen.centred);
    EXPECT_EQ(seen.eye, c.eyesDuringBox);
    EXPECT_FALSE(seen.resultShown);
    int lines = 0;
    for (std::size_t at = 0; (at = seen.report.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, c.reportLines);

    // What the OK button sends its box when clicked.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // Any non-null handle ends the wait: HWND_DESKTOP is null.
    WaitFor([box] { return IsWindow(box) && IsWindowVisible(box) ? nullptr : GetDesktopWindow(); });
    Settle();
    seen = Look(program, main);
    EXPECT_EQ(seen.eye, "EYE_NORMAL") << "at rest once the box is closed";
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(seen.resultShown);
    EXPECT_EQ(program.Close(main), 0);
    for (const char* name : c.made) EXPECT_TRUE(folder.Exists(name)) << name;
    for (const char* name : c.notMade) EXPECT_FALSE(folder.Exists(name)) << name;
  }
}

}  // namespace
