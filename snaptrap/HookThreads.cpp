#include "snaptrap/HookThreads.h"

#include <memory>

#include "snaptrap/KeyboardHook.h"

namespace snaptrap {
namespace {

constexpr DWORD kStartBound = 5000;

// What a starting thread shares with its starter, who may give up waiting.
struct Startup {
  Startup() : ready(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Startup() {
    if (ready) CloseHandle(ready);
  }
  HANDLE ready;
  std::atomic<bool> ok{false};
  // Set when the starter stopped waiting: a thread that sees it after making
  // its queue may have missed the WM_QUIT meant for it, and ends.
  std::atomic<bool> abandoned{false};
};

struct CaptureWorker : Startup {
  explicit CaptureWorker(CaptureTask t) : task(t) {}
  CaptureTask task;
  std::atomic<bool> stopping{false};
};

struct HookStartup : Startup {
  explicit HookStartup(DWORD thread) : captureThread(thread) {}
  DWORD captureThread;
};

struct RunningThreads {
  HANDLE hook = nullptr;
  DWORD hookId = 0;
  HANDLE capture = nullptr;
  DWORD captureId = 0;
  std::shared_ptr<CaptureWorker> worker;
};
RunningThreads g_threads;

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// Makes the calling thread's message queue, so that posts to it succeed.
void MakeMessageQueue() {
  MSG message;
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

template <typename Shared>
Shared& Take(void* param, std::shared_ptr<Shared>* holder) {
  std::unique_ptr<std::shared_ptr<Shared>> passed(static_cast<std::shared_ptr<Shared>*>(param));
  *holder = std::move(*passed);
  return **holder;
}

DWORD WINAPI CaptureThreadMain(void* param) {
  std::shared_ptr<CaptureWorker> holder;
  CaptureWorker& worker = Take(param, &holder);
  MakeMessageQueue();
  worker.ok = true;
  SetEvent(worker.ready);
  MSG message;
  while (!worker.abandoned && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == kCaptureRequestMessage && !worker.stopping)
      worker.task(message.wParam != 0, reinterpret_cast<HWND>(message.lParam), worker.stopping);
  }
  holder.reset();
  FreeLibraryAndExitThread(ThisModule(), 0);
  return 0;
}

DWORD WINAPI HookThreadMain(void* param) {
  std::shared_ptr<HookStartup> holder;
  HookStartup& startup = Take(param, &holder);
  // It only wakes for keys, which wait on it: let it answer before others.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  MakeMessageQueue();
  const bool hooked = !startup.abandoned && InstallKeyboardHook(ThisModule(), startup.captureThread);
  startup.ok = hooked;
  SetEvent(startup.ready);
  holder.reset();
  if (hooked) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    RemoveKeyboardHook();
  }
  FreeLibraryAndExitThread(ThisModule(), 0);
  return 0;
}

// Starts a thread that holds its own reference to this module and drops it
// as it ends, so the code stays loaded while the thread runs even when
// nobody waited for its end. True when the thread reported a good start;
// *thread is set whenever a thread was made.
template <typename Shared>
bool StartThread(LPTHREAD_START_ROUTINE main, const std::shared_ptr<Shared>& shared, HANDLE* thread,
                 DWORD* id) {
  HMODULE reference = nullptr;
  if (!shared->ready || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                            reinterpret_cast<LPCSTR>(&ThisModule), &reference))
    return false;
  auto* passed = new std::shared_ptr<Shared>(shared);
  *thread = CreateThread(nullptr, 0, main, passed, 0, id);
  if (!*thread) {
    delete passed;
    FreeLibrary(reference);
    return false;
  }
  HANDLE waits[2] = {shared->ready, *thread};
  if (WaitForMultipleObjects(2, waits, FALSE, kStartBound) == WAIT_OBJECT_0) return shared->ok;
  shared->abandoned = true;
  return false;
}

}  // namespace

bool StartHookThreads(CaptureTask task) {
  if (g_threads.hook) {
    if (WaitForSingleObject(g_threads.hook, 0) == WAIT_TIMEOUT) return true;
    StopHookThreads(kStartBound);  // the hook thread is gone: start afresh
  }
  g_threads.worker = std::make_shared<CaptureWorker>(task);
  if (StartThread(CaptureThreadMain, g_threads.worker, &g_threads.capture, &g_threads.captureId)) {
    auto startup = std::make_shared<HookStartup>(g_threads.captureId);
    if (StartThread(HookThreadMain, startup, &g_threads.hook, &g_threads.hookId)) return true;
  }
  StopHookThreads(kStartBound);
  return false;
}

void StopHookThreads(DWORD bound) {
  if (g_threads.worker) g_threads.worker->stopping = true;
  HANDLE waits[2];
  DWORD count = 0;
  if (g_threads.hook) {
    PostThreadMessageA(g_threads.hookId, WM_QUIT, 0, 0);
    waits[count++] = g_threads.hook;
  }
  if (g_threads.capture) {
    PostThreadMessageA(g_threads.captureId, WM_QUIT, 0, 0);
    waits[count++] = g_threads.capture;
  }
  if (count) WaitForMultipleObjects(count, waits, TRUE, bound);
  for (DWORD i = 0; i < count; ++i) CloseHandle(waits[i]);
  g_threads = RunningThreads{};
}

}  // namespace snaptrap
