#include "client/ClientForm.h"

#include <utility>

#include "client/Common.h"
#include "client/portable/GlobalConstants.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"

namespace {
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_TOPMOST;
constexpr int kVersionWidth = 50;
constexpr int kNoticeWidth = 220;
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
}  // namespace

ClientForm::ClientForm(std::string className, std::string caption, COLORREF barColour)
    : Form(std::move(className), std::move(caption)),
      barColour_(barColour),
      whiteBrush_(CreateSolidBrush(kWhite)),
      barBrush_(CreateSolidBrush(barColour)) {}

// The derived form has destroyed its window by now.
ClientForm::~ClientForm() {
  for (HBRUSH brush : {whiteBrush_, barBrush_})
    if (brush) DeleteObject(brush);
}

void ClientForm::EraseWhite(HDC dc) const {
  RECT r = ClientRect();
  FillRect(dc, &r, whiteBrush_);
}

LRESULT ClientForm::ColourStatic(HDC dc, bool onBar) const {
  SetBkColor(dc, onBar ? barColour_ : kWhite);
  return reinterpret_cast<LRESULT>(onBar ? barBrush_ : whiteBrush_);
}

void ClientForm::Log(const std::string& text) const { fncWriteSysLog(Caption() + "," + text); }

bool ClientForm::CreateForClient(int width, int height) {
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
  return Form::Create(kFormStyle, kFormExStyle, outer.right - outer.left, outer.bottom - outer.top);
}

void ClientForm::ShowMessage(const std::string& text) {
  forms::ShowMessageBox(Handle(), text, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
}

void ClientForm::BeginWork(const forms::Window& bar, const std::string& logLine) {
  Enable(false);
  bar.Invalidate();
  UpdateWindow(bar);
  if (!logLine.empty()) Log(logLine);
}

void ClientForm::ShowVersionPanels(const forms::StatusBar& bar, const char* notice) {
  int width = bar.ClientRect().right;
  bar.SetParts({width - kVersionWidth - kNoticeWidth, width - kNoticeWidth, -1});
  bar.SetPanelText(0, "");
  bar.SetPanelText(1, kestro::kVersion, forms::StatusBar::Align::Center);
  bar.SetPanelText(2, notice, forms::StatusBar::Align::Right);
}
