#include "vcl/dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "vcl/forms.h"

TOpenDialog::TOpenDialog(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

namespace {

// Explorer-style dialogs call the hook for an empty child dialog; the dialog itself is its parent.
UINT_PTR CALLBACK PlaceDialog(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
    const HWND dialog = GetParent(child);
    RECT r;
    if (GetWindowRect(dialog, &r)) {
      const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
      const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3;
      SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return 0;
}

}  // namespace

bool TOpenDialog::Execute() {
  // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
  std::string filter = Filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.append(2, '\0');

  // Room for the longest path the system can name, not MAX_PATH.
  std::vector<char> file(32768, '\0');
  if (FileName.size() < file.size()) FileName.copy(file.data(), FileName.size());

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Application->Handle();
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = PlaceDialog;

  BOOL chosen;
  {
    TaskWindowsDisabled modal;
    chosen = GetOpenFileNameA(&ofn);
  }
  // Cancelled, or a path longer than the buffer: nothing changes.
  if (!chosen) return false;
  FileName = file.data();
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}
