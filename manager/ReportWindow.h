// The manager's report window: the search over a date range, the filters,
// the report grid filled from the local catalogue, the tool buttons and the
// progress panel. It owns the one way to touch a single file of the store.
#pragma once
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/Animate.h"
#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/DateTimePicker.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/Gauge.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "forms/Panel.h"
#include "forms/SaveDialog.h"
#include "forms/SpeedButton.h"
#include "forms/StatusBar.h"
#include "forms/StringGrid.h"
#include "forms/ToolTip.h"
#include "manager/portable/CatalogueDay.h"
#include "manager/portable/CatalogueLists.h"

class ReportRows;  // manager/ReportOpening.h
class ReportRowOperation;
enum class StoreFileState;  // manager/portable/ProjectListRules.h

class TForm1 : public forms::Form {
 public:
  TForm1();
  ~TForm1() override;

  // One file of the report store, in FTP mode (SAVE 1) each call a login,
  // one operation and a logout; otherwise on the shared folder FILESAVEPATH.
  // folder: a day folder, a tag folder or "" for the store root. Files are
  // fetched into and stored from <data>Temp\. Results: 0 done, -2 failed,
  // -1 no connection (after its box).
  int ftpGetFile(const std::string& folder, const std::string& name);
  int ftpDelFile(const std::string& folder, const std::string& name);
  int ftpReNameFile(const std::string& folder, const std::string& oldName, const std::string& newName);
  int ftpPutFile(const std::string& folder, const std::string& name);

  // Opening under the edit lock (ReportOpening.cpp) and comment editing
  // (CommentEditing.cpp) of the rows selected in the grid.
  void fncOpenReports(ReportRows& rows);
  void fncEditComment(ReportRows& rows);
  // The same on this window's grid: the open button and the grid's
  // double-click (fncEditComment for the comment column).
  void SpeedButton1Click();
  void fncEditComment();
  // -1 while a spreadsheet window ("XLMAIN") is open, else 0.
  int checkXls();
  // 1 when spreadsheet automation can be started, else 0.
  int fucXlsFind();

  // Server listings and the catalogue (ServerListings.cpp).
  // Refreshes the catalogue files of the days from..to ("yyyymmdd"):
  // 0 done, -1 login failed, -2 broken off by an error.
  int ftpGetLists(const std::string& from, const std::string& to);
  // Rebuilds the day's catalogue file from Memo1 (listed as Memo1Listing)
  // and the day's tag folder.
  void MakeFileList(const std::string& day);
  // The column lists from the catalogue files of the pickers' range.
  void catalogueToList();
  // The tag file name of a report (base: its name without the extension)
  // in the tag folder "<yyyymmdd>tag"; "" when it has none, nothing when
  // the folder could not be listed.
  std::optional<std::string> GetTagFileName(const std::string& tagFolder, const std::string& base);

  // The store's project list edited in the PC's text editor (ProjectListEditing.cpp).
  void SpeedButton11Click();
  // Catalogue files to and from this PC's backup folder on the store (CatalogueBackup.cpp).
  void SpeedButton12Click();  // restore
  void SpeedButton13Click();  // backup

  // Download, delete and forced release of the selected rows (ReportDownloadDelete.cpp).
  void SpeedButton3Click();   // download into a folder of the user's choice
  void SpeedButton2Click();   // delete from the store
  void SpeedButton10Click();  // forced release of an edit lock
  // The version-up: the updater takes over, the manager closes (VersionUpStart.cpp).
  void SpeedButton14Click();
  // The grid's current cell, its double-click and the marks (ReportMarks.cpp).
  void sg1SelectCell(int col, int row);
  void sg1DblClick();
  // Closing (ReportWindowClosing.cpp).
  void SpeedButton6Click();
  void ShutDownMessage();
  // The list workbook (ListReportWorkbook.cpp) and the picture workbook (PictureWorkbook.cpp).
  void SpeedButton4Click();
  void SpeedButton16Click();

  // The window (ReportWindow.cpp).
  void StartPanel();
  void EndPanel();
  void ListDisp();
  void ListNarrow();
  void ListClear();
  void searchItemClear();

  forms::DateTimePicker DateTimePicker1, DateTimePicker2;
  forms::CheckBox CheckBox1;
  forms::ComboBox ComboBox1, ComboBox2, ComboBox3, ComboBox4;  // project, creator, important, completed
  forms::Edit Edit1;                                           // comment text
  forms::SpeedButton SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6,
      SpeedButton7, SpeedButton8, SpeedButton9, SpeedButton10, SpeedButton11, SpeedButton12, SpeedButton13,
      SpeedButton14, SpeedButton15, SpeedButton16;
  forms::Label Label10, Label11;
  forms::StringGrid sg1;
  forms::StatusBar StatusBar1;
  forms::Panel Panel1;
  forms::Label panelMsg, progress;
  forms::Animate Animate1;
  forms::Gauge Gauge1;
  forms::ImageList ImageList1;
  forms::SaveDialog SaveDialog1;  // folder choice of the download
  std::vector<std::string> Memo1;  // entries of the day being refreshed
  FolderListing Memo1Listing = FolderListing::Failed;
  CatalogueLists Lists;  // the twelve column lists; grid row r is entry r - 1

  int abortFlag = 0;          // set by the abort button
  bool xlsAvailable = false;  // spreadsheet automation found at creation
  int selectedRow = 0, selectedCol = 0;
  ReportRowOperation* runningRows = nullptr;  // the open or comment edit in progress

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // FtpLogin; on failure the box and "接続エラー".
  bool ConnectStore();
  // FtpDisconnect, then "切断完了" after a done operation or "FTP切断完了".
  void DisconnectStore(bool operationDone);
  // Whether the store holds the project list, asked after a failed fetch.
  StoreFileState ProjectListOnStore();
  // One editor round on the file: false when the editor cannot be started.
  bool RunProjectListEditor(const std::string& file);
  // Catalogue backup and restore steps: the run's result, 0 done.
  int BackupCatalogue(const std::string& computer, const std::vector<std::string>& names);
  int RestoreCatalogue(const std::string& computer);

  void CreateControls();
  void CreateIcons();
  bool Command(int id);
  void SpeedButton5Click();
  void SpeedButton7Click();
  void SpeedButton8Click();
  void SpeedButton9Click();
  void SpeedButton15Click();
  void sg1DrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state);
  // Background, text colour, weight and icon (-1 none) of a cell.
  struct CellLook {
    COLORREF back, text;
    bool bold;
    int icon;
  };
  CellLook LookOf(int col, int row, unsigned state) const;
  void WriteGridText() const;
  // Lists one folder of the store into lines (FTP, logged in) or names.
  FolderListing ListFtpFolder(const std::string& path, std::vector<std::string>& lines);
  FolderListing ListSharedFolder(const std::string& folder, std::vector<std::string>& names,
                                 std::vector<std::string>* sizes);
  std::vector<std::string> Memo1Sizes;  // shared folder: the size of each Memo1 entry
  HBRUSH backBrush_ = nullptr, whiteBrush_ = nullptr;
  forms::SpeedButton* Button(int number);  // SpeedButton1..16
  forms::Label labels_[7];
  forms::ToolTip checkHint_, editHint_;
  std::string firstShownDay_;  // DateTimePicker1 at creation, "yyyymmdd"
};

extern TForm1* Form1;
