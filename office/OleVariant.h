// Owned VARIANT, and BSTR from system code page text.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace office {

// A new BSTR from system code page text (the caller frees it).
BSTR AllocAnsiBstr(const std::string& text);

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const std::string& text);  // VT_BSTR
  Variant(const char* text) : Variant(std::string(text)) {}
  Variant(int value) : Variant() { v_.vt = VT_I4, v_.lVal = value; }
  Variant(long value) : Variant() { v_.vt = VT_I4, v_.lVal = value; }
  Variant(double value) : Variant() { v_.vt = VT_R8, v_.dblVal = value; }
  Variant(bool value) : Variant() { v_.vt = VT_BOOL, v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
  // Holds its own reference to the object.
  explicit Variant(IDispatch* object);
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant() { VariantClear(&v_); }

  VARTYPE Type() const { return v_.vt; }
  bool IsEmpty() const { return v_.vt == VT_EMPTY || v_.vt == VT_NULL; }
  const VARIANT& Raw() const { return v_; }
  VARIANT* Out() { VariantClear(&v_); return &v_; }

  // Conversions raise OleError when the value does not convert.
  std::string AsText() const;  // empty for Empty and Null
  long AsInt() const;
  double AsDouble() const;
  bool AsBool() const;

 private:
  VARIANT v_;
};

}  // namespace office
