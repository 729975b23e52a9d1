#include "snaptrap/CaptureWriter.h"

#include <windows.h>
#include <shlobj.h>

#include "common/FileSystem.h"
#include "common/portable/FolderText.h"

namespace snaptrap {
namespace {

constexpr std::int32_t kMaxSequence = 9999;

}  // namespace

std::string CaptureFolder() {
  char common[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_APPDATA, FALSE)) return "";
  if (!*common) return "";
  return WithTrailingBackslash(common) + "Veltrana\\kestro\\temp\\";
}

bool WriteCaptureFile(const jpegio::RgbPicture& picture, const std::atomic<bool>* stopping, CaptureId* id,
                      std::string* error) {
  const std::string folder = CaptureFolder();
  if (folder.empty() || !ForceDirectories(folder)) {
    *error = "作業フォルダを作成できません:" + folder;
    return false;
  }
  char temporary[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "snp", 0, temporary)) {
    *error = "一時ファイルを作成できません:" + folder;
    return false;
  }
  if (!jpegio::WriteJpegFile(temporary, picture, kCaptureQuality, error)) {
    DeleteFileA(temporary);
    return false;
  }
  if (stopping && *stopping) {
    DeleteFileA(temporary);
    *error = "フック停止のためキャプチャを破棄しました";
    return false;
  }

  SYSTEMTIME now;
  GetLocalTime(&now);
  id->number = CaptureNumberForTime(now.wHour, now.wMinute, now.wSecond);
  for (std::int32_t sequence = 1; sequence <= kMaxSequence; ++sequence) {
    id->sequence = sequence;
    const std::string target = folder + CaptureFileName(*id);
    // MoveFile never replaces: a capture still waiting keeps its file.
    if (MoveFileA(temporary, target.c_str())) return true;
    const DWORD cause = GetLastError();
    if (cause != ERROR_ALREADY_EXISTS && cause != ERROR_FILE_EXISTS) break;
  }
  DeleteFileA(temporary);
  *error = "キャプチャファイル名を決められません:" + folder;
  return false;
}

}  // namespace snaptrap
