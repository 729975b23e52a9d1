#include <winsock2.h>  // before windows.h: the registration form brings the transfer client

#include "client/SettingsForm.h"

#include <imm.h>

#include <array>
#include <stdexcept>

#include "client/ClientSettings.h"
#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/ListForm.h"
#include "client/MainForm.h"
#include "client/RegistrationForm.h"
#include "client/ReportWorkbook.h"
#include "client/portable/RegistrationText.h"
#include "common/ProcessStart.h"
#include "common/UpdaterSettings.h"
#include "forms/Application.h"
#include "forms/InputMethod.h"
#include "forms/MessageBox.h"

TForm2* Form2 = nullptr;

namespace {

constexpr char kCaption[] = "設定画面";
constexpr char kStatusNotice[] = "「変更」で設定を保存します ";
constexpr char kInputError[] = "入力エラー";
constexpr char kChanged[] = "変更しました";
constexpr char kNoSpreadsheet[] = "エクセルがインストールされていません";
constexpr char kAddressError[] = "アドレスの入力が正しくありません";
constexpr char kFolderError[] = "指定の保存先ではファイル保存フォルダを作成できません。";
constexpr char kMojiSizeError[] = "文字サイズは1から99までの数字を入力してください";
constexpr char kNoUpdaterIni[] = "バージョンアップ設定ファイルが確認できません";
constexpr char kNoUpdater[] = "ダウンローダが確認できません";
constexpr char kUpdaterFailed[] = "ダウンローダの起動に失敗しました";
constexpr char kUpdateQuestion[] = "バージョンアップを開始します\r\nよろしいですか？";
constexpr char kUpdaterProgram[] = "DownLoader.exe";
constexpr char kUpdaterProject[] = "kestro";
constexpr char kUpdaterExe[] = "Kestro.exe";

constexpr int kBandHeight = 29;
constexpr int kBarHeight = 30;
constexpr COLORREF kCaptionBlue = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF kNoteRed = RGB(0xFF, 0x00, 0x00);

const char* const kColourItems[] = {"赤", "黒", "青", "白", "黄"};
const char* const kWakuTypeItems[] = {"点線", "実線"};
const char* const kWakuWidthItems[] = {"細線", "太線"};

// Background and text of a colour list by item index.
constexpr TForm2::ListColours kListColours[] = {
    {RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0xFF, 0xFF)},  // 赤 $0000FF
    {RGB(0x00, 0x00, 0x00), RGB(0xFF, 0xFF, 0xFF)},  // 黒 $000000
    {RGB(0x00, 0x00, 0xFF), RGB(0xFF, 0xFF, 0xFF)},  // 青 $FF0000
    {RGB(0xFF, 0xFF, 0xFF), RGB(0x00, 0x00, 0x00)},  // 白 $FFFFFF
    {RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0x00, 0x00)},  // 黄 $00FFFF
};

HFONT MakeFont(int points, int weight, bool underline, const char* face) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// A setting number as a list index: the value minus one; stoi raises for
// a text that is not a number, as the show step expects.
int ListIndexOf(const std::string& value) { return std::stoi(value) - 1; }

// The setting of a list: item index + 1, or the old value when the list
// shows no item (a setting outside the list is kept as it was).
std::string ListValue(const forms::ComboBox& list, const std::string& old) {
  int index = list.ItemIndex();
  return index < 0 ? old : std::to_string(index + 1);
}

bool MojiSizeValid(const std::string& text) {
  if (text.empty() || text.size() > 2) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  int size = std::stoi(text);
  return size >= 1 && size <= 99;
}

}  // namespace

TForm2::TForm2() : ClientForm("TForm2", kCaption, RGB(0xE8, 0xEE, 0xF8)) {
  const char* face = "ＭＳ Ｐゴシック";
  font_ = MakeFont(9, FW_NORMAL, false, face);
  boldFont_ = MakeFont(9, FW_BOLD, false, face);
  smallFont_ = MakeFont(8, FW_NORMAL, false, face);
  bandFont_ = MakeFont(14, FW_BOLD, false, "Arial");
  buttonFont_ = MakeFont(9, FW_NORMAL, true, face);
}

TForm2::~TForm2() {
  for (Field& field : fields_) field.filter.Detach();
  if (Form2 == this) Form2 = nullptr;
  Destroy();
  for (HFONT font : {font_, boldFont_, smallFont_, bandFont_, buttonFont_})
    if (font) DeleteObject(font);
}

