// The program's start: the main window (which scans the command-line argument while it is built),
// then the hidden result window, then the message loop.
#include <windows.h>

#include <exception>

#include "ui/Unit1.h"
#include "ui/Unit2.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    // Form1 is set before its construction runs, so the command-line scan reaches it.
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->Run();
  } catch (const std::exception& e) {
    // Also the errors of the command-line scan: the program then ends without a loop.
    Application->ShowException(e);
  }
  return 0;
}
