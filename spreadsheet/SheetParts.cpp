// Pictures, PageSetup and Hyperlinks of a worksheet.
#include "spreadsheet/Objects.h"
#include "spreadsheet/Text.h"
#include "spreadsheet/WorkbookFiles.h"
#include "spreadsheet/portable/ImageSize.h"

namespace xlstandin {

namespace {

enum { kItem = DISPID_VALUE, kInsert = 1, kCount, kHeight, kWidth, kTop, kLeft };
enum { kOrientation = 1, kFitToPagesWide, kFitToPagesTall, kZoom };
enum { kAddPicture = 1, kShapeCount };
enum { kShapeHeight = 1, kShapeWidth, kShapeTop, kShapeLeft, kLockAspectRatio, kScaleHeight, kScaleWidth };
const long kMsoTrue = -1, kMsoFalse = 0;

// Height or width set to value; the other side follows when proportions are kept.
void Resize(spreadsheet::Picture& p, bool height, double value, bool keepProportions) {
  if (!(value >= 0)) throw StandInError("a picture size cannot be negative");
  double& side = height ? p.height : p.width;
  double& other = height ? p.width : p.height;
  if (keepProportions && side > 0) other = other * value / side;
  side = value;
}

// An MsoTriState argument: msoTrue (-1) or msoFalse (0).
bool TriState(const Args& args, size_t i) {
  const long value = args.Int(i);
  if (value != kMsoTrue && value != kMsoFalse) throw StandInError("expected msoTrue or msoFalse");
  return value == kMsoTrue;
}

// A picture from the file at path, at its own size (0.75 point per pixel).
spreadsheet::Picture PictureFromFile(const std::wstring& path, const char* call) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw StandInError(std::string(call) + ": the picture file '" + ToUtf8(path) + "' is missing");
  int width = 0, height = 0;
  if (!spreadsheet::ReadImageSize(bytes, width, height))
    throw StandInError(std::string(call) + ": '" + ToUtf8(path) + "' is not a picture");
  spreadsheet::Picture picture;
  picture.source = ToUtf8(path);
  picture.width = picture.originalWidth = spreadsheet::PixelsToPoints(width);
  picture.height = picture.originalHeight = spreadsheet::PixelsToPoints(height);
  return picture;
}
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
  // Since version 2010 Insert links the file instead of embedding it.
  spreadsheet::Picture picture = PictureFromFile(FullPath(FromUtf8(args.Text(0))), "Insert");
  picture.embedded = false;
  picture.left = CellLeft(sheet_->selection.first.column);
  picture.top = CellTop(sheet_->selection.first.row);
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
  for (spreadsheet::Picture* p : targets) {
    if (id == kHeight || id == kWidth) {
      Resize(*p, id == kHeight, value, true);
    } else if (id == kTop) {
      p->top = value;
    } else {
      p->left = value;
    }
  }
}

const std::vector<Member>& ShapesObject::Members() const {
  static const std::vector<Member> members = {
      {L"AddPicture", kAddPicture, kMethod,
       {L"Filename", L"LinkToFile", L"SaveWithDocument", L"Left", L"Top", L"Width", L"Height"}, 7},
      {L"Count", kShapeCount, kGet, {}},
  };
  return members;
}

void ShapesObject::AddPicture(Args& args, VARIANT* result) {
  const bool link = TriState(args, 1), save = TriState(args, 2);
  if (!link && !save) throw StandInError("AddPicture: a picture neither linked nor saved with the document");
  spreadsheet::Picture picture = PictureFromFile(FullPath(FromUtf8(args.Text(0))), "AddPicture");
  picture.embedded = save;
  picture.left = args.Double(3);
  picture.top = args.Double(4);
  picture.lockAspectRatio = false;
  // -1 keeps the file's own size, from version 14 (2010) on.
  for (int i : {5, 6}) {
    const double size = args.Double(static_cast<size_t>(i));
    if (size == -1 && app_->MajorVersion() >= 14) continue;
    if (!(size > 0)) throw StandInError("AddPicture: the size " + std::to_string(size) + " is out of range");
    (i == 5 ? picture.width : picture.height) = size;
  }
  sheet_->sheet.pictures.push_back(picture);
  ReturnObject(result, new ShapeObject(app_, book_, sheet_, static_cast<int>(sheet_->sheet.pictures.size())));
}

void ShapesObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  if (id == kAddPicture)
    AddPicture(args, result);
  else
    ReturnInt(result, static_cast<long>(sheet_->sheet.pictures.size()));
}

const std::vector<Member>& ShapeObject::Members() const {
  static const std::vector<Member> members = {
      {L"Height", kShapeHeight, kGet | kPut, {}},
      {L"Width", kShapeWidth, kGet | kPut, {}},
      {L"Top", kShapeTop, kGet | kPut, {}},
      {L"Left", kShapeLeft, kGet | kPut, {}},
      {L"LockAspectRatio", kLockAspectRatio, kGet | kPut, {}},
      {L"ScaleHeight", kScaleHeight, kMethod, {L"Factor", L"RelativeToOriginalSize", L"Scale"}, 2},
      {L"ScaleWidth", kScaleWidth, kMethod, {L"Factor", L"RelativeToOriginalSize", L"Scale"}, 2},
  };
  return members;
}

void ShapeObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  auto& pictures = sheet_->sheet.pictures;
  if (index_ > static_cast<int>(pictures.size())) throw StandInError("the shape no longer exists");
  spreadsheet::Picture& p = pictures[index_ - 1];
  switch (id) {
    case kLockAspectRatio:
      if (args.IsPut()) {
        const long value = args.PutInt();
        if (value != kMsoTrue && value != kMsoFalse) throw StandInError("LockAspectRatio is msoTrue or msoFalse");
        p.lockAspectRatio = value == kMsoTrue;
      } else {
        ReturnInt(result, p.lockAspectRatio ? kMsoTrue : kMsoFalse);
      }
      return;
    case kScaleHeight:
    case kScaleWidth: {
      const bool height = id == kScaleHeight;
      const double factor = args.Double(0);
      if (!(factor > 0)) throw StandInError("the scale factor must be greater than 0");
      const double base = TriState(args, 1) ? (height ? p.originalHeight : p.originalWidth) : (height ? p.height : p.width);
      Resize(p, height, base * factor, p.lockAspectRatio);
      return;
    }
  }
  double& field = id == kShapeHeight ? p.height : id == kShapeWidth ? p.width : id == kShapeTop ? p.top : p.left;
  if (!args.IsPut()) {
    ReturnNumber(result, field);
    return;
  }
  const double value = args.PutDouble();
  if (id == kShapeHeight || id == kShapeWidth)
    Resize(p, id == kShapeHeight, value, p.lockAspectRatio);
  else
    field = value;
}

const std::vector<Member>& PageSetupObject::Members() const {
  static const std::vector<Member> members = {
      {L"Orientation", kOrientation, kGet | kPut, {}},
      {L"FitToPagesWide", kFitToPagesWide, kGet | kPut, {}},
      {L"FitToPagesTall", kFitToPagesTall, kGet | kPut, {}},
      {L"Zoom", kZoom, kGet | kPut, {}},
  };
  return members;
}

void PageSetupObject::Run(DISPID id, Args& args, VARIANT* result) {
  CheckAlive();
  spreadsheet::PageSetup& setup = sheet_->sheet.pageSetup;
  if (id == kZoom) {
    // False, or a percentage from 10 to 400; True is refused.
    if (!args.IsPut()) {
      if (setup.zoom == 0)
        ReturnBool(result, false);
      else
        ReturnInt(result, setup.zoom);
    } else if (args.PutValue().vt == VT_BOOL) {
      if (args.PutBool()) throw StandInError("Zoom may be False or a percentage, not True");
      setup.zoom = 0;
    } else {
      const long value = args.PutInt();
      if (value < 10 || value > 400) throw StandInError("Zoom is 10 to 400 percent");
      setup.zoom = static_cast<int>(value);
    }
    return;
  }
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
