#include <gtest/gtest.h>

#include "vcl/vcl.h"

namespace {

// As in the program, the result window is not the main form.
class TStandInMain : public TForm {
 public:
  explicit TStandInMain(TComponent* owner)
      : TForm(owner, ParseFormDescription("StandInMain form\n  bounds = 0 0 200 100\n  visible = no\n"), {}) {}
};

TStandInMain* StandInMain = nullptr;

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Application->Initialize();
  Application->CreateForm(StandInMain);
  return RUN_ALL_TESTS();
}
