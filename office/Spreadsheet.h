// Typed wrappers over the spreadsheet application's automation objects
// ("Excel.Application"): only the members the programs call. Strings are in
// the system code page; every failed call raises OleError.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "office/Dispatch.h"

namespace office {

// Holds the automation object that a typed wrapper calls.
class AutomationObject {
 public:
  explicit AutomationObject(Dispatch object) : d_(std::move(object)) {}
  const Dispatch& Object() const { return d_; }

 protected:
  Dispatch d_;
};

class Range : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  void SetNumberFormatLocal(const std::string& format) { d_.Put("NumberFormatLocal", format); }
  std::string NumberFormatLocal() const { return d_.Get("NumberFormatLocal").AsText(); }
  void SetValue(const Variant& value) { d_.Put("Value", value); }
  Variant Value() const { return d_.Get("Value"); }
  std::string Text() const { return Value().AsText(); }
  void Copy() { d_.Call("copy"); }
  void Select() { d_.Call("select"); }
};

// One picture, or the sheet's whole picture collection (which reads the
// first picture and sets all).
class Picture : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  double Height() const { return d_.Get("Height").AsDouble(); }
  double Width() const { return d_.Get("Width").AsDouble(); }
  double Top() const { return d_.Get("Top").AsDouble(); }
  double Left() const { return d_.Get("Left").AsDouble(); }
  void SetHeight(double v) { d_.Put("Height", v); }
  void SetWidth(double v) { d_.Put("Width", v); }
  void SetTop(double v) { d_.Put("Top", v); }
  void SetLeft(double v) { d_.Put("Left", v); }
};

class Pictures : public Picture {
 public:
  using Picture::Picture;
  Picture Insert(const std::string& path) { return Picture(d_.GetObject("Insert", {path})); }
  int Count() const { return d_.Get("Count").AsInt(); }
  Picture Item(int index) const { return Picture(d_.GetObject("Item", {index})); }
};

// One shape of a sheet, such as an added picture. Sizes and positions in
// points.
class Shape : public Picture {
 public:
  using Picture::Picture;
  void SetLockAspectRatio(bool on) { d_.Put("LockAspectRatio", on ? kMsoTrue : kMsoFalse); }
  // Factor of the original size.
  void ScaleHeight(double factor) { d_.Call("ScaleHeight", {factor, kMsoTrue}); }
  void ScaleWidth(double factor) { d_.Call("ScaleWidth", {factor, kMsoTrue}); }

  static const int kMsoTrue = -1, kMsoFalse = 0;
};

class Shapes : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  // The picture file embedded in the sheet (not linked to the file), at its
  // own size, its top left corner at left, top.
  Shape AddPicture(const std::string& path, double left, double top);
};

class PageSetup : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  // False: the page counts decide the print size.
  void SetZoomOff() { d_.Put("Zoom", false); }
  void SetOrientation(int orientation) { d_.Put("Orientation", orientation); }  // 1 portrait, 2 landscape
  void SetFitToPagesWide(int pages) { d_.Put("FitToPagesWide", pages); }
  void SetFitToPagesTall(int pages) { d_.Put("FitToPagesTall", pages); }
  int Orientation() const { return d_.Get("Orientation").AsInt(); }
};

class Worksheet : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  void Activate() { d_.Call("Activate"); }
  void Select() { d_.Call("Select"); }
  void CopyAfter(const Worksheet& after) { d_.Call("Copy", {Named("After", Variant(after.Object().Raw()))}); }
  std::string Name() const { return d_.Get("Name").AsText(); }
  void SetName(const std::string& name) { d_.Put("Name", name); }
  void Delete() { d_.Call("Delete"); }
  office::PageSetup PageSetup() const { return office::PageSetup(d_.GetObject("PageSetup")); }
  office::Range Range(const std::string& cell) const { return office::Range(d_.GetObject("Range", {cell})); }
  office::Range Range(const std::string& first, const std::string& last) const {
    return office::Range(d_.GetObject("Range", {first, last}));
  }
  office::Pictures Pictures() const { return office::Pictures(d_.GetObject("Pictures")); }
  office::Picture Picture(int index) const { return office::Picture(d_.GetObject("Pictures", {index})); }
  office::Shapes Shapes() const { return office::Shapes(d_.GetObject("Shapes")); }
  void Paste() { d_.Call("Paste"); }
  // A link on `anchor`; the address may be empty for a link inside the book.
  void AddHyperlink(const office::Range& anchor, const std::string& address, const std::string& subAddress,
                    const std::string& textToDisplay = std::string());
  void PrintPreview() { d_.Call("PrintPreview"); }
};

