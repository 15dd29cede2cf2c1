#include <gtest/gtest.h>

#include "screen.h"
#include "vcl/vcl.h"

namespace {

// A shown form with two buttons: one whose handler throws, one that ends the loop.
constexpr std::string_view kThrowingForm = R"(Thrower form
  bounds = 100 100 300 120
  caption = "thrower"
Fail button
  bounds = 8 8 80 24
  caption = "fail"
  on_click = Fail
Stop button
  bounds = 100 8 80 24
  caption = "stop"
  on_click = Stop
)";

TEST(ErrorDisplay, AHandlerThatThrowsShowsTheErrorAndTheLoopGoesOn) {
  int failures = 0;
  TTestForm form(kThrowingForm, {{"Fail",
                                  [&] {
                                    ++failures;
                                    throw Exception("message");
                                  }},
                                 {"Stop", [] { Application->Terminate(); }}});
  form.Show();
  const HWND stop = form.Component<TButton>("Stop")->Handle();
  // The second click reaches the loop only if it went on after the error.
  auto box = AnswerBox(Application->Title(), {form.Handle()}, [stop] { PostMessageA(stop, BM_CLICK, 0, 0); });
  PostMessageA(form.Component<TButton>("Fail")->Handle(), BM_CLICK, 0, 0);
  Application->Run();

  const BoxSeen seen = box.get();
  ASSERT_TRUE(seen.found) << "no error box captioned with the application's title";
  EXPECT_EQ(seen.text, "message.");
  EXPECT_EQ(seen.owner, Application->Handle());
  EXPECT_TRUE(seen.stopIcon);
  EXPECT_EQ(seen.othersEnabled, std::vector<bool>{false});
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  EXPECT_EQ(failures, 1);
}

class TFailingCreate : public TForm {
 public:
  explicit TFailingCreate(TComponent* owner)
      : TForm(owner, ParseFormDescription("FailingCreate form\n  bounds = 10 10 200 100\n  visible = yes\n"
                                          "  on_create = FormCreate\n"),
              {{"FormCreate", [] { throw Exception("cannot start"); }}}) {}
};

TEST(ErrorDisplay, AnErrorInFormCreateIsShownAndTheFormStillComesUp) {
  auto box = AnswerBox(Application->Title());
  TFailingCreate* form = nullptr;
  Application->CreateForm(form);
  const BoxSeen seen = box.get();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(seen.text, "cannot start.");
  EXPECT_TRUE(form->Visible());
  delete form;
}

struct BadText {
  const char* text;
  const char* fault;  // part of the message that must name the fault
};

TEST(FormDescriptionText, RejectsMalformedTextNamingTheLine) {
  const BadText cases[] = {
      {"", "no components"},
      {"  caption = \"x\"\n", "line 1: a setting before the first component"},
      {"F form\n  caption = \"open\n", "line 2: text without its closing double quote"},
      {"F form\n  caption = \"a\" b\n", "line 2: something after the closing double quote"},
      {"F form\n  caption\n", "line 2: a setting needs"},
      {"F form\n  bounds =\n", "line 2: setting without a value"},
      {"F form\nB button\nB label\n", "line 3: a second component named B"},
      {"F form\n  visible = yes\n  visible = no\n", "line 3: a second setting visible"},
      {"F\n", "line 1: a component needs a name and a kind"},
  };
  for (const BadText& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseFormDescription(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.fault), std::string::npos) << e.Message();
    }
  }
}

TEST(FormDescriptionText, KeepsTextBytesWhoseSecondByteIsABackslash) {
  // ソ is 83 5C in code page 932: no escape processing may touch it.
  const FormDescription d = ParseFormDescription("F form\n  caption = \"\x83\x5c\"\n");
  SettingsReader r(d.components[0]);
  EXPECT_EQ(r.Text("caption"), "\x83\x5c");
}

