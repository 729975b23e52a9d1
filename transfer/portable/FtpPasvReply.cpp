#include "transfer/portable/FtpPasvReply.h"

#include <vector>

namespace transfer {

PasvParse ParsePasvReply(const std::string& line, FtpDataAddress& address) {
  std::string::size_type open = line.find('(');
  std::string::size_type close = line.find(')');
  if (open == std::string::npos || close == std::string::npos) return PasvParse::NoParentheses;
  if (close < open) return PasvParse::BadFields;
  std::vector<int> fields(1, -1);
  for (std::string::size_type i = open + 1; i < close; ++i) {
    char c = line[i];
    if (c == ',') {
      if (fields.size() == 6) return PasvParse::BadFields;
      fields.push_back(-1);
    } else if (c == ' ') {
      continue;  // blanks around a number are harmless
    } else if (c >= '0' && c <= '9') {
      int& field = fields.back();
      field = (field < 0 ? 0 : field) * 10 + (c - '0');
      if (field > 255) return PasvParse::BadFields;
    } else {
      return PasvParse::BadFields;
    }
  }
  if (fields.size() != 6) return PasvParse::BadFields;
  for (int field : fields) {
    if (field < 0) return PasvParse::BadFields;
  }
  int port = fields[4] * 256 + fields[5];
  if (port < 1) return PasvParse::BadFields;
  address.ip = std::to_string(fields[0]) + "." + std::to_string(fields[1]) + "." + std::to_string(fields[2]) + "." +
               std::to_string(fields[3]);
  address.port = port;
  return PasvParse::Ok;
}

}  // namespace transfer
