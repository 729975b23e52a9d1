#include "manager/IniFiles.h"

#include <windows.h>

#include <stdexcept>

#include "common/FileSystem.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerUtilities.h"
#include "manager/portable/IniText.h"
#include "manager/portable/NameText.h"

namespace {

constexpr int kTries = 5;
constexpr DWORD kPauseMs = 300;

std::string LoadFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  std::string text;
  char buffer[16384];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot read " + path);
  return text;
}

// The old file stays whole until the new text is complete beside it.
void SaveFile(const std::string& path, const std::string& text) {
  if (!WriteFileReplacing(path, text)) throw std::runtime_error("cannot save " + path);
}

IniText Open(const std::string& path) { return FileExists(path) ? IniText(LoadFile(path)) : IniText(); }

void ShowFailure() {
  forms::ShowMessageBox(nullptr, "INIファイルの操作に失敗しました。権限がありません。", "KestroMgr", MB_OK);
}

// Runs work until it does not throw, at most five times; the box after the last.
template <typename Work>
int WithRetries(Work work) {
  for (int attempt = 1; attempt <= kTries; ++attempt) {
    try {
      work();
      return 0;
    } catch (...) {
      if (attempt < kTries) Sleep(kPauseMs);
    }
  }
  ShowFailure();
  return -1;
}

}  // namespace

std::string IniReadString(const std::string& file, const std::string& section, const std::string& key) {
  std::string value;
  IniTryReadString(file, section, key, value);
  return value;
}

bool IniTryReadString(const std::string& file, const std::string& section, const std::string& key,
                      std::string& value) {
  // A failed try is told apart from every value the file may hold.
  for (int attempt = 1; attempt <= kTries; ++attempt) {
    value.clear();
    try {
      if (FileExists(file)) value = IniText(LoadFile(file)).Read(section, key);
      return true;
    } catch (...) {
    }
    if (attempt < kTries) Sleep(kPauseMs);
  }
  ShowFailure();
  value.clear();
  return false;
}

int IniWriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
  return WithRetries([&] {
    IniText ini = Open(file);
    ini.Write(section, key, value);
    SaveFile(file, ini.Text());
  });
}

int IniWriteAllSections(const std::string& file, const std::vector<std::string>& sections, const std::string& key,
                        const std::string& value) {
  return WithRetries([&] {
    IniText ini = Open(file);
    for (const std::string& section : sections) ini.Write(section, key, value);
    SaveFile(file, ini.Text());
  });
}

int IniGetList(const std::string& file, std::vector<std::string>& list) {
  list.clear();
  if (!FileExists(file)) {
    list.push_back("error");
    return -1;
  }
  const int result = WithRetries([&] { list = IniText(LoadFile(file)).Sections(); });
  if (result != 0) {
    list.clear();
    return -1;
  }
  fncWriteSysLog("IniGetList():ListCount=" + std::to_string(list.size()));
  return 0;
}

int IniLoadText(const std::string& file, IniText& ini) {
  return WithRetries([&] { ini = Open(file); });
}

int IniSaveText(const std::string& file, const IniText& ini) {
  return WithRetries([&] { SaveFile(file, ini.Text()); });
}

int IniGetCatalogue(const std::string& file, const std::vector<std::string>& sections, IniCatalogueValues& values) {
  if (!FileExists(file)) return 0;
  IniText ini;
  if (WithRetries([&] { ini = IniText(LoadFile(file)); }) != 0) return -1;
  for (const std::string& section : sections) {
    values.STATUS.push_back(ini.Read(section, "STATUS"));
    values.READ.push_back(ini.Read(section, "READ"));
    values.IMPORTANT.push_back(ini.Read(section, "IMPORTANT"));
    values.FILESIZE.push_back(ini.Read(section, "FILESIZE"));
    values.FILETYPE.push_back(ini.Read(section, "FILETYPE"));
    values.COMMENT.push_back(ini.Read(section, "COMMENT"));
    values.PROJECT.push_back(ini.Read(section, "PROJECT"));
    values.OPERATION.push_back(ini.Read(section, "OPERATION"));
  }
  return 0;
}

int IniPutCatalogue(const std::string& file, const std::vector<std::string>& sections,
                    const IniCatalogueValues& values) {
  auto at = [](const std::vector<std::string>& list, size_t i) { return i < list.size() ? list[i] : std::string(); };
  return WithRetries([&] {
    IniText ini = Open(file);
    for (size_t i = 0; i < sections.size(); ++i) {
      const std::string section = TrimText(sections[i]);
      if (section.empty()) continue;
      ini.Write(section, "STATUS", at(values.STATUS, i));
      ini.Write(section, "FILESIZE", at(values.FILESIZE, i));
      ini.Write(section, "FILETYPE", at(values.FILETYPE, i));
      ini.Write(section, "COMMENT", at(values.COMMENT, i));
      ini.Write(section, "PROJECT", at(values.PROJECT, i));
      ini.Write(section, "OPERATION", at(values.OPERATION, i));
    }
    SaveFile(file, ini.Text());
  });
}
