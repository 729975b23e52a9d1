// Starting another program of the system (the updater, or the program that
// the updater starts again) without waiting for it.
#pragma once
#include <windows.h>

#include <string>

// Starts the program file `path` (a full path) as a new process: the path
// is given as the application name and, in double quotes, as the whole
// command line, so a folder with a blank never starts a different program.
// No arguments, handles not inherited, CREATE_DEFAULT_ERROR_MODE, current
// folder `folder`. The handles of the new process are closed at once.
// With `held`, the process is made suspended and *held receives its main
// thread: the caller lets it run with fncResumeProgram once it is out of
// the way (a caller that the new process starts again, ending first).
// False when the process could not be started (error: GetLastError()).
bool fncStartProgram(const std::string& path, const std::string& folder, DWORD* error = nullptr,
                     HANDLE* held = nullptr);

// Lets a program started with `held` run and closes the handle.
void fncResumeProgram(HANDLE& held);
