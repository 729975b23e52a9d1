#include "office/BusyFilter.h"

#include <cstdlib>

namespace office {

namespace {

const DWORD kRetryLimit = 60000;
const DWORD kRetryDelay = 250;

// KESTRO_TEST_BUSY_LIMIT_MS, for tests only: a shorter limit.
DWORD RetryLimit() {
  char text[16];
  DWORD length = GetEnvironmentVariableA("KESTRO_TEST_BUSY_LIMIT_MS", text, sizeof text);
  if (length == 0 || length >= sizeof text) return kRetryLimit;
  return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

}  // namespace

bool IsBusyRefusal(HRESULT hr) { return hr == RPC_E_SERVERCALL_RETRYLATER || hr == RPC_E_CALL_REJECTED; }

BusyFilter::BusyFilter() : limit_(RetryLimit()) {}

STDMETHODIMP BusyFilter::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BusyFilter::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) BusyFilter::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP_(DWORD) BusyFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

STDMETHODIMP_(DWORD) BusyFilter::RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) {
  if (rejectType != SERVERCALL_RETRYLATER && rejectType != SERVERCALL_REJECTED) return static_cast<DWORD>(-1);
  if (elapsed >= limit_) return static_cast<DWORD>(-1);
  return kRetryDelay;
}

STDMETHODIMP_(DWORD) BusyFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITDEFPROCESS; }

BusyFilterScope::BusyFilterScope() : filter_(new BusyFilter) {
  registered_ = SUCCEEDED(CoRegisterMessageFilter(filter_, &previous_));
}

BusyFilterScope::~BusyFilterScope() {
  if (registered_) CoRegisterMessageFilter(previous_, nullptr);
  if (previous_) previous_->Release();
  filter_->Release();
}

}  // namespace office
