#include "vcl/controls.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "vcl/exception.h"

FontHandle CreateFontFrom(const TFontSpec& wanted) {
  // A negative height asks for the character height, internal leading excluded.
  FontHandle font(CreateFontA(-wanted.height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, wanted.italic, wanted.underline,
                              FALSE, wanted.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, wanted.face.c_str()));
  if (!font) throw Exception("cannot create the font " + wanted.face);
  return font;
}

TControl::TControl(TComponent* owner, HWND parent, const TControlArgs& args)
    : TComponent(owner, args.name), parent_(parent), bounds_(args.bounds), fontSpec_(args.font),
      font_(CreateFontFrom(args.font)) {}

TGraphicControl::TGraphicControl(TComponent* owner, HWND parent, const TControlArgs& args)
    : TControl(owner, parent, args), visible_(args.visible) {}

void TGraphicControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
}

void TGraphicControl::Invalidate() const { InvalidateRect(parent_, &bounds_, TRUE); }

namespace {

// No '&' accelerators: a path may contain '&'.
constexpr UINT kLabelFormat = DT_NOPREFIX | DT_EXPANDTABS;

}  // namespace

TLabel::TLabel(TComponent* owner, HWND parent, const TControlArgs& args, bool autoSize)
    : TGraphicControl(owner, parent, args), autoSize_(autoSize) {}

void TLabel::SetCaption(std::string_view caption) {
  Invalidate();
  caption_.assign(caption);
  if (autoSize_) FitText();
  Invalidate();
}

void TLabel::FitText() {
  WindowDC screen(nullptr);
  SelectedObject font(screen.get(), font_.get());
  // An empty label keeps the height of one line.
  const std::string text = caption_.empty() ? std::string(" ") : caption_;
  RECT r{0, 0, 0, 0};
  DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, kLabelFormat | DT_CALCRECT);
  bounds_.right = bounds_.left + (r.right - r.left);
  bounds_.bottom = bounds_.top + (r.bottom - r.top);
}

void TLabel::Paint(HDC dc) const {
  SelectedObject font(dc, font_.get());
  SetTextColor(dc, fontSpec_.color);
  SetBkMode(dc, TRANSPARENT);  // over the form's background, erased just before
  RECT r = bounds_;
  DrawTextA(dc, caption_.data(), static_cast<int>(caption_.size()), &r, kLabelFormat);
}

void TPicture::LoadFromResource(const std::string& name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name.c_str(), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Exception("no picture resource " + name);
  LoadFromBmpFile(std::string_view(static_cast<const char*>(data), SizeofResource(module, found)));
}

namespace {

std::uint32_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}

std::uint32_t U32(std::string_view b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

}  // namespace

void TPicture::LoadFromBmpFile(std::string_view bytes) {
  const auto bad = [](const char* why) { return Exception(std::string("not a usable bitmap: ") + why); };
  if (bytes.size() < 54) throw bad("shorter than its headers");
  if (bytes[0] != 'B' || bytes[1] != 'M') throw bad("no BM");
  const std::uint32_t offBits = U32(bytes, 10);          // bfOffBits
  const std::uint32_t infoSize = U32(bytes, 14);         // biSize
  const auto width = static_cast<std::int32_t>(U32(bytes, 18));   // biWidth
  const auto height = static_cast<std::int32_t>(U32(bytes, 22));  // biHeight, negative when top-down
  const std::uint32_t bitCount = U16(bytes, 28);         // biBitCount
  const std::uint32_t compression = U32(bytes, 30);      // biCompression
  std::uint32_t colours = U32(bytes, 46);                // biClrUsed

  if (infoSize < 40 || infoSize > bytes.size() - 14) throw bad("information header");
  if (compression != BI_RGB) throw bad("compressed");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) throw bad("bit count");
  if (width <= 0 || width > 32768 || height == 0 || height < -32768 || height > 32768) throw bad("dimensions");
  if (bitCount <= 8 && (colours == 0 || colours > (1u << bitCount))) colours = 1u << bitCount;
  if (bitCount > 8) colours = 0;

  const std::uint64_t tableEnd = 14 + std::uint64_t{infoSize} + std::uint64_t{colours} * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -std::int64_t{height} : height);
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  if (tableEnd > offBits || offBits > bytes.size() || stride * rows > bytes.size() - offBits) {
    throw bad("shorter than its pixels");
  }

  // A plain 40-byte header with the colour table after it, whatever header the file has.
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
  std::memcpy(info.data(), bytes.data() + 14, sizeof(BITMAPINFOHEADER));
  std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), bytes.data() + 14 + infoSize, colours * sizeof(RGBQUAD));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biClrUsed = colours;
  header->biSizeImage = 0;

  void* bits = nullptr;
  BitmapHandle bitmap(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw Exception("cannot create a bitmap");
  std::memcpy(bits, bytes.data() + offBits, static_cast<std::size_t>(stride * rows));
  GdiFlush();
  bitmap_ = std::move(bitmap);
  width_ = width;
  height_ = static_cast<int>(rows);
}

