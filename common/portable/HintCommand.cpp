#include "common/portable/HintCommand.h"

std::string HintCommandLine(const std::string& path) { return "CMD /C \"\"" + path + "\"\""; }
