#include "client/RegistrationForm.h"

#include <imm.h>

#include <stdexcept>
#include <vector>

#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "client/PictureEditor.h"
#include "client/ReportSaving.h"
#include "client/SettingsValues.h"
#include "client/portable/EditorGeometry.h"
#include "client/portable/RegistrationText.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "jpeg/JpegReader.h"

TForm3* Form3 = nullptr;

namespace {

constexpr char kCaption[] = "登録画面";
constexpr char kStatusNotice[] = "ダブルクリックで編集 ";  // kept off the bar's edge
constexpr char kUnknownError[] = "不明なエラーが発生しました";
constexpr char kSaveFailed[] = "ファイルの保存に失敗しました";
constexpr char kCloseQuestion[] = "ポスト又は保存が完了されていませんが\r\nよろしいですか？";

// Client area as designed and the outer widths of the two layouts.
constexpr int kClientWidth = 892;
constexpr int kClientHeight = 563;
constexpr int kImageStyleWidth = 450;
constexpr int kReportStyleWidth = 900;
constexpr int kImageStylePreviewTop = 12;
constexpr int kReportStylePreviewTop = 62;
constexpr int kPreviewLeft = 10;

enum ControlId {
  kIdButtonBar = 300,
  kIdSend,
  kIdSave,
  kIdHint,
  kIdClose,
  kIdPanel1 = 310,
  kIdPreview,
  kIdPanel2,
  kIdPanel3,
  kIdProject,
  kIdProject2,
  kIdPresen,
  kIdOutbreak,
  kIdPc,
  kIdPc2,
  kIdTitle,
  kIdTitle2,
  kIdDetails,
  kIdOperation,
  kIdStatus,
  kIdAnimatePanel,
  kIdAnimate,
};

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

bool ImageStyle() { return gSettings.STYLE != 0; }

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

}  // namespace

TForm3::TForm3(TTmxFtp& ftp) : ClientForm("TForm3", kCaption, RGB(0x6A, 0x6A, 0xFF)), poster_(ftp) {
  // Until a capture is shown there is nothing to lose on closing.
  poster_.savedOrPosted = true;
  // A report saved for the shown capture lets its file go even while the program ends.
  poster_.SaveReport = [this](std::string& folder, std::string& name) {
    if (!fncSaveFile(folder, name)) return false;
    if (!shownCapture_.empty()) shownSaved_ = true;
    return true;
  };
}

TForm3::~TForm3() {
  for (Field& field : fields_) field.filter.Detach();
  if (Form3 == this) Form3 = nullptr;
  Destroy();
}

bool TForm3::Create() { return CreateForClient(kClientWidth, kClientHeight); }

// ---------------------------------------------------------------- controls

void TForm3::CreateControls() {
  HWND form = Handle();
  imgBtnBar.Create(form, "", 0, 0, kClientWidth, 60, kIdButtonBar, WS_VISIBLE);
  btnSend.Create(imgBtnBar, "ポスト", 13, 10, 80, 40, kIdSend);
  btnSave.Create(imgBtnBar, "保存", 100, 10, 80, 40, kIdSave);
  btnSave.Show(SW_HIDE);
  btnHint.Create(imgBtnBar, "ヒント", 263, 10, 80, 40, kIdHint);
  btnClose.Create(imgBtnBar, "閉じる", 353, 10, 80, 40, kIdClose);
  for (const forms::Button* button : {&btnSend, &btnSave, &btnHint, &btnClose})
    SetWindowLongPtrA(*button, GWL_STYLE, GetWindowLongPtrA(*button, GWL_STYLE) | BS_FLAT);

  Label15.Create(form, "※画像編集する場合は、画像をダブルクリックしてください。", 13, 66, 420, 16);
  pnl1.Create(form, "", 13, 86, 420, 450, kIdPanel1);
  imgVew.Create(pnl1, kPreviewLeft, kImageStylePreviewTop, kPreviewWidth, kPreviewHeight, kIdPreview);
  imgVewHint_.Create(form, imgVew);
  imgVewHint_.SetTip("ダブルクリックで編集モード");
  CreateImageStyleFields();
  CreateReportStyleFields();
  sbrMsg.Create(form, kIdStatus);
  animation_.Create(form, 200, kIdAnimatePanel, kIdAnimate);
}

