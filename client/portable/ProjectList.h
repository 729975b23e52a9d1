// The local project list: entry 0 is empty, then one project per line.
#pragma once
#include <string>
#include <vector>

// Splits the file's text into lines (CR LF, CR or LF) after an empty entry 0;
// each line is cut to 255 bytes without splitting a double-byte character.
std::vector<std::string> ParseProjectList(const std::string& text);
