#include "manager/SpreadsheetOptionsForm.h"

#include <cstdio>

#include "forms/InputMethod.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/portable/ManagerSettingsRules.h"
#include "manager/portable/SpreadsheetOptionRules.h"

TForm3* Form3 = nullptr;
int gPrintOrient = kLandscape;
int gOutputKind = 1;
std::string gTemplateNo = "00";

namespace {

enum ControlId { kImageXId = 301, kImageYId, kTanNameId, kOrientId, kImagePosId, kCloseId, kKindId = 311 };

constexpr COLORREF kBackColour = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kNoteColour = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kPictureBlue = RGB(0x40, 0x70, 0xE0);

// The kind group: a frame with a caption, five rows of a radio button, its
// descriptive lines and a small drawing of the page layout.
constexpr int kGroupLeft = 10, kGroupTop = 12, kGroupRight = 751, kGroupBottom = 364;
constexpr int kRowTop = 28, kRowHeight = 66;
constexpr int kTitleLeft = 400, kDrawingLeft = 624;

struct KindTexts {
  const char* caption;
  const char* title;  // the caption without the template name
  const char* lines[3];
};

const KindTexts kKindTexts[kOutputKindCount] = {
    {"(1)画像のみ複数シートへ", "(1)画像のみ複数シートへ",
     {"シートごとに１画像を貼り付けていきます。", "1024x768の縮尺が適切です。", nullptr}},
    {"(2)画像のみ複数画像を単一シートへ", "(2)画像のみ複数画像を単一シートへ",
     {"単一シートに１画像を貼り付けていきます。", "600x450の縮尺が適切です。", nullptr}},
    {"(3)A4横単票形式で複数シートへ（TAN-01）", "(3)A4横単票形式で複数シートへ",
     {"A4横単票テンプレートに画像を貼り付けます。", "1024x768の縮尺が適切です。", nullptr}},
    {"(4)A4横単票形式で複数シートへ（TAN-02）", "(4)A4横単票形式で複数シートへ",
     {"A4横単票テンプレートに画像を貼り付けます。", "コメント表、連絡表のイメージです。", "580x435の縮尺が適切です。"}},
    {"(5)A4たて単票形式で複数シートへ（TAN-03）", "(5)A4たて単票形式で複数シートへ",
     {"A4たて単票テンプレートに画像を貼り付けます。", "600x450の縮尺が適切です。", nullptr}},
};

HFONT MakeFont(int points) {
  HDC screen = GetDC(nullptr);
  const int pixels = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
}

// Drawing helpers of the layout pictures: a page, a picture, a text field.
void Page(HDC dc, int x, int y, int width, int height) {
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, x, y, x + width, y + height);
}

void PictureBox(HDC dc, int x, int y, int width, int height) {
  RECT r{x, y, x + width, y + height};
  HBRUSH blue = CreateSolidBrush(kPictureBlue);
  FillRect(dc, &r, blue);
  DeleteObject(blue);
}

void TextField(HDC dc, int x, int y, int width, int height, const char* text) {
  HPEN dotted = CreatePen(PS_DOT, 1, RGB(0x60, 0x60, 0x60));
  HGDIOBJ oldPen = SelectObject(dc, dotted);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, x, y, x + width, y + height);
  SelectObject(dc, oldPen);
  DeleteObject(dotted);
  RECT r{x + 1, y, x + width - 1, y + height};
  DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

}  // namespace

TForm3::TForm3() : ModalForm("TForm3", "エクセル出力種別選択") {}

TForm3::~TForm3() {
  if (font_) DeleteObject(font_);
  if (smallFont_) DeleteObject(smallFont_);
  if (backBrush_) DeleteObject(backBrush_);
}

KindButton& TForm3::Button(int kind) {
  KindButton* buttons[kOutputKindCount] = {&rb1, &rb2, &rb3, &rb4, &rb5};
  return *buttons[kind >= 1 && kind <= kOutputKindCount ? kind - 1 : 0];
}

