// The application object: title, forms, message loop and ProcessMessages.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace forms {

class Form;

class Application {
 public:
  static Application& Instance();

  void Initialize(HINSTANCE instance) { instance_ = instance; }
  HINSTANCE ModuleInstance() const { return instance_ ? instance_ : GetModuleHandleA(nullptr); }

  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& Title() const { return title_; }

  // Forms in their order of creation; the first one is the main form.
  void AddForm(Form* form);
  void RemoveForm(Form* form);
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }

  // Runs the message loop until Terminate.
  int Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Handles at most maxMessages pending messages; true when more may wait.
  bool ProcessMessages(int maxMessages);
  void Terminate();
  bool Terminated() const { return terminated_; }

 private:
  Application() = default;
  bool Dispatch(MSG& msg);

  HINSTANCE instance_ = nullptr;
  std::string title_;
  std::vector<Form*> forms_;
  bool terminated_ = false;
};

// Claims the named mutex for this process; false when another process has it
// already (or holds it so that we may not open it).
bool AcquireSingleInstance(const char* mutexName);

}  // namespace forms
