#include "office/Spreadsheet.h"

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

Application Application::Create() { return Application(Dispatch::Create(kProgId)); }

void Application::QuitQuietly() noexcept {
  try {
    if (!d_.IsNull()) Quit();
  } catch (...) {
  }
}

}  // namespace office
