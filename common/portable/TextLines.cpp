#include "common/portable/TextLines.h"


std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0, i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

