// The report grid's double-click: the important mark (this PC's catalogue
// only), the completed mark (the report renamed to <name>.CMP on the
// store), the comment editor, or opening the report.
#include "manager/ReportWindow.h"

#include <string>

#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerWork.h"

namespace {

constexpr char kCompletedSuffix[] = ".CMP";
constexpr int kImportantColumn = 2;
constexpr int kCompletedColumn = 3;
constexpr int kCommentColumn = 8;

// "yyyy/mm/dd" -> "yyyymmdd".
std::string DayOf(const std::string& date) {
  std::string day;
  for (char c : date)
    if (c != '/') day += c;
  return day;
}

}  // namespace

void TForm1::sg1SelectCell(int col, int row) {
  selectedCol = col;
  selectedRow = row;
}

void TForm1::sg1DblClick() {
  ManagerWork work("sg1DblClick");
  if (!work) return;
  const int row = selectedRow, col = selectedCol;
  if (row < 1 || sg1.Cell(kColDate, row).empty()) return;
  fncWriteSysLog("sg1DblClick(" + std::to_string(col) + "," + std::to_string(row) + ")");
  const size_t index = static_cast<size_t>(row - 1);
  const std::string day = DayOf(sg1.Cell(kColDate, row));
  const std::string name = sg1.Cell(kColFileName, row);
  const std::string catalogue = CatalogueFolder() + day + ".ini";

  panelMsg.SetText("サーバーと通信中です。お待ちください・・");
  StartPanel();
  switch (col) {
    case kImportantColumn: {
      const bool important = !sg1.Cell(col, row).empty();
      const std::string mark = important ? "" : kImportantText;
      sg1.SetCell(col, row, mark);
      if (index < Lists.Count()) Lists.SetCell(kColImportant, index, mark);
      IniWriteString(catalogue, name, "IMPORTANT", important ? "" : "1");
      fncWriteSysLog(name + (important ? "<-重要解除" : "<-重要設定"));
      break;
    }
    case kCompletedColumn: {
      const bool completed = !sg1.Cell(col, row).empty();
      const bool renamed = completed ? ftpReNameFile(day, name + kCompletedSuffix, name) == 0
                                     : ftpReNameFile(day, name, name + kCompletedSuffix) == 0;
      if (!renamed) {
        fncWriteSysLog(name + (completed ? "<-完了解除失敗" : "<-完了設定失敗"));
        forms::ShowMessageBox(Handle(),
                              completed ? "削除されたため、完了状態を解除できません。"
                                        : "他のPCで編集中か削除されたため、完了状態にできません。",
                              kManagerCaption, MB_OK);
        break;
      }
      const std::string mark = completed ? "" : kCompletedText;
      const std::string status = completed ? "1" : "3";
      sg1.SetCell(col, row, mark);
      if (index < Lists.Count()) {
        Lists.SetCell(kColCompleted, index, mark);
        Lists.SetCell(kColStatus, index, status);
      }
      IniWriteString(catalogue, name, "STATUS", status);
      fncWriteSysLog(name + (completed ? "<-完了解除" : "<-完了設定"));
      break;
    }
    case kCommentColumn:
      fncEditComment();
      break;
    default:
      SpeedButton1Click();
      break;
  }
  EndPanel();
  sg1.Invalidate(false);
}
