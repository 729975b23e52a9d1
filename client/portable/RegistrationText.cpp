#include "client/portable/RegistrationText.h"

#include <algorithm>

#include "common/portable/Cp932.h"
#include "client/portable/FileNameText.h"

int fncLineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

std::string fncLimitLines(const std::string& text, int lines) {
  if (lines < 1) return text;
  std::string result;
  result.reserve(text.size());
  int returns = 0;
  for (char c : text) {
    if (c == '\r') ++returns;
    if (returns >= lines && (c == '\r' || c == '\n')) continue;
    result += c;
  }
  return result;
}

std::vector<std::string> MemoLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

namespace {

bool IsBlankText(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string CheckRegistrationFields(const std::string& project, const std::string& terminal) {
  if (!fncChkFileName(project)) return kProjectNameError;
  if (IsBlankText(terminal)) return kTerminalEmptyError;
  if (!fncChkFileName(terminal)) return kTerminalNameError;
  return "";
}

size_t Cp932CharCount(const std::string& text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) ++count;
  return count;
}

bool TitleTakesKey(const std::string& title, unsigned char key) {
  return key == '\b' || Cp932CharCount(title) < kTitleTypingChars;
}

std::string TitleImeFit(const std::string& title, const std::string& committed) {
  const size_t count = Cp932CharCount(title);
  size_t room = count < kTitleTypingChars ? kTitleTypingChars - count : 0;
  size_t pos = 0;
  for (; pos < committed.size() && room > 0; --room) pos += Cp932CharLength(committed, pos);
  return committed.substr(0, pos);
}
