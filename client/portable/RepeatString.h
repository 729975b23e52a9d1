// The filler repeated once per byte of a text (a password is logged so).
#pragma once
#include <string>

bool fncRepeatString(const std::string& text, const std::string& filler, std::string& result);