bool TForm2::Create() { return CreateForClient(kClientWidth, kClientHeight); }

void TForm2::ShowSettings() {
  Show(SW_SHOW);
  BringToTop();
  SetForegroundWindow(Handle());
}

// ---------------------------------------------------------------- controls

void TForm2::CreateLabel(const std::string& caption, int x, int y, int width, HFONT font) {
  forms::Label label;
  label.Create(Handle(), caption, x, y, width, 16);
  label.SetFont(font, false);
}

void TForm2::CreateRadio(forms::Control& radio, const std::string& caption, int x, int y, int width, int id) {
  radio.Create(Handle(), "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON, x, y, width, 20, id);
  radio.SetFont(font_, false);
}

void TForm2::CreateColourList(forms::ComboBox& list, int x, int y, int id, const char* const* items, int count) {
  bool colours = items == kColourItems;
  DWORD style = CBS_DROPDOWNLIST | (colours ? CBS_OWNERDRAWFIXED | CBS_HASSTRINGS : 0);
  list.Create(Handle(), x, y, 90, 200, id, style);
  list.SetFont(font_, false);
  for (int i = 0; i < count; ++i) list.Add(items[i]);
  if (!colours) return;
  for (ColourList& state : colourLists_) {
    if (state.list) continue;
    state.list = list.Handle();
    state.colours = ListColours{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
    break;
  }
}

void TForm2::CreateControls() {
  HWND form = Handle();
  imgBtnBar.Create(form, "", 0, kBandHeight, kClientWidth, kBarHeight, kSetIdButtonBar, WS_VISIBLE);
  btnUpdate.Create(imgBtnBar, "変更", 12, 3, 70, 24, kSetIdUpdate);
  btnHint.Create(imgBtnBar, "ヒント", 88, 3, 70, 24, kSetIdHint);
  btnClose.Create(imgBtnBar, "閉じる", 164, 3, 70, 24, kSetIdClose);
  btnDownLoad.Create(form, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ", 410, 624, 120, 24, kSetIdDownLoad);
  for (const forms::Button* button : {&btnUpdate, &btnHint, &btnClose, &btnDownLoad})
    SetWindowLongPtrA(*button, GWL_STYLE, (GetWindowLongPtrA(*button, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);

  const int left = 24, field = 130;
  CreateLabel("【ファイル名】", 12, 70, 200, boldFont_);
  CreateLabel("プロジェクト", left, 96, 100, font_);
  cboProject.Create(form, field, 92, 300, 200, kSetIdProject);
  CreateLabel("端末名", left, 126, 100, font_);
  txtTerminal.Create(form, field, 122, 200, 22, kSetIdTerminal);

  CreateLabel("【保存】", 12, 160, 200, boldFont_);
  CreateLabel("スタイル", left, 186, 100, font_);
  CreateRadio(optStyle0, "報告書スタイル", field, 183, 130, kSetIdStyle0);
  CreateRadio(optStyle1, "画像スタイル", field + 140, 183, 130, kSetIdStyle1);
  CreateLabel("保存方法", left, 214, 100, font_);
  CreateRadio(optShow0, "オート", field, 211, 130, kSetIdShow0);
  CreateRadio(optShow1, "プレビュー", field + 140, 211, 130, kSetIdShow1);

  CreateLabel("【保存先】", 12, 248, 200, boldFont_);
  chkSave.Create(form, "FTPサーバーに転送する", left, 270, 250, 20, kSetIdSave);
  chkSave.SetFont(font_, false);
  CreateLabel("アドレス", left + 16, 302, 90, font_);
  txtServer.Create(form, field, 298, 150, 22, kSetIdServer);
  CreateLabel("ユーザーID", left + 16, 330, 90, font_);
  txtUseID.Create(form, field, 326, 250, 22, kSetIdUserId);
  CreateLabel("パスワード", left + 16, 358, 90, font_);
  txtPasswd.Create(form, field, 354, 250, 22, kSetIdPasswd, ES_PASSWORD);
  txtPasswd.Send(EM_SETPASSWORDCHAR, '*');
  CreateLabel("保存フォルダ", left, 388, 100, font_);
  txtDir.Create(form, field, 384, 390, 22, kSetIdDir);
  forms::Label smallNote;
  smallNote.Create(form, "※通常は保存フォルダに指定された保存先に保存します。", field, 410, 390, 14);
  smallNote.SetFont(smallFont_, false);
  redSmallNote_ = smallNote.Handle();

  CreateLabel("【画像編集】", 12, 440, 200, boldFont_);
  CreateLabel("文字埋め込み", left, 466, 100, font_);
  CreateRadio(optMoji0, "埋め込まない", field, 463, 110, kSetIdMoji0);
  CreateRadio(OptMoji1, "埋め込む", field + 115, 463, 90, kSetIdMoji1);
  txtMoji.Create(form, field + 210, 462, 180, 22, kSetIdMoji);
  CreateLabel("塗りつぶし", left, 498, 100, font_);
  CreateColourList(cmbBrushColor, field, 494, kSetIdBrushColor, kColourItems, 5);
  CreateLabel("枠設定", left, 530, 100, font_);
  CreateColourList(cmbWakuColor, field, 526, kSetIdWakuColor, kColourItems, 5);
  CreateColourList(cmbWakuType, field + 100, 526, kSetIdWakuType, kWakuTypeItems, 2);
  CreateColourList(cmbWakuWidth, field + 200, 526, kSetIdWakuWidth, kWakuWidthItems, 2);
  CreateLabel("文字設定", left, 562, 100, font_);
  txtMojiSize.Create(form, field, 558, 40, 22, kSetIdMojiSize);
  CreateLabel("pt", field + 44, 562, 20, font_);
  CreateColourList(cmbMojiColor, field + 100, 558, kSetIdMojiColor, kColourItems, 5);
  CreateLabel("矢印設定", left, 594, 100, font_);
  CreateColourList(cmbYajiColor, field, 590, kSetIdYajiColor, kColourItems, 5);

  forms::Label boldNote;
  boldNote.Create(form, "※変更しましたら、必ず変更ボタンを押下してください。", 12, 630, 390, 16);
  boldNote.SetFont(boldFont_, false);
  redBoldNote_ = boldNote.Handle();
  sbrMsg.Create(form, kSetIdStatus);

  for (const forms::Edit* edit : {&txtTerminal, &txtServer, &txtUseID, &txtPasswd, &txtDir, &txtMoji, &txtMojiSize})
    edit->SetFont(font_, false);
  cboProject.SetFont(font_, false);
}

void TForm2::AttachField(Field& field, HWND control, HWND input, bool edit, bool enterMoves, char keys) {
  field.control = control;
  field.input = input ? input : control;
  field.edit = edit;
  field.enterMoves = enterMoves;
  field.keys = keys;
  field.filter.OnMessage = [this, &field](UINT msg, WPARAM w, LPARAM, LRESULT& result) {
    result = 0;
    return KeyDown(field, msg, w);
  };
  field.filter.Attach(field.input);
}

// ---------------------------------------------------------------- events

void TForm2::FormCreate() {
  Form2 = this;
  CreateControls();
  cboProject.SetLimitText(50);
  txtTerminal.SetLimitText(30);
  txtServer.SetLimitText(15);
  txtUseID.SetLimitText(255);
  txtPasswd.SetLimitText(255);
  txtDir.SetLimitText(255);
  txtMojiSize.SetLimitText(2);
  SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  AttachField(fields_[0], cboProject, cboProject.EditHandle(), true, true);
  AttachField(fields_[1], txtTerminal, nullptr, true, true);
  AttachField(fields_[2], optStyle0, nullptr, false, true);
  AttachField(fields_[3], optStyle1, nullptr, false, true);
  AttachField(fields_[4], optShow0, nullptr, false, true);
  AttachField(fields_[5], optShow1, nullptr, false, true);
  AttachField(fields_[6], chkSave, nullptr, false, true);
  AttachField(fields_[7], txtServer, nullptr, true, true, 'S');
  AttachField(fields_[8], txtUseID, nullptr, true, true);
  AttachField(fields_[9], txtPasswd, nullptr, true, true);
  AttachField(fields_[10], txtDir, nullptr, true, true);
  AttachField(fields_[11], optMoji0, nullptr, false, true);
  AttachField(fields_[12], OptMoji1, nullptr, false, true);
  AttachField(fields_[13], txtMoji, nullptr, true, false);
  // txtMojiSize takes digits only; it has the focus colour but no Enter step.
  AttachField(fields_[14], txtMojiSize, nullptr, true, false, 'N');

  // Input method: hiragana for the names, off for the rest.
  for (HWND name : {cboProject.EditHandle(), txtTerminal.Handle()}) {
    if (HIMC context = ImmGetContext(name)) {
      ImmSetConversionStatus(context, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_NONE);
      ImmReleaseContext(name, context);
    }
  }
  for (HWND closed : {txtServer.Handle(), txtUseID.Handle(), txtPasswd.Handle(), txtDir.Handle(), txtMoji.Handle(),
                      txtMojiSize.Handle()})
    forms::SetInputMethodOpen(closed, false);
  ImmAssociateContext(txtServer, nullptr);
}

bool TForm2::fncInit() {
  try {
    ShowVersionPanels(sbrMsg, kStatusNotice);
    return true;
  } catch (...) {
    Log("fncInit()ERROR=" + ExceptionMessage());
    return false;
  }
}

void TForm2::FormShow() {
  Log("FormShow()");
  fncInit();
  CenterOnScreen();
  try {
    const SettingsValues& s = gSettings;
    if (s.STYLE != 0) {
      SetRadio(optStyle1, optStyle0);
      optStyle1.SetFocus();
    } else {
      SetRadio(optStyle0, optStyle1);
      optStyle0.SetFocus();
    }
    if (s.SHOW != 0)
      SetRadio(optShow1, optShow0);
    else
      SetRadio(optShow0, optShow1);
    cboProject.Clear();
    for (const std::string& project : gProjectList) cboProject.Add(project);
    cboProject.SetText(s.PROJECT);
    txtTerminal.SetText(s.OPERATION);
    chkSave.SetChecked(s.SAVE == 1);
    EnableSaveFields(s.SAVE == 1);
    txtServer.SetText(s.SERVER);
    txtUseID.SetText(s.USERID);
    txtPasswd.SetText(s.PASSWD);
    txtDir.SetText(s.FILESAVEPATH);
    if (s.CRFLAG != "1")
      SetRadio(optMoji0, OptMoji1);
    else
      SetRadio(OptMoji1, optMoji0);
    txtMoji.SetText(s.CRSTR);
    cmbBrushColor.SetItemIndex(ListIndexOf(s.MASKCOLOR));
    cmbWakuColor.SetItemIndex(ListIndexOf(s.WAKUCOLOR));
    cmbWakuType.SetItemIndex(ListIndexOf(s.WAKUTYPE));
    cmbWakuWidth.SetItemIndex(ListIndexOf(s.WAKUWIDTH));
    txtMojiSize.SetText(s.MOJISIZE);
    cmbMojiColor.SetItemIndex(ListIndexOf(s.MOJICOLOR));
    cmbYajiColor.SetItemIndex(ListIndexOf(s.YAJICOLOR));
    for (const forms::ComboBox* list : {&cmbBrushColor, &cmbWakuColor, &cmbMojiColor, &cmbYajiColor})
      fncChangeColor(*list);
  } catch (...) {
    Log("FormShow()ERROR=" + ExceptionMessage());
  }
}

void TForm2::EnableSaveFields(bool ftp) const {
  txtServer.Enable(ftp);
  txtUseID.Enable(ftp);
  txtPasswd.Enable(ftp);
  txtDir.Enable(!ftp);
}

void TForm2::chkSaveClick() { EnableSaveFields(chkSave.Checked()); }

void TForm2::SetRadio(const forms::Control& on, const forms::Control& off) const {
  on.Send(BM_SETCHECK, BST_CHECKED);
  off.Send(BM_SETCHECK, BST_UNCHECKED);
}

bool TForm2::Checked(const forms::Control& radio) const { return radio.Send(BM_GETCHECK) == BST_CHECKED; }

void TForm2::fncChangeColor(const forms::ComboBox& list) {
  ColourList* state = ColourListOf(list);
  if (!state) return;
  int index = list.ItemIndex();
  if (index < 0 || index >= 5) return;  // no item: the list keeps its colours
  state->colours = kListColours[index];
  list.Invalidate();
}

void TForm2::btnUpdateClick() {
  BeginWork(imgBtnBar, "");
  sbrMsg.SetPanelText(0, "");
  if (fncChkData()) {
    sbrMsg.SetPanelText(0, kChanged);
    ShowMessage(kChanged);
    Close();
  }
  Enable(true);
}

bool TForm2::fncChkData() {
  Log("fncChkData()");
  try {
    auto refuse = [this](const std::string& message) {
      sbrMsg.SetPanelText(0, kInputError);
      ShowMessage(message);
      return false;
    };
    if (Checked(optStyle0) && !workbook::fucXlsFind()) return refuse(kNoSpreadsheet);
    const std::string project = cboProject.Text();
    const std::string terminal = txtTerminal.Text();
    std::string nameError = CheckRegistrationFields(project, terminal);
    if (!nameError.empty()) return refuse(nameError);
    if (chkSave.Checked()) {
      std::array<std::string, 4> parts;
      if (!fncChkIpAddress(txtServer.Text(), parts)) return refuse(kAddressError);
      txtServer.SetText(parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3]);
    }
    if (!MojiSizeValid(txtMojiSize.Text())) return refuse(kMojiSizeError);
    // The folder is checked (and made) whether or not FTP is chosen; the
    // setting takes it only once it exists.
    const std::string folder = WithTrailingBackslash(txtDir.Text());
    if (!FolderExists(folder)) ForceDirectories(folder);
    if (!FolderExists(folder)) return refuse(kFolderError);

    SettingsValues& s = gSettings;
    s.FILESAVEPATH = folder;
    s.SHOW = Checked(optShow0) ? 0 : 1;
    s.PROJECT = project;
    s.OPERATION = terminal;
    s.SAVE = chkSave.Checked() ? 1 : 0;
    s.SERVER = txtServer.Text();
    s.USERID = txtUseID.Text();
    s.PASSWD = txtPasswd.Text();
    s.CRFLAG = Checked(optMoji0) ? "0" : "1";
    s.CRSTR = txtMoji.Text();
    s.MASKCOLOR = ListValue(cmbBrushColor, s.MASKCOLOR);
    s.WAKUCOLOR = ListValue(cmbWakuColor, s.WAKUCOLOR);
    s.WAKUTYPE = ListValue(cmbWakuType, s.WAKUTYPE);
    s.WAKUWIDTH = ListValue(cmbWakuWidth, s.WAKUWIDTH);
    s.MOJICOLOR = ListValue(cmbMojiColor, s.MOJICOLOR);
    s.YAJICOLOR = ListValue(cmbYajiColor, s.YAJICOLOR);
    s.MOJISIZE = txtMojiSize.Text();
    // The style goes into the file with the rest of this change.
    const int style = Checked(optStyle0) ? 0 : 1;
    const bool relayout = style != s.STYLE && Form3 && Form3->IsVisible();
    s.STYLE = style;

    gProjectListFetched = Form3 && Form3->fncGetProject() == 1;
    if (Form1) Form1->fncReadFile();
    fncSysWrite();
    if (Form3) Form3->btnSend.Enable(true);
    if (Form4) Form4->btnSend.Enable(true);
    if (relayout) Form3->fncPosSet();
    return true;
  } catch (...) {
    Log("fncChkData()ERROR=" + ExceptionMessage());
    return false;
  }
}

void TForm2::btnCloseClick() { Close(); }

void TForm2::btnHintClick() { fncShowHint(Handle()); }

void TForm2::btnDownLoadClick() {
  BeginWork(imgBtnBar, "btnDownLoadClick()");
  try {
    const std::string ini = gExeDir + kestro::kUpdaterIni;
    if (!FileExists(ini)) throw std::runtime_error(kNoUpdaterIni);
    if (!fncWriteUpdaterKeys(ini, {{"PROJECT", kUpdaterProject}, {"EXE", kUpdaterExe}, {"PARAM1", ""},
                                   {"PARAM2", ""}, {"PARAM3", ""}, {"PARAM4", ""}, {"PARAM5", ""}}))
      throw std::runtime_error(kUpdaterIniUnwritable);

    const std::string updater = gExeDir + kUpdaterProgram;
    if (!FileExists(updater)) throw std::runtime_error(kNoUpdater);
    int answer = forms::ShowMessageBox(Handle(), kUpdateQuestion, forms::Application::Instance().Title(),
                                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TOPMOST);
    if (answer != IDOK) {
      Log("btnDownLoadClick()=キャンセル押下");
      Enable(true);
      return;
    }
    Log("btnDownLoadClick()=ＯＫ押下");
    // The updater starts the client again once it has installed the files:
    // it runs only after this client has closed, so the new client never
    // meets the old one's single-instance mutex.
    HANDLE held = nullptr;
    if (!fncStartProgram(updater, gExeDir, nullptr, &held)) throw std::runtime_error(kUpdaterFailed);
    Sleep(500);
    gClosing = true;
    if (Form1) Form1->Close();
    fncResumeProgram(held);
    return;
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("btnDownLoadClick()ERROR=" + message);
    ShowMessage(message);
  }
  Enable(true);
}

// ---------------------------------------------------------------- keys and focus

bool TForm2::KeyDown(Field& field, UINT msg, WPARAM key) {
  switch (msg) {
    case WM_KEYDOWN:
      if (key == VK_RETURN && field.enterMoves) {
        if (field.edit) SendMessageA(field.input, EM_EMPTYUNDOBUFFER, 0, 0);
        MoveFocusOn(field.control, false);
        return true;
      }
      if (key == VK_TAB) {
        MoveFocusOn(field.control, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
      }
      if (key == VK_ESCAPE && field.edit && field.enterMoves) {
        SendMessageA(field.input, EM_UNDO, 0, 0);
        return true;
      }
      return false;
    case WM_CHAR:
      if (key == '\r' || key == '\t') return true;
      if (key == VK_ESCAPE) return field.edit;
      if (field.keys == 'S') return !txtServerKeyPress(key);
      if (field.keys == 'N') return !txtMojiSizeKeyPress(key);
      return false;
    case WM_SETFOCUS:
      FocusEnter(field);
      return false;
    case WM_KILLFOCUS:
      FocusExit(field);
      return false;
    default:
      return false;
  }
}

// Typed characters that the address takes: Backspace, "." and digits;
// with Ctrl held everything (copy and paste).
bool TForm2::txtServerKeyPress(WPARAM key) const {
  if (GetKeyState(VK_CONTROL) & 0x8000) return true;
  return key == VK_BACK || key == '.' || (key >= '0' && key <= '9');
}

bool TForm2::txtMojiSizeKeyPress(WPARAM key) const {
  if (GetKeyState(VK_CONTROL) & 0x8000) return true;
  return key == VK_BACK || (key >= '0' && key <= '9');
}

void TForm2::MoveFocusOn(HWND from, bool back) { forms::FocusNext(Handle(), from, back); }

void TForm2::FocusEnter(const Field& field) {
  if (field.edit) focus_.Enter(field.control, field.input);
}

void TForm2::FocusExit(const Field& field) {
  if (field.edit) focus_.Exit(field.control, field.input);
}

// ---------------------------------------------------------------- drawing

TForm2::ColourList* TForm2::ColourListOf(HWND list) {
  for (ColourList& state : colourLists_)
    if (state.list == list) return &state;
  return nullptr;
}

void TForm2::PaintBand(HDC dc) {
  RECT band{0, 0, kClientWidth, kBandHeight};
  HBRUSH brush = CreateSolidBrush(kBandColour);
  FillRect(dc, &band, brush);
  DeleteObject(brush);
  HGDIOBJ old = SelectObject(dc, bandFont_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  RECT text{12, 0, kClientWidth, kBandHeight};
  DrawTextA(dc, kestro::kMenuBanner, -1, &text, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
}

// Flat buttons: the caption underlined in blue, grey when disabled.
void TForm2::DrawButton(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  bool onBar = GetParent(draw.hwndItem) == imgBtnBar.Handle();
  FillRect(dc, &r, onBar ? BarBrush() : WhiteBrush());
  bool pressed = (draw.itemState & ODS_SELECTED) != 0;
  bool disabled = (draw.itemState & ODS_DISABLED) != 0 || !IsWindowEnabled(Handle());
  if (pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  char caption[64] = {};
  GetWindowTextA(draw.hwndItem, caption, sizeof caption);
  HGDIOBJ old = SelectObject(dc, buttonFont_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : kCaptionBlue);
  RECT text = r;
  if (pressed) OffsetRect(&text, 1, 1);
  DrawTextA(dc, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(dc, old);
  if (draw.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void TForm2::DrawColourItem(const DRAWITEMSTRUCT& draw) {
  ColourList* state = ColourListOf(draw.hwndItem);
  ListColours colours = state ? state->colours : ListColours{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
  bool field = (draw.itemState & ODS_COMBOBOXEDIT) != 0;
  if (!field && (draw.itemState & ODS_SELECTED))
    colours = ListColours{GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)};
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  HBRUSH brush = CreateSolidBrush(colours.back);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  if (draw.itemID != static_cast<UINT>(-1)) {
    char text[32] = {};
    SendMessageA(draw.hwndItem, CB_GETLBTEXT, draw.itemID, reinterpret_cast<LPARAM>(text));
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    RECT inner{r.left + 3, r.top, r.right, r.bottom};
    DrawTextA(dc, text, -1, &inner, DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
  }
  if (field && (draw.itemState & ODS_FOCUS)) DrawFocusRect(dc, &r);
}

bool TForm2::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType == ODT_BUTTON) {
    DrawButton(draw);
    return true;
  }
  if (draw.CtlType == ODT_COMBOBOX) {
    DrawColourItem(draw);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- messages

bool TForm2::OnCommand(WORD id, WORD code, HWND) {
  switch (id) {
    case kSetIdUpdate:
      if (code == BN_CLICKED) btnUpdateClick();
      return true;
    case kSetIdHint:
      if (code == BN_CLICKED) btnHintClick();
      return true;
    case kSetIdClose:
      if (code == BN_CLICKED) btnCloseClick();
      return true;
    case kSetIdDownLoad:
      if (code == BN_CLICKED) btnDownLoadClick();
      return true;
    case kSetIdSave:
      if (code == BN_CLICKED) chkSaveClick();
      return true;
    case kSetIdStyle0:
    case kSetIdStyle1:
      if (code == BN_CLICKED) id == kSetIdStyle0 ? SetRadio(optStyle0, optStyle1) : SetRadio(optStyle1, optStyle0);
      return true;
    case kSetIdShow0:
    case kSetIdShow1:
      if (code == BN_CLICKED) id == kSetIdShow0 ? SetRadio(optShow0, optShow1) : SetRadio(optShow1, optShow0);
      return true;
    case kSetIdMoji0:
    case kSetIdMoji1:
      if (code == BN_CLICKED) id == kSetIdMoji0 ? SetRadio(optMoji0, OptMoji1) : SetRadio(OptMoji1, optMoji0);
      return true;
    case kSetIdBrushColor:
      if (code == CBN_SELCHANGE) fncChangeColor(cmbBrushColor);  // cmbBrushColorChange
      return true;
    case kSetIdWakuColor:
      if (code == CBN_SELCHANGE) fncChangeColor(cmbWakuColor);  // cmbWakuColorChange
      return true;
    case kSetIdMojiColor:
      if (code == CBN_SELCHANGE) fncChangeColor(cmbMojiColor);  // cmbMojiColorChange
      return true;
    case kSetIdYajiColor:
      if (code == CBN_SELCHANGE) fncChangeColor(cmbYajiColor);  // cmbYajiColorChange
      return true;
    default:
      return false;
  }
}

bool TForm2::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (!OnCommand(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l))) return false;
      result = 0;
      return true;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      if (measure->CtlType != ODT_COMBOBOX) return false;
      measure->itemHeight = 16;
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM:
      if (!DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(l))) return false;
      result = TRUE;
      return true;
    case WM_CTLCOLOREDIT:
      result = focus_.ColourEdit(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(w);
      HWND control = reinterpret_cast<HWND>(l);
      char className[16] = {};
      GetClassNameA(control, className, sizeof className);
      if (lstrcmpiA(className, "Edit") == 0) return false;  // a disabled edit keeps its grey
      bool bar = control == imgBtnBar.Handle() || GetParent(control) == imgBtnBar.Handle();
      result = ColourStatic(dc, bar);
      if (control == redBoldNote_ || control == redSmallNote_) SetTextColor(dc, kNoteRed);
      return true;
    }
    case WM_ERASEBKGND: {
      EraseWhite(reinterpret_cast<HDC>(w));
      PaintBand(reinterpret_cast<HDC>(w));
      result = 1;
      return true;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      PaintBand(dc);
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    case WM_ENABLE:
      imgBtnBar.Invalidate();
      btnDownLoad.Invalidate();
      return false;
    case WM_SIZE:
      sbrMsg.Resize();
      return false;
    default:
      return false;
  }
}
