#include "office/Dispatch.h"

#include <cstdio>
#include <utility>

#include "common/WideText.h"
#include "office/OleError.h"

namespace office {

namespace {

std::string HResultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  char* system = nullptr;
  std::string message = text;
  if (FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&system), 0, nullptr) &&
      system) {
    std::string s = system;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    if (!s.empty()) message += " " + s;
  }
  if (system) LocalFree(system);
  return message;
}

// Frees the strings of an EXCEPINFO on every path.
struct ExceptionInfo {
  EXCEPINFO info{};
  ~ExceptionInfo() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
  std::string Description() {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    return ToNarrow(info.bstrDescription, size_t{SysStringLen(info.bstrDescription)});
  }
};

}  // namespace

ComScope::ComScope(bool busyRetry) {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE: already initialised on this thread, but still counted.
  uninitialize_ = SUCCEEDED(hr);
  if (busyRetry) busy_ = std::make_unique<BusyFilterScope>();
}

ComScope::~ComScope() {
  busy_.reset();
  if (uninitialize_) CoUninitialize();
}

Dispatch::Dispatch(IDispatch* object, std::shared_ptr<ComScope> scope, std::string what)
    : object_(object), scope_(std::move(scope)), what_(std::move(what)) {}

Dispatch::Dispatch(const Dispatch& other) : object_(other.object_), scope_(other.scope_), what_(other.what_) {
  if (object_) object_->AddRef();
}

Dispatch::Dispatch(Dispatch&& other) noexcept
    : object_(other.object_), scope_(std::move(other.scope_)), what_(std::move(other.what_)) {
  other.object_ = nullptr;
}

Dispatch& Dispatch::operator=(Dispatch other) noexcept {
  std::swap(object_, other.object_);
  std::swap(scope_, other.scope_);
  std::swap(what_, other.what_);
  return *this;
}

Dispatch::~Dispatch() { Release(); }

void Dispatch::Release() {
  if (object_) object_->Release();
  object_ = nullptr;
  scope_.reset();  // after the object: the apartment outlives every reference
}

Dispatch Dispatch::Create(const std::string& progId) {
  auto scope = std::make_shared<ComScope>(true);
  CLSID clsid;
  std::wstring wideId = ToWide(progId);
  HRESULT hr = CLSIDFromProgID(wideId.c_str(), &clsid);
  if (FAILED(hr)) throw OleError(progId + ": not registered (" + HResultText(hr) + ")", hr);
  IDispatch* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&object));
  if (FAILED(hr) || !object) throw OleError(progId + ": cannot be created (" + HResultText(hr) + ")", hr);
  return Dispatch(object, scope, progId);
}

void Dispatch::Fail(const std::string& member, const std::string& why, HRESULT hr) const {
  throw OleError(what_ + "." + member + ": " + why, hr);
}

HRESULT Dispatch::Retried(DWORD started, const std::function<HRESULT()>& call) const {
  for (;;) {
    HRESULT hr = call();
    BusyFilter* filter = scope_ ? scope_->Busy() : nullptr;
    if (!IsBusyRefusal(hr) || !filter) return hr;
    DWORD wait = filter->RetryRejectedCall(nullptr, GetTickCount() - started, SERVERCALL_RETRYLATER);
    if (wait == static_cast<DWORD>(-1)) return hr;
    if (wait >= 100) Sleep(wait);
  }
}

Variant Dispatch::Invoke(WORD flags, const std::string& member, const std::vector<Argument>& args,
                         const Variant* putValue) const {
  if (!object_) Fail(member, "no object", E_POINTER);
  // The member's name first, then the names of the named arguments.
  std::vector<std::wstring> names{ToWide(member)};
  std::vector<const Argument*> named, positional;
  for (const Argument& a : args) {
    if (a.name.empty()) {
      positional.push_back(&a);
    } else {
      named.push_back(&a);
      names.push_back(ToWide(a.name));
    }
  }
  std::vector<LPOLESTR> namePointers;
  for (std::wstring& n : names) namePointers.push_back(&n[0]);
  std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
  const DWORD started = GetTickCount();
  HRESULT hr = Retried(started, [&] {
    return object_->GetIDsOfNames(IID_NULL, namePointers.data(), static_cast<UINT>(namePointers.size()),
                                  LOCALE_USER_DEFAULT, ids.data());
  });
  if (IsBusyRefusal(hr)) Fail(member, "busy (" + HResultText(hr) + ")", hr);
  if (FAILED(hr)) {
    std::string unknown = ids[0] == DISPID_UNKNOWN ? "unknown member" : "unknown argument name";
    for (size_t i = 1; i < ids.size() && ids[0] != DISPID_UNKNOWN; ++i)
      if (ids[i] == DISPID_UNKNOWN) unknown += " " + named[i - 1]->name;
    Fail(member, unknown + " (" + HResultText(hr) + ")", hr);
  }
  // rgvarg holds the named arguments first, then the positional ones in
  // reverse order. A property put passes its value as the named argument
  // DISPID_PROPERTYPUT.
  std::vector<VARIANT> values;
  std::vector<DISPID> namedIds;
  if (putValue) {
    values.push_back(putValue->Raw());
    namedIds.push_back(DISPID_PROPERTYPUT);
  }
  for (size_t i = 0; i < named.size(); ++i) {
    values.push_back(named[i]->value.Raw());
    namedIds.push_back(ids[i + 1]);
  }
  for (auto it = positional.rbegin(); it != positional.rend(); ++it) values.push_back((*it)->value.Raw());
  DISPPARAMS params{};
  params.rgvarg = values.empty() ? nullptr : values.data();
  params.cArgs = static_cast<UINT>(values.size());
  params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
  params.cNamedArgs = static_cast<UINT>(namedIds.size());
  Variant result;
  ExceptionInfo exception;
  UINT argumentError = 0;
  hr = Retried(started, [&] {
    return object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, putValue ? nullptr : result.Out(),
                           &exception.info, &argumentError);
  });
  if (hr == DISP_E_EXCEPTION) {
    std::string description = exception.Description();
    if (description.empty()) description = HResultText(exception.info.scode ? exception.info.scode : hr);
    Fail(member, description, exception.info.scode ? exception.info.scode : hr);
  }
  if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND)
    Fail(member, "argument " + std::to_string(argumentError) + " refused (" + HResultText(hr) + ")", hr);
  if (FAILED(hr)) Fail(member, HResultText(hr), hr);
  return result;
}

Variant Dispatch::Get(const std::string& member, const std::vector<Argument>& args) const {
  return Invoke(DISPATCH_PROPERTYGET | DISPATCH_METHOD, member, args, nullptr);
}

void Dispatch::Put(const std::string& member, const Variant& value, const std::vector<Argument>& args) const {
  Invoke(DISPATCH_PROPERTYPUT, member, args, &value);
}

Variant Dispatch::Call(const std::string& member, const std::vector<Argument>& args) const {
  return Invoke(DISPATCH_METHOD | DISPATCH_PROPERTYGET, member, args, nullptr);
}

Dispatch Dispatch::GetObject(const std::string& member, const std::vector<Argument>& args) const {
  Variant result = Get(member, args);
  if (result.Type() != VT_DISPATCH || !result.Raw().pdispVal) Fail(member, "no object returned", DISP_E_TYPEMISMATCH);
  IDispatch* object = result.Raw().pdispVal;
  object->AddRef();
  return Dispatch(object, scope_, member);
}

}  // namespace office