class Workbook : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  Worksheet Sheet(int index) const { return Worksheet(d_.GetObject("WorkSheets", {index})); }
  Worksheet Sheet(const std::string& name) const { return Worksheet(d_.GetObject("WorkSheets", {name})); }
  int SheetCount() const { return d_.GetObject("WorkSheets").Get("Count").AsInt(); }
  // fileFormat: Application::WorkbookFileFormat().
  void SaveAs(const std::string& path, int fileFormat) {
    d_.Call("SaveAs", {Named("Filename", path), Named("FileFormat", fileFormat)});
  }
  // An empty password saves without protection.
  void SaveAs(const std::string& path, int fileFormat, const std::string& password) {
    d_.Call("SaveAs", {Named("Filename", path), Named("FileFormat", fileFormat), Named("Password", password)});
  }
  // Writes a copy; the workbook keeps its own name and file.
  void SaveCopyAs(const std::string& path) { d_.Call("SaveCopyAs", {Named("Filename", path)}); }
  void Close(bool saveChanges = false) { d_.Call("Close", {saveChanges}); }
  // For clean-up paths: closes without saving and never raises.
  void CloseQuietly() noexcept;
};

class Workbooks : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;
  // File name, then positional options (UpdateLinks, ReadOnly, ...).
  Workbook Open(const std::string& path, const std::vector<Argument>& options = {});
  // Links are not updated.
  Workbook OpenWithPassword(const std::string& path, const std::string& password) {
    return Workbook(d_.GetObject("Open", {path, Named("UpdateLinks", 0), Named("Password", password)}));
  }
  Workbook Add() { return Workbook(d_.GetObject("Add")); }
  int Count() const { return d_.Get("Count").AsInt(); }
};

class Application : public AutomationObject {
 public:
  // Starts the spreadsheet application; raises OleError when there is none.
  static Application Create();
  void SetDisplayAlerts(bool on) { d_.Put("DisplayAlerts", on); }
  std::string Version() const { return d_.Get("Version").AsText(); }
  // The Excel 97-2003 workbook format for SaveAs: 56 (xlExcel8) from version
  // 12 on, -4143 (xlWorkbookNormal) before.
  int WorkbookFileFormat() const;
  // Through the Application member, as the programs do.
  void SetVisible(bool visible) { d_.GetObject("Application").Put("Visible", visible); }
  bool Visible() const { return d_.Get("Visible").AsBool(); }
  office::Workbooks Workbooks() const { return office::Workbooks(d_.GetObject("WorkBooks")); }
  Worksheet ActiveSheet() const { return Worksheet(d_.GetObject("ActiveSheet")); }
  void Quit() { d_.Call("Quit"); }
  // For clean-up paths: quits and never raises.
  void QuitQuietly() noexcept;

 private:
  explicit Application(Dispatch object) : AutomationObject(std::move(object)) {}
};

// The application and the workbook of one run: on every path the workbook
// is closed without saving and the application quit. Start creates the
// application with its alerts off, before any workbook is opened.
struct SpreadsheetSession {
  Application& Start() {
    application = Application::Create();
    application->SetDisplayAlerts(false);
    return *application;
  }
  std::optional<Application> application;
  std::optional<Workbook> book;
  // Closes the workbook unsaved and quits; raises as the calls do.
  void Close() {
    book->Close(false);
    book.reset();
    application->Quit();
    application.reset();
  }
  // Never raises.
  void End() noexcept {
    if (book) book->CloseQuietly();
    book.reset();
    if (application) application->QuitQuietly();
    application.reset();
  }
  ~SpreadsheetSession() { End(); }
};

}  // namespace office