void TForm3::CreateImageStyleFields() {
  pnl3.Create(pnl1, "画像", kPreviewLeft, 320, kPreviewWidth, 120, kIdPanel3);
  const char* texts[] = {"プロジェクト", "端末名", "名称"};
  for (int i = 0; i < 3; ++i) imageCaptions_[i].Create(pnl3, texts[i], 10, 30 + 30 * i, 80, 18);
  cboProject2.Create(pnl3, 90, 27, 300, 200, kIdProject2);
  txtPc2.Create(pnl3, 90, 57, 300, 22, kIdPc2);
  txtTitle2.Create(pnl3, 90, 87, 300, 22, kIdTitle2);
}

void TForm3::CreateReportStyleFields() {
  pnl2.Create(Handle(), "報告書", 435, 86, 449, 450, kIdPanel2);
  const char* texts[] = {"プロジェクト", "提出日", "発生日", "端末名", "名称", "詳細", "操作内容"};
  const int tops[] = {30, 62, 94, 126, 158, 190, 270};
  for (int i = 0; i < 7; ++i) reportCaptions_[i].Create(pnl2, texts[i], 12, tops[i] + 3, 84, 18);
  cboProject.Create(pnl2, 100, 30, 335, 200, kIdProject);
  txtPresen.Create(pnl2, 100, 62, 335, 22, kIdPresen);
  txtOutbreak.Create(pnl2, 100, 94, 335, 22, kIdOutbreak);
  txtPc.Create(pnl2, 100, 126, 335, 22, kIdPc);
  txtTitle.Create(pnl2, 100, 158, 335, 22, kIdTitle);
  memDetails.Create(pnl2, 100, 190, 335, 60, kIdDetails, WS_HSCROLL);
  memOperation.Create(pnl2, 100, 270, 335, 80, kIdOperation, WS_HSCROLL);
}

void TForm3::AttachField(Field& field, HWND control, Field::Kind kind, HWND input) {
  field.control = control;
  field.kind = kind;
  field.input = input ? input : control;
  field.filter.OnMessage = [this, &field](UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    result = 0;
    if (msg == WM_SETTEXT && field.kind == Field::Kind::Memo) return SetMemoText(field, l, result);
    if (msg == WM_IME_COMPOSITION && field.input == txtTitle2.Handle()) return txtTitleImeResult(l, result);
    return KeyDown(field, msg, w);
  };
  field.filter.Attach(field.input);
}

// ---------------------------------------------------------------- events

void TForm3::FormCreate() {
  Form3 = this;
  poster_.SetOwner(Handle());
  SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CreateControls();
  cboProject.SetLimitText(50);
  cboProject2.SetLimitText(50);
  txtPc.SetLimitText(30);
  txtPc2.SetLimitText(30);
  txtPresen.SetLimitText(255);
  txtOutbreak.SetLimitText(255);
  txtTitle.SetLimitText(255);
  txtTitle2.SetLimitText(100);
  memDetails.SetLimitText(255);
  memOperation.SetLimitText(255);

  using Kind = Field::Kind;
  AttachField(fields_[0], cboProject2, Kind::Combo, cboProject2.EditHandle());
  AttachField(fields_[1], txtPc2, Kind::Edit);
  AttachField(fields_[2], txtTitle2, Kind::Edit);
  AttachField(fields_[3], cboProject, Kind::Combo, cboProject.EditHandle());
  AttachField(fields_[4], txtPresen, Kind::Edit);
  AttachField(fields_[5], txtOutbreak, Kind::Edit);
  AttachField(fields_[6], txtPc, Kind::Edit);
  AttachField(fields_[7], txtTitle, Kind::Edit);
  AttachField(fields_[8], memDetails, Kind::Memo);
  AttachField(fields_[9], memOperation, Kind::Memo);
  GuardAltF4();
  HideAnimation();
  fncPosSet();

  fncGetDownloder();
  gProjectListFetched = fncGetProject() == 1;
  if (gProjectListFetched && Form1) Form1->fncReadFile();
}

