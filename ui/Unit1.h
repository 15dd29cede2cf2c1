// The main window: the three ways to choose a file, the report, the scanned path and the eyes.
#pragma once

#include <string>
#include <string_view>

#include "finder/view.h"
#include "ui/PaintPace.h"
#include "vcl/vcl.h"

class TForm1 : public TForm, public ScanView {
 public:
  explicit TForm1(TComponent* Owner);

  TButton* Button1;  // these belong to the form
  TOpenDialog* OpenDialog1;
  TMemo* Memo1;
  TImage* Image_left;
  TImage* Image_right;
  TImage* Image_normal;
  TImage* Image_lose;
  TImage* Image_win;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label_fname;
  TCheckBox* CheckBox_mode;

  void Button1Click();
  void FormCreate();
  void WMDropFiles(TMessage& message);

  void Dispatch(TMessage& message) override;

  // What a scan does to this window.
  void ClearReport() override;
  void AddReportLine(std::string_view line) override;
  void SetPathCaption(std::string_view path) override;
  void SetEyeVisible(Eye eye, bool visible) override;
  bool ExtendedMode() override;
  void RepaintNow() override;
  bool IsVisible(Window window) override;
  void Show(Window window) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;

 private:
  TImage* EyeImage(Eye eye) const;
  void Scan(const std::string& path);
  void MarkChangedEyes();

  PaintPace paintPace_;
  unsigned changedEyes_ = 0;  // a bit for each eye changed since its area was last marked
};

extern TForm1* Form1;
