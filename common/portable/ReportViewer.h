// How a report file is shown, decided by its own name's extension in any
// case: pictures (JPG, GIF) with the "htmlfile" open command, workbooks
// (XLS) through the command interpreter. Any other file (BAT, EXE, no
// extension at all) is never started.
#pragma once
#include <string>

enum class ReportViewer { Picture, Workbook, None };

ReportViewer ReportViewerOf(const std::string& fileName);
