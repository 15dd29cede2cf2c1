#include <gtest/gtest.h>

#include "finder/names.h"
#include "finder/scan.h"
#include "finder/texts.h"
#include "screen.h"
#include "ui/Unit2.h"

namespace {

class ResultWindow : public testing::Test {
 protected:
  void SetUp() override { Application->CreateForm(Form2); }
  void TearDown() override {
    delete Form2;
    Form2 = nullptr;
    ResultText.clear();
    ResultCount = 0;
  }

  // What a scan leaves behind before it shows the window.
  static void ShowResult(int count) {
    ResultCount = count;
    ResultText = count > 0 ? FoundText(count, kShiftJisTexts) : NoneFoundText(kShiftJisTexts);
    Form2->Show();
    Application->ProcessMessages();
  }

  static RECT WindowRect() {
    RECT r;
    GetWindowRect(Form2->Handle(), &r);
    return r;
  }
};

TEST_F(ResultWindow, IsHiddenUntilShown) {
  EXPECT_FALSE(Form2->Visible());
  EXPECT_FALSE(Form2->Image_win->Visible());
  EXPECT_FALSE(Form2->Image_lose->Visible());
  EXPECT_NE(Application->MainForm(), Form2);
}

TEST_F(ResultWindow, ShowsTheResultTextByteForByte) {
  ShowResult(12);
  // 12枚のＢＭＰ画像を取り出しました
  const std::string found =
      "12\x96\x87\x82\xcc\x82\x61\x82\x6c\x82\x6f\x89\xe6\x91\x9c\x82\xf0\x8e\xe6\x82\xe8\x8f\x6f\x82\xb5\x82\xdc"
      "\x82\xb5\x82\xbd";
  EXPECT_EQ(Form2->Label1->Caption(), found);
  EXPECT_EQ(WindowText(Form2->Handle()), "\x92\xb2\x8d\xb8\x8c\x8b\x89\xca");  // 調査結果

  // A text whose second bytes are a backslash, and an ampersand, arrive unchanged and drawn.
  Form2->Close();
  ResultText = "\x83\x5c\x95\x5c & \\";  // ソ表 & backslash
  ResultCount = 3;
  Form2->Show();
  Application->ProcessMessages();
  EXPECT_EQ(Form2->Label1->Caption(), ResultText);
  const Pixels label = Capture(Form2->Handle(), Form2->Label1->BoundsRect());
  int dark = 0;
  for (COLORREF c : label.rgb) dark += GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
  EXPECT_GT(dark, 20) << "the label's text is not on the screen";
}

struct EyesCase {
  int count;
  bool happy;
};

TEST_F(ResultWindow, ShowsTheEyesThatMatchTheCount) {
  const EyesCase cases[] = {
      {0, false},
      {1, true},
      {12, true},
      {-1, false},  // not a count a scan gives, but not "found" either
  };
  for (const EyesCase& c : cases) {
    SCOPED_TRACE(c.count);
    ShowResult(c.count);
    EXPECT_EQ(Form2->Image_win->Visible(), c.happy);
    EXPECT_EQ(Form2->Image_lose->Visible(), !c.happy);
    // On the screen: exactly the pixels of the expected picture, at the control's top-left.
    EXPECT_EQ(DifferencesFromPicture(c.happy ? *Form2->Image_win : *Form2->Image_lose), 0);
    Form2->Close();
  }
}

TEST_F(ResultWindow, StaysOnTopOfOtherWindows) {
  ShowResult(1);
  EXPECT_TRUE(GetWindowLongPtrA(Form2->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ResultWindow, IsCentredOnTheFirstShowingOnlyAndKeepsItsPlace) {
  ShowResult(12);
  RECT r = WindowRect();
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);

  SetWindowPos(Form2->Handle(), nullptr, 17, 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(Form2->Handle(), WM_CLOSE, 0, 0);
  ShowResult(0);
  r = WindowRect();
  EXPECT_EQ(r.left, 17);
  EXPECT_EQ(r.top, 23);
  // Filled again on the new showing.
  EXPECT_EQ(Form2->Label1->Caption(), NoneFoundText(kShiftJisTexts));
  EXPECT_TRUE(Form2->Image_lose->Visible());
}

TEST_F(ResultWindow, OkAndTheCloseBoxOnlyHideIt) {
  struct Closer {
    const char* how;
    std::function<void()> close;
  };
  const Closer closers[] = {
      {"OK button", [] { SendMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0); }},
      {"close box", [] { SendMessageA(Form2->Handle(), WM_CLOSE, 0, 0); }},
  };
  for (const Closer& c : closers) {
    SCOPED_TRACE(c.how);
    ShowResult(12);
    ASSERT_TRUE(Form2->Visible());
    const std::string text = Form2->Label1->Caption();
    c.close();
    Application->ProcessMessages();
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(IsWindow(Form2->Handle()));
    EXPECT_EQ(Form2->Label1->Caption(), text);
  }
}

TEST_F(ResultWindow, KeepsItsStoredLayoutAtNinetySixDotsPerInch) {
  WindowDC screen(nullptr);
  if (GetDeviceCaps(screen.get(), LOGPIXELSY) != 96) GTEST_SKIP() << "screen is not at 96 dpi";
  RECT r = WindowRect();
  EXPECT_EQ(r.right - r.left, 273);
  EXPECT_EQ(r.bottom - r.top, 112);
  GetWindowRect(Form2->Button1->Handle(), &r);
  MapWindowPoints(nullptr, Form2->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 152);
  EXPECT_EQ(r.top, 12);
  EXPECT_EQ(r.right - r.left, 81);
  EXPECT_EQ(r.bottom - r.top, 33);
}

}  // namespace
