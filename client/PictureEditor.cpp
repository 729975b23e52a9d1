#include "client/PictureEditor.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "client/EditorIcons.h"
#include "client/Global.h"
#include "client/NumberDialog.h"
#include "client/SettingsForm.h"
#include "client/SettingsValues.h"
#include "client/TextDialog.h"
#include "client/portable/EditorSettings.h"
#include "client/portable/EditorText.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"

TForm5* Form5 = nullptr;

namespace {

constexpr UINT kQuestionFlags = 0x40121;  // OK/Cancel, question, Cancel default, topmost
constexpr COLORREF kBandColour = RGB(128, 0, 128);
constexpr COLORREF kWhiteColour = RGB(255, 255, 255);
constexpr int kImageId = 100;
constexpr int kScrollLine = 20;

struct ToolText {
  const char* hint;
  const char* question;  // nullptr: the framed-text dialog asks instead
};

const ToolText& TextOf(int tool) {
  static const ToolText texts[] = {
      {"右クリックで編集機能選択(現在：選択領域マスク)", "指定領域を[マスク]します。よろしいですか？"},
      {"右クリックで編集機能選択(現在：チェックアイコン)", "[チェック]アイコンを貼り付けます。よろしいですか？"},
      {"右クリックで編集機能選択(現在：連番アイコン)", "[連番]アイコンを貼り付けます。よろしいですか？"},
      {"右クリックで編集機能選択(現在：枠書込みモード)", "指定領域に[枠]を書込みます。よろしいですか？"},
      {"右クリックで編集機能選択(現在：文字「枠付」書込みモード)", nullptr},
      {"右クリックで編集機能選択(現在：矢印書込みモード)", "指定領域に[矢印]を書込みます。よろしいですか？"},
      {"右クリックで編集機能選択(現在：切り抜きモード)", "指定領域を切り抜きます。よろしいですか？"},
  };
  return texts[tool - 1];
}

// The menu item of each tool, tool 1 first.
constexpr int kToolItems[] = {TForm5::kItemN1, TForm5::kItemN2, TForm5::kItemN3, TForm5::kItemN10,
                              TForm5::kItemN12, TForm5::kItemN13, TForm5::kItemN15};

bool UsesBand(int tool) {
  return tool == TForm5::kMask || tool == TForm5::kFrame || tool == TForm5::kFramedText ||
         tool == TForm5::kArrow || tool == TForm5::kCrop;
}

// A GDI object selected into a DC for one scope, deleted afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object, bool owned = true)
      : dc_(dc), object_(object), owned_(owned), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    if (owned_) DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  bool owned_;
  HGDIOBJ old_;
};

HFONT PointFont(HDC dc, int points) {
  return CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, "");
}

std::vector<POINT> ToPoints(const EditorPoint* points, size_t count) {
  std::vector<POINT> result;
  for (size_t i = 0; i < count; ++i) result.push_back(POINT{points[i].x, points[i].y});
  return result;
}

}  // namespace

// The settings one tool reads, checked before anything is changed.
struct TForm5::DrawSettings {
  COLORREF fill = kWhiteColour;
  COLORREF line = RGB(0, 0, 0);
  COLORREF text = RGB(0, 0, 0);
  FramePen pen;
  int textPoints = 0;

  static DrawSettings For(int tool) {
    DrawSettings s;
    const SettingsValues& v = gSettings;
    auto colour = [](const std::string& code, const char* key, unsigned long fallback) {
      unsigned long value = 0;
      if (!ColourFromCode(code, fallback, value))
        throw std::runtime_error(std::string("各種設定の") + key + "が数字ではありません。\r\n各種設定で設定し直してください。");
      return static_cast<COLORREF>(value);
    };
    switch (tool) {
      case kMask:
        s.fill = colour(v.MASKCOLOR, "MASKCOLOR", kWhite);
        break;
      case kFrame:
        if (!FramePenFromSettings(v.WAKUTYPE, v.WAKUWIDTH, s.pen))
          throw std::runtime_error("各種設定のWAKUTYPEまたはWAKUWIDTHが数字ではありません。\r\n各種設定で設定し直してください。");
        s.line = colour(v.WAKUCOLOR, "WAKUCOLOR", kBlack);
        break;
      case kFramedText:
        s.fill = colour(v.MASKCOLOR, "MASKCOLOR", kWhite);
        s.line = colour(v.WAKUCOLOR, "WAKUCOLOR", kBlack);
        s.text = colour(v.MOJICOLOR, "MOJICOLOR", kBlack);
        if (!TextSizeFromSetting(v.MOJISIZE, s.textPoints))
          throw std::runtime_error("各種設定の文字サイズ(MOJISIZE)は1から99までの数字にしてください。\r\n現在の設定：" +
                                   v.MOJISIZE);
        break;
      case kArrow:
        s.fill = colour(v.YAJICOLOR, "YAJICOLOR", kWhite);
        s.line = colour(v.WAKUCOLOR, "WAKUCOLOR", kBlack);
        break;
      default:
        break;
    }
    return s;
  }
};