void TForm3::CreateControls() {
  const HWND self = Handle();
  // The radio buttons first and together: WS_GROUP on the next control
  // ends their group.
  for (int kind = 1; kind <= kOutputKindCount; ++kind) {
    const int top = kRowTop + (kind - 1) * kRowHeight;
    Button(kind).Create(self, kKindTexts[kind - 1].caption, 24, top, 360, 18, kKindId + kind - 1, kind == 1);
  }
  int line = 0;
  for (int kind = 1; kind <= kOutputKindCount; ++kind) {
    const int top = kRowTop + (kind - 1) * kRowHeight + 19;
    for (int i = 0; i < 3 && kKindTexts[kind - 1].lines[i]; ++i)
      lines_[line++].Create(self, kKindTexts[kind - 1].lines[i], 44, top + i * 14, 340, 14);
  }
  rb1.SetChecked(true);

  labels_[0].Create(self, "画像出力制限サイズ（縮尺）", 20, 380, 200, 16);
  labels_[1].Create(self, "X＝", 24, 405, 24, 16);
  txtImageX.Create(self, 48, 402, 56, 22, kImageXId, WS_GROUP);
  txtImageX.SetLimitText(4);
  labels_[2].Create(self, "Y＝", 120, 405, 24, 16);
  txtImageY.Create(self, 144, 402, 56, 22, kImageYId);
  txtImageY.SetLimitText(4);
  labels_[3].Create(self, "単票出力時名称", 240, 380, 200, 16);
  txtTanName.Create(self, 240, 402, 260, 22, kTanNameId);
  txtTanName.SetLimitText(64);
  labels_[4].Create(self, "A4印刷方向", 530, 380, 120, 16);
  cmbPrintOrient.Create(self, 530, 402, 120, 120, kOrientId, CBS_DROPDOWNLIST);
  cmbPrintOrient.Add("A4たて");
  cmbPrintOrient.Add("A4よこ");
  cmbPrintOrient.SetItemIndex(gPrintOrient - 1);
  labels_[5].Create(self, "画像貼付位置", 20, 445, 100, 16);
  txtImagePos.Create(self, 110, 442, 64, 22, kImagePosId);
  txtImagePos.SetLimitText(5);
  notes_[0].Create(self, "※エクセルに画像を貼り付ける", 184, 440, 220, 14);
  notes_[1].Create(self, "位置を指定します。", 184, 455, 220, 14);
  static_cast<forms::Control&>(SpeedButton1)
      .Create(self, "BUTTON", "確　定", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_FLAT, 590, 436, 150, 36,
              kCloseId);
  Label7.Create(self, "※単票テンプレートは　C:\\Program files\\Veltrana\\Kestro\\Template\\配下に格納しています。",
                20, 504, 720, 16);

  EnumChildWindows(self, SetFontOfChild, reinterpret_cast<LPARAM>(font_));
}

void TForm3::FormCreate() {
  font_ = MakeFont(9);
  smallFont_ = MakeFont(6);
  backBrush_ = CreateSolidBrush(kBackColour);
  CreateControls();
  Move(0, 0, 767, 575);
  CenterOnScreen();
  for (HWND field : {txtImageX.Handle(), txtImageY.Handle(), txtImagePos.Handle()})
    forms::SetInputMethodOpen(field, false);
  forms::SetInputMethodOpen(txtTanName, true);
  lastKind_ = 1;
}

int TForm3::CheckedKind() const {
  const KindButton* buttons[kOutputKindCount] = {&rb1, &rb2, &rb3, &rb4, &rb5};
  for (int kind = 1; kind <= kOutputKindCount; ++kind)
    if (buttons[kind - 1]->Checked()) return kind;
  return 1;
}

void TForm3::CheckKind(int kind) {
  KindButton& button = Button(kind);
  if (button.Checked()) return;
  for (int other = 1; other <= kOutputKindCount; ++other) Button(other).SetChecked(other == kind);
  KindClick(kind);
}

void TForm3::KindClick(int kind) {
  lastKind_ = kind;
  if (Button(kind).Checked()) {
    const OutputKind& preset = OutputKindOf(kind);
    txtImageX.SetText(preset.limitX);
    txtImageY.SetText(preset.limitY);
    cmbPrintOrient.SetItemIndex(preset.orientation - 1);
  }
  txtImagePos.SetText(gMgr.IMGPOS[kind - 1]);
}

void TForm3::SpeedButton1Click() { Close(); }

void TForm3::Refuse(const char* message, const forms::Edit& field) {
  fncWriteSysLog(message);
  forms::ShowMessageBox(Handle(), message, kManagerCaption, MB_OK | MB_ICONEXCLAMATION);
  field.SetFocus();
  field.SelectAll();
}

void TForm3::FormCloseQuery(bool& canClose) {
  // A size below 1 pixel would leave no picture: refused like a non-number.
  int limitX = 0, limitY = 0;
  if (!ReadSizeLimit(txtImageX.Text(), limitX)) {
    canClose = false;
    Refuse(kBadSizeMessage, txtImageX);
    return;
  }
  if (!ReadSizeLimit(txtImageY.Text(), limitY)) {
    canClose = false;
    Refuse(kBadSizeMessage, txtImageY);
    return;
  }
  if (limitX != gMgr.XLSOUTPUTX) gMgr.unread.erase("XLSOUTPUTX");
  if (limitY != gMgr.XLSOUTPUTY) gMgr.unread.erase("XLSOUTPUTY");
  gMgr.XLSOUTPUTX = limitX;
  gMgr.XLSOUTPUTY = limitY;
  ChangeSetting(gMgr, "TANNAME", gMgr.TANNAME, txtTanName.Text());
  gPrintOrient = cmbPrintOrient.ItemIndex() + 1;
  gOutputKind = CheckedKind();
  gTemplateNo = OutputKindOf(gOutputKind).templateNo;
  const std::string position = txtImagePos.Text();
  if (gOutputKind != kAllOnOneSheet && !IsPasteCell(position)) {
    canClose = false;
    Refuse(kBadPasteCellMessage, txtImagePos);
    return;
  }
  ChangeSetting(gMgr, "IMGPOS" + std::to_string(gOutputKind), gMgr.IMGPOS[gOutputKind - 1], UpperAscii(position));
  char line[160];
  std::snprintf(line, sizeof line, "エクセル出力種別=%d,X=%d,Y=%d,印刷方向=%d,貼付位置=", gOutputKind, limitX, limitY,
                gPrintOrient);
  fncWriteSysLog(line + gMgr.IMGPOS[gOutputKind - 1]);
  canClose = true;
}

