#include "spreadsheet/Objects.h"
#include "spreadsheet/Text.h"

namespace xlstandin {

namespace {

enum {
  kActivate = 1, kSelect, kCopy, kName, kDelete, kPageSetup, kRange, kPictures, kPaste, kHyperlinks, kPrintPreview,
  kShapes
};

bool NameTaken(const BookState& book, const std::string& name, const SheetState* except) {
  for (const SheetPtr& sheet : book.sheets)
    if (sheet.get() != except && spreadsheet::SameSheetName(sheet->sheet.name, name)) return true;
  return false;
}

std::string CopyName(const BookState& book, const std::string& name) {
  for (int n = 2;; ++n) {
    std::string suffix = " (" + std::to_string(n) + ")";
    std::string base = name;
    std::string error;
    while (!base.empty() && !spreadsheet::IsValidSheetName(base + suffix, error)) base.pop_back();
    if (!NameTaken(book, base + suffix, nullptr)) return base + suffix;
  }
}

spreadsheet::CellRange RangeArgument(const Args& args, size_t i, const SheetPtr& sheet) {
  if (args.At(i).vt == VT_DISPATCH) {
    auto* range = dynamic_cast<RangeObject*>(args.Object(i));
    if (!range || range->Sheet() != sheet) throw StandInError("the range belongs to another sheet");
    return range->Area();
  }
  std::string text = args.Text(i);
  spreadsheet::CellRange range;
  if (!spreadsheet::ParseRangeAddress(text, range)) throw StandInError("Range: bad cell address '" + text + "'");
  return range;
}

// The pixel size of the picture on the clipboard; false when it holds none.
bool ClipboardPictureSize(int& width, int& height) {
  if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(nullptr)) return false;
  bool found = false;
  if (HANDLE data = GetClipboardData(CF_DIB)) {
    if (auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data))) {
      width = header->biWidth;
      height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
      found = width > 0 && height > 0;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return found;
}

}  // namespace

void SheetBoundObject::CheckAlive() const {
  CheckBook(app_, book_);
  if (sheet_->deleted) throw StandInError("the sheet has been deleted");
}

const std::vector<Member>& WorksheetObject::Members() const {
  static const std::vector<Member> members = {
      {L"Activate", kActivate, kMethod, {}},
      {L"Select", kSelect, kMethod, {L"Replace"}},
      {L"Copy", kCopy, kMethod, {L"Before", L"After"}},
      {L"Name", kName, kGet | kPut, {}},
      {L"Delete", kDelete, kMethod, {}},
      {L"PageSetup", kPageSetup, kGet, {}},
      {L"Range", kRange, kGet, {L"Cell1", L"Cell2"}, 1},
      {L"Pictures", kPictures, kGet | kMethod, {L"Index"}},
      {L"Paste", kPaste, kMethod, {L"Destination", L"Link"}},
      {L"Hyperlinks", kHyperlinks, kGet, {}},
      {L"PrintPreview", kPrintPreview, kMethod, {L"EnableChanges"}},
      {L"Shapes", kShapes, kGet, {}},
  };
  return members;
}

void WorksheetObject::Copy(Args& args) {
  if (args.Has(0) == args.Has(1)) throw StandInError("Copy needs exactly one of Before and After");
  size_t which = args.Has(0) ? 0 : 1;
  auto* target = dynamic_cast<WorksheetObject*>(args.Object(which));
  if (!target || target->BookOf() != book_) throw StandInError("Copy: the target sheet is not in this workbook");
  if (target->Sheet()->deleted) throw StandInError("the target sheet has been deleted");
  auto copy = std::make_shared<SheetState>(*sheet_);
  copy->sheet.name = CopyName(*book_, sheet_->sheet.name);
  int at = book_->IndexOf(target->Sheet().get()) + (which == 1 ? 1 : 0);
  book_->sheets.insert(book_->sheets.begin() + at, copy);
  book_->active = copy;
  app_->activeBook = book_;
}