TForm5::TForm5() : ModalForm("TForm5", "プレビュー") {}

bool TForm5::Create() {
  return ModalForm::Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_HSCROLL |
                               WS_VSCROLL | WS_CLIPCHILDREN,
                           WS_EX_TOPMOST, 800, 600);
}

void TForm5::FormCreate() {
  Move(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  BringToTop();
  serial_ = 1;
  MakeCheckIcon(checkIcon_);
  MakeLensIcon(lensIcon_);
  imgVew.Create(window_, 0, 0, kImageId);
  imgVew.OnMouseDown = [this](forms::MouseButton b, int x, int y) { imgVewMouseDown(b, x, y); };
  imgVew.OnMouseMove = [this](int x, int y) { imgVewMouseMove(x, y); };
  imgVew.OnMouseUp = [this](forms::MouseButton b, int x, int y) { imgVewMouseUp(b, x, y); };
  hintTip_.Create(window_, imgVew);
  CreateMenu();
}

void TForm5::CreateMenu() {
  const std::pair<const char*, std::function<void()>> items[kMenuItems] = {
      {"選択領域［マスク］機能", [this] { N1Click(); }},
      {"［チェック］アイコン記録機能", [this] { N2Click(); }},
      {"［連番］アイコン記録機能", [this] { N3Click(); }},
      {"-", nullptr},
      {"［枠］書込み機能", [this] { N10Click(); }},
      {"［文字（枠付）］書込み機能", [this] { N12Click(); }},
      {"［矢印］書込み機能", [this] { N13Click(); }},
      {"-", nullptr},
      {"選択領域［切り抜き］機能", [this] { N15Click(); }},
      {"-", nullptr},
      {"画像を1回前に戻す", [this] { N11Click(); }},
      {"画像を編集前に戻す", [this] { N5Click(); }},
      {"-", nullptr},
      {"［連番］の開始番号設定", [this] { N7Click(); }},
      {"各種設定", [this] { N8Click(); }},
  };
  for (int i = 0; i < kMenuItems; ++i) itemIds_[i] = pm1.Add(items[i].first, items[i].second);
  pm1.Handle();
}

bool TForm5::LoadCapture(const std::string& capturePath, std::string* error) {
  try {
    EditorPicture loaded;
    loaded.LoadJpeg(capturePath);
    EditorPicture copy;
    if (!copy.CopyFrom(loaded)) throw std::runtime_error("画像を作成できません。");
    picture_.Swap(loaded);
    opening_.Swap(copy);
    capturePath_ = capturePath;
    ShowPicture();
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool TForm5::OpenFor(HWND owner, const std::string& capturePath) {
  std::string error;
  if (capturePath.empty() || !LoadCapture(capturePath, &error)) {
    forms::ShowMessageBox(owner, "プレビューに画像がないため、編集できません。", forms::Application::Instance().Title(),
                          MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
    return false;
  }
  ShowModal(owner, SW_SHOWMAXIMIZED);
  return true;
}

void TForm5::FormShow() {
  if (!IsZoomed(window_)) Show(SW_MAXIMIZE);
  undo_.SetFolder(gDataDir + "Temp\\");
  undo_.Reset();
  SetItemEnabled(kItemN11, false);
  press_ = EditorPoint{-1, -1};
  mouseDown_ = false;
  imgVew.HideBand();
  SetSerialCaption();
  SelectTool(kMask);
  scrollX_ = scrollY_ = 0;
  ShowPicture();
}

void TForm5::SelectTool(int tool) {
  tool_ = tool;
  for (int t = kMask; t <= kCrop; ++t) SetItemEnabled(kToolItems[t - 1], t != tool);
  hint_ = TextOf(tool).hint;
  hintTip_.SetTip(hint_);
}

void TForm5::SetItemEnabled(int index, bool enabled) {
  EnableMenuItem(pm1.Handle(), itemIds_[index], MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool TForm5::ItemEnabled(int index) const {
  UINT state = GetMenuState(const_cast<forms::PopupMenu&>(pm1).Handle(), itemIds_[index], MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

std::string TForm5::ItemCaption(int index) const {
  char caption[256] = {};
  GetMenuStringA(const_cast<forms::PopupMenu&>(pm1).Handle(), itemIds_[index], caption, sizeof caption,
                 MF_BYCOMMAND);
  return caption;
}

void TForm5::SetSerialCaption() {
  ModifyMenuA(pm1.Handle(), itemIds_[kItemN3], MF_BYCOMMAND | MF_STRING, itemIds_[kItemN3],
              SerialMenuCaption(serial_).c_str());
  SetItemEnabled(kItemN3, tool_ != kNumberedIcon);
}

void TForm5::ShowPicture() {
  imgVew.SetPicture(picture_.Dc(), picture_.Width(), picture_.Height());
  UpdateScrollBars();
  imgVew.Invalidate(false);
}

void TForm5::UpdateScrollBars() {
  RECT client = ClientRect();
  const int page[2] = {client.right, client.bottom};
  const int size[2] = {picture_.Width(), picture_.Height()};
  int* position[2] = {&scrollX_, &scrollY_};
  for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
    const int limit = size[bar] > page[bar] ? size[bar] - page[bar] : 0;
    if (*position[bar] > limit) *position[bar] = limit;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = size[bar] > 0 ? size[bar] - 1 : 0;
    info.nPage = static_cast<UINT>(page[bar] > 0 ? page[bar] : 0);
    info.nPos = *position[bar];
    SetScrollInfo(window_, bar, &info, TRUE);
  }
  imgVew.SetPos(nullptr, -scrollX_, -scrollY_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm5::Scroll(int bar, int request) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(window_, bar, &info);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP: position -= kScrollLine; break;
    case SB_LINEDOWN: position += kScrollLine; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  const int limit = info.nMax + 1 - static_cast<int>(info.nPage);
  if (position > limit) position = limit;
  if (position < 0) position = 0;
  (bar == SB_HORZ ? scrollX_ : scrollY_) = position;
  UpdateScrollBars();
}

bool TForm5::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client = ClientRect();
      FillRect(reinterpret_cast<HDC>(w), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      result = 1;
      return true;
    }
    case WM_SIZE:
      UpdateScrollBars();
      return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(w));
      result = 0;
      return true;
    case WM_MOUSEWHEEL:
      Scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(w) > 0 ? SB_LINEUP : SB_LINEDOWN);
      result = 0;
      return true;
    default:
      return pm1.HandleMessage(msg, w, l, result);
  }
}

bool TForm5::Ask(const std::string& text, const std::string& caption) const {
  return forms::ShowMessageBox(window_, text, caption, kQuestionFlags) == IDOK;
}

void TForm5::ShowError(const std::string& message) const {
  forms::ShowMessageBox(window_, message, forms::Application::Instance().Title(), MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void TForm5::imgVewMouseDown(forms::MouseButton button, int x, int y) {
  if (button != forms::MouseButton::Left || !UsesBand(tool_)) return;
  mouseDown_ = true;
  press_ = EditorPoint{x, y};
  imgVew.ShowBand(x, y, 0, 0, kBandColour);
}

void TForm5::imgVewMouseMove(int x, int y) {
  if (!mouseDown_ || !UsesBand(tool_)) return;
  imgVew.ShowBand(press_.x, press_.y, x - press_.x, y - press_.y, kBandColour);
}

void TForm5::imgVewMouseUp(forms::MouseButton button, int x, int y) {
  mouseDown_ = false;
  if (button == forms::MouseButton::Right) {
    POINT screen{x, y};
    ClientToScreen(imgVew, &screen);
    PopupMenuAt(screen);
    return;
  }
  if (UsesBand(tool_) && press_.y == -1) return;  // no left press since the show
  try {
    RunTool(EditorPoint{x, y});
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TForm5::PopupMenuAt(POINT screen) { pm1.Popup(window_, screen.x, screen.y); }

void TForm5::RunTool(EditorPoint release) {
  const EditorPoint press = press_;
  DrawSettings settings;
  try {
    settings = DrawSettings::For(tool_);
    if (tool_ == kCrop && SortedRect(press, release).Empty())
      throw std::runtime_error("切り抜く領域をドラッグして選択してください。");
  } catch (const std::exception& e) {
    imgVew.HideBand();
    ShowError(e.what());
    return;
  }
  const bool confirmed = Confirm(tool_);
  imgVew.HideBand();
  if (!confirmed) return;

  switch (tool_) {
    case kMask:
      Edit([&](EditorPicture& work) {
        const EditorRect sorted = SortedRect(press, release);
        RECT area{sorted.left, sorted.top, sorted.right, sorted.bottom};
        HBRUSH brush = CreateSolidBrush(settings.fill);
        FillRect(work.Dc(), &area, brush);
        DeleteObject(brush);
      });
      break;
    case kCheckIcon:
      Edit([&](EditorPicture& work) { work.DrawTransparent(checkIcon_, release.x, release.y, kWhiteColour); });
      break;
    case kNumberedIcon:
      Edit([&](EditorPicture& work) { StampNumberedIcon(work, release); });
      break;
    case kFrame:
      Edit([&](EditorPicture& work) {
        HDC dc = work.Dc();
        HPEN pen = nullptr;
        if (settings.pen.line == FrameLine::DashDot) {
          // A cosmetic pen wider than 1 would draw solid.
          LOGBRUSH brush{BS_SOLID, settings.line, 0};
          pen = ExtCreatePen(PS_GEOMETRIC | PS_DASHDOT | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                             static_cast<DWORD>(settings.pen.width), &brush, 0, nullptr);
        } else {
          pen = CreatePen(settings.pen.line == FrameLine::Dotted ? PS_DOT : PS_SOLID, settings.pen.width,
                          settings.line);
        }
        if (!pen) throw std::runtime_error("ペンを作成できません。");
        Selected selectedPen(dc, pen);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const auto corners = FramePolyline(press, release);
        const std::vector<POINT> points = ToPoints(corners.data(), corners.size());
        Polyline(dc, points.data(), static_cast<int>(points.size()));
        SetBkMode(dc, oldMode);
      });
      break;
    case kFramedText:
      Edit([&](EditorPicture& work) { DrawFramedText(work, release, settings); });
      break;
    case kArrow:
      Edit([&](EditorPicture& work) {
        HDC dc = work.Dc();
        Selected brush(dc, CreateSolidBrush(settings.fill));
        Selected pen(dc, CreatePen(PS_SOLID, 1, settings.line));
        const auto corners = ArrowTriangle(press, release);
        const std::vector<POINT> points = ToPoints(corners.data(), corners.size());
        Polygon(dc, points.data(), static_cast<int>(points.size()));
      });
      break;
    case kCrop:
      Crop(SortedRect(press, release));
      break;
    default:
      break;
  }
}

bool TForm5::Confirm(int tool) const {
  if (tool == kFramedText) return FrmSetString && FrmSetString->Execute(window_) == TFrmSetString::kOk;
  return Ask(TextOf(tool).question, "編集確認");
}

void TForm5::Edit(const std::function<void(EditorPicture&)>& draw) {
  EditorPicture work;
  if (!work.CopyFrom(picture_)) throw std::runtime_error("画像を作成できません。");
  fncBackupImage();
  draw(work);
  picture_.Swap(work);
  ShowPicture();
}

void TForm5::Crop(const EditorRect& area) {
  EditorPicture work;
  if (!work.CopyFrom(picture_)) throw std::runtime_error("画像を作成できません。");
  fncBackupImage();
  EditorPicture part;
  if (!part.CopyPart(work, area)) throw std::runtime_error("切り抜く領域が画像の外です。");
  const std::string cropFile = undo_.Folder() + "Clop.jpg";
  DeleteFileA(cropFile.c_str());
  part.SaveJpeg(cropFile);
  EditorPicture cropped;
  cropped.LoadJpeg(cropFile);
  picture_.Swap(cropped);
  ShowPicture();
}

void TForm5::StampNumberedIcon(EditorPicture& work, EditorPoint at) {
  EditorPicture icon, number;
  if (!icon.CopyFrom(lensIcon_) || !number.Create(30, 30, kWhiteColour))
    throw std::runtime_error("画像を作成できません。");
  {
    HDC dc = number.Dc();
    Selected font(dc, PointFont(dc, 14));
    SetBkColor(dc, kWhiteColour);
    SetTextColor(dc, RGB(0, 0, 0));
    const std::string text = SerialText(serial_);
    TextOutA(dc, 1, 1, text.c_str(), static_cast<int>(text.size()));
  }
  ++serial_;
  SetSerialCaption();
  icon.DrawTransparent(number, 14, 12, number.Pixel(0, number.Height() - 1));
  work.DrawTransparent(icon, at.x, at.y, kWhiteColour);
}

void TForm5::DrawFramedText(EditorPicture& work, EditorPoint release, const DrawSettings& settings) const {
  HDC dc = work.Dc();
  Selected brush(dc, CreateSolidBrush(settings.fill));
  Selected pen(dc, CreatePen(PS_SOLID, 1, settings.line));
  Selected font(dc, PointFont(dc, settings.textPoints));
  const std::vector<std::string> lines = FrmSetString ? FrmSetString->Lines() : std::vector<std::string>();
  const FramedTextLayout layout = LayoutFramedText(lines, press_, release, [dc](const std::string& line) {
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    return TextExtent{size.cx, size.cy};
  });
  RoundRect(dc, layout.boxFrom.x, layout.boxFrom.y, layout.boxTo.x, layout.boxTo.y, 3, 3);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, settings.fill);
  SetTextColor(dc, settings.text);
  for (size_t i = 0; i < lines.size(); ++i)
    TextOutA(dc, layout.lineOrigins[i].x, layout.lineOrigins[i].y, lines[i].c_str(), static_cast<int>(lines[i].size()));
}

void TForm5::fncBackupImage() {
  std::string error;
  const bool saved = undo_.Push(
      [this](const std::string& path, std::string* message) {
        try {
          picture_.SaveJpeg(path);
          return true;
        } catch (const std::exception& e) {
          if (message) *message = e.what();
          return false;
        }
      },
      &error);
  SetItemEnabled(kItemN11, undo_.Count() > 0);
  if (!saved) throw std::runtime_error(error);
}

void TForm5::N11Click() {
  if (undo_.Count() <= 0) return;
  if (!Ask("画像を一つ前の状態に戻します。よろしいですか？", "")) return;
  try {
    EditorPicture loaded;
    loaded.LoadJpeg(undo_.NewestPath());
    picture_.Swap(loaded);
  } catch (const std::exception& e) {
    ShowError(e.what());
    return;
  }
  ShowPicture();
  undo_.Pop();
  if (tool_ == kNumberedIcon) {
    --serial_;
    SetSerialCaption();
  }
  if (undo_.Count() == 0) SetItemEnabled(kItemN11, false);
}

void TForm5::N5Click() {
  if (!Ask("画像を初期状態に戻します。よろしいですか？", "")) return;
  EditorPicture copy;
  if (!copy.CopyFrom(opening_)) {
    ShowError("画像を作成できません。");
    return;
  }
  picture_.Swap(copy);
  ShowPicture();
}

void TForm5::N7Click() {
  if (FrmSetNumber) FrmSetNumber->Execute(window_, serial_);
}

void TForm5::N8Click() {
  if (OnShowSettings)
    OnShowSettings();
  else if (Form2)
    Form2->ShowSettings();
}

void TForm5::FormCloseQuery(bool& canClose) {
  if (!gClosing)
    saveOnClose_ = Ask("現在表示されている画像で保存します。よろしいですか？", "保存確認");
  canClose = true;  // Cancel closes without saving
}

void TForm5::FormClose() {
  if (!saveOnClose_) return;
  try {
    SaveCapture();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TForm5::SaveCapture() {
  if (capturePath_.empty() || picture_.Empty()) return;
  // The capture is replaced only once the new picture is written in full.
  const std::string temporary = capturePath_ + ".tmp";
  DeleteFileA(temporary.c_str());
  picture_.SaveJpeg(temporary);
  if (!MoveFileExA(temporary.c_str(), capturePath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    throw std::runtime_error("画像を保存できません。元の画像はそのままです。\r\n" + capturePath_);
  }
  if (OnSaved) OnSaved(capturePath_);
}
