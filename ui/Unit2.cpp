#include "ui/Unit2.h"

#include "finder/scan.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* Owner)
    : TForm(Owner, "FORM2", {{"FormShow", [this] { FormShow(); }}, {"Button1Click", [this] { Button1Click(); }}}),
      Label1(Component<TLabel>("Label1")),
      Image_win(Component<TImage>("Image_win")),
      Image_lose(Component<TImage>("Image_lose")),
      Button1(Component<TButton>("Button1")) {}

void TForm2::FormShow() {
  Image_win->Hide();
  Image_lose->Hide();
  Label1->SetCaption(ResultText);
  if (ResultCount <= 0) {
    Image_lose->Show();
  } else {
    Image_win->Show();
  }
  Update();
}

// Not the main window: closing only hides it, with its contents and position.
void TForm2::Button1Click() { Close(); }
