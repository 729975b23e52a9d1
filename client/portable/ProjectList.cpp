#include "client/portable/ProjectList.h"

#include "common/portable/Cp932.h"

namespace {
std::string Cp932Cut(const std::string& line) { return line.substr(0, Cp932CutLength(line, 255)); }
}  // namespace

std::vector<std::string> ParseProjectList(const std::string& text) {
  std::vector<std::string> list{""};
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    list.push_back(Cp932Cut(text.substr(start, end - start)));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return list;
}
