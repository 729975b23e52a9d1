// Base of the stand-in's automation objects: IDispatch over a hand-written
// member table. A member's named arguments have the DISPID of their position.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace xlstandin {

// A failed call: becomes DISP_E_EXCEPTION with this text (UTF-8).
class StandInError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A call the real application refuses before running it (a wrong number of
// arguments): Invoke returns this code itself.
class BadCall : public StandInError {
 public:
  BadCall(HRESULT code, const std::string& what) : StandInError(what), code_(code) {}
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

enum MemberKind : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

struct Member {
  const wchar_t* name;
  DISPID id;
  unsigned kinds;
  std::vector<const wchar_t*> parameters;
  size_t required = 0;  // the leading parameters that may not be omitted
};

class DispatchObject;
struct AppState;
std::string VariantText(const VARIANT& v);  // raises when it does not convert

// The arguments of one call, by parameter position; owned copies.
class Args {
 public:
  Args(const Member& member, const DISPPARAMS* params);  // raises StandInError
  ~Args();
  Args(const Args&) = delete;
  Args& operator=(const Args&) = delete;

  bool IsPut() const { return hasPut_; }
  const VARIANT& PutValue() const { return put_; }
  bool PutBool() const;
  double PutDouble() const;
  long PutInt() const;
  std::string PutText() const { return VariantText(put_); }
  bool Has(size_t i) const;
  const VARIANT& At(size_t i) const;  // raises when missing
  std::string Text(size_t i) const;
  long Int(size_t i) const;
  double Double(size_t i) const;
  bool Bool(size_t i) const;
  DispatchObject* Object(size_t i) const;  // one of ours, or raises
  bool IsNumber(size_t i) const;
  std::string Describe() const;  // for the call log

 private:
  const Member& member_;
  std::vector<VARIANT> values_;
  std::vector<bool> present_, named_;
  VARIANT put_;
  bool hasPut_ = false;
};

std::string DescribeVariant(const VARIANT& v);

class DispatchObject : public IDispatch {
 public:
  DispatchObject();
  virtual ~DispatchObject();

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                      UINT* argumentError) override;

  // "Range(T2)", "Worksheet(Sheet1)": the object in the call log.
  virtual std::string Describe() const = 0;

  static long LiveObjects();

 protected:
  virtual const std::vector<Member>& Members() const = 0;
  // The application the object belongs to.
  virtual AppState* Owner() const { return nullptr; }
  // Raises StandInError for a failed call.
  virtual void Run(DISPID id, Args& args, VARIANT* result) = 0;

  static void ReturnText(VARIANT* result, const std::string& utf8);
  static void ReturnNumber(VARIANT* result, double value);
  static void ReturnInt(VARIANT* result, long value);
  static void ReturnBool(VARIANT* result, bool value);
  // Takes over the new object's first reference.
  static void ReturnObject(VARIANT* result, DispatchObject* object);

 private:
  LONG references_ = 1;
};

}  // namespace xlstandin
