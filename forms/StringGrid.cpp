#include "forms/StringGrid.h"

#include <windowsx.h>

#include <algorithm>


namespace forms {

namespace {

constexpr char kClassName[] = "FormsStringGrid";
constexpr int kDefaultColWidth = 64;
constexpr int kSizingMargin = 3;
const COLORREF kLineColour = RGB(160, 160, 160);

HFONT BoldOf(HFONT font) {
  LOGFONTA face{};
  if (!font || !GetObjectA(font, sizeof face, &face)) return nullptr;
  face.lfWeight = FW_BOLD;
  return CreateFontIndirectA(&face);
}

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

}  // namespace

StringGrid::~StringGrid() {
  Unbind();
  if (ownFont_) DeleteObject(ownFont_);
  if (boldFont_) DeleteObject(boldFont_);
}

bool StringGrid::Create(HWND parent, int x, int y, int width, int height, int id) {
  if (!CreateControl({kClassName}, parent, "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS,
                     x, y, width, height, id, WS_EX_CLIENTEDGE))
    return false;
  HDC screen = GetDC(nullptr);
  int pixels = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  ownFont_ = CreateFontA(pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
  font_ = ownFont_ ? ownFont_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  boldFont_ = BoldOf(font_);
  if (cells_.empty()) SetColCount(5);
  if (rowCount_ == 0) SetRowCount(5);
  UpdateScrollBars();
  return true;
}

void StringGrid::SetColCount(int count) {
  count = std::max(count, 0);
  cells_.resize(count, std::vector<std::string>(rowCount_));
  widths_.resize(count, kDefaultColWidth);
  col_ = std::min(col_, std::max(count - 1, 0));
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

void StringGrid::SetRowCount(int count) {
  rowCount_ = std::max(count, 0);
  for (auto& column : cells_) column.resize(rowCount_);
  const int last = std::max(LastDataRow(), FirstDataRow());
  row_ = std::min(row_, last);
  anchor_ = std::min(anchor_, last);
  selTop_ = std::min(selTop_, last);
  selBottom_ = std::min(selBottom_, last);
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

void StringGrid::SetFixedRows(int count) {
  fixedRows_ = std::max(count, 0);
  topRow_ = std::max(topRow_, fixedRows_);
  SetSelection(std::max(selTop_, fixedRows_), std::max(selBottom_, fixedRows_));
}

const std::string& StringGrid::Cell(int col, int row) const {
  static const std::string kEmpty;
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return kEmpty;
  return cells_[col][row];
}

void StringGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return;
  cells_[col][row] = text;
  RECT rect = CellRect(col, row);
  if (window_ && !IsRectEmpty(&rect)) InvalidateRect(window_, &rect, FALSE);
}

int StringGrid::ColWidth(int col) const { return col >= 0 && col < ColCount() ? widths_[col] : 0; }

void StringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount()) return;
  widths_[col] = std::max(width, 0);
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

void StringGrid::SetDefaultRowHeight(int height) {
  rowHeight_ = std::max(height, 1);
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

void StringGrid::SetColor(COLORREF colour) {
  color_ = colour;
  if (window_) Invalidate(false);
}

void StringGrid::SetFixedColor(COLORREF colour) {
  fixedColor_ = colour;
  if (window_) Invalidate(false);
}

void StringGrid::SetSelection(int top, int bottom) {
  const int first = FirstDataRow(), last = std::max(LastDataRow(), first);
  top = std::clamp(top, first, last);
  bottom = std::clamp(bottom, first, last);
  if (bottom < top) std::swap(top, bottom);
  selTop_ = top;
  selBottom_ = bottom;
  row_ = anchor_ = top;
  if (row_ < topRow_) SetTopRow(row_);
  else if (row_ >= topRow_ + VisibleDataRows()) SetTopRow(row_ - VisibleDataRows() + 1);
  if (window_) Invalidate(false);
}

int StringGrid::VisibleDataRows() const {
  if (!window_) return 0;
  RECT client = ClientRect();
  return std::max(static_cast<int>(client.bottom - FixedHeight()) / (rowHeight_ + 1), 0);
}

void StringGrid::SetTopRow(int row) {
  const int maxTop = std::max(FirstDataRow(), rowCount_ - std::max(VisibleDataRows(), 1));
  row = std::clamp(row, FirstDataRow(), maxTop);
  if (row == topRow_) return;
  topRow_ = row;
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

int StringGrid::TotalWidth() const {
  int total = 0;
  for (int width : widths_) total += width + 1;
  return total;
}

void StringGrid::SetScrollX(int x) {
  const int maxX = std::max(TotalWidth() - static_cast<int>(ClientRect().right), 0);
  x = std::clamp(x, 0, maxX);
  if (x == scrollX_) return;
  scrollX_ = x;
  UpdateScrollBars();
  if (window_) Invalidate(false);
}

RECT StringGrid::CellRect(int col, int row) const {
  RECT rect{};
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return rect;
  int top;
  if (row < fixedRows_) {
    top = row * (rowHeight_ + 1);
  } else {
    if (row < topRow_) return rect;
    top = FixedHeight() + (row - topRow_) * (rowHeight_ + 1);
  }
  int left = -scrollX_;
  for (int c = 0; c < col; ++c) left += widths_[c] + 1;
  RECT client = ClientRect();
  rect = RECT{left, top, left + widths_[col], top + rowHeight_};
  RECT shown;
  if (!IntersectRect(&shown, &rect, &client)) return RECT{};
  return rect;
}

int StringGrid::DataRowAt(int y) const {
  if (y < FixedHeight()) return topRow_ - 1;
  return topRow_ + (y - FixedHeight()) / (rowHeight_ + 1);
}

bool StringGrid::MouseToCell(int x, int y, int& col, int& row) const {
  if (x < 0 || y < 0) return false;
  row = y < FixedHeight() ? y / (rowHeight_ + 1) : DataRowAt(y);
  if (row >= rowCount_) return false;
  int left = -scrollX_;
  for (int c = 0; c < ColCount(); ++c) {
    left += widths_[c] + 1;
    if (x < left) {
      col = c;
      return true;
    }
  }
  return false;
}

// The column whose right border lies at x, in the title rows; -1 when none.
int StringGrid::SizingBorderAt(int x, int y) const {
  if (!colSizing_ || y < 0 || y >= FixedHeight()) return -1;
  int right = -scrollX_;
  int found = -1;
  for (int c = 0; c < ColCount(); ++c) {
    right += widths_[c];
    if (widths_[c] > 0 && x >= right - kSizingMargin && x <= right + kSizingMargin) found = c;
    right += 1;
  }
  return found;
}

void StringGrid::DrawCellText(HDC dc, const RECT& rect, const std::string& text) {
  ExtTextOutA(dc, rect.left + 2, rect.top + 2, ETO_CLIPPED, &rect, text.data(), static_cast<UINT>(text.size()),
              nullptr);
}

void StringGrid::DefaultDrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state) const {
  COLORREF back = color_, text = GetSysColor(COLOR_WINDOWTEXT);
  if (state & kGridFixed) {
    back = fixedColor_;
    text = GetSysColor(COLOR_BTNTEXT);
  } else if (state & kGridSelected) {
    back = GetSysColor(COLOR_HIGHLIGHT);
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  FillColour(dc, rect, back);
  SetTextColor(dc, text);
  DrawCellText(dc, rect, Cell(col, row));
  if (state & kGridFocused) DrawFocusRect(dc, &rect);
}

void StringGrid::PaintCells(HDC dc, const RECT& area) {
  RECT client = ClientRect();
  FillColour(dc, client, color_);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  const bool focused = GetFocus() == window_;
  auto drawRow = [&](int row, int top) {
    int left = -scrollX_;
    for (int col = 0; col < ColCount(); ++col) {
      RECT cell{left, top, left + widths_[col], top + rowHeight_};
      left += widths_[col] + 1;
      RECT line{cell.right, top, cell.right + 1, top + rowHeight_ + 1};
      RECT bottom{cell.left, cell.bottom, cell.right, cell.bottom + 1};
      FillColour(dc, line, kLineColour);
      FillColour(dc, bottom, kLineColour);
      RECT shown;
      if (widths_[col] == 0 || !IntersectRect(&shown, &cell, &area)) continue;
      unsigned state = 0;
      if (row < fixedRows_) state |= kGridFixed;
      else if (row >= selTop_ && row <= selBottom_) state |= kGridSelected;
      if (focused && row == row_ && col == col_) state |= kGridFocused;
      int saved = SaveDC(dc);
      IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      if (OnDrawCell)
        OnDrawCell(dc, col, row, cell, state);
      else
        DefaultDrawCell(dc, col, row, cell, state);
      RestoreDC(dc, saved);
      if (left > client.right) break;
    }
  };
  for (int row = 0; row < std::min(fixedRows_, rowCount_); ++row) drawRow(row, row * (rowHeight_ + 1));
  for (int row = topRow_, top = FixedHeight(); row < rowCount_ && top < client.bottom;
       ++row, top += rowHeight_ + 1)
    drawRow(row, top);
  SelectObject(dc, oldFont);
}

void StringGrid::UpdateScrollBars() {
  if (!window_) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = FirstDataRow();
  info.nMax = std::max(LastDataRow(), FirstDataRow());
  info.nPage = static_cast<UINT>(std::max(VisibleDataRows(), 1));
  info.nPos = topRow_;
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
  info.nMin = 0;
  info.nMax = std::max(TotalWidth() - 1, 0);
  info.nPage = static_cast<UINT>(std::max(static_cast<int>(ClientRect().right), 1));
  info.nPos = scrollX_;
  SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void StringGrid::Scroll(int bar, int code) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(window_, bar, &info);
  const int page = static_cast<int>(info.nPage);
  const int line = bar == SB_VERT ? 1 : 16;
  int pos = bar == SB_VERT ? topRow_ : scrollX_;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= std::max(page, 1); break;
    case SB_PAGEDOWN: pos += std::max(page, 1); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  if (bar == SB_VERT) SetTopRow(pos);
  else SetScrollX(pos);
}

// Makes (col, row) the current cell; extend keeps the anchor and selects
// the rows between them.
void StringGrid::MoveTo(int col, int row, bool extend) {
  if (rowCount_ <= fixedRows_ || ColCount() == 0) return;
  row = std::clamp(row, FirstDataRow(), LastDataRow());
  col = std::clamp(col, 0, ColCount() - 1);
  if (!extend) anchor_ = row;
  const bool changed = row != row_ || col != col_;
  row_ = row;
  col_ = col;
  selTop_ = std::min(anchor_, row);
  selBottom_ = std::max(anchor_, row);
  if (row < topRow_) SetTopRow(row);
  else if (row >= topRow_ + VisibleDataRows()) SetTopRow(row - std::max(VisibleDataRows(), 1) + 1);
  Invalidate(false);
  if (changed && OnSelectCell) OnSelectCell(col_, row_);
}

void StringGrid::Paint(HDC dc) {
  RECT client = ClientRect(), area;
  if (GetClipBox(dc, &area) == ERROR) area = client;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<int>(client.right, 1), std::max<int>(client.bottom, 1));
  HGDIOBJ old = SelectObject(memory, bitmap);
  PaintCells(memory, area);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

bool StringGrid::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SIZE:
      UpdateScrollBars();
      SetTopRow(topRow_);
      SetScrollX(scrollX_);
      return true;
    case WM_SETFONT:
      font_ = w ? reinterpret_cast<HFONT>(w) : ownFont_;
      if (boldFont_) DeleteObject(boldFont_);
      boldFont_ = BoldOf(font_);
      if (LOWORD(l)) Invalidate(false);
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(font_);
      return true;
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate(false);
      return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(w));
      return true;
    case WM_MOUSEWHEEL:
      SetTopRow(topRow_ - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * 3);
      return true;
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(window_, &p);
      if (LOWORD(l) != HTCLIENT || (sizingCol_ < 0 && SizingBorderAt(p.x, p.y) < 0)) return false;
      SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN: {
      SetFocus();
      const int border = SizingBorderAt(x, y);
      if (border >= 0) {
        sizingCol_ = border;
        sizingStartX_ = x;
        sizingStartWidth_ = widths_[border];
        SetCapture(window_);
        return true;
      }
      int col, row;
      if (!MouseToCell(x, y, col, row) || row < fixedRows_) return true;
      MoveTo(col, row, (w & MK_SHIFT) != 0);
      selecting_ = true;
      SetCapture(window_);
      return true;
    }
    case WM_MOUSEMOVE:
      if (sizingCol_ >= 0)
        SetColWidth(sizingCol_, sizingStartWidth_ + x - sizingStartX_);
      else if (selecting_ && (w & MK_LBUTTON))
        MoveTo(col_, DataRowAt(y), true);
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (msg == WM_LBUTTONUP && GetCapture() == window_) ReleaseCapture();
      sizingCol_ = -1;
      selecting_ = false;
      return true;
    case WM_LBUTTONDBLCLK: {
      int col, row;
      if (SizingBorderAt(x, y) < 0 && MouseToCell(x, y, col, row) && row >= fixedRows_ && OnDblClick) OnDblClick();
      return true;
    }
    case WM_KEYDOWN: {
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      const int page = std::max(VisibleDataRows(), 1);
      switch (w) {
        case VK_UP: MoveTo(col_, row_ - 1, shift); return true;
        case VK_DOWN: MoveTo(col_, row_ + 1, shift); return true;
        case VK_PRIOR: MoveTo(col_, row_ - page, shift); return true;
        case VK_NEXT: MoveTo(col_, row_ + page, shift); return true;
        case VK_HOME: MoveTo(col_, FirstDataRow(), shift); return true;
        case VK_END: MoveTo(col_, LastDataRow(), shift); return true;
        case VK_LEFT: MoveTo(col_ - 1, row_, shift); return true;
        case VK_RIGHT: MoveTo(col_ + 1, row_, shift); return true;
        default: return false;
      }
    }
    default:
      return false;
  }
}

}  // namespace forms
