// The capture hand-off of the main form: the shared block for the hook
// library, the capture queue and the timer that handles one capture at a time.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "common/LocalTime.h"
#include "client/CaptureDate.h"
#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "client/RegistrationHandoff.h"
#include "client/SettingsValues.h"
#include "client/portable/ProjectList.h"
#include "common/portable/CaptureName.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "snaptrap/SharedWindowBlock.h"
#include "snaptrap/SnapTrap.h"

namespace {

// The 4-byte block through which the hook library finds the main window;
// made before any form exists and kept for the life of the process.
class SharedWindowMapping {
 public:
  SharedWindowMapping()
      : handle_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                   snaptrap::kSharedBlockName)) {}
  ~SharedWindowMapping() {
    if (handle_) CloseHandle(handle_);
  }

 private:
  HANDLE handle_;
};
SharedWindowMapping gSharedWindowMapping;

bool StoreWindowInSharedBlock(HWND window) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, snaptrap::kSharedBlockName);
  if (!mapping) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DWORD));
  if (view) {
    *static_cast<volatile std::uint32_t*>(view) = snaptrap::SharedBlockValue(window);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return view != nullptr;
}

bool RegistrationShown() { return gRegistration && gRegistration->IsShown(); }

}  // namespace

void TForm1::DebugLine(const std::string& line) {
  if (kestro::kDebug) memDebug.Append(line);
}

bool TForm1::fncInit() {
  try {
    tmrEvent.SetEnabled(false);
    tmrEvent.SetInterval(kestro::kEventInterval);
    tmrEvent.OnTimer = [this] { tmrEventTimer(); };
    Log("fncInit()");
    gClosing = false;
    gProjectListFetched = false;
    gCaptureQueue.Clear();
    gProjectList.assign(1, "");
    gCaptureDetails.clear();
    gCaptureOperations.clear();
    QueueLeftCaptures();
    if (hookLibrary_) {
      StoreWindowInSharedBlock(Handle());
      StartHook(Handle());
    }
    return true;
  } catch (...) {
    forms::Application::Instance().Terminate();
    return false;
  }
}

void TForm1::QueueLeftCaptures() {
  // A save that failed, or a queue left at the end of the last run or of
  // the Windows session: these take the usual road again.
  const std::string folder = gDataDir + kestro::kTempFolder;
  std::vector<std::pair<ULONGLONG, std::string>> left;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && snaptrap::IsCaptureFileName(found.cFileName)) {
      const ULONGLONG created =
          (static_cast<ULONGLONG>(found.ftCreationTime.dwHighDateTime) << 32) | found.ftCreationTime.dwLowDateTime;
      left.emplace_back(created, found.cFileName);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(left.begin(), left.end());
  for (const auto& capture : left)
    if (gCaptureQueue.Add(capture.second)) Log("fncInit()取込ファイル再登録=" + folder + capture.second);
}

void TForm1::WMSnapChot(WPARAM w, LPARAM l) {
  try {
    std::string name = CaptureName(static_cast<int32_t>(w), static_cast<int32_t>(l));
    Log("WMSnapChot()GetName=" + name);
    DebugLine(name);
    if (!gStartComplete) {
      Log("WMSnapChot()初期化未完了=Exit");
      return;
    }
    gCaptureQueue.Add(name);
  } catch (...) {
    Log("WMSnapChot()ERROR=" + ExceptionMessage());
  }
}

