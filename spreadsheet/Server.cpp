// The DLL's entry points: the class factory of "Excel.Application" and the
// live-object count for tests.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "spreadsheet/Objects.h"
#include "spreadsheet/StandInClass.h"
#include "spreadsheet/XlMainWindow.h"

namespace xlstandin {

namespace {

LONG g_locks = 0;

class ClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&g_locks); }
  STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&g_locks); }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ApplicationObject* application = new (std::nothrow) ApplicationObject(std::make_shared<AppState>());
    if (!application) return E_OUTOFMEMORY;
    HRESULT hr = application->QueryInterface(riid, object);
    application->Release();
    return hr;
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_locks);
    else
      InterlockedDecrement(&g_locks);
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

}  // namespace xlstandin

using namespace xlstandin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    UnregisterMainWindowClass();
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_XlStandIn)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, object);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  return g_locks == 0 && DispatchObject::LiveObjects() == 0 ? S_OK : S_FALSE;
}

// For tests: how many automation objects are alive in this process.
extern "C" LONG __stdcall XlStandInLiveObjects() { return DispatchObject::LiveObjects(); }
