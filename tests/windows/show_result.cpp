// show_result COUNT: the result window as a scan that took out COUNT pictures leaves it.
// For the screenshots in docs/; prints the window's screen rectangle.
#include <cstdio>
#include <cstdlib>

#include "finder/names.h"
#include "finder/scan.h"
#include "finder/texts.h"
#include "ui/Unit2.h"

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 0;
  Application->Initialize();
  Application->CreateForm(Form2);
  ResultCount = count;
  ResultText = count > 0 ? FoundText(count, kShiftJisTexts) : NoneFoundText(kShiftJisTexts);
  Form2->Show();
  RECT r;
  GetWindowRect(Form2->Handle(), &r);
  std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  std::fflush(stdout);
  Application->Run();
  return 0;
}
