// The message of the exception being handled.
#pragma once
#include <string>

// Inside a catch block: what() of a std::exception, or the text unknown
// for one of a foreign kind or with an empty message.
std::string ExceptionMessage(const std::string& unknown = "不明なエラーが発生しました");