void TPicture::Draw(HDC dc, int x, int y, const RECT& clip) const {
  if (!bitmap_) return;
  MemoryDCHandle memory(CreateCompatibleDC(dc));
  if (!memory) return;
  SelectedObject selected(memory.get(), bitmap_.get());
  const int w = std::min<LONG>(width_, clip.right - x);
  const int h = std::min<LONG>(height_, clip.bottom - y);
  if (w > 0 && h > 0) BitBlt(dc, x, y, w, h, memory.get(), 0, 0, SRCCOPY);
}

TImage::TImage(TComponent* owner, HWND parent, const TControlArgs& args) : TGraphicControl(owner, parent, args) {}

void TImage::Paint(HDC dc) const { picture_.Draw(dc, bounds_.left, bounds_.top, bounds_); }

TWinControl::TWinControl(TComponent* owner, HWND parent, const TControlArgs& args, const char* windowClass,
                         DWORD style, std::string_view text)
    : TControl(owner, parent, args) {
  const std::string caption(text);
  window_.reset(CreateWindowExA(0, windowClass, caption.c_str(),
                                WS_CHILD | WS_CLIPSIBLINGS | (args.visible ? WS_VISIBLE : 0) | style,
                                bounds_.left, bounds_.top, Width(), Height(), parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  if (!window_) throw Exception("cannot create the control " + args.name);
  SendMessageA(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

bool TWinControl::Visible() const { return (GetWindowLongPtrA(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0; }

void TWinControl::SetVisible(bool visible) { ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE); }

TButton::TButton(TComponent* owner, HWND parent, const TControlArgs& args, std::string_view caption)
    : TWinControl(owner, parent, args, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, caption) {}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED && OnClick) OnClick();
}

TCheckBox::TCheckBox(TComponent* owner, HWND parent, const TControlArgs& args, std::string_view caption)
    : TWinControl(owner, parent, args, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, caption) {}

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HBRUSH TCheckBox::Colours(HDC dc) const {
  SetTextColor(dc, fontSpec_.color);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

namespace {

DWORD MemoStyle(const TMemoArgs& m) {
  DWORD style = WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
  if (m.readOnly) style |= ES_READONLY;
  if (m.verticalScrollBar) style |= WS_VSCROLL;
  // A multi-line edit control wraps at its width only without ES_AUTOHSCROLL, and created
  // with WS_HSCROLL it takes ES_AUTOHSCROLL as well; a wrapping memo gets its bar afterwards.
  if (m.horizontalScrollBar && !m.wordWrap) style |= WS_HSCROLL;
  if (!m.wordWrap) style |= ES_AUTOHSCROLL;
  return style;
}

}  // namespace

TMemo::TMemo(TComponent* owner, HWND parent, const TControlArgs& args, const TMemoArgs& memo)
    : TWinControl(owner, parent, args, "EDIT", MemoStyle(memo), ""), lines_(*this) {
  if (memo.horizontalScrollBar && memo.wordWrap) {
    // The control keeps the style it was created with, so it goes on wrapping.
    SetWindowLongPtrA(Handle(), GWL_STYLE, GetWindowLongPtrA(Handle(), GWL_STYLE) | WS_HSCROLL);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  // 0: the system's maximum instead of the small default.
  SendMessageA(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(memo.maxLength), 0);
}

HBRUSH TMemo::Colours(HDC dc) const {
  // White even when read-only, where the system would use the dialog colour.
  SetTextColor(dc, fontSpec_.color);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void TStrings::Clear() { SetWindowTextA(memo_.Handle(), ""); }

void TStrings::Add(std::string_view line) {
  std::string text(line);
  text += "\r\n";
  const HWND edit = memo_.Handle();
  // The limit and the length count characters, not bytes.
  const int added = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  const int have = GetWindowTextLengthW(edit);
  const auto limit = static_cast<unsigned long long>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
  if (static_cast<unsigned long long>(have) + static_cast<unsigned long long>(added) > limit) return;
  // Positions past the end are taken as the end.
  SendMessageA(edit, EM_SETSEL, INT_MAX, INT_MAX);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStrings::Text() const {
  const HWND edit = memo_.Handle();
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  const int n = GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}
