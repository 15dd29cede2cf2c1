// Forms and the application object.
//
// A form is built from a stored form description (see vcl/form_description.h), compiled into
// the executable as an RCDATA resource. Its handlers are bound by the names the description
// gives, from the table the derived form passes to TForm:
//
//   TForm2::TForm2(TComponent* Owner)
//       : TForm(Owner, "FORM2", {{"FormShow", [this] { FormShow(); }},
//                                {"Button1Click", [this] { Button1Click(); }}}),
//         Label1(Component<TLabel>("Label1")), ...
//
// Create forms with Application->CreateForm(Form2): it runs the description's on_create handler
// after the whole construction, then applies the description's visibility.
#pragma once

#include <windows.h>

#include <exception>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vcl/component.h"
#include "vcl/controls.h"
#include "vcl/dialogs.h"
#include "vcl/exception.h"
#include "vcl/form_description.h"
#include "vcl/handle.h"

// One window message; Result is what the window procedure returns.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

using THandlers = std::initializer_list<std::pair<std::string_view, TNotifyEvent>>;

class TForm : public TComponent {
 public:
  // From the RCDATA resource `resource` of this executable (a description in code page 932).
  TForm(TComponent* owner, const char* resource, THandlers handlers);
  // From description text, for forms that are not stored in the executable.
  TForm(TComponent* owner, const FormDescription& description, THandlers handlers);
  ~TForm() override;

  HWND Handle() const { return window_.get(); }

  // The component `name` of this form; throws Exception when there is none of that kind.
  template <class T>
  T* Component(std::string_view name) const {
    for (TComponent* c : Components()) {
      if (c->Name() == name) {
        if (T* t = dynamic_cast<T*>(c)) return t;
      }
    }
    throw Exception("form " + Name() + " has no such component: " + std::string(name));
  }

  TNotifyEvent OnCreate;
  // Runs each time the form is about to appear, before it is on the screen.
  TNotifyEvent OnShow;

  bool Visible() const;
  // Showing runs OnShow first; the form is centred on its first showing when the description
  // asks for it, and a stay-on-top form goes above other windows.
  void SetVisible(bool visible);
  // Visible and brought to the front.
  void Show();
  void Hide() { SetVisible(false); }
  // The main form ends the message loop; any other form is only hidden.
  void Close();
  // Paints at once what is waiting to be painted in the form's own area (its labels and
  // pictures), as UpdateWindow does: no other message is processed.
  void Update();
  // Marks the whole form for repainting, then Update.
  void Repaint();

  std::string Caption() const;
  bool StayOnTop() const { return stayOnTop_; }
  // The description's visibility, recorded at construction and applied by CreateForm.
  bool VisibleOnCreate() const { return visibleOnCreate_; }

  // The form's handling of a message. Override it to handle one message yourself and pass
  // every other one on to TForm::Dispatch.
  virtual void Dispatch(TMessage& message);

 private:
  friend class TApplication;
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);

  void Build(const FormDescription& description, THandlers handlers);
  void Paint();
  TWinControl* ControlOf(HWND window) const;

  WindowHandle window_;
  std::vector<TGraphicControl*> graphics_;  // paint order; the form owns them as components
  bool visibleOnCreate_ = false;
  bool stayOnTop_ = false;
  bool centreOnFirstShow_ = false;
  bool shownOnce_ = false;
  COLORREF color_ = 0;
};

// Disables the program's enabled top-level windows for one scope, as a modal box needs, and
// gives them back with the activation as it was.
class TaskWindowsDisabled {
 public:
  TaskWindowsDisabled();
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;
  ~TaskWindowsDisabled();

 private:
  std::vector<HWND> disabled_;
  HWND active_;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Creates the application's hidden window, which owns the forms, boxes and dialogs.
  void Initialize();
  HWND Handle();

  // Points `reference` at the new form before its construction starts, so code run by the
  // constructor reaches it; resets it to null when the constructor throws. Then runs the
  // on_create handler (an error there is shown and the form kept), applies the recorded
  // visibility, and makes the first form created the main form.
  template <class T>
  void CreateForm(T*& reference) {
    void* storage = ::operator new(sizeof(T));
    reference = static_cast<T*>(storage);
    T* form;
    try {
      form = ::new (storage) T(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(storage);
      throw;
    }
    FinishCreation(form);
  }

  TForm* MainForm() const { return mainForm_; }
  // Shows the main form if it is not visible yet, then dispatches messages until Terminate
  // or the main form's closing.
  void Run();
  void Terminate();
  // Dispatches the messages waiting now, then returns.
  void ProcessMessages();

  // The full path of the program's executable.
  const std::string& ExeName() const { return exeName_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // Modal box owned by the application window, the program's other windows disabled.
  int MessageBox(std::string_view text, std::string_view caption, UINT flags);
  // The standard error display: the message followed by ".", the title as caption, the stop icon.
  void ShowException(const std::exception& error);

 private:
  friend class TForm;
  void FinishCreation(TForm* form);
  bool Dispatch(MSG& msg);

  WindowHandle window_;
  std::string exeName_;
  std::string title_;
  TForm* mainForm_ = nullptr;
};

// Exists before the entry point runs.
extern TApplication* Application;
