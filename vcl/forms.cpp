#include "vcl/forms.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>

namespace {

constexpr const char* kFormClass = "ZenpikoForm";
constexpr const char* kApplicationClass = "ZenpikoApplication";
constexpr const char* kIconResource = "ZENPIKO";

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

struct NamedColour {
  std::string_view name;
  int systemIndex;  // -1 for a fixed colour
  COLORREF rgb;
};

constexpr NamedColour kColours[] = {
    {"windowtext", COLOR_WINDOWTEXT, 0},   {"btnface", COLOR_BTNFACE, 0},
    {"window", COLOR_WINDOW, 0},           {"black", -1, RGB(0, 0, 0)},
    {"maroon", -1, RGB(128, 0, 0)},        {"green", -1, RGB(0, 128, 0)},
    {"olive", -1, RGB(128, 128, 0)},       {"navy", -1, RGB(0, 0, 128)},
    {"purple", -1, RGB(128, 0, 128)},      {"teal", -1, RGB(0, 128, 128)},
    {"gray", -1, RGB(128, 128, 128)},      {"silver", -1, RGB(192, 192, 192)},
    {"red", -1, RGB(255, 0, 0)},           {"lime", -1, RGB(0, 255, 0)},
    {"yellow", -1, RGB(255, 255, 0)},      {"blue", -1, RGB(0, 0, 255)},
    {"fuchsia", -1, RGB(255, 0, 255)},     {"aqua", -1, RGB(0, 255, 255)},
    {"white", -1, RGB(255, 255, 255)},
};

[[noreturn]] void Fail(const SettingsReader& r, std::string_view why) {
  throw Exception("form description, line " + std::to_string(r.Component().line) + ": " + r.Component().name +
                  ": " + std::string(why));
}

// Positions and fonts stored for 96 pixels per inch, scaled for the screen when the form asks.
struct Scaling {
  int dpi = 96;
  int textHeight = 0;  // 0: no scaling
  int Font(int height) const { return textHeight ? MulDiv(height, dpi, 96) : height; }
  int Layout(int v) const { return textHeight ? MulDiv(v, MulDiv(textHeight, dpi, 96), textHeight) : v; }
};

TFontSpec ReadFont(SettingsReader& r, const TFontSpec& inherited, const Scaling& scaling) {
  TFontSpec font = inherited;
  if (auto face = r.Text("font")) font.face = *face;
  if (auto height = r.Int("font_height")) {
    if (*height <= 0) Fail(r, "font_height must be positive");
    font.height = scaling.Font(*height);
  }
  if (auto charset = r.Word("font_charset")) {
    if (*charset == "shiftjis") font.charset = SHIFTJIS_CHARSET;
    else if (*charset == "ansi") font.charset = ANSI_CHARSET;
    else if (*charset == "default") font.charset = DEFAULT_CHARSET;
    else Fail(r, "font_charset is shiftjis, ansi or default");
  }
  if (auto style = r.Word("font_style")) {
    if (*style != "regular" && *style != "bold" && *style != "italic" && *style != "bold_italic") {
      Fail(r, "font_style is regular, bold, italic or bold_italic");
    }
    font.bold = *style == "bold" || *style == "bold_italic";
    font.italic = *style == "italic" || *style == "bold_italic";
  }
  if (auto colour = r.Word("font_color")) {
    const auto* found = std::find_if(std::begin(kColours), std::end(kColours),
                                     [&](const NamedColour& c) { return c.name == *colour; });
    if (found == std::end(kColours)) Fail(r, "no such colour: " + *colour);
    font.color = found->systemIndex >= 0 ? GetSysColor(found->systemIndex) : found->rgb;
  }
  return font;
}

RECT ReadBounds(SettingsReader& r, const Scaling& scaling) {
  const auto b = r.Ints("bounds", 4);
  if (!b) Fail(r, "bounds (left top width height) are needed");
  if ((*b)[2] < 0 || (*b)[3] < 0) Fail(r, "a negative width or height");
  const int left = scaling.Layout((*b)[0]);
  const int top = scaling.Layout((*b)[1]);
  return RECT{left, top, left + scaling.Layout((*b)[2]), top + scaling.Layout((*b)[3])};
}

TControlArgs ReadControl(SettingsReader& r, const TFontSpec& formFont, const Scaling& scaling) {
  TControlArgs args;
  args.name = r.Component().name;
  args.bounds = ReadBounds(r, scaling);
  args.visible = r.Flag("visible").value_or(true);
  args.font = ReadFont(r, formFont, scaling);
  return args;
}

TNotifyEvent Handler(SettingsReader& r, std::string_view key, THandlers handlers) {
  const std::optional<std::string> name = r.Word(key);
  if (!name) return {};
  for (const auto& [handlerName, handler] : handlers) {
    if (handlerName == *name) return handler;
  }
  Fail(r, "the form has no handler " + *name);
}

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &ps_); }
  HDC dc() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

