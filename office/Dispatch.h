// Late-bound calls on an IDispatch object by member name, with positional and
// named arguments. Every failure raises OleError; every reference is released
// by the destructors.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "office/BusyFilter.h"
#include "office/OleVariant.h"

namespace office {

// One argument of a call; a name makes it a named argument.
struct Argument {
  Argument(Variant v) : value(std::move(v)) {}
  Argument(const char* text) : value(text) {}
  Argument(const std::string& text) : value(text) {}
  Argument(int number) : value(number) {}
  Argument(double number) : value(number) {}
  Argument(bool flag) : value(flag) {}
  Argument(std::string argumentName, Variant v) : name(std::move(argumentName)), value(std::move(v)) {}
  std::string name;
  Variant value;
};
inline Argument Named(const char* name, Variant value) { return Argument(name, std::move(value)); }

// COM for this thread while any object made through it lives; with
// busyRetry also the filter that retries calls a busy server refuses.
class ComScope {
 public:
  explicit ComScope(bool busyRetry = false);
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  BusyFilter* Busy() { return busy_ ? &busy_->Filter() : nullptr; }

 private:
  bool uninitialize_ = false;
  std::unique_ptr<BusyFilterScope> busy_;
};

class Dispatch {
 public:
  Dispatch() = default;
  // Takes over the reference of `object`; `what` names it in error messages.
  Dispatch(IDispatch* object, std::shared_ptr<ComScope> scope, std::string what);
  Dispatch(const Dispatch& other);
  Dispatch(Dispatch&& other) noexcept;
  Dispatch& operator=(Dispatch other) noexcept;
  ~Dispatch();

  // CLSIDFromProgID + CoCreateInstance (local server or in-process); the
  // busy filter is registered while the object and its parts live.
  static Dispatch Create(const std::string& progId);

  bool IsNull() const { return object_ == nullptr; }
  IDispatch* Raw() const { return object_; }
  const std::string& What() const { return what_; }
  void Release();

  Variant Get(const std::string& member, const std::vector<Argument>& args = {}) const;
  void Put(const std::string& member, const Variant& value, const std::vector<Argument>& args = {}) const;
  Variant Call(const std::string& member, const std::vector<Argument>& args = {}) const;
  // A property or method that returns an object.
  Dispatch GetObject(const std::string& member, const std::vector<Argument>& args = {}) const;

 private:
  Variant Invoke(WORD flags, const std::string& member, const std::vector<Argument>& args,
                 const Variant* putValue) const;
  // Runs call again while the server refuses it as busy and the busy
  // filter says to wait; the time counts from started.
  HRESULT Retried(DWORD started, const std::function<HRESULT()>& call) const;
  [[noreturn]] void Fail(const std::string& member, const std::string& why, HRESULT hr) const;

  IDispatch* object_ = nullptr;
  std::shared_ptr<ComScope> scope_;
  std::string what_;
};

}  // namespace office
