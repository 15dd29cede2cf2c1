// The system's open-file dialog.
#pragma once

#include <string>

#include "vcl/component.h"

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner, std::string name = {});

  // Pairs of description and pattern, all separated by '|': "Programs (*.exe)|*.exe|All (*.*)|*.*".
  std::string Filter;
  // 1-based; the filter shown first, and after Execute the one the user chose.
  int FilterIndex = 1;
  // The file shown first, and after Execute the full path chosen.
  std::string FileName;

  // Runs the Explorer-style dialog, modal, owned by the application window with the program's
  // other windows disabled: one file, the read-only check box shown, a typed name that does not
  // exist accepted, the system's own title, placed at ((screen w - w) / 2, (screen h - h) / 3).
  // True when the user chose a file; false when cancelled, leaving FileName and FilterIndex.
  bool Execute();
};
