// The data address of a "227 ... (h1,h2,h3,h4,p1,p2)" reply.
#pragma once
#include <string>

namespace transfer {

struct FtpDataAddress {
  std::string ip;  // dotted h1.h2.h3.h4
  int port = 0;    // p1 * 256 + p2
};

enum class PasvParse { Ok, NoParentheses, BadFields };

// Reads the text between the first "(" and the first ")": exactly six
// decimal fields of 0 to 255, and a port of at least 1.
PasvParse ParsePasvReply(const std::string& line, FtpDataAddress& address);

}  // namespace transfer
