#include "common/ViewerLookup.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/portable/ViewerLookupText.h"

namespace {

void Write(const ViewerLog& log, const std::string& line) {
  if (log) log(line);
}

void SaveText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("ファイルを保存できません:" + path);
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != text.size()) throw std::runtime_error("ファイルを保存できません:" + path);
}

}  // namespace

bool fncSetRelay(const std::string& dataDir, const std::string& workFolder, const ViewerLog& log) {
  try {
    Write(log, "fncSetRelay()");
    // Made here, so that the lookup works from the first start on.
    const std::string folder = dataDir + workFolder;
    if (!ForceDirectories(folder)) throw std::runtime_error("作業フォルダを作成できません:" + folder);
    const std::string batch = viewer::RelayBatchPath(dataDir, workFolder);
    SaveText(batch, viewer::RelayBatchText(viewer::RelayIniPath(dataDir, workFolder)));
    UINT started = WinExec(viewer::RelayBatchCommandLine(batch).c_str(), SW_HIDE);
    if (started <= 31) throw std::runtime_error("Go.batを起動できません:" + std::to_string(started));
    return true;
  } catch (...) {
    Write(log, "fncSetRelay()ERROR=" + ExceptionMessage());
    return false;
  }
}

std::string fncGetRelay(const std::string& dataDir, const std::string& workFolder, const std::string& name,
                        const ViewerLog& log) {
  try {
    Write(log, "fncGetRelay()");
    if (name.empty()) return "";
    std::string value;
    const std::string ini = viewer::RelayIniPath(dataDir, workFolder);
    if (GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES) {
      std::vector<char> buffer(4096);
      for (;;) {
        DWORD length = GetPrivateProfileStringA(viewer::kRelaySection, name.c_str(), "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), ini.c_str());
        if (length + 1 < buffer.size()) {
          value.assign(buffer.data(), length);
          break;
        }
        buffer.resize(buffer.size() * 2);
      }
    }
    Write(log, "fncGetRelay()TempAssign=" + name + "<<" + value);
    return viewer::RelayCommand(value);
  } catch (...) {
    Write(log, "fncGetRelay()ERROR=" + ExceptionMessage());
    return "";
  }
}
