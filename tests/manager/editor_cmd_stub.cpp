// Stands in for the command interpreter and the text editor it would open:
// copied as CMD.exe beside the manager under test, it gets the manager's
// command line "CMD" "/C" "<file>", read as the real one reads it. Run N (from 1) records the command line
// and the file as it found it in KESTRO_TEST_EDITOR_DIR, writes write<N>.txt
// of that folder over the file when present, makes the folder named in
// mkdir<N>.txt, and copies script<N>.txt over
// KESTRO_TEST_SCRIPT_FILE (the fault server's script) when present. With
// handoff<N>.txt it starts the running application and ends as soon as that
// one has the file open: it holds it for the milliseconds given, writes
// write<N>.txt into it and closes it. (Ending only then keeps a slow process
// start on a loaded machine from passing for a hand-off that never came.)
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ReadBytes(const std::string& path, bool& found) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  found = file != INVALID_HANDLE_VALUE;
  std::string bytes;
  if (!found) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes, DWORD disposition = CREATE_ALWAYS) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  const char* dirValue = std::getenv("KESTRO_TEST_EDITOR_DIR");
  if (!dirValue) return 1;
  const std::string dir = std::string(dirValue) + "\\";
  bool found = false;
  const std::string commandLine = GetCommandLineA();
  int run = 1;
  while (GetFileAttributesA((dir + "seen" + std::to_string(run) + ".txt").c_str()) != INVALID_FILE_ATTRIBUTES) ++run;
  WriteBytes(dir + "commands.txt", commandLine + "\r\n", OPEN_ALWAYS);
  std::string rest = commandLine.substr(commandLine.find("/C") + 2 + (commandLine.find("/C\"") != std::string::npos));
  rest.erase(0, rest.find_first_not_of(' '));
  if (!rest.empty() && rest[0] == '"') rest = rest.substr(1, rest.find_last_of('"') - 1);
  const bool quoted = !rest.empty() && rest[0] == '"';
  const std::string target = quoted ? rest.substr(1, rest.find('"', 1) - 1) : rest.substr(0, rest.find(' '));
  if (const char* n = std::getenv("KESTRO_TEST_HOLD_RUN")) {  // the running application, given the file
    HANDLE file = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    WriteBytes(dir + "held" + n + ".txt", "");
    Sleep(std::atoi(ReadBytes(dir + "handoff" + n + ".txt", found).c_str()));
    const std::string edit = ReadBytes(dir + "write" + n + ".txt", found);
    DWORD written = 0;
    WriteFile(file, edit.data(), static_cast<DWORD>(edit.size()), &written, nullptr);
    SetEndOfFile(file);
    return CloseHandle(file) ? 0 : 1;
  }
  const std::string text = ReadBytes(target, found);
  WriteBytes(dir + "seen" + std::to_string(run) + ".txt", found ? text : "<missing>");
  ReadBytes(dir + "handoff" + std::to_string(run) + ".txt", found);
  if (found) {  // handed to the application that is already running: CMD ends at once
    SetEnvironmentVariableA("KESTRO_TEST_HOLD_RUN", std::to_string(run).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &std::string(commandLine)[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
      return 1;
    const std::string held = dir + "held" + std::to_string(run) + ".txt";
    for (int n = 0; n < 600 && GetFileAttributesA(held.c_str()) == INVALID_FILE_ATTRIBUTES; ++n) Sleep(50);
    return 0;
  }
  const std::string replacement = ReadBytes(dir + "write" + std::to_string(run) + ".txt", found);
  if (found) WriteBytes(target, replacement);
  const std::string folder = ReadBytes(dir + "mkdir" + std::to_string(run) + ".txt", found);
  if (found) CreateDirectoryA(folder.c_str(), nullptr);
  const std::string script = ReadBytes(dir + "script" + std::to_string(run) + ".txt", found);
  const char* scriptFile = std::getenv("KESTRO_TEST_SCRIPT_FILE");
  if (found && scriptFile) WriteBytes(scriptFile, script);
  const std::string hold = dir + "hold" + std::to_string(run) + ".txt";  // stays while it is there
  for (int n = 0; n < 600 && GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) Sleep(50);
  Sleep(300);  // an editor stays open a while
  return 0;
}
