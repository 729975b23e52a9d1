#include "common/ExceptionText.h"

#include <exception>

std::string ExceptionMessage(const std::string& unknown) {
  try {
    throw;
  } catch (const std::exception& e) {
    return *e.what() ? e.what() : unknown;
  } catch (...) {
    return unknown;
  }
}