void TForm3::FormShow() {
  Log("FormShow()");
  fncInit();
  shownCapture_ = gCurrentCapture;
  try {
    for (const forms::ComboBox* combo : {&cboProject, &cboProject2}) FillProjectList(*combo);
    btnSend.Enable(true);
    txtPresen.SetText(gSubmitDisplayDate);
    txtOutbreak.SetText(gOccurDisplayDate);
    txtPc.SetText(gSettings.OPERATION);
    txtPc2.SetText(gSettings.OPERATION);
    cboProject.SetText(gSettings.PROJECT);
    cboProject2.SetText(gSettings.PROJECT);
    txtTitle.SetText(gCaptureTitle);
    txtTitle2.SetText(gCaptureTitle);
    memDetails.SetText(JoinLines(gCaptureDetails));
    memOperation.SetText(JoinLines(gCaptureOperations));
    fncPosSet();
    (ImageStyle() ? cboProject2 : cboProject).SetFocus();  // a failure to focus is of no matter

    CenterOnScreen();
    if (!gCurrentCapture.empty()) LoadPreview();
    Invalidate();
  } catch (...) {
    Log("FormShow()ERROR=" + ExceptionMessage());
  }
}

void TForm3::FillProjectList(const forms::ComboBox& combo) {
  combo.Clear();
  for (const std::string& project : gProjectList) combo.Add(project);
}

bool TForm3::LoadPreview() {
  RECT box = imgVew.WindowRect();
  MapWindowPoints(nullptr, pnl1, reinterpret_cast<POINT*>(&box), 2);
  imgVew.SetStretch(false);
  imgVew.Move(box.left, box.top, kPreviewWidth, kPreviewHeight);
  imgVew.SetBitmap(nullptr, 0, 0);
  picture_.Release();

  jpegio::DecodedPicture decoded;
  std::string error;
  if (!jpegio::ReadJpegFile(CurrentCapturePath(), decoded, jpegio::PixelOrder::Bgr, &error))
    throw std::runtime_error(error);
  if (!picture_.Create(decoded.width, decoded.height, decoded.pixels.data(), decoded.RowBytes()))
    throw std::runtime_error("画像を表示できません:" + CurrentCapturePath());
  imgVew.SetBitmap(picture_.Handle(), picture_.Width(), picture_.Height());
  PreviewFit size = FitPreview(picture_.Width(), picture_.Height(), kPreviewWidth, kPreviewHeight);
  if (size.stretch) {
    imgVew.Move(box.left, box.top, size.width, size.height);
    imgVew.SetStretch(true);
  }
  return true;
}

bool TForm3::fncInit() {
  try {
    Log("fncInit()");
    SetStatusPanels();
    poster_.savedOrPosted = false;
    shownSaved_ = false;
    return true;
  } catch (...) {
    Log("fncInit()ERROR=" + ExceptionMessage());
    return false;
  }
}

void TForm3::SetStatusPanels() { ShowVersionPanels(sbrMsg, kStatusNotice); }

