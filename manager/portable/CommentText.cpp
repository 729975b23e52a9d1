#include "manager/portable/CommentText.h"

#include "common/portable/Cp932.h"
#include "common/portable/NameCharacters.h"
#include "manager/portable/ManagerSettingsRules.h"
#include "manager/portable/NameText.h"

std::string DelCrlf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

std::string FirstCharacters(const std::string& text, size_t maxChars) {
  size_t pos = 0;
  for (size_t n = 0; n < maxChars && pos < text.size(); ++n) pos += Cp932CharLength(text, pos);
  return text.substr(0, pos);
}

std::string CleanCellComment(const std::string& cell) {
  return FirstCharacters(fncDelInvalidStr(DelCrlf(cell)), kCommentMaxChars);
}

std::string CleanAnswerComment(const std::string& line) { return CleanCellComment(TrimText(line)); }

std::string TagNameFor(const std::string& reportName, const std::string& comment) {
  const std::string base = reportName.size() > 4 ? reportName.substr(0, reportName.size() - 4) : "";
  // The comment may come from a catalogue that nobody cleaned.
  return base + "_" + WithoutNameCharacters(comment) + ".tag";
}

bool SameTagName(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }
