#include "common/portable/ReportViewer.h"

ReportViewer ReportViewerOf(const std::string& fileName) {
  // "." is never the second byte of a double-byte character.
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return ReportViewer::None;
  std::string type = fileName.substr(dot + 1);
  for (char& c : type)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (type == "JPG" || type == "GIF") return ReportViewer::Picture;
  return type == "XLS" ? ReportViewer::Workbook : ReportViewer::None;
}
