// A grid of text cells: fixed title rows at the top, whole-row selection of
// a range of rows (click, shift-click, drag, arrow keys), columns sized by
// dragging a border in the title rows, vertical scrolling by rows and
// horizontal scrolling by pixels. Cells are drawn by OnDrawCell when it is
// set, otherwise with DefaultDrawCell. Only visible cells are drawn.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "forms/CustomControl.h"

namespace forms {

// State bits of a cell handed to OnDrawCell.
enum GridDrawState : unsigned {
  kGridFixed = 1,     // a title row
  kGridSelected = 2,  // a row of the selection
  kGridFocused = 4,   // the current cell while the grid has the focus
};

class StringGrid : public CustomControl {
 public:
  ~StringGrid() override;

  // The grid uses "ＭＳ Ｐゴシック" of 9 points (and its bold face for
  // BoldFont) until WM_SETFONT gives it another font.
  bool Create(HWND parent, int x, int y, int width, int height, int id);

  int ColCount() const { return static_cast<int>(cells_.size()); }
  void SetColCount(int count);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);

  // "" outside the grid.
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int DefaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int height);
  bool ColSizing() const { return colSizing_; }
  void SetColSizing(bool on) { colSizing_ = on; }

  COLORREF Color() const { return color_; }
  void SetColor(COLORREF colour);
  COLORREF FixedColor() const { return fixedColor_; }
  void SetFixedColor(COLORREF colour);
  HFONT Font() const { return font_; }
  HFONT BoldFont() const { return boldFont_; }

  // Rows top to bottom of the selection, and the current cell.
  int SelectionTop() const { return selTop_; }
  int SelectionBottom() const { return selBottom_; }
  int Row() const { return row_; }
  int Col() const { return col_; }
  // Selects rows top to bottom (clamped to the data rows), makes the
  // current row top and scrolls it into view.
  void SetSelection(int top, int bottom);

  // First data row shown below the title rows, and the horizontal offset.
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int ScrollX() const { return scrollX_; }
  void SetScrollX(int x);
  // Data rows that fit wholly below the title rows.
  int VisibleDataRows() const;

  // The cell's rectangle in client coordinates (empty when not shown).
  RECT CellRect(int col, int row) const;
  // False when (x, y) is on no cell.
  bool MouseToCell(int x, int y, int& col, int& row) const;

  // Fills the cell with the fixed colour, the selection colour or the
  // grid's colour and draws its text at (left + 2, top + 2).
  void DefaultDrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state) const;
  // The text at (left + 2, top + 2), clipped to the rectangle, no prefixes.
  static void DrawCellText(HDC dc, const RECT& rect, const std::string& text);

  // Called with the grid's font selected, transparent background and the
  // drawing clipped to the cell.
  std::function<void(HDC dc, int col, int row, const RECT& rect, unsigned state)> OnDrawCell;
  // The current cell changed by mouse or keyboard.
  std::function<void(int col, int row)> OnSelectCell;
  std::function<void()> OnDblClick;

 private:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
  void Paint(HDC dc) override;
  void PaintCells(HDC dc, const RECT& area);
  void UpdateScrollBars();
  void Scroll(int bar, int code);
  int SizingBorderAt(int x, int y) const;
  int DataRowAt(int y) const;
  void MoveTo(int col, int row, bool extend);
  int FirstDataRow() const { return fixedRows_; }
  int LastDataRow() const { return rowCount_ - 1; }
  int FixedHeight() const { return fixedRows_ * (rowHeight_ + 1); }
  int TotalWidth() const;

  std::vector<std::vector<std::string>> cells_;  // [col][row]
  std::vector<int> widths_;
  int rowCount_ = 0, fixedRows_ = 1, rowHeight_ = 18;
  int row_ = 1, col_ = 0, anchor_ = 1, selTop_ = 1, selBottom_ = 1;
  int topRow_ = 1, scrollX_ = 0;
  bool colSizing_ = true;
  int sizingCol_ = -1, sizingStartX_ = 0, sizingStartWidth_ = 0;
  bool selecting_ = false;
  COLORREF color_ = RGB(255, 255, 255), fixedColor_ = RGB(212, 208, 200);
  HFONT font_ = nullptr, ownFont_ = nullptr, boldFont_ = nullptr;
};

}  // namespace forms
