#include "forms/Application.h"

#include <algorithm>
#include <exception>

#include "forms/Form.h"
#include "forms/MessageBox.h"
#include "forms/Pause.h"

namespace forms {

Application& Application::Instance() {
  static Application application;
  return application;
}

void Application::AddForm(Form* form) { forms_.push_back(form); }

void Application::RemoveForm(Form* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void Application::CloseFormsBut(Form* keep) {
  std::vector<Form*> others = forms_;  // closing may add or remove forms
  for (Form* form : others) {
    if (form == keep) continue;
    form->Close();
    ProcessMessages();
  }
}

bool Application::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

int Application::Run() {
  MSG msg;
  while (!terminated_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      terminated_ = true;
      break;
    }
    Dispatch(msg);
  }
  return 0;
}

void Application::ProcessMessages() {
  while (ProcessMessages(1 << 30)) {
  }
}

void PauseWithMessages(DWORD milliseconds) {
  Application& application = Application::Instance();
  for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(50))
    application.ProcessMessages();
}

bool Application::ProcessMessages(int maxMessages) {
  MSG msg;
  for (int handled = 0; handled < maxMessages; ++handled) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (!Dispatch(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for Run
      return false;
    }
  }
  return true;
}

void Application::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

bool AcquireSingleInstance(const char* mutexName) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
  DWORD error = GetLastError();
  if (mutex == nullptr) return false;  // ERROR_ACCESS_DENIED: another session's instance holds it
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  return true;  // kept open for the life of the process
}

int RunProgram(HINSTANCE instance, const std::string& title, const std::function<void(Application&)>& start) {
  Application& application = Application::Instance();
  try {
    application.Initialize(instance);
    application.SetTitle(title);
    start(application);
  } catch (const std::exception& e) {
    ShowMessageBox(nullptr, e.what(), "ERROR", MB_OK | MB_TOPMOST);
  } catch (...) {
    ShowMessageBox(nullptr, "不明なエラーが発生しました\r\nプログラムを終了します", "ERROR", MB_OK | MB_TOPMOST);
  }
  return 0;
}

}  // namespace forms
