// Command line that opens a page with the program the shell has for it.
#pragma once
#include <string>

// CMD /C ""path"": the outer quotes keep the inner quoted path whole when
// it holds blanks or parentheses.
std::string HintCommandLine(const std::string& path);
