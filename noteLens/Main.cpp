// noteLens: started by the manager with the present comment as the whole
// rest of its command line (not quoted, possibly empty) and with the work
// folder as its current folder. Ends when its window closes.
//
// Tests answer through the environment: NOTELENS_ANSWER is "OK:<text>",
// "OK" or "CANCEL" (see TTagInformation::SetScriptedAnswer), or "@<file>"
// naming a file that holds such an answer (so that a running caller's
// editors can answer differently); when NOTELENS_RECORD names a file, the
// comment received is written into it.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "forms/Application.h"
#include "noteLens/TagInformationForm.h"

namespace {

// The command line after the program name and the one blank that follows it.
std::string CommandTail() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  if (*line == ' ' || *line == '\t') ++line;
  return line;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ReadAnswer(const std::string& answer) {
  if (answer.empty() || answer[0] != '@') return answer;
  std::string text;
  HANDLE file = CreateFileA(answer.c_str() + 1, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[512];
  DWORD got = 0;
  if (ReadFile(file, buffer, sizeof buffer, &got, nullptr)) text.assign(buffer, got);
  CloseHandle(file);
  return text;
}

void Record(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  forms::Application& application = forms::Application::Instance();
  application.Initialize(instance);
  application.SetTitle("noteLens");
  const std::string comment = CommandTail();
  if (!Env("NOTELENS_RECORD").empty()) Record(Env("NOTELENS_RECORD"), comment);

  TTagInformation form(comment);
  form.SetScriptedAnswer(ReadAnswer(Env("NOTELENS_ANSWER")));
  if (!form.Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 420, 140)) return 1;
  form.CenterOnScreen();
  // The caller starts us with SW_HIDE, which the first ShowWindow obeys.
  form.Show(SW_SHOWNORMAL);
  form.Show(SW_SHOWNORMAL);
  SetForegroundWindow(form.Handle());
  return application.Run();
}
