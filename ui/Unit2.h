// The result window: the result text of the last scan with the happy or the weeping eyes.
#pragma once

#include "vcl/vcl.h"

class TForm2 : public TForm {
 public:
  explicit TForm2(TComponent* Owner);

  TLabel* Label1;      // these belong to the form
  TImage* Image_win;
  TImage* Image_lose;
  TButton* Button1;

  void FormShow();
  void Button1Click();
};

extern TForm2* Form2;
