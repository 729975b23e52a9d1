#include "office/Spreadsheet.h"

#include <cstdlib>

#include "office/OleError.h"

namespace office {

namespace {
const char kProgId[] = "Excel.Application";
}

void Worksheet::AddHyperlink(const office::Range& anchor, const std::string& address, const std::string& subAddress,
                             const std::string& textToDisplay) {
  std::vector<Argument> args{Named("Anchor", Variant(anchor.Object().Raw())), Named("Address", address),
                             Named("SubAddress", subAddress)};
  if (!textToDisplay.empty()) args.push_back(Named("TextToDisplay", textToDisplay));
  d_.GetObject("Hyperlinks").Call("Add", args);
}

void Workbook::CloseQuietly() noexcept {
  try {
    if (!d_.IsNull()) Close(false);
  } catch (...) {
  }
}

Workbook Workbooks::Open(const std::string& path, const std::vector<Argument>& options) {
  std::vector<Argument> args{path};
  args.insert(args.end(), options.begin(), options.end());
  return Workbook(d_.GetObject("Open", args));
}

Shape Shapes::AddPicture(const std::string& path, double left, double top) {
  const int kOwnSize = -1;
  try {
    return Shape(d_.GetObject("AddPicture", {path, Shape::kMsoFalse, Shape::kMsoTrue, left, top, kOwnSize, kOwnSize}));
  } catch (const OleError& e) {
    if (IsBusyRefusal(e.HResult())) throw;
  }
  // A version that refuses -1: any size, then back to 100 percent.
  Shape shape(d_.GetObject("AddPicture", {path, Shape::kMsoFalse, Shape::kMsoTrue, left, top, 100, 100}));
  shape.ScaleHeight(1);
  shape.ScaleWidth(1);
  return shape;
}

int Application::WorkbookFileFormat() const {
  const int kExcel8 = 56, kWorkbookNormal = -4143;
  return std::atoi(Version().c_str()) >= 12 ? kExcel8 : kWorkbookNormal;
}

Application Application::Create() { return Application(Dispatch::Create(kProgId)); }

void Application::QuitQuietly() noexcept {
  try {
    if (!d_.IsNull()) Quit();
  } catch (...) {
  }
}

}  // namespace office
