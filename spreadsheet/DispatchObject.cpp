#include "spreadsheet/DispatchObject.h"

#include <cstdio>
#include <cwchar>

#include "spreadsheet/CallLog.h"
#include "spreadsheet/Model.h"
#include "spreadsheet/Text.h"

namespace xlstandin {

namespace {

LONG g_liveObjects = 0;

// Lets the stand-in recognise its own objects among the arguments.
const IID IID_StandInObject = {0x5b0f2d4e, 0x7c1a, 0x4e8b, {0x9a, 0x31, 0x52, 0x6d, 0x0e, 0x44, 0x8f, 0x17}};

bool Missing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// Excel's own code for a failed method.
const SCODE kMethodFailed = static_cast<SCODE>(0x800A03EC);

}  // namespace

std::string VariantText(const VARIANT& v) {
  if (v.vt == VT_EMPTY || v.vt == VT_NULL) return std::string();
  if (v.vt == VT_BSTR) return ToUtf8(v.bstrVal, SysStringLen(v.bstrVal));
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&v), LOCALE_INVARIANT, 0, VT_BSTR)))
    throw StandInError("value does not convert to text");
  std::string out = ToUtf8(text.bstrVal, SysStringLen(text.bstrVal));
  VariantClear(&text);
  return out;
}

std::string DescribeVariant(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY: return "Empty";
    case VT_NULL: return "Null";
    case VT_BOOL: return v.boolVal ? "True" : "False";
    case VT_DISPATCH: {
      DispatchObject* ours = nullptr;
      if (v.pdispVal && SUCCEEDED(v.pdispVal->QueryInterface(IID_StandInObject, reinterpret_cast<void**>(&ours)))) {
        std::string text = "<" + ours->Describe() + ">";
        ours->Release();
        return text;
      }
      return "<object>";
    }
    case VT_BSTR: {
      std::string text = VariantText(v), quoted = "\"";
      for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      return quoted + "\"";
    }
    default:
      try {
        return VariantText(v);
      } catch (const StandInError&) {
        return "<vt " + std::to_string(v.vt) + ">";
      }
  }
}

Args::Args(const Member& member, const DISPPARAMS* params) : member_(member) {
  VariantInit(&put_);
  size_t count = member.parameters.size();
  values_.resize(count);
  for (VARIANT& v : values_) VariantInit(&v);
  present_.assign(count, false);
  named_.assign(count, false);
  if (!params) {
    if (member.required > 0) throw BadCall(DISP_E_BADPARAMCOUNT, "too few arguments");
    return;
  }
  UINT namedCount = params->cNamedArgs;
  if (namedCount > params->cArgs) throw StandInError("bad argument list");
  auto take = [](VARIANT& to, const VARIANT& from) {
    if (FAILED(VariantCopyInd(&to, const_cast<VARIANT*>(&from)))) throw StandInError("argument cannot be read");
  };
  for (UINT i = 0; i < namedCount; ++i) {
    DISPID id = params->rgdispidNamedArgs[i];
    const VARIANT& v = params->rgvarg[i];
    if (id == DISPID_PROPERTYPUT) {
      take(put_, v);
      hasPut_ = true;
    } else if (id >= 0 && static_cast<size_t>(id) < count) {
      if (Missing(v)) continue;
      take(values_[id], v);
      present_[id] = named_[id] = true;
    } else {
      throw StandInError("unknown named argument");
    }
  }
  const std::string name = ToUtf8(member.name, wcslen(member.name));
  UINT positional = params->cArgs - namedCount;
  if (positional > count) throw BadCall(DISP_E_BADPARAMCOUNT, name + ": too many arguments");
  for (UINT j = 0; j < positional; ++j) {
    const VARIANT& v = params->rgvarg[params->cArgs - 1 - j];
    if (Missing(v)) {
      if (j < member.required)
        throw BadCall(DISP_E_PARAMNOTOPTIONAL, name + ": argument " + std::to_string(j + 1) + " is not optional");
      continue;
    }
    if (present_[j]) throw StandInError("argument given twice");
    take(values_[j], v);
    present_[j] = true;
  }
  for (size_t i = 0; i < member.required; ++i)
    if (!present_[i]) throw BadCall(DISP_E_BADPARAMCOUNT, name + ": too few arguments");
}

Args::~Args() {
  for (VARIANT& v : values_) VariantClear(&v);
  VariantClear(&put_);
}

bool Args::Has(size_t i) const { return i < present_.size() && present_[i]; }

const VARIANT& Args::At(size_t i) const {
  if (!Has(i)) {
    std::string name = i < member_.parameters.size() ? ToUtf8(member_.parameters[i], wcslen(member_.parameters[i])) : "?";
    throw StandInError("argument " + name + " is missing");
  }
  return values_[i];
}

std::string Args::Text(size_t i) const { return VariantText(At(i)); }

namespace {

VARIANT Converted(const VARIANT& from, VARTYPE type, const char* what) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeTypeEx(&v, const_cast<VARIANT*>(&from), LOCALE_INVARIANT, 0, type)))
    throw StandInError(std::string("value is not ") + what);
  return v;  // numbers and booleans own nothing
}

}  // namespace