void WorksheetObject::Delete() {
  if (book_->sheets.size() < 2) throw StandInError("a workbook must keep at least one sheet");
  if (app_->displayAlerts) throw StandInError("deleting a sheet would ask the user (alerts are on)");
  book_->sheets.erase(book_->sheets.begin() + book_->IndexOf(sheet_.get()));
  sheet_->deleted = true;
  if (book_->active.lock() == sheet_ || book_->active.expired()) book_->active = book_->sheets.front();
}

void WorksheetObject::Paste(Args& args) {
  spreadsheet::CellRange target;
  if (args.Has(0)) {
    target = RangeArgument(args, 0, sheet_);
  } else {
    if (app_->activeBook.lock() != book_ || book_->active.lock() != sheet_)
      throw StandInError("Paste without a destination works on the active sheet only");
    target = sheet_->selection;
  }
  SheetPtr source = app_->copiedSheet.lock();
  if (app_->copyPending && source && !source->deleted &&
      GetClipboardSequenceNumber() == app_->copiedClipboardSequence) {
    const spreadsheet::CellRange& from = app_->copiedRange;
    auto cells = source->sheet.cells;  // the source may be this very sheet
    for (int r = 0; r < from.Rows(); ++r) {
      for (int c = 0; c < from.Columns(); ++c) {
        spreadsheet::CellAddress to{target.first.column + c, target.first.row + r};
        if (to.column > spreadsheet::kMaxColumn || to.row > spreadsheet::kMaxRow) continue;
        auto found = cells.find({from.first.column + c, from.first.row + r});
        if (found == cells.end())
          sheet_->sheet.cells.erase(to);
        else
          sheet_->sheet.cells[to] = found->second;
      }
    }
    return;
  }
  int width = 0, height = 0;
  if (!ClipboardPictureSize(width, height)) throw StandInError("Paste: the clipboard holds nothing to paste");
  spreadsheet::Picture picture;
  picture.source = "<clipboard>";
  picture.left = CellLeft(target.first.column);
  picture.top = CellTop(target.first.row);
  picture.width = width * 0.75;
  picture.height = height * 0.75;
  sheet_->sheet.pictures.push_back(picture);
}

void WorksheetObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  switch (id) {
    case kActivate:
    case kSelect:
      book_->active = sheet_;
      app_->activeBook = book_;
      return;
    case kCopy:
      Copy(args);
      return;
    case kName:
      if (args.IsPut()) {
        std::string name = args.PutText(), error;
        if (!spreadsheet::IsValidSheetName(name, error)) throw StandInError(error);
        if (NameTaken(*book_, name, sheet_.get())) throw StandInError("the sheet name '" + name + "' is taken");
        sheet_->sheet.name = name;
      } else {
        ReturnText(result, sheet_->sheet.name);
      }
      return;
    case kDelete:
      Delete();
      return;
    case kPageSetup:
      ReturnObject(result, new PageSetupObject(app_, book_, sheet_));
      return;
    case kRange: {
      spreadsheet::CellRange range = RangeArgument(args, 0, sheet_);
      if (args.Has(1)) range = spreadsheet::SpanOf(range, RangeArgument(args, 1, sheet_));
      ReturnObject(result, new RangeObject(app_, book_, sheet_, range));
      return;
    }
    case kPictures: {
      int index = 0;
      if (args.Has(0)) {
        index = static_cast<int>(args.Int(0));
        if (index < 1 || index > static_cast<int>(sheet_->sheet.pictures.size()))
          throw StandInError("no picture " + std::to_string(index) + " on the sheet");
      }
      ReturnObject(result, new PicturesObject(app_, book_, sheet_, index));
      return;
    }
    case kPaste:
      Paste(args);
      return;
    case kHyperlinks:
      ReturnObject(result, new HyperlinksObject(app_, book_, sheet_));
      return;
    case kPrintPreview:
      // Nothing to look at: the preview closes at once.
      return;
    case kShapes:
      ReturnObject(result, new ShapesObject(app_, book_, sheet_));
      return;
  }
}

}  // namespace xlstandin