void ShowUnknownError() {
  Application->ShowException(Exception("unknown error"));
}

}  // namespace

// C++ exceptions stop here: unwinding through the system's frames is undefined.
LRESULT CALLBACK FormWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<TForm*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->window_.reset(window);
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);

  TMessage message{msg, wParam, lParam, 0};
  try {
    form->Dispatch(message);
  } catch (const std::exception& e) {
    try {
      Application->ShowException(e);
    } catch (...) {
    }
  } catch (...) {
    try {
      ShowUnknownError();
    } catch (...) {
    }
  }
  return message.Result;
}

namespace {

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA form{};
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = FormWindowProc;
  form.hInstance = Instance();
  form.hIcon = LoadIconA(Instance(), kIconResource);
  form.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  WNDCLASSA application{};
  application.lpfnWndProc = ApplicationWindowProc;
  application.hInstance = Instance();
  application.hIcon = form.hIcon;
  application.lpszClassName = kApplicationClass;
  if (!RegisterClassA(&form) || !RegisterClassA(&application)) throw Exception("cannot register the window classes");
  registered = true;
}

std::string ResourceText(const char* name) {
  HRSRC found = FindResourceA(Instance(), name, RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(Instance(), found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Exception(std::string("no form resource ") + name);
  return std::string(static_cast<const char*>(data), SizeofResource(Instance(), found));
}

}  // namespace

TForm::TForm(TComponent* owner, const char* resource, THandlers handlers) : TComponent(owner) {
  Build(ParseFormDescription(ResourceText(resource)), handlers);
}

TForm::TForm(TComponent* owner, const FormDescription& description, THandlers handlers) : TComponent(owner) {
  Build(description, handlers);
}

TForm::~TForm() {
  if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  // The child windows go before the form's window that holds them.
  DestroyComponents();
}

void TForm::Build(const FormDescription& description, THandlers handlers) {
  RegisterClasses();
  const ComponentDescription& self = description.components.front();
  SettingsReader r(self);
  if (self.kind != "form") Fail(r, "the first component must be the form");
  SetName(self.name);

  Scaling scaling;
  if (r.Flag("scaled").value_or(false)) {
    WindowDC screen(nullptr);
    scaling.dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    scaling.textHeight = r.Int("text_height").value_or(0);
    if (scaling.textHeight <= 0) Fail(r, "a scaled form needs its text_height");
  } else if (r.Has("text_height")) {
    r.Int("text_height");
  }

  const RECT bounds = ReadBounds(r, scaling);
  const std::string caption = r.Text("caption").value_or("");
  const std::string border = r.Word("border").value_or("sizeable");
  DWORD style = WS_CLIPCHILDREN;
  if (border == "sizeable") style |= WS_OVERLAPPEDWINDOW;
  else if (border == "single") style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  else Fail(r, "border is sizeable or single");
  stayOnTop_ = r.Flag("stay_on_top").value_or(false);
  const std::string position = r.Word("position").value_or("designed");
  if (position == "centred_on_first_show") centreOnFirstShow_ = true;
  else if (position != "designed") Fail(r, "position is designed or centred_on_first_show");
  visibleOnCreate_ = r.Flag("visible").value_or(false);
  const TFontSpec formFont = ReadFont(r, TFontSpec{}, scaling);
  color_ = formFont.color;
  OnCreate = Handler(r, "on_create", handlers);
  OnShow = Handler(r, "on_show", handlers);
  r.Finish();

  // Hidden until shown; owned by the application window, like every form of the program.
  const HWND created = CreateWindowExA(stayOnTop_ ? WS_EX_TOPMOST : 0, kFormClass, caption.c_str(), style,
                                       bounds.left, bounds.top, bounds.right - bounds.left,
                                       bounds.bottom - bounds.top, Application->Handle(), nullptr, Instance(), this);
  if (!created) {
    window_.release();
    throw Exception("cannot create the window of " + Name());
  }
  const HWND parent = window_.get();

  // Child windows are made in tab order: the system's tab sequence follows their creation.
  std::vector<std::pair<int, const ComponentDescription*>> windowed;
  for (std::size_t i = 1; i < description.components.size(); ++i) {
    const ComponentDescription& c = description.components[i];
    SettingsReader cr(c);
    if (c.kind == "label") {
      const TControlArgs args = ReadControl(cr, formFont, scaling);
      const std::string text = cr.Text("caption").value_or("");
      auto* label = new TLabel(this, parent, args, cr.Flag("auto_size").value_or(false));
      graphics_.push_back(label);
      label->SetCaption(text);
    } else if (c.kind == "image") {
      const TControlArgs args = ReadControl(cr, formFont, scaling);
      auto* image = new TImage(this, parent, args);
      graphics_.push_back(image);
      if (auto picture = cr.Word("picture")) image->Picture().LoadFromResource(*picture);
    } else if (c.kind == "open_dialog") {
      auto* dialog = new TOpenDialog(this, c.name);
      dialog->Filter = cr.Text("filter").value_or("");
      dialog->FilterIndex = cr.Int("filter_index").value_or(1);
    } else if (c.kind == "button" || c.kind == "check_box" || c.kind == "memo") {
      windowed.emplace_back(cr.Int("tab_order").value_or(INT_MAX), &c);
      continue;
    } else {
      Fail(cr, "no such kind of component: " + c.kind);
    }
    cr.Finish();
  }
  std::stable_sort(windowed.begin(), windowed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, c] : windowed) {
    SettingsReader cr(*c);
    if (cr.Has("tab_order")) cr.Int("tab_order");
    const TControlArgs args = ReadControl(cr, formFont, scaling);
    if (c->kind == "button") {
      auto* button = new TButton(this, parent, args, cr.Text("caption").value_or(""));
      button->OnClick = Handler(cr, "on_click", handlers);
    } else if (c->kind == "check_box") {
      auto* box = new TCheckBox(this, parent, args, cr.Text("caption").value_or(""));
      box->SetChecked(cr.Flag("checked").value_or(false));
    } else {
      TMemoArgs memo;
      memo.readOnly = cr.Flag("read_only").value_or(false);
      const std::string bars = cr.Word("scroll_bars").value_or("none");
      if (bars != "none" && bars != "vertical" && bars != "horizontal" && bars != "both") {
        Fail(cr, "scroll_bars is none, vertical, horizontal or both");
      }
      memo.verticalScrollBar = bars == "vertical" || bars == "both";
      memo.horizontalScrollBar = bars == "horizontal" || bars == "both";
      memo.wordWrap = cr.Flag("word_wrap").value_or(true);
      memo.maxLength = cr.Int("max_length").value_or(0);
      if (memo.maxLength < 0) Fail(cr, "max_length must not be negative");
      new TMemo(this, parent, args, memo);
    }
    cr.Finish();
  }
}