void TForm3::SetOuterWidth(int width) {
  RECT r = WindowRect();
  SetPos(nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  sbrMsg.Resize();
}

bool TForm3::fncPosSet() {
  try {
    bool imageStyle = ImageStyle();
    RECT box = imgVew.WindowRect();
    MapWindowPoints(nullptr, pnl1, reinterpret_cast<POINT*>(&box), 2);
    imgVew.Move(box.left, imageStyle ? kImageStylePreviewTop : kReportStylePreviewTop, box.right - box.left,
                box.bottom - box.top);
    pnl3.Enable(imageStyle);
    pnl3.Show(imageStyle ? SW_SHOW : SW_HIDE);
    pnl2.Enable(!imageStyle);
    pnl2.Show(imageStyle ? SW_HIDE : SW_SHOW);
    if (imageStyle) {
      cboProject2.SetText(cboProject.Text());
      txtPc2.SetText(txtPc.Text());
      txtTitle2.SetText(txtTitle.Text());
    } else {
      cboProject.SetText(cboProject2.Text());
      txtPc.SetText(txtPc2.Text());
      txtTitle.SetText(txtTitle2.Text());
    }
    SetOuterWidth(imageStyle ? kImageStyleWidth : kReportStyleWidth);
    SetStatusPanels();
    return true;
  } catch (...) {
    Log("fncPosSet()ERROR=" + ExceptionMessage());
    return false;
  }
}

bool TForm3::fncChkData() {
  Log("fncChkData()");
  try {
    bool imageStyle = ImageStyle();
    std::string project = (imageStyle ? cboProject2 : cboProject).Text();
    std::string terminal = (imageStyle ? txtPc2 : txtPc).Text();
    std::string error = CheckRegistrationFields(project, terminal);
    if (!error.empty()) {
      sbrMsg.SetPanelText(0, "入力エラー");
      ShowMessage(error);
      return false;
    }
    gSettings.OPERATION = terminal;
    gSettings.PROJECT = project;
    if (imageStyle) {
      gCaptureTitle = txtTitle2.Text();
    } else {
      gSubmitDisplayDate = txtPresen.Text();
      gOccurDisplayDate = txtOutbreak.Text();
      gCaptureTitle = txtTitle.Text();
      gCaptureDetails = MemoLines(memDetails.Text());
      gCaptureOperations = MemoLines(memOperation.Text());
    }
    return true;
  } catch (...) {
    Log("fncChkData()ERROR=" + ExceptionMessage());
    return false;
  }
}

void TForm3::BeginButtonWork(const std::string& logLine) {
  BeginWork(imgBtnBar, logLine);
  sbrMsg.SetPanelText(0, "");
}

void TForm3::btnSendClick() {
  BeginButtonWork("btnSendClick()Name=" + gCurrentCapture);
  try {
    if (fncChkData()) {
      ShowAnimation();
      bool posted = false;
      try {
        std::string folder, name;
        posted = fncSendFile(true, folder, name);
      } catch (...) {
        HideAnimation();
        throw;
      }
      HideAnimation();
      if (posted) {
        sbrMsg.SetPanelText(0, "ポストしました");
        ShowMessage("ポストしました");
        Close();
      } else if (poster_.LastOutcome() == PostOutcome::SavedOnly) {
        Close();  // the post has told the user; the report waits in the local store
      }
    }
  } catch (...) {
    Log("btnSendClick()ERROR=" + ExceptionMessage());
  }
  Enable(true);
}

void TForm3::btnSaveClick() {
  BeginButtonWork("btnSaveClick()" + gCurrentCapture);
  try {
    if (fncChkData()) {
      std::string folder, name;
      if (!fncSaveFile(folder, name)) throw std::runtime_error(kSaveFailed);
      poster_.savedOrPosted = true;
      shownSaved_ = true;
      if (poster_.SetTrayState) poster_.SetTrayState(kTrayNormal);
      sbrMsg.SetPanelText(0, "保存しました");
      ShowMessage("保存しました");
      Close();
    }
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("btnSaveClick()ERROR=" + message);
    if (poster_.SetTrayState) poster_.SetTrayState(kTrayError);
    ShowMessage(message);
  }
  Enable(true);
}

void TForm3::btnHintClick() { fncShowHint(Handle()); }

void TForm3::btnCloseClick() {
  Log("btnCloseClick()");
  Close();
}

void TForm3::DblClick() {
  Log("DblClick()");
  if (!Form5 || gCurrentCapture.empty()) return;
  // The editor writes the edited picture over the capture file; the preview
  // then shows that file.
  Form5->OnSaved = [this](const std::string&) {
    try {
      LoadPreview();
    } catch (...) {
      Log("DblClick()ERROR=" + ExceptionMessage());
    }
  };
  Form5->OpenFor(Handle(), CurrentCapturePath());
}

void TForm3::FormCloseQuery(bool& canClose) {
  Log("FormCloseQuery()");
  if (gClosing || poster_.savedOrPosted) return;
  Log("FormCloseQuery()=保存(転送)未処理");
  int answer = forms::ShowMessageBox(Handle(), kCloseQuestion, forms::Application::Instance().Title(),
                                     MB_OKCANCEL | MB_DEFBUTTON2 | MB_TOPMOST);
  if (answer == IDOK) {
    Log("FormCloseQuery()=保存(転送)未処理：ＯＫ押下");
  } else {
    Log("FormCloseQuery()=保存(転送)未処理：キャンセル押下");
    canClose = false;
  }
}

void TForm3::FormClose() {
  Log("FormClose()");
  if (gClosing) {
    // The program is ending: only a capture whose report this showing saved goes.
    if (shownSaved_ && !shownCapture_.empty() && shownCapture_ == gCurrentCapture && Form1) {
      Form1->fncDeleteTemp();
      shownCapture_.clear();
    }
    return;
  }
  shownCapture_.clear();
  try {
    if (Form1) Form1->fncDeleteTemp();
    imgVew.SetBitmap(nullptr, 0, 0);
    picture_.Release();
  } catch (...) {
    Log("FormClose()ERROR=" + ExceptionMessage());
  }
  if (Form1 && !Form1->tmrEvent.Enabled()) Form1->tmrEvent.SetEnabled(true);
}

LRESULT TForm3::ShutDownMessage(WPARAM w, LPARAM l) {
  Log("*** ShutDownMessage() ***");
  if (!gClosing) {
    // The main form sets the closing flag, writes the settings and closes
    // every form, this one without its question.
    if (Form1 && Form1->Handle()) {
      Form1->Send(WM_QUERYENDSESSION, w, l);
      return 1;
    }
    gClosing = true;
    Close();
  }
  return 1;
}

// Centred across the form's outer width, which follows the layout.
bool TForm3::ShowAnimation() {
  RECT form = WindowRect();
  return animation_.Show(Handle(), form.right - form.left);
}

void TForm3::HideAnimation() { animation_.Hide(); }

// ---------------------------------------------------------------- keys and focus

bool TForm3::KeyDown(Field& field, UINT msg, WPARAM key) {
  bool memo = field.kind == Field::Kind::Memo;
  switch (msg) {
    case WM_KEYDOWN:
      if (key == VK_RETURN) {
        if (memo && (GetKeyState(VK_CONTROL) & 0x8000)) return false;  // Ctrl+Enter breaks the line
        if (field.kind == Field::Kind::Edit) SendMessageA(field.input, EM_EMPTYUNDOBUFFER, 0, 0);
        MoveFocusOn(field.control);
        return true;
      }
      if (key == VK_ESCAPE && field.kind != Field::Kind::Combo) {
        SendMessageA(field.input, EM_UNDO, 0, 0);
        return true;
      }
      return false;
    case WM_CHAR:
      if (key == '\r') return true;   // Enter was handled on key down
      if (key == '\n') return !memo;  // Ctrl+Enter: a line break in a memo only
      if (key == VK_ESCAPE) return field.kind != Field::Kind::Combo;
      if (field.input == txtTitle2.Handle()) return txtTitleKeyPress(key);
      return false;
    case WM_IME_CHAR:
      // One character from the input method: the lead byte in the high byte.
      if (field.input == txtTitle2.Handle()) return txtTitleKeyPress(key > 0xFF ? (key >> 8) & 0xFF : key);
      return false;
    case WM_SYSKEYDOWN:
      return key == VK_F4;  // Alt+F4: the form closes only through its buttons and menu
    case WM_SETFOCUS:
      focus_.Enter(field.control, field.input);
      return false;
    case WM_KILLFOCUS:
      focus_.Exit(field.control, field.input);
      return false;
    default:
      return false;
  }
}

bool TForm3::txtTitleKeyPress(WPARAM key) {
  return !TitleTakesKey(txtTitle2.Text(), static_cast<unsigned char>(key));
}

// The edit control inserts a committed composition itself, without
// character messages: what does not fit is cut here.
bool TForm3::txtTitleImeResult(LPARAM flags, LRESULT& result) {
  if (!(flags & GCS_RESULTSTR)) return false;
  HWND edit = txtTitle2.Handle();
  HIMC context = ImmGetContext(edit);
  if (!context) return false;
  std::string committed;
  LONG bytes = ImmGetCompositionStringA(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    committed.resize(static_cast<size_t>(bytes));
    bytes = ImmGetCompositionStringA(context, GCS_RESULTSTR, &committed[0], static_cast<DWORD>(bytes));
    committed.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
  }
  ImmReleaseContext(edit, context);
  std::string fitting = TitleImeFit(txtTitle2.Text(), committed);
  if (fitting == committed) return false;
  if (!fitting.empty()) SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
  result = 0;
  return true;
}

void TForm3::GuardAltF4() {
  std::vector<HWND> children;
  EnumChildWindows(Handle(), CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    bool isField = false;
    for (const Field& field : fields_) isField = isField || field.input == child;
    if (isField) continue;  // its own filter swallows the key
    auto guard = std::make_unique<forms::MessageFilter>();
    guard->OnMessage = [](UINT msg, WPARAM w, LPARAM, LRESULT& result) {
      result = 0;
      return msg == WM_SYSKEYDOWN && w == VK_F4;
    };
    if (guard->Attach(child)) altF4Guards_.push_back(std::move(guard));
  }
}

void TForm3::MoveFocusOn(HWND from) { forms::FocusNext(Handle(), from); }

int TForm3::MemoLineLimit(HWND memo) const { return memo == memDetails.Handle() ? kDetailLines : kOperationLines; }

// A multi-line edit reports no change for a text set from outside; the line
// limit is applied to such a text here, as typing has it applied.
bool TForm3::SetMemoText(const Field& field, LPARAM text, LRESULT& result) {
  if (changingMemo_ || !text) return false;
  std::string given = reinterpret_cast<const char*>(text);
  int lines = MemoLineLimit(field.input);
  if (fncLineCount(given) < lines) return false;
  std::string limited = fncLimitLines(given, lines);
  if (limited == given) return false;
  changingMemo_ = true;
  result = SendMessageA(field.input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(limited.c_str()));
  changingMemo_ = false;
  return true;
}

void TForm3::memChange(const forms::Memo& memo) {
  if (changingMemo_) return;
  try {
    int lines = MemoLineLimit(memo);
    std::string text = memo.Text();
    if (fncLineCount(text) < lines) return;
    std::string limited = fncLimitLines(text, lines);
    if (limited == text) return;
    changingMemo_ = true;
    memo.SetText(limited);
    memo.Send(EM_SETSEL, limited.size(), limited.size());
    changingMemo_ = false;
  } catch (...) {
    changingMemo_ = false;
    std::string message = ExceptionMessage();
    Log("memChange()ERROR=" + (message.empty() ? std::string("不明なエラー") : message));
  }
}

// ---------------------------------------------------------------- messages

bool TForm3::OnCommand(WORD id, WORD code) {
  switch (id) {
    case kIdSend:
      if (code == BN_CLICKED) btnSendClick();
      return true;
    case kIdSave:
      if (code == BN_CLICKED) btnSaveClick();
      return true;
    case kIdHint:
      if (code == BN_CLICKED) btnHintClick();
      return true;
    case kIdClose:
      if (code == BN_CLICKED) btnCloseClick();
      return true;
    case kIdPanel1:
    case kIdPreview:
      if (code == STN_DBLCLK) DblClick();
      return true;
    case kIdDetails:
      if (code == EN_CHANGE) memChange(memDetails);
      return true;
    case kIdOperation:
      if (code == EN_CHANGE) memChange(memOperation);
      return true;
    default:
      return false;
  }
}

bool TForm3::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (!OnCommand(LOWORD(w), HIWORD(w))) return false;
      result = 0;
      return true;
    case WM_CTLCOLOREDIT:
      result = focus_.ColourEdit(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
      return true;
    case WM_CTLCOLORSTATIC:
      result = ColourStatic(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l) == imgBtnBar.Handle());
      return true;
    case WM_ERASEBKGND:
      EraseWhite(reinterpret_cast<HDC>(w));
      result = 1;
      return true;
    case WM_SIZE:
      sbrMsg.Resize();
      return false;
    case WM_SYSKEYDOWN:
      if (w != VK_F4) return false;
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      result = ShutDownMessage(w, l);
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- store operations

void TForm3::ShowForCapture() {
  Show(SW_SHOW);
  SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
  (ImageStyle() ? cboProject2 : cboProject).SetFocus();
}

int TForm3::fncGetProject() { return poster_.fncGetProject() ? 1 : 0; }

PostOutcome TForm3::fncSendFile(bool saveFirst) {
  std::string folder, name;
  fncSendFile(saveFirst, folder, name);
  return poster_.LastOutcome();
}

bool TForm3::fncSendFile(bool saveFirst, std::string& folder, std::string& name) {
  return poster_.fncSendFile(saveFirst, folder, name);
}

bool TForm3::fncGetDownloder() { return poster_.fncGetDownloder(); }

bool TForm3::fncSaveFile(std::string& folder, std::string& name) {
  return ReportSaver(Handle()).fncSaveFile(folder, name);
}