long Args::Int(size_t i) const { return Converted(At(i), VT_I4, "a whole number").lVal; }
double Args::Double(size_t i) const { return Converted(At(i), VT_R8, "a number").dblVal; }
bool Args::Bool(size_t i) const { return Converted(At(i), VT_BOOL, "True or False").boolVal != VARIANT_FALSE; }
long Args::PutInt() const { return Converted(put_, VT_I4, "a whole number").lVal; }
double Args::PutDouble() const { return Converted(put_, VT_R8, "a number").dblVal; }
bool Args::PutBool() const { return Converted(put_, VT_BOOL, "True or False").boolVal != VARIANT_FALSE; }

bool Args::IsNumber(size_t i) const {
  switch (At(i).vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_DECIMAL: case VT_CY:
      return true;
    default:
      return false;
  }
}

DispatchObject* Args::Object(size_t i) const {
  const VARIANT& v = At(i);
  DispatchObject* ours = nullptr;
  if (v.vt != VT_DISPATCH || !v.pdispVal ||
      FAILED(v.pdispVal->QueryInterface(IID_StandInObject, reinterpret_cast<void**>(&ours))))
    throw StandInError("argument is not an object of this application");
  ours->Release();  // the argument copy keeps it alive for the call
  return ours;
}

std::string Args::Describe() const {
  std::string text;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (!present_[i]) continue;
    if (!text.empty()) text += ", ";
    if (named_[i]) text += ToUtf8(member_.parameters[i], wcslen(member_.parameters[i])) + ":=";
    text += DescribeVariant(values_[i]);
  }
  return text;
}

DispatchObject::DispatchObject() { InterlockedIncrement(&g_liveObjects); }
DispatchObject::~DispatchObject() { InterlockedDecrement(&g_liveObjects); }

long DispatchObject::LiveObjects() { return g_liveObjects; }

STDMETHODIMP DispatchObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_StandInObject)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DispatchObject::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) DispatchObject::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const Member* found = nullptr;
  for (const Member& m : Members())
    if (_wcsicmp(m.name, names[0]) == 0) found = &m;
  if (!found) return DISP_E_UNKNOWNNAME;
  ids[0] = found->id;
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    for (size_t p = 0; p < found->parameters.size(); ++p)
      if (_wcsicmp(found->parameters[p], names[i]) == 0) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT* argumentError) {
  const Member* member = nullptr;
  for (const Member& m : Members())
    if (m.id == id) member = &m;
  if (!member) return DISP_E_MEMBERNOTFOUND;
  bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put && !(member->kinds & kPut)) return DISP_E_MEMBERNOTFOUND;
  if (!put && !(member->kinds & (kGet | kMethod))) return DISP_E_MEMBERNOTFOUND;
  if (argumentError) *argumentError = 0;
  VARIANT scratch;
  VariantInit(&scratch);
  if (result) VariantInit(result);
  std::string line = Describe() + "." + ToUtf8(member->name, wcslen(member->name));
  // A busy application refuses the call before it looks at it, as COM does
  // for a caller whose message filter does not retry.
  AppState* owner = Owner();
  if (owner && owner->busyCalls > 0) {
    --owner->busyCalls;
    LogCall(line + " !! busy (RPC_E_SERVERCALL_RETRYLATER)");
    return RPC_E_SERVERCALL_RETRYLATER;
  }
  std::string failure;
  HRESULT refused = S_OK;
  try {
    Args args(*member, params);
    if (put != args.IsPut()) throw StandInError("a property put needs exactly one value");
    line += put ? " = " + DescribeVariant(args.PutValue()) : "(" + args.Describe() + ")";
    Run(id, args, result ? result : &scratch);
  } catch (const BadCall& e) {
    failure = e.what();
    refused = e.Code();
  } catch (const StandInError& e) {
    failure = e.what();
  } catch (const std::exception& e) {
    failure = std::string("internal error: ") + e.what();
  }
  VariantClear(&scratch);
  if (failure.empty()) {
    LogCall(line);
    return S_OK;
  }
  LogCall(line + " !! " + failure);
  if (result) VariantClear(result);
  if (refused != S_OK) return refused;
  if (exception) {
    ZeroMemory(exception, sizeof *exception);
    exception->bstrSource = SysAllocString(L"XlStandIn");
    exception->bstrDescription = Utf8Bstr(failure);
    exception->scode = kMethodFailed;
  }
  return DISP_E_EXCEPTION;
}

void DispatchObject::ReturnText(VARIANT* result, const std::string& utf8) {
  VariantClear(result);
  result->vt = VT_BSTR;
  result->bstrVal = Utf8Bstr(utf8);
}

void DispatchObject::ReturnNumber(VARIANT* result, double value) {
  VariantClear(result);
  result->vt = VT_R8;
  result->dblVal = value;
}

void DispatchObject::ReturnInt(VARIANT* result, long value) {
  VariantClear(result);
  result->vt = VT_I4;
  result->lVal = value;
}

void DispatchObject::ReturnBool(VARIANT* result, bool value) {
  VariantClear(result);
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void DispatchObject::ReturnObject(VARIANT* result, DispatchObject* object) {
  VariantClear(result);
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
}

}  // namespace xlstandin