TEST(FormDescriptionText, RejectsWhatTheFormCannotBuild) {
  const BadText cases[] = {
      {"F form\n  bounds = 0 0 10 10\n  colour = red\n", "F.colour: no such setting for a form"},
      {"F form\n  bounds = 0 0 10 10\nB button\n  bounds = 0 0 1\n", "B.bounds: 4 integers are needed"},
      {"F form\n  bounds = 0 0 10 10\nB button\n  bounds = 0 0 1 x\n", "not an integer: x"},
      {"F form\n  bounds = 0 0 10 10\nB button\n  bounds = 0 0 1 1\n  on_click = Nowhere\n",
       "the form has no handler Nowhere"},
      {"F form\n  bounds = 0 0 10 10\nG gadget\n", "no such kind of component: gadget"},
      {"F form\n  bounds = 0 0 10 10\nI image\n  bounds = 0 0 1 1\n  picture = NO_SUCH\n", "no picture resource"},
      {"F form\n  bounds = 0 0 10 10\n  scaled = yes\n", "needs its text_height"},
      {"F label\n", "the first component must be the form"},
  };
  for (const BadText& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      TTestForm form(c.text, {});
      ADD_FAILURE() << "built";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.fault), std::string::npos) << e.Message();
    }
  }
}

TEST(Picture, RefusesBytesThatAreNotAWholeBitmap) {
  std::string bmp(2198, '\0');
  TPicture picture;
  EXPECT_THROW(picture.LoadFromBmpFile(bmp), Exception);  // no "BM"
  picture.LoadFromResource("EYE_WIN");
  EXPECT_EQ(picture.Width(), 100);
  EXPECT_EQ(picture.Height(), 40);
}

constexpr std::string_view kMemoForm = R"(M form
  bounds = 0 0 300 200
Memo1 memo
  bounds = 8 8 200 100
  read_only = yes
  max_length = 12
)";

TEST(Memo, AddsWholeLinesWithinItsLimitCountedInCharacters) {
  TTestForm form(kMemoForm, {});
  TStrings& lines = form.Component<TMemo>("Memo1")->Lines();
  lines.Add("\x82\xa0\x82\xa2\x82\xa4");  // あいう: 3 characters, 6 bytes, then CR LF
  lines.Add("abc");
  EXPECT_EQ(lines.Text(), "\x82\xa0\x82\xa2\x82\xa4\r\nabc\r\n");  // 10 of 12 characters
  lines.Add("x");  // would make 13: not even part of it goes in
  EXPECT_EQ(lines.Text(), "\x82\xa0\x82\xa2\x82\xa4\r\nabc\r\n");
  lines.Clear();
  EXPECT_EQ(lines.Text(), "");
  lines.Add("again");
  EXPECT_EQ(lines.Text(), "again\r\n");
}

TEST(MainWindowDescription, BuildsEveryComponentWithItsSettings) {
  TForm form(Application, "FORM1", {{"FormCreate", [] {}}, {"Button1Click", [] {}}});
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "Zenpiko Ver1.1");
  EXPECT_TRUE(form.VisibleOnCreate());
  EXPECT_FALSE(form.Visible());  // recorded, not applied

  for (const char* name : {"Image_left", "Image_right", "Image_normal", "Image_lose", "Image_win"}) {
    SCOPED_TRACE(name);
    const TImage* image = form.Component<TImage>(name);
    EXPECT_EQ(image->Visible(), std::string_view(name) == "Image_normal");
    EXPECT_EQ(image->Picture().Width(), 100);
    EXPECT_EQ(image->Width(), 105);
  }
  EXPECT_EQ(form.Component<TLabel>("Label_fname")->Caption(), "");
  EXPECT_TRUE(form.Component<TLabel>("Label_fname")->AutoSize());
  EXPECT_FALSE(form.Component<TCheckBox>("CheckBox_mode")->Checked());

  const TMemo* memo = form.Component<TMemo>("Memo1");
  const LONG_PTR style = GetWindowLongPtrA(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  const std::string longLine(300, 'w');
  form.Component<TMemo>("Memo1")->Lines().Add(longLine);
  EXPECT_GT(SendMessageA(memo->Handle(), EM_GETLINECOUNT, 0, 0), 2) << "long lines must wrap";
  EXPECT_GT(SendMessageA(memo->Handle(), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFF0) << "the system's maximum";
  EXPECT_EQ(memo->Font().charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(memo->Font().face, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック

  const TOpenDialog* dialog = form.Component<TOpenDialog>("OpenDialog1");
  // 実行ファイル(*.exe)|*.exe|全てのファイル(*.*)|*.*
  EXPECT_EQ(dialog->Filter,
            "\x8e\xc0\x8d\x73\x83\x74\x83\x40\x83\x43\x83\x8b(*.exe)|*.exe|\x91\x53\x82\xc4\x82\xcc\x83\x74\x83\x40"
            "\x83\x43\x83\x8b(*.*)|*.*");
  EXPECT_EQ(dialog->FilterIndex, 1);

  // Tab order: the open button, the report, the check box.
  const HWND first = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
  EXPECT_EQ(first, form.Component<TButton>("Button1")->Handle());
  const HWND second = GetNextDlgTabItem(form.Handle(), first, FALSE);
  EXPECT_EQ(second, memo->Handle());
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), second, FALSE), form.Component<TCheckBox>("CheckBox_mode")->Handle());
}