bool TForm3::ColourStatic(HWND control, HDC dc, LRESULT& result) const {
  SetBkColor(dc, kBackColour);
  if (control == Label7.Handle())
    SetTextColor(dc, kRed);
  else if (control == notes_[0].Handle() || control == notes_[1].Handle())
    SetTextColor(dc, kNoteColour);
  else
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  result = reinterpret_cast<LRESULT>(backBrush_);
  return true;
}

void TForm3::PaintLayouts(HDC dc) const {
  HGDIOBJ oldFont = SelectObject(dc, font_);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));

  RECT frame{kGroupLeft, kGroupTop, kGroupRight, kGroupBottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  static const char kGroupCaption[] = "エクセルに出力する種類をお選びください。";
  SIZE extent{};
  GetTextExtentPoint32A(dc, kGroupCaption, sizeof kGroupCaption - 1, &extent);
  RECT caption{kGroupLeft + 8, kGroupTop - extent.cy / 2, kGroupLeft + 12 + extent.cx, kGroupTop + extent.cy / 2 + 1};
  FillRect(dc, &caption, backBrush_);
  TextOutA(dc, kGroupLeft + 10, caption.top, kGroupCaption, sizeof kGroupCaption - 1);

  for (int kind = 1; kind <= kOutputKindCount; ++kind) {
    const int top = kRowTop + (kind - 1) * kRowHeight;
    SelectObject(dc, font_);
    TextOutA(dc, kTitleLeft, top + 2, kKindTexts[kind - 1].title, lstrlenA(kKindTexts[kind - 1].title));
    SelectObject(dc, smallFont_);
    const int x = kDrawingLeft, y = top - 1;
    switch (kind) {
      case 1:  // one picture on each of several sheets
        for (int i = 2; i >= 0; --i) {
          Page(dc, x + 8 + i * 12, y + i * 6, 76, 48);
          PictureBox(dc, x + 8 + i * 12 + 8, y + i * 6 + 12, 60, 30);
        }
        break;
      case 2:  // all pictures on one long sheet
        Page(dc, x + 38, y, 48, 64);
        for (int i = 0; i < 3; ++i) PictureBox(dc, x + 44, y + 4 + i * 20, 36, 16);
        break;
      case 3:  // A4 landscape form: name, date and sheet name over the picture
        Page(dc, x, y, 112, 64);
        TextField(dc, x + 64, y + 4, 44, 12, "名称");
        TextField(dc, x + 4, y + 19, 44, 12, "日付");
        TextField(dc, x + 64, y + 19, 44, 12, "シート名");
        PictureBox(dc, x + 6, y + 35, 100, 25);
        break;
      case 4:  // A4 landscape form: picture beside the comment table
        Page(dc, x, y, 112, 64);
        TextField(dc, x + 64, y + 4, 44, 12, "名称");
        PictureBox(dc, x + 4, y + 20, 58, 38);
        TextField(dc, x + 66, y + 20, 42, 18, "コメント");
        TextField(dc, x + 66, y + 42, 42, 16, "連絡");
        break;
      default:  // A4 portrait form
        Page(dc, x + 30, y, 64, 64);
        TextField(dc, x + 56, y + 3, 34, 11, "名称");
        TextField(dc, x + 34, y + 16, 30, 11, "日付");
        TextField(dc, x + 34, y + 29, 56, 11, "シート名");
        PictureBox(dc, x + 36, y + 43, 52, 18);
        break;
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldFont);
}

bool TForm3::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r = ClientRect();
      FillRect(reinterpret_cast<HDC>(w), &r, backBrush_);
      result = 1;
      return true;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      PaintLayouts(dc);
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColourStatic(reinterpret_cast<HWND>(l), reinterpret_cast<HDC>(w), result);
    case WM_COMMAND: {
      const int id = LOWORD(w);
      const int code = HIWORD(w);
      if (code == EN_SETFOCUS && (id == kImageXId || id == kImageYId || id == kImagePosId || id == kTanNameId)) {
        forms::SetInputMethodOpen(reinterpret_cast<HWND>(l), id == kTanNameId);
        return false;
      }
      if (code != BN_CLICKED) return false;
      if (id == kCloseId) {
        SpeedButton1Click();
      } else if (id >= kKindId && id < kKindId + kOutputKindCount) {
        // Like a click that checks the button: nothing when it already was.
        const int kind = id - kKindId + 1;
        if (kind == lastKind_ || !Button(kind).Checked()) return false;
        switch (kind) {
          case 1: rb1Click(); break;
          case 2: rb2Click(); break;
          case 3: rb3Click(); break;
          case 4: rb4Click(); break;
          default: rb5Click(); break;
        }
      } else {
        return false;
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}
