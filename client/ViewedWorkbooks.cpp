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

// The notes of the list; a line that holds none is logged and left out.
std::vector<Note> ReadNotes(const std::string& caller) {
  std::vector<Note> notes;
  std::string text;
  if (!ReadWholeFile(ListPath(), text)) return notes;
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
  return notes;
}

// The whole list anew (none: no file); false when it could not be written.
bool WriteNotes(const std::vector<Note>& notes) {
  const std::string path = ListPath();
  if (notes.empty()) return !FileExists(path) || fncDeleteFile(path);
  std::string text;
  for (const Note& note : notes) text += note.localDir + "\t" + note.day + "\t" + note.name + "\r\n";
  return WriteFileReplacing(path, text);
}

bool IsNoted(const Note& note, const std::string& caller) {
  if (!FileExists(ListPath())) return false;
  const std::vector<Note> notes = ReadNotes(caller);
  return std::find(notes.begin(), notes.end(), note) != notes.end();
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
  std::vector<Note> notes = ReadNotes(caller_);
  if (std::find(notes.begin(), notes.end(), note) == notes.end()) notes.push_back(note);
  // Noted first: whatever ends the program from here on, the next start protects it.
  if (!IsNote(note) || !WriteNotes(notes)) {
    Log("ERROR=" + std::string(kCannotNote));
    throw std::runtime_error(kCannotNote);
  }
  bool saved = false;
  try {
    fucXlsPwdChg(false, localDir, day, name, PasswordOfName(name), "", &saved);
  } catch (...) {
    if (!saved) Forget(localDir, day, name);  // still protected as it was
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
  return !IsNoted(NoteOf(localDir, day, name), caller_) || TryProtectAgain(localDir, day, name);
}

bool ViewedWorkbooks::TryProtectAgain(const std::string& localDir, const std::string& day, const std::string& name) {
  const Note note = NoteOf(localDir, day, name);
  try {
    ProtectAgain(true, localDir, day, name);
  } catch (...) {
    // Its note stays unless it was saved (and only its tag could not follow).
    if (IsNoted(note, caller_)) {
      Log("ERROR=ブックのパスワードを設定し直せません=" + PathOf(note));
      return false;
    }
  }
  Log("ブックのパスワードを設定し直しました=" + PathOf(note));
  return true;
}

void ViewedWorkbooks::Forget(const std::string& localDir, const std::string& day, const std::string& name) {
  if (!FileExists(ListPath())) return;
  std::vector<Note> notes = ReadNotes(caller_);
  const size_t before = notes.size();
  notes.erase(std::remove(notes.begin(), notes.end(), NoteOf(localDir, day, name)), notes.end());
  if (notes.size() != before && !WriteNotes(notes)) Log("ERROR=保護の記録を更新できません=" + ListPath());
}

void ViewedWorkbooks::ProtectLeft() {
  try {
    if (!FileExists(ListPath())) return;
    const std::vector<Note> notes = ReadNotes(caller_);
    if (notes.empty()) WriteNotes(notes);  // lines that held no note
    bool probed = false, canStart = false;
    for (const Note& note : notes) {
      const std::string path = PathOf(note);
      if (!FileExists(path)) {
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
