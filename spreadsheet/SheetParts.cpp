// Pictures, PageSetup and Hyperlinks of a worksheet.
#include "spreadsheet/Objects.h"
#include "spreadsheet/Text.h"
#include "spreadsheet/WorkbookFiles.h"
#include "spreadsheet/portable/ImageSize.h"

namespace xlstandin {

namespace {

enum { kItem = DISPID_VALUE, kInsert = 1, kCount, kHeight, kWidth, kTop, kLeft };
enum { kOrientation = 1, kFitToPagesWide, kFitToPagesTall };
enum { kAdd = 1 };

}  // namespace

std::string PicturesObject::Describe() const {
  return index_ == 0 ? "Pictures" : "Picture(" + std::to_string(index_) + ")";
}

const std::vector<Member>& PicturesObject::Members() const {
  static const std::vector<Member> members = {
      {L"Item", kItem, kGet, {L"Index"}, 1},    {L"Insert", kInsert, kMethod, {L"Filename", L"Converter"}, 1},
      {L"Count", kCount, kGet, {}},             {L"Height", kHeight, kGet | kPut, {}},
      {L"Width", kWidth, kGet | kPut, {}},      {L"Top", kTop, kGet | kPut, {}},
      {L"Left", kLeft, kGet | kPut, {}},
  };
  return members;
}

std::vector<spreadsheet::Picture*> PicturesObject::Targets() const {
  auto& pictures = sheet_->sheet.pictures;
  std::vector<spreadsheet::Picture*> targets;
  if (index_ == 0) {
    for (auto& p : pictures) targets.push_back(&p);
  } else if (index_ <= static_cast<int>(pictures.size())) {
    targets.push_back(&pictures[index_ - 1]);
  }
  if (targets.empty()) throw StandInError(index_ == 0 ? "the sheet has no pictures" : "the picture no longer exists");
  return targets;
}

void PicturesObject::Insert(Args& args, VARIANT* result) {
  if (index_ != 0) throw StandInError("Insert belongs to the picture collection");
  std::wstring path = FullPath(FromUtf8(args.Text(0)));
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) throw StandInError("Insert: the picture file '" + ToUtf8(path) + "' is missing");
  int width = 0, height = 0;
  if (!spreadsheet::ReadImageSize(bytes, width, height))
    throw StandInError("Insert: '" + ToUtf8(path) + "' is not a picture");
  spreadsheet::Picture picture;
  picture.source = ToUtf8(path);
  picture.left = CellLeft(sheet_->selection.first.column);
  picture.top = CellTop(sheet_->selection.first.row);
  picture.width = spreadsheet::PixelsToPoints(width);
  picture.height = spreadsheet::PixelsToPoints(height);
  sheet_->sheet.pictures.push_back(picture);
  ReturnObject(result,
               new PicturesObject(app_, book_, sheet_, static_cast<int>(sheet_->sheet.pictures.size())));
}

void PicturesObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  switch (id) {
    case kItem: {
      long index = args.Int(0);
      if (index_ != 0 || index < 1 || index > static_cast<long>(sheet_->sheet.pictures.size()))
        throw StandInError("no picture " + std::to_string(index) + " on the sheet");
      ReturnObject(result, new PicturesObject(app_, book_, sheet_, static_cast<int>(index)));
      return;
    }
    case kInsert:
      Insert(args, result);
      return;
    case kCount:
      ReturnInt(result, index_ == 0 ? static_cast<long>(sheet_->sheet.pictures.size()) : 1);
      return;
  }
  // Sizes and positions: read from the first picture, set on every one.
  // Pictures keep their proportions when one side is set.
  std::vector<spreadsheet::Picture*> targets = Targets();
  if (!args.IsPut()) {
    const spreadsheet::Picture& p = *targets.front();
    ReturnNumber(result, id == kHeight ? p.height : id == kWidth ? p.width : id == kTop ? p.top : p.left);
    return;
  }
  double value = args.PutDouble();
  if ((id == kHeight || id == kWidth) && !(value >= 0)) throw StandInError("a picture size cannot be negative");
  for (spreadsheet::Picture* p : targets) {
    if (id == kHeight) {
      p->width = p->height > 0 ? p->width * value / p->height : p->width;
      p->height = value;
    } else if (id == kWidth) {
      p->height = p->width > 0 ? p->height * value / p->width : p->height;
      p->width = value;
    } else if (id == kTop) {
      p->top = value;
    } else {
      p->left = value;
    }
  }
}

const std::vector<Member>& PageSetupObject::Members() const {
  static const std::vector<Member> members = {
      {L"Orientation", kOrientation, kGet | kPut, {}},
      {L"FitToPagesWide", kFitToPagesWide, kGet | kPut, {}},
      {L"FitToPagesTall", kFitToPagesTall, kGet | kPut, {}},
  };
  return members;
}

void PageSetupObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  spreadsheet::PageSetup& setup = sheet_->sheet.pageSetup;
  int& field = id == kOrientation ? setup.orientation : id == kFitToPagesWide ? setup.fitToPagesWide
                                                                              : setup.fitToPagesTall;
  if (!args.IsPut()) {
    ReturnInt(result, field);
    return;
  }
  long value = args.PutInt();
  if (id == kOrientation && value != 1 && value != 2) throw StandInError("Orientation is 1 (portrait) or 2 (landscape)");
  if (id != kOrientation && (value < 0 || value > 32767)) throw StandInError("a page count is 0 to 32767");
  field = static_cast<int>(value);
}

const std::vector<Member>& HyperlinksObject::Members() const {
  static const std::vector<Member> members = {
      {L"Add", kAdd, kMethod, {L"Anchor", L"Address", L"SubAddress", L"ScreenTip", L"TextToDisplay"}, 2},
      {L"Count", kCount, kGet, {}},
  };
  return members;
}

void HyperlinksObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  if (id == kCount) {
    ReturnInt(result, static_cast<long>(sheet_->sheet.hyperlinks.size()));
    return;
  }
  auto* anchor = dynamic_cast<RangeObject*>(args.Object(0));
  if (!anchor || anchor->Sheet() != sheet_) throw StandInError("Hyperlinks.Add: the anchor is not a range of this sheet");
  spreadsheet::Hyperlink link;
  link.anchor = anchor->Area().first;
  link.address = args.Text(1);
  link.subAddress = args.Has(2) ? args.Text(2) : std::string();
  link.text = args.Has(4) ? args.Text(4) : std::string();
  if (link.address.empty() && link.subAddress.empty()) throw StandInError("Hyperlinks.Add: the link leads nowhere");
  auto& links = sheet_->sheet.hyperlinks;
  for (size_t i = 0; i < links.size(); ++i)
    if (links[i].anchor == link.anchor) links.erase(links.begin() + static_cast<long>(i));
  links.push_back(link);
  if (args.Has(4)) {
    spreadsheet::Cell& cell = sheet_->sheet.cells[link.anchor];
    cell.isNumber = cell.isFormula = false;
    cell.value = link.text;
  }
}

}  // namespace xlstandin
