#include "spreadsheet/Objects.h"

namespace xlstandin {

namespace {
enum { kDisplayAlerts = 1, kVisible, kApplication, kWorkbooks, kQuit, kActiveSheet, kVersion };
}

const std::vector<Member>& ApplicationObject::Members() const {
  static const std::vector<Member> members = {
      {L"DisplayAlerts", kDisplayAlerts, kGet | kPut, {}},
      {L"Visible", kVisible, kGet | kPut, {}},
      {L"Application", kApplication, kGet, {}},
      {L"Workbooks", kWorkbooks, kGet, {L"Index"}},
      {L"Quit", kQuit, kMethod, {}},
      {L"ActiveSheet", kActiveSheet, kGet, {}},
      {L"Version", kVersion, kGet, {}},
  };
  return members;
}

void ApplicationObject::Run(DISPID id, Args& args, VARIANT* result) {
  app_->CheckRunning();
  switch (id) {
    case kDisplayAlerts:
      if (args.IsPut())
        app_->displayAlerts = args.PutBool();
      else
        ReturnBool(result, app_->displayAlerts);
      return;
    case kVisible:
      if (args.IsPut()) {
        app_->SetVisible(args.PutBool());
      } else {
        ReturnBool(result, app_->visible);
      }
      return;
    case kApplication:
      ReturnObject(result, new ApplicationObject(app_));
      return;
    case kWorkbooks:
      if (args.Has(0))
        ReturnObject(result, WorkbooksObject::Item(app_, args.Int(0)));
      else
        ReturnObject(result, new WorkbooksObject(app_));
      return;
    case kQuit:
      app_->Quit();
      return;
    case kVersion:
      ReturnText(result, app_->version);
      return;
    case kActiveSheet: {
      Book book = app_->activeBook.lock();
      SheetPtr sheet = book ? book->active.lock() : nullptr;
      if (!sheet) throw StandInError("there is no active sheet");
      ReturnObject(result, new WorksheetObject(app_, book, sheet));
      return;
    }
  }
}

}  // namespace xlstandin