constexpr std::string_view kPictureForm = R"(P form
  bounds = 50 50 300 200
  caption = "pictures"
Image1 image
  bounds = 8 8 105 41
  picture = EYE_WIN
  visible = no
Button1 button
  bounds = 150 8 80 24
  caption = "b"
  on_click = Click
)";

TEST(Form, ShowsAChangedPictureOnlyAtUpdateAndProcessesNothingElse) {
  int clicks = 0;
  TTestForm form(kPictureForm, {{"Click", [&] { ++clicks; }}});
  form.Show();
  Application->ProcessMessages();
  TImage* image = form.Component<TImage>("Image1");
  const int hidden = DifferencesFromPicture(*image);
  EXPECT_GT(hidden, 0);

  image->Show();
  PostMessageA(form.Component<TButton>("Button1")->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(DifferencesFromPicture(*image), hidden) << "painted before the update";
  form.Update();
  EXPECT_EQ(DifferencesFromPicture(*image), 0);
  EXPECT_EQ(clicks, 0) << "the update dispatched a waiting message";
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 1);
}

TEST(OpenDialog, ReturnsTheTypedPathAndKeepsItWhenCancelled) {
  TTestForm owner(kPictureForm, {{"Click", [] {}}});
  owner.Show();
  TOpenDialog dialog(nullptr);
  dialog.Filter = "Programs (*.exe)|*.exe|All files (*.*)|*.*";
  dialog.FilterIndex = 2;

  struct Seen {
    bool found = false;
    RECT rect{};
    HWND owner = nullptr;
    bool formEnabled = true;
  };
  // Types a name that does not exist, as a person may, and confirms it.
  auto typed = std::async(std::launch::async, [&] {
    Seen seen;
    const HWND d = WaitFor([] {
      HWND w = GetForegroundWindow();
      char cls[16] = {};
      GetClassNameA(w, cls, sizeof cls);
      return std::string_view(cls) == "#32770" ? w : nullptr;
    });
    if (!d) return seen;
    seen.found = true;
    Sleep(300);  // the hook places the dialog once it is fully built
    GetWindowRect(d, &seen.rect);
    seen.owner = GetWindow(d, GW_OWNER);
    seen.formEnabled = IsWindowEnabled(owner.Handle());
    for (HWND edit : Descendants(d, "Edit")) {
      if (IsWindowVisible(edit)) {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\no\\such\\file.exe"));
        break;
      }
    }
    PostMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    return seen;
  });
  ASSERT_TRUE(dialog.Execute());
  const Seen seen = typed.get();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(dialog.FileName, "C:\\no\\such\\file.exe");
  EXPECT_EQ(dialog.FilterIndex, 2);
  EXPECT_EQ(seen.owner, Application->Handle());
  EXPECT_FALSE(seen.formEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  const int w = seen.rect.right - seen.rect.left;
  const int h = seen.rect.bottom - seen.rect.top;
  EXPECT_EQ(seen.rect.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  EXPECT_EQ(seen.rect.top, (GetSystemMetrics(SM_CYSCREEN) - h) / 3);

  auto cancelled = std::async(std::launch::async, [] {
    const HWND d = WaitFor([] {
      HWND w = GetForegroundWindow();
      char cls[16] = {};
      GetClassNameA(w, cls, sizeof cls);
      return std::string_view(cls) == "#32770" ? w : nullptr;
    });
    if (d) PostMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(dialog.Execute());
  cancelled.get();
  EXPECT_EQ(dialog.FileName, "C:\\no\\such\\file.exe");
  EXPECT_EQ(dialog.FilterIndex, 2);
}

}  // namespace
