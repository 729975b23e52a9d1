// Splits text into lines at CR LF, LF or CR.
#pragma once
#include <string>
#include <vector>

// A final line break adds no empty line.
std::vector<std::string> SplitTextLines(const std::string& text);