void TForm1::tmrEventTimer() {
  tmrEvent.SetEnabled(false);
  try {
    // During another store operation (a list post) a capture waits at the
    // head of the queue: its post would be refused, and its file left behind.
    const bool waiting = !gCaptureQueue.Empty() && gRegistration && gRegistration->StoreBusy();
    if (waiting && !captureWaitLogged_) Log("tmrEventTimer()=他のサーバ処理が終わるまで待機します");
    captureWaitLogged_ = waiting;
    if (!gCaptureQueue.Empty() && !RegistrationShown() && !waiting) {
      gCurrentCapture = gCaptureQueue.Head();
      if (!gProjectListFetched && gRegistration) {
        gProjectListFetched = gRegistration->fncGetProject() == 1;
        if (gProjectListFetched) fncReadFile();
      }
      if (fncSetTemp() == 1) {
        if (gSettings.SHOW == 0) {
          Log("tmrEventTimer()=表示しない***");
          MODIFYIcon(kTrayBusy);
          PostOutcome outcome = gRegistration ? gRegistration->fncSendFile(true) : PostOutcome::NotSaved;
          if (outcome == PostOutcome::Posted) MODIFYIcon(kTrayNormal);
          // The capture file goes only once its report is safe in a store.
          if (outcome != PostOutcome::NotSaved) {
            fncDeleteTemp();
          } else {
            Log("tmrEventTimer()ERROR=報告が保存できなかったため取込ファイルを残します=" + CurrentCapturePath());
            DropCurrentCapture(false);
          }
        } else if (gSettings.SHOW == 1) {
          Log("tmrEventTimer()=表示する***");
          if (!gRegistration) {
            Log("tmrEventTimer()ERROR=登録画面がないため取込ファイルを残します=" + CurrentCapturePath());
            DropCurrentCapture(false);
          } else if (!gRegistration->IsShown()) {
            gRegistration->ShowForCapture();
          }
        }
      }
    }
    std::string today = TodayText("/");
    if (today != lastCleanUpDay_) {
      fncCleanUpSysLog(kestro::kLogPattern, gSettings.VALIDDAY);
      lastCleanUpDay_ = today;
    }
    if (kestro::kDebug && memDebug.Text().size() > 10000) memDebug.Clear();
  } catch (...) {
    Log("tmrEventTimer()ERROR=" + ExceptionMessage());
  }
  if (!gClosing && !RegistrationShown() && !tmrEvent.Enabled()) tmrEvent.SetEnabled(true);
}

int TForm1::fncSetTemp() {
  std::string path = CurrentCapturePath();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    Log("fncSetTemp()ERROR=NotFound");
    if (gCaptureQueue.NoteHeadMissing(kMissingCaptureTicks)) {
      Log("fncSetTemp()ERROR=取込ファイルが見つからないため処理を中止します=" + path);
      DropCurrentCapture(false);
    }
    return 0;
  }
  FindClose(search);
  gCaptureQueue.NoteHeadFound();
  ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  Log("fncSetTemp()Size=" + std::to_string(size));
  if (size < 1) {
    Log("fncSetTemp()ERROR=Zero");
    return 0;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DebugLine("**fncSetTemp NotFound");
    Log("fncSetTemp()ERROR=NotFound");
    return 0;
  }
  try {
    FILETIME created;
    CaptureStamp stamp;
    if (!GetFileTime(file, &created, nullptr, nullptr) || !CaptureStampFromFileTime(created, stamp))
      throw std::runtime_error("取込ファイルの日時を取得できません");
    gCaptureDate = stamp.date;
    gCaptureTime = stamp.time;
    DebugLine("**fncSetTemp Date" + gCaptureDate);
    DebugLine("**fncSetTemp Time" + gCaptureTime);
    gSubmitDisplayDate = gOccurDisplayDate = stamp.display;
    gCaptureTitle.clear();
    gCaptureDetails.clear();
    gCaptureOperations.clear();
    CloseHandle(file);
    return 1;
  } catch (...) {
    CloseHandle(file);
    std::string message = ExceptionMessage();
    Log("fncSetTemp()ERROR=" + message);
    forms::ShowMessageBox(Handle(), message, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
    return 0;
  }
}

void TForm1::DropCurrentCapture(bool deleteFile) {
  if (!deleteFile) {
    // Off the queue only: the file stays in the work folder.
    if (gCaptureQueue.Remove(gCurrentCapture)) Log("tmrEventTimer()Skip=" + gCurrentCapture);
    return;
  }
  if (gCaptureQueue.Remove(gCurrentCapture)) Log("fncDeleteTemp()Delete=" + gCurrentCapture);
  fncDeleteFile(CurrentCapturePath());
}

bool TForm1::fncDeleteTemp() {
  try {
    Log("fncDeleteTemp()Name=" + CurrentCapturePath());
    DropCurrentCapture(true);
    return true;
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("fncDeleteTemp()ERROR=" + message);
    forms::ShowMessageBox(Handle(), message, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
    return false;
  }
}

bool TForm1::fncReadFile() {
  try {
    Log("fncReadFile()");
    std::string path = gDataDir + kestro::kProjectListFile;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      Log("fncReadFile()=projectlist NotFound");
      return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + " を開けません");
    std::ostringstream text;
    text << in.rdbuf();
    gProjectList = ParseProjectList(text.str());
    return true;
  } catch (...) {
    Log("fncReadFile()ERROR=" + ExceptionMessage());
    return false;
  }
}
