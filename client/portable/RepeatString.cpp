#include "client/portable/RepeatString.h"

bool fncRepeatString(const std::string& text, const std::string& filler, std::string& result) {
  result.clear();
  result.reserve(text.size() * filler.size());
  for (size_t i = 0; i < text.size(); ++i) result += filler;
  return true;
}
