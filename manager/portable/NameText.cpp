#include "manager/portable/NameText.h"

#include <cctype>
#include <stdexcept>

#include "common/portable/Cp932.h"
#include "common/portable/FieldToken.h"
#include "common/portable/NameCharacters.h"

namespace {

constexpr char kInvalidSheetChars[] = ":\\/?*[]";
// Full-width forms that a worksheet name may not hold either.
const char* const kInvalidSheetWide[] = {"：", "￥", "／", "？", "＊", "［", "］"};

constexpr size_t kShortName = 20;
constexpr size_t kStampDigits = 17;  // yyyymmdd hhnnss NNN
constexpr size_t kTagExtension = 4;  // ".tag"

bool IsSingleOf(const std::string& text, size_t pos, size_t length, const char* set) {
  if (length != 1) return false;
  for (const char* c = set; *c; ++c)
    if (text[pos] == *c) return true;
  return false;
}

bool IsWideSheetChar(const std::string& text, size_t pos, size_t length) {
  if (length != 2) return false;
  for (const char* wide : kInvalidSheetWide)
    if (text.compare(pos, 2, wide) == 0) return true;
  return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string TrimText(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

bool fncIsValidName(const std::string& text) {
  try {
    return HoldsNoNameCharacter(text);
  } catch (...) {
    return false;
  }
}

std::string fncDelInvalidStr(const std::string& text) { return WithoutNameCharacters(text); }

std::string fncDelInvalidSheetStr(const std::string& text) {
  std::string result;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Cp932CharLength(text, pos);
    if (!IsSingleOf(text, pos, length, kInvalidSheetChars) && !IsWideSheetChar(text, pos, length))
      result.append(text, pos, length);
    pos += length;
  }
  return result;
}

std::string fncFormatDate(const std::string& text) {
  if (text.size() != 8) return "";
  return text.substr(0, 4) + "/" + text.substr(4, 2) + "/" + text.substr(6, 2);
}

std::string fncFormatTime(const std::string& text) {
  if (text.size() != 6) return "";
  return text.substr(0, 2) + ":" + text.substr(2, 2) + ":" + text.substr(4, 2);
}

int fncLastDelimiterPos(const std::string& delimiter, const std::string& text) {
  if (delimiter.empty() || text.empty() || delimiter.size() > text.size()) return 0;
  for (size_t pos = text.size() - delimiter.size() + 1; pos-- > 1;) {
    if (text.compare(pos, delimiter.size(), delimiter) == 0 && IsDigit(text[pos - 1]))
      return static_cast<int>(pos) + 1;
  }
  return 0;
}

std::string fncProjectFromName(const std::string& name) {
  if (name.size() <= kShortName) return "";
  const size_t first = Cp932Find(name, '_');
  if (first == std::string::npos) return "";
  if (static_cast<int>(first) + 1 == fncLastDelimiterPos("_", name)) return "";
  return name.substr(0, first);
}

std::string fncCreatorFromName(const std::string& name) {
  if (name.size() <= kShortName) return "";
  const int separator = fncLastDelimiterPos("_", name);
  if (separator < 1) return "";
  std::string head = name.substr(0, separator - 1);
  const size_t first = Cp932Find(head, '_');
  if (first != std::string::npos) head.erase(0, first + 1);
  if (head.size() <= kStampDigits) return "";
  return head.substr(0, head.size() - kStampDigits);
}

std::string fncCommentFromTagName(const std::string& name, const std::function<void(const std::string&)>& log) {
  if (name.size() <= kShortName) return "";
  const int separator = fncLastDelimiterPos("_", name);
  if (separator < 1) return "";
  const std::string tail = name.substr(separator);
  const std::string result = tail.size() > kTagExtension ? tail.substr(0, tail.size() - kTagExtension) : "";
  if (log) {
    log("元->" + name);
    log("編集->" + tail);
    log("結果->" + result);
  }
  return result;
}

std::string fncGetTimeFromName(const std::string& name) {
  if (name.size() <= kShortName) return "";
  const int separator = fncLastDelimiterPos("_", name);
  const std::string text = separator < 1 ? name : name.substr(separator);
  // hhnnss, then the counter and the extension: 6 + 3 + 4 from the end.
  if (text.size() < 13) return "";
  return text.substr(text.size() - 13, 6);
}

std::string fncFindTagFile(const std::string& base, const std::vector<std::string>& entries, bool ftpMode) {
  const std::string wanted = TrimText(base);
  if (wanted.empty()) return "";
  for (const std::string& entry : entries) {
    std::string name = entry;
    if (ftpMode) {
      const char first = entry.empty() ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
      const bool unixStyle = first == '-' || first == 'd' || first == 'l';
      name = fncGetToken(entry, unixStyle ? 9 : 4, " ", true);
    }
    const int separator = fncLastDelimiterPos("_", name);
    const std::string cut = separator < 1 ? std::string() : name.substr(0, separator - 1);
    if (wanted != TrimText(cut)) continue;
    const std::string trimmed = TrimText(entry);
    const size_t at = trimmed.find(wanted);
    if (at != std::string::npos) return trimmed.substr(at);
  }
  return "";
}

std::string WithoutChar(const std::string& text, char c) {
  std::string out;
  for (char ch : text)
    if (ch != c) out += ch;
  return out;
}

std::string DayFolderOf(const std::string& date) {
  const std::string day = WithoutChar(date, '/');
  bool digits = day.size() == 8 && date.size() == 10 && date[4] == '/' && date[7] == '/';
  for (char c : day) digits = digits && c >= '0' && c <= '9';
  if (!digits) throw std::runtime_error("日付が不正です:" + date);
  return day;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}
