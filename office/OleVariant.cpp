#include "office/OleVariant.h"

#include <utility>

#include "common/WideText.h"
#include "office/OleError.h"

namespace office {

BSTR AllocAnsiBstr(const std::string& text) {
  std::wstring wide = ToWide(text);
  BSTR b = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!b) throw OleError("out of memory for a BSTR", E_OUTOFMEMORY);
  return b;
}

Variant::Variant(const std::string& text) : Variant() {
  v_.bstrVal = AllocAnsiBstr(text);
  v_.vt = VT_BSTR;
}

Variant::Variant(IDispatch* object) : Variant() {
  v_.vt = VT_DISPATCH;
  v_.pdispVal = object;
  if (object) object->AddRef();
}

Variant::Variant(const Variant& other) : Variant() {
  HRESULT hr = VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
  if (FAILED(hr)) throw OleError("VARIANT copy failed", hr);
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(v_, other.v_);
  return *this;
}

namespace {

Variant Converted(const VARIANT& from, VARTYPE type) {
  Variant to;
  HRESULT hr = VariantChangeTypeEx(to.Out(), const_cast<VARIANT*>(&from), LOCALE_USER_DEFAULT, 0, type);
  if (FAILED(hr)) throw OleError("value of type " + std::to_string(from.vt) + " does not convert", hr);
  return to;
}

}  // namespace

std::string Variant::AsText() const {
  if (IsEmpty()) return std::string();
  Variant text = Converted(v_, VT_BSTR);
  return ToNarrow(text.Raw().bstrVal, size_t{SysStringLen(text.Raw().bstrVal)});
}

long Variant::AsInt() const { return Converted(v_, VT_I4).Raw().lVal; }
double Variant::AsDouble() const { return Converted(v_, VT_R8).Raw().dblVal; }
bool Variant::AsBool() const { return Converted(v_, VT_BOOL).Raw().boolVal != VARIANT_FALSE; }

}  // namespace office
