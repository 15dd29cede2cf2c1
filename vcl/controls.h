// The controls a form is made of. All texts are code-page-932 byte strings.
//
// TLabel and TImage have no window of their own: the form paints them, so a change to one
// only marks its area and reaches the screen at the form's next paint (TForm::Update).
// TButton, TCheckBox and TMemo are child windows and paint themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "vcl/component.h"
#include "vcl/handle.h"

using TNotifyEvent = std::function<void()>;

struct TFontSpec {
  std::string face;  // code page 932
  int height = 12;   // character height in pixels
  BYTE charset = DEFAULT_CHARSET;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF color = 0;
};

FontHandle CreateFontFrom(const TFontSpec& wanted);

// What every control is made from; positions are in the form's client area.
struct TControlArgs {
  std::string name;
  RECT bounds{};
  bool visible = true;
  TFontSpec font;
};

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, HWND parent, const TControlArgs& args);

  HWND Parent() const { return parent_; }
  const RECT& BoundsRect() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  const TFontSpec& Font() const { return fontSpec_; }
  HFONT FontObject() const { return font_.get(); }

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

 protected:
  HWND parent_;  // the form's window; we don't own it
  RECT bounds_;
  TFontSpec fontSpec_;
  FontHandle font_;
};

// Painted by the form in its own area.
class TGraphicControl : public TControl {
 public:
  TGraphicControl(TComponent* owner, HWND parent, const TControlArgs& args);

  bool Visible() const override { return visible_; }
  // Marks the area for repainting only.
  void SetVisible(bool visible) override;
  // Does not mark it either: for a control that changes far more often than it can be painted,
  // whose owner calls Invalidate() before it next paints.
  void SetVisibleUnmarked(bool visible) { visible_ = visible; }
  void Invalidate() const;
  virtual void Paint(HDC dc) const = 0;

 private:
  bool visible_;
};

class TLabel : public TGraphicControl {
 public:
  TLabel(TComponent* owner, HWND parent, const TControlArgs& args, bool autoSize);

  const std::string& Caption() const { return caption_; }
  // Marks the old and the new area for repainting; an auto-sized label first fits its text.
  void SetCaption(std::string_view caption);
  bool AutoSize() const { return autoSize_; }
  void Paint(HDC dc) const override;

 private:
  void FitText();

  std::string caption_;
  bool autoSize_;
};

// A bitmap, kept as a DIB section with the bits of the BMP file it was read from.
class TPicture {
 public:
  // The RCDATA resource `name` of this executable, holding a whole BMP file.
  void LoadFromResource(const std::string& name);
  // A whole BMP file, headers included. Throws Exception when it is not one this can draw.
  void LoadFromBmpFile(std::string_view bytes);

  HBITMAP Bitmap() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // At its natural size with its top-left corner at x, y, cut to `clip`.
  void Draw(HDC dc, int x, int y, const RECT& clip) const;

 private:
  BitmapHandle bitmap_;
  int width_ = 0;
  int height_ = 0;
};

class TImage : public TGraphicControl {
 public:
  TImage(TComponent* owner, HWND parent, const TControlArgs& args);

  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  // The picture at its natural size at the top-left corner, never stretched.
  void Paint(HDC dc) const override;

 private:
  TPicture picture_;
};

// A control with its own child window.
class TWinControl : public TControl {
 public:
  TWinControl(TComponent* owner, HWND parent, const TControlArgs& args, const char* windowClass, DWORD style,
              std::string_view text);

  HWND Handle() const { return window_.get(); }
  bool Visible() const override;
  void SetVisible(bool visible) override;

  // WM_COMMAND from this control, routed by the form.
  virtual void Command(WORD /*code*/) {}
  // WM_CTLCOLOR* for this control: the brush for its background, or null for the system's.
  virtual HBRUSH Colours(HDC /*dc*/) const { return nullptr; }

 private:
  WindowHandle window_;
};

class TButton : public TWinControl {
 public:
  // The font colour is the system's: a push button draws its own caption.
  TButton(TComponent* owner, HWND parent, const TControlArgs& args, std::string_view caption);

  TNotifyEvent OnClick;
  void Command(WORD code) override;
};

class TCheckBox : public TWinControl {
 public:
  TCheckBox(TComponent* owner, HWND parent, const TControlArgs& args, std::string_view caption);

  bool Checked() const;
  void SetChecked(bool checked);
  HBRUSH Colours(HDC dc) const override;
};

class TMemo;

// The lines of a memo. Each line added ends with a line break.
class TStrings {
 public:
  explicit TStrings(TMemo& memo) : memo_(memo) {}
  void Clear();
  // Appends `line` and a line break, unless that would pass the memo's length limit:
  // then nothing is added, so the report never ends in half a line.
  void Add(std::string_view line);
  // All the text, line breaks included.
  std::string Text() const;

 private:
  TMemo& memo_;
};

struct TMemoArgs {
  bool readOnly = false;
  bool horizontalScrollBar = false;
  bool verticalScrollBar = false;
  bool wordWrap = true;  // wrap long lines at the control's width
  int maxLength = 0;     // in characters; 0 for the system's maximum
};

class TMemo : public TWinControl {
 public:
  TMemo(TComponent* owner, HWND parent, const TControlArgs& args, const TMemoArgs& memo);

  TStrings& Lines() { return lines_; }
  HBRUSH Colours(HDC dc) const override;

 private:
  TStrings lines_;
};
