// The application object: title, forms, message loop and ProcessMessages.
#pragma once
#include <windows.h>
#include <functional>
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
  // Closes every form but keep, handling the pending messages after each.
  void CloseFormsBut(Form* keep);

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

// A program's start: sets up the application with its module and title and
// runs start (which creates the forms and runs the loop). An exception
// ends it with a topmost "ERROR" box: its text, or for one that is no
// std::exception a fixed unknown-error text. Returns the exit code 0.
int RunProgram(HINSTANCE instance, const std::string& title, const std::function<void(Application&)>& start);

}  // namespace forms
