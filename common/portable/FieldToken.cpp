#include "common/portable/FieldToken.h"

std::string fncGetToken(const std::string& line, int n, const std::string& separator, bool rest) {
  try {
    if (n < 1 || separator.size() > line.size()) return "";
    if (separator.empty()) return line;
    size_t pos = 0;
    for (int field = 1;; ++field) {
      const size_t next = line.find(separator, pos);
      if (field == n) {
        if (next == std::string::npos || rest) return line.substr(pos);
        return line.substr(pos, next - pos);
      }
      if (next == std::string::npos) return "";  // the line ends before field n
      pos = next + separator.size();
      while (line.compare(pos, separator.size(), separator) == 0) pos += separator.size();
      if (pos >= line.size()) return "";
    }
  } catch (...) {
    return "";
  }
}
