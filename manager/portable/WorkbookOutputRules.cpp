#include "manager/portable/WorkbookOutputRules.h"

#include <cmath>
#include <cstdio>

#include "manager/portable/CommentText.h"
#include "manager/portable/NameText.h"

std::string ListCountText(int count) { return std::to_string(count) + " 件 "; }

std::string CompletedShareText(int completed, int entries) {
  const double share = entries > 0 ? completed * 100.0 / entries : 0.0;
  char text[32];
  std::snprintf(text, sizeof text, "( %3.1f ", share);
  return std::string(text) + "％)";
}

std::string PictureSheetName(int n, const std::string& comment) {
  const std::string prefix = "(" + std::to_string(n) + ")";
  if (comment.empty()) return prefix + "画像";
  const std::string cleaned = fncDelInvalidSheetStr(DelCrlf(TrimText(comment)));
  return FirstCharacters(prefix + FirstCharacters(cleaned, 50), 31);
}

int AllPicturesRow(int limitY, int n) {
  return static_cast<int>(std::nearbyint((limitY + 30) * (n - 1) / 13.5 + 1));
}

std::string DayOfDateText(const std::string& date) {
  if (date.size() != 10 || date[4] != '/' || date[7] != '/') return "";
  std::string day = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
  for (char c : day)
    if (c < '0' || c > '9') return "";
  return day;
}
