#include "client/ViewedWorkbooks.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "client/Common.h"
#include "client/Global.h"
#include "client/ReportWorkbook.h"
#include "client/SettingsValues.h"
#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "common/portable/NameCharacters.h"
#include "common/portable/TextLines.h"
#include "office/portable/WorkbookPassword.h"

namespace workbook {

namespace {

const char kCannotNote[] = "ブックの保護を記録できないため、開けません";

struct Note {
  std::string localDir, day, name;
  bool operator==(const Note& other) const {
    return localDir == other.localDir && day == other.day && name == other.name;
  }
};

std::string ListPath() { return gDataDir + kestro::kViewedBooksFile; }

Note NoteOf(const std::string& localDir, const std::string& day, const std::string& name) {
  return {WithTrailingBackslash(localDir), day, name};
}

bool IsNote(const Note& note) {
  const bool day = note.day.size() == 8 &&
                   std::all_of(note.day.begin(), note.day.end(), [](char c) { return c >= '0' && c <= '9'; });
  return day && !note.localDir.empty() && note.localDir.find('\t') == std::string::npos &&
         IsPlainFileName(note.name);
}

std::string PathOf(const Note& note) { return PathInFolder(note.localDir + note.day, note.name); }

bool Holds(const std::vector<Note>& notes, const Note& note) {
  return std::find(notes.begin(), notes.end(), note) != notes.end();
}

// The notes of the list (none without a list); a line that holds none is
// logged and left out. False, logged, when the list is there but cannot be read.
bool ReadNotes(const std::string& caller, std::vector<Note>& notes) {
  notes.clear();
  const std::string path = ListPath();
  if (!FileExists(path)) return true;
  std::string text;
  if (!ReadWholeFile(path, text)) {
    fncWriteSysLog(caller + "ERROR=保護の記録を読めません=" + path);
    return false;
  }
  for (const std::string& line : SplitTextLines(text)) {
    const size_t first = line.find('\t');
    const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    Note note;
    if (second != std::string::npos)
      note = {line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)};
    if (IsNote(note))
      notes.push_back(note);
    else
      fncWriteSysLog(caller + "ERROR=保護の記録が正しくありません=" + line);
  }
  return true;
}

// The whole list anew (none: no file); false when it could not be written.
bool WriteNotes(const std::vector<Note>& notes) {
  const std::string path = ListPath();
  if (notes.empty()) return !FileExists(path) || fncDeleteFile(path);
  std::string text;
  for (const Note& note : notes) text += note.localDir + "\t" + note.day + "\t" + note.name + "\r\n";
  return WriteFileReplacing(path, text);
}

// The password of the capture timestamp (14 digits before the daily counter) in the name.
std::string PasswordOfName(const std::string& name) {
  std::string base, extension, password;
  fncSplitFileName(name, base, extension);
  const size_t end = base.size() >= 3 ? base.size() - 3 : 0;
  const size_t start = end >= 14 ? end - 14 : 0;
  office::fncMakePwd(base.substr(start, end - start), password);
  return password;
}

}  // namespace

void ViewedWorkbooks::Log(const std::string& text) const { fncWriteSysLog(caller_ + text); }

void ViewedWorkbooks::UnprotectForViewing(const std::string& localDir, const std::string& day,
                                          const std::string& name) {
  const Note note = NoteOf(localDir, day, name);
  std::vector<Note> notes;
  const bool read = ReadNotes(caller_, notes);
  // A note that stands already (an earlier protection failed) is this view's only to keep.
  const bool stood = read && Holds(notes, note);
  if (!stood) notes.push_back(note);
  // Noted first: whatever ends the program from here on, the next start protects it.
  if (!read || !IsNote(note) || (!stood && !WriteNotes(notes))) {
    Log("ERROR=" + std::string(kCannotNote));
    throw std::runtime_error(kCannotNote);
  }
  bool saved = false;
  try {
    fucXlsPwdChg(false, localDir, day, name, PasswordOfName(name), "", &saved);
  } catch (...) {
    if (!saved && !stood) Forget(localDir, day, name);  // still as it was before this view
    throw;
  }
}

void ViewedWorkbooks::ProtectAgain(bool reTag, const std::string& localDir, const std::string& day,
                                   const std::string& name) {
  // Opened with its name's password, which a workbook without one ignores:
  // a note that outlived the protection (a crash in between) opens too.
  const std::string own = PasswordOfName(name);
  const std::string password = gSettings.EXCELPWD == 1 ? own : "";
  bool saved = false;
  try {
    fucXlsPwdChg(reTag, localDir, day, name, own, password, &saved);
  } catch (...) {
    if (saved) Forget(localDir, day, name);  // protected; only its tag could not follow
    throw;
  }
  Forget(localDir, day, name);
}

bool ViewedWorkbooks::ProtectBeforePost(const std::string& localDir, const std::string& day,
                                        const std::string& name) {
  const Note note = NoteOf(localDir, day, name);
  std::vector<Note> notes;
  if (!ReadNotes(caller_, notes)) return false;  // it may be noted
  return !Holds(notes, note) || TryProtectAgain(localDir, day, name);
}

bool ViewedWorkbooks::TryProtectAgain(const std::string& localDir, const std::string& day, const std::string& name) {
  const Note note = NoteOf(localDir, day, name);
  try {
    ProtectAgain(true, localDir, day, name);
  } catch (...) {
    // Its note stays unless it was saved (and only its tag could not follow).
    std::vector<Note> notes;
    if (!ReadNotes(caller_, notes) || Holds(notes, note)) {
      Log("ERROR=ブックのパスワードを設定し直せません=" + PathOf(note));
      return false;
    }
  }
  Log("ブックのパスワードを設定し直しました=" + PathOf(note));
  return true;
}

void ViewedWorkbooks::Forget(const std::string& localDir, const std::string& day, const std::string& name) {
  std::vector<Note> notes;
  if (!ReadNotes(caller_, notes)) return;  // an unread list is left as it is
  const size_t before = notes.size();
  notes.erase(std::remove(notes.begin(), notes.end(), NoteOf(localDir, day, name)), notes.end());
  if (notes.size() != before && !WriteNotes(notes)) Log("ERROR=保護の記録を更新できません=" + ListPath());
}

void ViewedWorkbooks::ProtectLeft() {
  try {
    if (!FileExists(ListPath())) return;
    std::vector<Note> notes;
    if (!ReadNotes(caller_, notes)) return;  // left for a later start
    if (notes.empty()) WriteNotes(notes);  // lines that held no note
    // The data folder serves every user of the PC: only this one's store is touched.
    const std::string store = WithTrailingBackslash(gSettings.LOCALDIR);
    bool probed = false, canStart = false;
    for (const Note& note : notes) {
      const std::string path = PathOf(note);
      if (!SamePath(note.localDir, store)) {
        Log("保存先が違うため保護の記録を残します=" + path);
        continue;
      }
      if (!FileExists(path)) {
        // A store that cannot be reached now (network, removable drive) keeps its notes.
        if (!FolderExists(note.localDir + note.day)) {
          Log("ERROR=保存先が見つからないため保護の記録を残します=" + path);
          continue;
        }
        Forget(note.localDir, note.day, note.name);
        Log("ブックが見つからないため保護の記録を削除しました=" + path);
        continue;
      }
      if (!probed) canStart = fucXlsFind();
      probed = true;
      if (canStart)
        TryProtectAgain(note.localDir, note.day, note.name);
      else
        Log("ERROR=ブックのパスワードを設定し直せません=" + path);
    }
  } catch (...) {
    Log("ERROR=" + ExceptionMessage());
  }
}

}  // namespace workbook
