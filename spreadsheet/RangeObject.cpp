#include "spreadsheet/Objects.h"
#include "spreadsheet/portable/WorkbookFormat.h"

namespace xlstandin {

namespace {

enum { kValue = DISPID_VALUE, kNumberFormatLocal = 1, kCopy, kSelect };

const long kMaxCells = 100000;
const SCODE kNotAvailable = static_cast<SCODE>(0x800A07FA);  // #N/A, as CVErr(xlErrNA)
const char kGeneral[] = "G/\xE6\xA8\x99\xE6\xBA\x96";  // G/標準, the local name of General

}  // namespace

std::string RangeObject::Describe() const { return "Range(" + spreadsheet::FormatRange(range_) + ")"; }

const std::vector<Member>& RangeObject::Members() const {
  static const std::vector<Member> members = {
      {L"Value", kValue, kGet | kPut, {}},
      {L"NumberFormatLocal", kNumberFormatLocal, kGet | kPut, {}},
      {L"Copy", kCopy, kMethod, {L"Destination"}},
      {L"Select", kSelect, kMethod, {}},
  };
  return members;
}

void RangeObject::Check() const {
  CheckAlive();
  if (static_cast<long>(range_.Rows()) * range_.Columns() > kMaxCells)
    throw StandInError("the range is too large for this application");
}

void RangeObject::PutValue(const VARIANT& value) {
  bool empty = value.vt == VT_EMPTY || value.vt == VT_NULL;
  bool text = value.vt == VT_BSTR || value.vt == VT_BOOL;
  std::string given;
  double number = 0;
  if (value.vt == VT_BSTR) {
    given = VariantText(value);
  } else if (value.vt == VT_BOOL) {
    given = value.boolVal ? "TRUE" : "FALSE";
  } else if (!empty) {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeTypeEx(&v, const_cast<VARIANT*>(&value), LOCALE_INVARIANT, 0, VT_R8)))
      throw StandInError("a cell takes a text or a number");
    number = v.dblVal;
  }
  for (int row = range_.first.row; row <= range_.last.row; ++row) {
    for (int column = range_.first.column; column <= range_.last.column; ++column) {
      spreadsheet::CellAddress at{column, row};
      if (empty) {
        auto found = sheet_->sheet.cells.find(at);
        if (found == sheet_->sheet.cells.end()) continue;
        if (found->second.format.empty())
          sheet_->sheet.cells.erase(found);
        else
          found->second = spreadsheet::Cell{found->second.format, false, {}, false};
        continue;
      }
      spreadsheet::Cell& cell = sheet_->sheet.cells[at];
      double parsed;
      cell.isFormula = false;
      if (value.vt == VT_BSTR && given.size() > 1 && given[0] == '\'') {
        // A leading apostrophe makes the rest text, whatever the format.
        cell.isNumber = false;
        cell.value = given.substr(1);
      } else if (value.vt == VT_BSTR && cell.format != "@" && given.size() > 1 && given[0] == '=') {
        // Without the text format a text starting with "=" becomes a formula.
        cell.isNumber = false;
        cell.isFormula = true;
        cell.value = given;
      } else if (!text) {
        cell.isNumber = true;
        cell.value = spreadsheet::FormatNumber(number);
      } else if (value.vt == VT_BSTR && cell.format != "@" && spreadsheet::ParseNumber(given, parsed)) {
        // Without the text format a number typed as text becomes a number.
        cell.isNumber = true;
        cell.value = spreadsheet::FormatNumber(parsed);
      } else {
        cell.isNumber = false;
        cell.value = given;
      }
    }
  }
}

void RangeObject::Run(DISPID id, Args& args, VARIANT* result) {
  Check();
  switch (id) {
    case kValue: {
      if (args.IsPut()) {
        PutValue(args.PutValue());
        return;
      }
      if (!range_.IsSingleCell()) throw StandInError("reading the values of several cells is not supported");
      auto found = sheet_->sheet.cells.find(range_.first);
      if (found == sheet_->sheet.cells.end() || (!found->second.isNumber && found->second.value.empty())) return;
      if (found->second.isFormula) {
        // Formulas are kept, not computed: the value reads as #N/A.
        VariantClear(result);
        result->vt = VT_ERROR;
        result->scode = kNotAvailable;
        return;
      }
      double number;
      if (found->second.isNumber && spreadsheet::ParseNumber(found->second.value, number))
        ReturnNumber(result, number);
      else
        ReturnText(result, found->second.value);
      return;
    }
    case kNumberFormatLocal: {
      if (args.IsPut()) {
        std::string format = args.PutText();
        if (format == kGeneral || format == "General") format.clear();
        for (int row = range_.first.row; row <= range_.last.row; ++row)
          for (int column = range_.first.column; column <= range_.last.column; ++column)
            sheet_->sheet.cells[{column, row}].format = format;
        return;
      }
      auto found = sheet_->sheet.cells.find(range_.first);
      std::string format = found == sheet_->sheet.cells.end() ? std::string() : found->second.format;
      ReturnText(result, format.empty() ? std::string(kGeneral) : format);
      return;
    }
    case kCopy:
      if (args.Has(0)) throw StandInError("Copy with a destination is not supported; select and paste");
      app_->copiedSheet = sheet_;
      app_->copiedRange = range_;
      app_->copiedClipboardSequence = GetClipboardSequenceNumber();
      app_->copyPending = true;
      return;
    case kSelect:
      if (app_->activeBook.lock() != book_ || book_->active.lock() != sheet_)
        throw StandInError("a range can be selected on the active sheet only");
      sheet_->selection = range_;
      return;
  }
}

}  // namespace xlstandin
