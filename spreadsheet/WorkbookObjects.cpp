// Workbooks, Workbook and Worksheets.
#include "spreadsheet/Objects.h"
#include "spreadsheet/Text.h"
#include "spreadsheet/WorkbookFiles.h"

namespace xlstandin {

namespace {

enum { kItem = DISPID_VALUE, kOpen = 1, kAdd, kCount };
enum { kWorksheets = 1, kSaveAs, kClose, kName, kFullName, kSaveCopyAs };
enum { kOpenUpdateLinks = 1, kOpenPassword = 4 };
enum { kSaveAsFileFormat = 1, kSaveAsPassword = 2 };
const long kExcel8 = 56, kWorkbookNormal = -4143;

bool EndsWithXls(const std::wstring& path) {
  return path.size() >= 4 && _wcsicmp(path.c_str() + path.size() - 4, L".xls") == 0;
}

}  // namespace

void CheckBook(const App& app, const Book& book) {
  app->CheckRunning();
  if (book->closed) throw StandInError("the workbook '" + book->name + "' has been closed");
}

DispatchObject* WorkbooksObject::Item(const App& app, long index) {
  if (index < 1 || index > static_cast<long>(app->books.size()))
    throw StandInError("subscript out of range: workbook " + std::to_string(index));
  return new WorkbookObject(app, app->books[index - 1]);
}

const std::vector<Member>& WorkbooksObject::Members() const {
  static const std::vector<Member> members = {
      {L"Item", kItem, kGet, {L"Index"}, 1},
      {L"Open",
       kOpen,
       kMethod,
       {L"Filename", L"UpdateLinks", L"ReadOnly", L"Format", L"Password", L"WriteResPassword",
        L"IgnoreReadOnlyRecommended", L"Origin", L"Delimiter", L"Editable", L"Notify", L"Converter", L"AddToMru",
        L"Local", L"CorruptLoad"},
       1},
      {L"Add", kAdd, kMethod, {L"Template"}},
      {L"Count", kCount, kGet, {}},
  };
  return members;
}

void WorkbooksObject::Run(DISPID id, Args& args, VARIANT* result) {
  app_->CheckRunning();
  switch (id) {
    case kItem:
      ReturnObject(result, Item(app_, args.Int(0)));
      return;
    case kOpen: {
      app_->CheckAlertsOff("Open");
      // Without UpdateLinks a workbook with links asks whether to update them.
      if (!args.Has(kOpenUpdateLinks)) throw StandInError("Open without UpdateLinks would ask about the links");
      bool passwordGiven = args.Has(kOpenPassword);
      Book book = LoadBook(FromUtf8(args.Text(0)), passwordGiven ? args.Text(kOpenPassword) : std::string(),
                           passwordGiven);
      app_->OpenBook(book);
      ReturnObject(result, new WorkbookObject(app_, book));
      return;
    }
    case kAdd: {
      auto book = std::make_shared<BookState>();
      book->name = "Book" + std::to_string(app_->books.size() + 1);
      auto sheet = std::make_shared<SheetState>();
      sheet->sheet.name = "Sheet1";
      book->sheets.push_back(sheet);
      book->active = sheet;
      app_->OpenBook(book);
      ReturnObject(result, new WorkbookObject(app_, book));
      return;
    }
    case kCount:
      ReturnInt(result, static_cast<long>(app_->books.size()));
      return;
  }
}

const std::vector<Member>& WorkbookObject::Members() const {
  static const std::vector<Member> members = {
      {L"Worksheets", kWorksheets, kGet, {L"Index"}},
      {L"SaveAs",
       kSaveAs,
       kMethod,
       {L"Filename", L"FileFormat", L"Password", L"WriteResPassword", L"ReadOnlyRecommended", L"CreateBackup",
        L"AccessMode", L"ConflictResolution", L"AddToMru", L"TextCodepage", L"TextVisualLayout", L"Local"}},
      {L"SaveCopyAs", kSaveCopyAs, kMethod, {L"Filename"}},
      {L"Close", kClose, kMethod, {L"SaveChanges", L"Filename", L"RouteWorkbook"}},
      {L"Name", kName, kGet, {}},
      {L"FullName", kFullName, kGet, {}},
  };
  return members;
}

void WorkbookObject::SaveAs(Args& args) {
  app_->CheckAlertsOff("SaveAs");
  std::wstring full = FullPath(FromUtf8(args.Text(0)));
  // Only Excel 97-2003 workbooks are written: xlExcel8 from version 12 on;
  // there xlWorkbookNormal is the newer format, which a .xls name refuses.
  if (args.Has(kSaveAsFileFormat)) {
    const long format = args.Int(kSaveAsFileFormat);
    if (format == kExcel8 && app_->MajorVersion() < 12)
      throw StandInError("FileFormat 56 is unknown before version 12");
    if (format == kWorkbookNormal && app_->MajorVersion() >= 12 && EndsWithXls(full))
      throw StandInError("FileFormat -4143 is not the format of a .xls file in version 12 and later");
    if (format != kExcel8 && format != kWorkbookNormal)
      throw StandInError("FileFormat " + std::to_string(format) + " is not an Excel 97-2003 workbook");
  }
  spreadsheet::WorkbookDocument saved = book_->Document();
  // Without a Password argument the book keeps the protection it has.
  if (args.Has(kSaveAsPassword)) saved.password = args.Text(kSaveAsPassword);
  // Its own file the book may overwrite; a file held by anyone else is refused.
  const bool own = !book_->path.empty() && _wcsicmp(book_->path.c_str(), full.c_str()) == 0;
  if (own) book_->ReleaseFile();
  try {
    SaveBook(saved, full);
  } catch (...) {
    if (own) book_->HoldFile(full);
    throw;
  }
  book_->HoldFile(full);
  book_->password = saved.password;
  book_->path = full;
  book_->name = FileNamePart(full);
}

void WorkbookObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckBook(app_, book_);
  switch (id) {
    case kWorksheets:
      if (args.Has(0))
        ReturnObject(result, WorksheetsObject::Item(app_, book_, args, 0));
      else
        ReturnObject(result, new WorksheetsObject(app_, book_));
      return;
    case kSaveAs:
      SaveAs(args);
      return;
    case kSaveCopyAs:
      // The copy is written and let go; the book keeps its name and its file.
      SaveBook(book_->Document(), FullPath(FromUtf8(args.Text(0))));
      return;
    case kClose:
      if (args.Has(0) && args.Bool(0)) {
        if (book_->path.empty()) throw StandInError("a new workbook has no file to save to");
        book_->ReleaseFile();
        SaveBook(book_->Document(), book_->path);
      }
      app_->CloseBook(book_);
      return;
    case kName:
      ReturnText(result, book_->name);
      return;
    case kFullName:
      ReturnText(result, book_->path.empty() ? book_->name : ToUtf8(book_->path));
      return;
  }
}

DispatchObject* WorksheetsObject::Item(const App& app, const Book& book, Args& args, size_t position) {
  if (args.IsNumber(position)) {
    long index = args.Int(position);
    if (index < 1 || index > static_cast<long>(book->sheets.size()))
      throw StandInError("subscript out of range: sheet " + std::to_string(index));
    return new WorksheetObject(app, book, book->sheets[index - 1]);
  }
  std::string name = args.Text(position);
  for (const SheetPtr& sheet : book->sheets)
    if (spreadsheet::SameSheetName(sheet->sheet.name, name)) return new WorksheetObject(app, book, sheet);
  throw StandInError("subscript out of range: no sheet '" + name + "'");
}

const std::vector<Member>& WorksheetsObject::Members() const {
  static const std::vector<Member> members = {
      {L"Item", kItem, kGet, {L"Index"}, 1},
      {L"Count", 1, kGet, {}},
  };
  return members;
}

void WorksheetsObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckBook(app_, book_);
  if (id == kItem)
    ReturnObject(result, Item(app_, book_, args, 0));
  else
    ReturnInt(result, static_cast<long>(book_->sheets.size()));
}

}  // namespace xlstandin
