// The stand-in's automation objects and their member tables.
#pragma once
#include <memory>

#include "spreadsheet/Model.h"

namespace xlstandin {

using App = std::shared_ptr<AppState>;
using Book = std::shared_ptr<BookState>;
using SheetPtr = std::shared_ptr<SheetState>;

class ApplicationObject : public DispatchObject {
 public:
  explicit ApplicationObject(App app) : app_(std::move(app)) {}
  std::string Describe() const override { return "Application"; }

 protected:
  AppState* Owner() const override { return app_.get(); }
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  App app_;
};

class WorkbooksObject : public DispatchObject {
 public:
  explicit WorkbooksObject(App app) : app_(std::move(app)) {}
  std::string Describe() const override { return "Workbooks"; }
  // An open workbook by its 1-based index; raises "subscript out of range".
  static DispatchObject* Item(const App& app, long index);

 protected:
  AppState* Owner() const override { return app_.get(); }
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  App app_;
};

class WorkbookObject : public DispatchObject {
 public:
  WorkbookObject(App app, Book book) : app_(std::move(app)), book_(std::move(book)) {}
  std::string Describe() const override { return "Workbook(" + book_->name + ")"; }

 protected:
  AppState* Owner() const override { return app_.get(); }
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  void SaveAs(Args& args);
  App app_;
  Book book_;
};

class WorksheetsObject : public DispatchObject {
 public:
  WorksheetsObject(App app, Book book) : app_(std::move(app)), book_(std::move(book)) {}
  std::string Describe() const override { return "Worksheets"; }
  // Item by 1-based index or by name; raises "subscript out of range".
  static DispatchObject* Item(const App& app, const Book& book, Args& args, size_t position);

 protected:
  AppState* Owner() const override { return app_.get(); }
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  App app_;
  Book book_;
};

// An object that belongs to one sheet of one workbook.
class SheetBoundObject : public DispatchObject {
 public:
  SheetBoundObject(App app, Book book, SheetPtr sheet)
      : app_(std::move(app)), book_(std::move(book)), sheet_(std::move(sheet)) {}
  const SheetPtr& Sheet() const { return sheet_; }
  const Book& BookOf() const { return book_; }

 protected:
  AppState* Owner() const override { return app_.get(); }
  // Raises when the book was closed, the sheet deleted or the application quit.
  void CheckAlive() const;
  App app_;
  Book book_;
  SheetPtr sheet_;
};

class WorksheetObject : public SheetBoundObject {
 public:
  using SheetBoundObject::SheetBoundObject;
  std::string Describe() const override { return "Worksheet(" + sheet_->sheet.name + ")"; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  void Copy(Args& args);
  void Delete();
  void Paste(Args& args);
};

class RangeObject : public SheetBoundObject {
 public:
  RangeObject(App app, Book book, SheetPtr sheet, spreadsheet::CellRange range)
      : SheetBoundObject(std::move(app), std::move(book), std::move(sheet)), range_(range) {}
  std::string Describe() const override;
  const spreadsheet::CellRange& Area() const { return range_; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  void Check() const;
  void PutValue(const VARIANT& value);
  spreadsheet::CellRange range_;
};

// The sheet's picture collection (index 0) or one picture (1-based index).
class PicturesObject : public SheetBoundObject {
 public:
  PicturesObject(App app, Book book, SheetPtr sheet, int index)
      : SheetBoundObject(std::move(app), std::move(book), std::move(sheet)), index_(index) {}
  std::string Describe() const override;

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  std::vector<spreadsheet::Picture*> Targets() const;
  void Insert(Args& args, VARIANT* result);
  int index_;
};

// The sheet's shapes; AddPicture adds a picture, embedded or linked.
class ShapesObject : public SheetBoundObject {
 public:
  using SheetBoundObject::SheetBoundObject;
  std::string Describe() const override { return "Shapes(" + sheet_->sheet.name + ")"; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  void AddPicture(Args& args, VARIANT* result);
};

// One picture as a shape (1-based index into the sheet's pictures).
class ShapeObject : public SheetBoundObject {
 public:
  ShapeObject(App app, Book book, SheetPtr sheet, int index)
      : SheetBoundObject(std::move(app), std::move(book), std::move(sheet)), index_(index) {}
  std::string Describe() const override { return "Shape(" + std::to_string(index_) + ")"; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;

 private:
  int index_;
};

class PageSetupObject : public SheetBoundObject {
 public:
  using SheetBoundObject::SheetBoundObject;
  std::string Describe() const override { return "PageSetup(" + sheet_->sheet.name + ")"; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;
};

class HyperlinksObject : public SheetBoundObject {
 public:
  using SheetBoundObject::SheetBoundObject;
  std::string Describe() const override { return "Hyperlinks(" + sheet_->sheet.name + ")"; }

 protected:
  const std::vector<Member>& Members() const override;
  void Run(DISPID id, Args& args, VARIANT* result) override;
};

// Raises when the book was closed or the application quit.
void CheckBook(const App& app, const Book& book);

}  // namespace xlstandin
