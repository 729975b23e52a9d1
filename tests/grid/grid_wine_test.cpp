#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/StringGrid.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

POINT CentreOf(const forms::StringGrid& grid, int col, int row) {
  RECT r = grid.CellRect(col, row);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Click(forms::StringGrid& grid, int col, int row, WPARAM keys = 0) {
  POINT p = CentreOf(grid, col, row);
  grid.Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, At(p.x, p.y));
  grid.Send(WM_LBUTTONUP, keys, At(p.x, p.y));
}

struct Drawn {
  std::set<std::pair<int, int>> cells;
  int calls = 0;
};

void Repaint(forms::StringGrid& grid, Drawn& drawn) {
  drawn = Drawn{};
  grid.Invalidate(false);
  UpdateWindow(grid);
}

}  // namespace

TEST(StringGrid, HundredRowsSelectScrollResizeAndDrawOnlyWhatIsShown) {
  forms::Form form("TKestroGridTestForm", "grid");
  ASSERT_TRUE(form.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 500, 400));
  forms::StringGrid grid;
  ASSERT_TRUE(grid.Create(form, 0, 0, 400, 300, 101));
  EXPECT_NE(grid.Send(WM_GETFONT), 0);
  EXPECT_NE(grid.BoldFont(), nullptr);
  grid.SetColCount(10);
  grid.SetRowCount(101);
  grid.SetDefaultRowHeight(16);
  for (int c = 0; c < 10; ++c) {
    grid.SetColWidth(c, 80);
    grid.SetCell(c, 0, "列" + std::to_string(c));
    for (int r = 1; r <= 100; ++r) grid.SetCell(c, r, std::to_string(c) + ":" + std::to_string(r));
  }
  EXPECT_EQ(grid.Cell(3, 42), "3:42");
  EXPECT_EQ(grid.Cell(10, 1), "");

  Drawn drawn;
  grid.OnDrawCell = [&](HDC dc, int col, int row, const RECT& rect, unsigned state) {
    ++drawn.calls;
    drawn.cells.insert({col, row});
    RECT expected = grid.CellRect(col, row);
    EXPECT_TRUE(EqualRect(&rect, &expected)) << col << "," << row;
    EXPECT_EQ((state & forms::kGridFixed) != 0, row == 0);
    EXPECT_EQ((state & forms::kGridSelected) != 0,
              row >= 1 && row >= grid.SelectionTop() && row <= grid.SelectionBottom());
    grid.DefaultDrawCell(dc, col, row, rect, state);
  };
  std::pair<int, int> selected{-1, -1};
  grid.OnSelectCell = [&](int col, int row) { selected = {col, row}; };
  int doubleClicks = 0;
  grid.OnDblClick = [&] { ++doubleClicks; };

  // Only cells on screen are drawn: the title row and the rows that fit,
  // none below and none of the columns right of the client area.
  Repaint(grid, drawn);
  const int rows = grid.VisibleDataRows();
  ASSERT_GT(rows, 5);
  ASSERT_LT(rows, 20);
  int expected = 0;
  for (int c = 0; c < 10; ++c)
    for (int r = 0; r < 101; ++r) {
      RECT rect = grid.CellRect(c, r);
      if (!IsRectEmpty(&rect)) ++expected;
    }
  EXPECT_EQ(drawn.calls, expected);
  EXPECT_LT(expected, 5 * (rows + 2) + 1);
  for (const auto& cell : drawn.cells) {
    EXPECT_LE(cell.second, rows + 1);
    EXPECT_LT(cell.first, 5);
  }

  // Click, shift-click, drag and arrow keys select ranges of rows.
  Click(grid, 2, 3);
  EXPECT_EQ(grid.SelectionTop(), 3);
  EXPECT_EQ(grid.SelectionBottom(), 3);
  EXPECT_EQ(selected, std::make_pair(2, 3));
  Click(grid, 2, 7, MK_SHIFT);
  EXPECT_EQ(grid.SelectionTop(), 3);
  EXPECT_EQ(grid.SelectionBottom(), 7);
  EXPECT_EQ(grid.Row(), 7);
  Click(grid, 1, 2, MK_SHIFT);
  EXPECT_EQ(grid.SelectionTop(), 2);
  EXPECT_EQ(grid.SelectionBottom(), 3);
  Repaint(grid, drawn);  // the state bits follow the selection

  POINT from = CentreOf(grid, 0, 5), to = CentreOf(grid, 0, 2);
  grid.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
  grid.Send(WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
  grid.Send(WM_LBUTTONUP, 0, At(to.x, to.y));
  EXPECT_EQ(grid.SelectionTop(), 2);
  EXPECT_EQ(grid.SelectionBottom(), 5);
  grid.Send(WM_MOUSEMOVE, 0, At(from.x, from.y + 40));  // no button: no change
  EXPECT_EQ(grid.SelectionBottom(), 5);
  grid.Send(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(grid.SelectionTop(), 3);
  EXPECT_EQ(grid.SelectionBottom(), 3);
  grid.Send(WM_KEYDOWN, VK_UP);
  grid.Send(WM_KEYDOWN, VK_UP);
  grid.Send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(grid.Row(), 1);  // never onto the title row
  EXPECT_EQ(grid.TopRow(), 1);

  // The keyboard and the scroll bars move the rows; drawing follows.
  grid.Send(WM_KEYDOWN, VK_END);
  EXPECT_EQ(grid.Row(), 100);
  EXPECT_EQ(grid.TopRow(), 101 - rows);
  RECT last = grid.CellRect(0, 100);
  EXPECT_FALSE(IsRectEmpty(&last));
  RECT gone = grid.CellRect(0, 1);
  EXPECT_TRUE(IsRectEmpty(&gone));
  Repaint(grid, drawn);
  EXPECT_EQ(drawn.cells.count({0, 1}), 0u);
  EXPECT_EQ(drawn.cells.count({0, 0}), 1u);
  EXPECT_EQ(drawn.cells.count({0, 100}), 1u);
  grid.Send(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.Send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(grid.TopRow(), 1 + rows);
  grid.Send(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(grid.TopRow(), rows);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  GetScrollInfo(grid, SB_VERT, &info);
  EXPECT_EQ(info.nPos, rows);
  Click(grid, 0, rows + 2);
  EXPECT_EQ(grid.SelectionTop(), rows + 2);
  grid.SetSelection(1, 1);
  EXPECT_EQ(grid.TopRow(), 1);

  grid.Send(WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(grid.ScrollX(), 16);
  EXPECT_EQ(grid.CellRect(1, 1).left, 81 - 16);
  grid.Send(WM_HSCROLL, SB_BOTTOM);
  Repaint(grid, drawn);
  EXPECT_EQ(drawn.cells.count({9, 1}), 1u);
  EXPECT_EQ(drawn.cells.count({0, 1}), 0u);
  grid.Send(WM_HSCROLL, SB_TOP);
  EXPECT_EQ(grid.ScrollX(), 0);

  // Dragging the border after column 0 in the title row sizes it and
  // leaves the selection alone; a double click there is no grid double click.
  grid.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(81, 8));
  grid.Send(WM_MOUSEMOVE, MK_LBUTTON, At(121, 8));
  grid.Send(WM_LBUTTONUP, 0, At(121, 8));
  EXPECT_EQ(grid.ColWidth(0), 120);
  EXPECT_EQ(grid.ColWidth(1), 80);
  EXPECT_EQ(grid.SelectionTop(), 1);
  grid.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(121, 8));
  EXPECT_EQ(doubleClicks, 0);
  POINT cell = CentreOf(grid, 1, 4);
  grid.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(cell.x, cell.y));
  EXPECT_EQ(doubleClicks, 1);
  grid.SetColSizing(false);
  grid.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(121, 8));
  grid.Send(WM_MOUSEMOVE, MK_LBUTTON, At(150, 8));
  grid.Send(WM_LBUTTONUP, 0, At(150, 8));
  EXPECT_EQ(grid.ColWidth(0), 120);

  // A column of width 0 is neither drawn nor taken by a border drag.
  grid.SetColSizing(true);
  grid.SetColWidth(0, 0);
  Repaint(grid, drawn);
  for (const auto& c : drawn.cells) EXPECT_NE(c.first, 0);
  grid.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 8));
  grid.Send(WM_MOUSEMOVE, MK_LBUTTON, At(30, 8));
  grid.Send(WM_LBUTTONUP, 0, At(30, 8));
  EXPECT_EQ(grid.ColWidth(0), 0);
  int col = -1, row = -1;
  EXPECT_TRUE(grid.MouseToCell(5, 40, col, row));
  EXPECT_EQ(col, 1);

  // Fewer rows: the selection stays on a row that exists.
  grid.SetSelection(50, 90);
  grid.SetRowCount(2);
  EXPECT_EQ(grid.SelectionBottom(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  form.Destroy();
}
