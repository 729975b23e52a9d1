// The answer to a spreadsheet application that refuses a call because it is
// busy (RPC_E_SERVERCALL_RETRYLATER, RPC_E_CALL_REJECTED): the call is tried
// again after a short delay, for up to 60 seconds in all, then given up.
// Registered as the thread's OLE message filter while an application is
// driven: COM asks it about calls into an out-of-process application, and
// Dispatch asks it about a refusal that reaches the caller as the call's
// result (an in-process server, or a COM that does not retry by itself).
#pragma once
#include <windows.h>
#include <objidl.h>

namespace office {

bool IsBusyRefusal(HRESULT hr);

class BusyFilter final : public IMessageFilter {
 public:
  BusyFilter();

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP_(DWORD) HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                          LPINTERFACEINFO interfaceInfo) override;
  // -1 gives up; otherwise the milliseconds to wait before the next try.
  STDMETHODIMP_(DWORD) RetryRejectedCall(HTASK callee, DWORD elapsed, DWORD rejectType) override;
  STDMETHODIMP_(DWORD) MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

 private:
  LONG references_ = 1;
  DWORD limit_;  // milliseconds
};

// The filter of this thread from construction to destruction; the one it
// replaced comes back afterwards. Without an apartment that takes a filter
// (a multi-threaded one) only Dispatch uses it.
class BusyFilterScope {
 public:
  BusyFilterScope();
  ~BusyFilterScope();
  BusyFilterScope(const BusyFilterScope&) = delete;
  BusyFilterScope& operator=(const BusyFilterScope&) = delete;
  BusyFilter& Filter() { return *filter_; }

 private:
  BusyFilter* filter_;
  IMessageFilter* previous_ = nullptr;
  bool registered_ = false;
};

}  // namespace office
