// The list report workbook (the report window's list button) and what it
// shares with the picture workbook: the safe save and the failure box.
#pragma once
#include <string>

#include "office/Spreadsheet.h"

// Saves the workbook as path. An older file of that name is replaced only
// once the new one is complete: a copy of the workbook is saved beside it
// under a temporary name first (a copy, because the spreadsheet application
// keeps the file of a workbook it saved open until the workbook closes).
// Raises on failure; the older file is then untouched and the copy gone.
void fncSaveWorkbookReplacing(office::Workbook& book, const std::string& path);

// The box and log line of a failed output run.
void fncXlsFailed(HWND owner);
