#include "ui/Unit1.h"

#include <shellapi.h>

#include <string>

#include "finder/scan.h"
#include "ui/CommandLine.h"
#include "ui/Unit2.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner)
    : TForm(Owner, "FORM1", {{"Button1Click", [this] { Button1Click(); }}, {"FormCreate", [this] { FormCreate(); }}}),
      Button1(Component<TButton>("Button1")),
      OpenDialog1(Component<TOpenDialog>("OpenDialog1")),
      Memo1(Component<TMemo>("Memo1")),
      Image_left(Component<TImage>("Image_left")),
      Image_right(Component<TImage>("Image_right")),
      Image_normal(Component<TImage>("Image_normal")),
      Image_lose(Component<TImage>("Image_lose")),
      Image_win(Component<TImage>("Image_win")),
      Label1(Component<TLabel>("Label1")),
      Label2(Component<TLabel>("Label2")),
      Label_fname(Component<TLabel>("Label_fname")),
      CheckBox_mode(Component<TCheckBox>("CheckBox_mode")) {
  // Scanned while still invisible and before the result window exists: the scan then shows this
  // window itself and gives its result in a message box.
  if (std::optional<std::string> path = FirstArgument(GetCommandLineA())) Scan(*path);
}

void TForm1::Button1Click() {
  if (OpenDialog1->Execute()) Scan(OpenDialog1->FileName);
}

// Registered after the command-line scan: a drop must not arrive mid-construction.
void TForm1::FormCreate() { DragAcceptFiles(Handle(), TRUE); }

void TForm1::WMDropFiles(TMessage& message) {
  const DropHandle drop(reinterpret_cast<HDROP>(message.WParam));
  const UINT count = DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // The length without the terminating zero; then room for it.
    const UINT length = DragQueryFileA(drop.get(), i, nullptr, 0);
    std::string path(length + 1, '\0');
    const UINT copied = DragQueryFileA(drop.get(), i, path.data(), length + 1);
    path.resize(copied);
    Scan(path);
  }
}

// The scan leaves the eyes at rest; the message loop paints them.
void TForm1::Scan(const std::string& path) {
  ScanFile(*this, path);
  MarkChangedEyes();
}

void TForm1::Dispatch(TMessage& message) {
  if (message.Msg == WM_DROPFILES) {
    WMDropFiles(message);
    return;
  }
  TForm::Dispatch(message);
}

void TForm1::ClearReport() { Memo1->Lines().Clear(); }

void TForm1::AddReportLine(std::string_view line) { Memo1->Lines().Add(line); }

void TForm1::SetPathCaption(std::string_view path) { Label_fname->SetCaption(path); }

TImage* TForm1::EyeImage(Eye eye) const {
  switch (eye) {
    case Eye::Normal:
      return Image_normal;
    case Eye::Left:
      return Image_left;
    case Eye::Right:
      return Image_right;
    case Eye::Win:
      return Image_win;
    case Eye::Lose:
      return Image_lose;
  }
  return Image_normal;
}

// Marking an area for painting is far dearer than a switch of the eyes (under Wine a round trip to
// the server each time), so a switch only changes the state, and the areas of the eyes changed
// are marked when a paint is done, before a window comes up, and at the end of the scan.
void TForm1::SetEyeVisible(Eye eye, bool visible) {
  TImage* image = EyeImage(eye);
  if (image->Visible() == visible) return;
  image->SetVisibleUnmarked(visible);
  changedEyes_ |= 1u << static_cast<unsigned>(eye);
}

void TForm1::MarkChangedEyes() {
  for (Eye eye : {Eye::Normal, Eye::Left, Eye::Right, Eye::Win, Eye::Lose}) {
    if (changedEyes_ & (1u << static_cast<unsigned>(eye))) EyeImage(eye)->Invalidate();
  }
  changedEyes_ = 0;
}

bool TForm1::ExtendedMode() { return CheckBox_mode->Checked(); }

// A scan asks for a repaint at every switch of the eyes, tens of thousands of times a gigabyte.
// The eye state follows every switch; the screen is brought up to date at most once a frame,
// and what a skipped paint left is painted by the next one or by the message loop after the scan.
void TForm1::RepaintNow() {
  if (!paintPace_.Due(PaintPace::Clock::now())) return;
  MarkChangedEyes();
  Update();
}

bool TForm1::IsVisible(Window window) {
  if (window == Window::Main) return Visible();
  return Form2 != nullptr && Form2->Visible();
}

void TForm1::Show(Window window) {
  MarkChangedEyes();
  if (window == Window::Main) {
    TForm::Show();
  } else if (Form2 != nullptr) {
    Form2->Show();
  }
}

// The box's own message loop paints this window as it now is.
void TForm1::ShowMessage(std::string_view text, std::string_view caption) {
  MarkChangedEyes();
  Application->MessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
}
