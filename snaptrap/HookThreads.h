// The library's own threads. The hook thread holds the keyboard hook and runs
// a message loop that does nothing else, so key presses never wait; the
// capture thread grabs, encodes and announces each capture it is asked for.
// Neither waits on the thread that started them.
#pragma once
#include <windows.h>

#include <atomic>

namespace snaptrap {

// Takes one capture. foreground is the foreground window when the key was
// released. A capture should be dropped, leaving no file, once stopping is set.
using CaptureTask = void (*)(bool activeWindowOnly, HWND foreground, const std::atomic<bool>& stopping);

// Starts both threads and hooks the keyboard; true also when they already run.
bool StartHookThreads(CaptureTask task);
// Unhooks and ends both threads, waiting for them at most bound ms. Requests
// not yet taken are dropped. Harmless when nothing runs. Not thread-safe
// against StartHookThreads: call both from one thread.
void StopHookThreads(DWORD bound);

}  // namespace snaptrap