bool TForm::Visible() const { return IsWindowVisible(Handle()) != FALSE; }

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (!visible) {
    ShowWindow(Handle(), SW_HIDE);
    return;
  }
  if (OnShow) OnShow();
  if (centreOnFirstShow_ && !shownOnce_) {
    RECT r;
    GetWindowRect(Handle(), &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  shownOnce_ = true;
  ShowWindow(Handle(), SW_SHOWNORMAL);
}

void TForm::Show() {
  SetVisible(true);
  SetWindowPos(Handle(), stayOnTop_ ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
}

void TForm::Close() {
  Hide();
  if (Application->MainForm() == this) Application->Terminate();
}

void TForm::Update() { UpdateWindow(Handle()); }

void TForm::Repaint() {
  InvalidateRect(Handle(), nullptr, TRUE);
  Update();
}

std::string TForm::Caption() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(Handle())) + 1, '\0');
  const int n = GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

TWinControl* TForm::ControlOf(HWND window) const {
  for (TComponent* c : Components()) {
    auto* control = dynamic_cast<TWinControl*>(c);
    if (control && control->Handle() == window) return control;
  }
  return nullptr;
}

void TForm::Paint() {
  PaintScope paint(Handle());
  for (const TGraphicControl* g : graphics_) {
    RECT overlap;
    if (g->Visible() && IntersectRect(&overlap, &g->BoundsRect(), &paint.area())) g->Paint(paint.dc());
  }
}

void TForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      Paint();
      return;
    case WM_COMMAND:
      if (TWinControl* control = ControlOf(reinterpret_cast<HWND>(m.LParam))) {
        control->Command(HIWORD(m.WParam));
        return;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (TWinControl* control = ControlOf(reinterpret_cast<HWND>(m.LParam))) {
        if (HBRUSH brush = control->Colours(reinterpret_cast<HDC>(m.WParam))) {
          m.Result = reinterpret_cast<LRESULT>(brush);
          return;
        }
      }
      break;
    case WM_SETFOCUS:
      if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
        SetFocus(first);
        return;
      }
      break;
    case WM_CLOSE:
      Close();
      return;
  }
  m.Result = DefWindowProcA(Handle(), m.Msg, m.WParam, m.LParam);
}

namespace {

BOOL CALLBACK CollectEnabled(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

}  // namespace

TaskWindowsDisabled::TaskWindowsDisabled() : active_(GetActiveWindow()) {
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled_));
  for (HWND w : disabled_) EnableWindow(w, FALSE);
}

TaskWindowsDisabled::~TaskWindowsDisabled() {
  for (HWND w : disabled_) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  if (active_ && IsWindow(active_) && IsWindowVisible(active_)) SetActiveWindow(active_);
}

namespace {

std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: ask again with more room
  }
}

// The program's file name without its directory and extension.
std::string ModuleTitle(const std::string& path) {
  // From the left: the second byte of a code-page-932 character may be a backslash.
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      start = i + 1;
    }
  }
  std::string name = path.substr(start);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr), exeName_(ModulePath()), title_(ModuleTitle(exeName_)) {}

TApplication::~TApplication() {
  // The forms go before the window that owns them.
  DestroyComponents();
}

void TApplication::Initialize() {
  if (window_) return;
  RegisterClasses();
  // Zero-sized at the centre of the screen: the system places boxes it owns over it.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  window_.reset(CreateWindowExA(0, kApplicationClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, 0,
                                0, nullptr, nullptr, Instance(), nullptr));
  if (!window_) throw Exception("cannot create the application window");
}

HWND TApplication::Handle() {
  Initialize();
  return window_.get();
}

void TApplication::SetTitle(std::string title) {
  title_ = std::move(title);
  if (window_) SetWindowTextA(window_.get(), title_.c_str());
}

void TApplication::FinishCreation(TForm* form) {
  try {
    if (form->OnCreate) form->OnCreate();
  } catch (const std::exception& e) {
    ShowException(e);
  }
  if (form->VisibleOnCreate() && !form->Visible()) form->Show();
  if (!mainForm_) {
    mainForm_ = form;
    // The application window is hidden: the main form carries the taskbar button.
    SetWindowLongPtrA(form->Handle(), GWL_EXSTYLE, GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
  }
}

bool TApplication::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) return false;
  // Tab and the arrow keys move between the controls of the active form.
  const HWND active = GetActiveWindow();
  for (TComponent* c : Components()) {
    auto* form = dynamic_cast<TForm*>(c);
    if (form && form->Handle() == active && IsDialogMessageA(active, &msg)) return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::Run() {
  if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // left for Run to see
      return;
    }
  }
}

int TApplication::MessageBox(std::string_view text, std::string_view caption, UINT flags) {
  const std::string t(text);
  const std::string c(caption);
  TaskWindowsDisabled modal;
  return ::MessageBoxA(Handle(), t.c_str(), c.c_str(), flags);
}

void TApplication::ShowException(const std::exception& error) {
  MessageBox(std::string(error.what()) + ".", title_, MB_OK | MB_ICONSTOP);
}

namespace {

TApplication& TheApplication() {
  static TApplication application;
  return application;
}

}  // namespace

TApplication* Application = &TheApplication();
