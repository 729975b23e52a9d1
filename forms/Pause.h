// A pause that keeps the message loop running: the window stays painted and
// its buttons answer.
#pragma once
#include <windows.h>

namespace forms {

void PauseWithMessages(DWORD milliseconds);

}  // namespace forms
