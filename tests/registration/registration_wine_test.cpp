// The registration form in-process under Wine: captures come through the
// main form's capture timer, the fields are filled through window messages
// and the buttons pressed with BM_CLICK. Posting is real, into a shared
// folder (SAVE 0) under the data folder; only the two start-time fetches are
// stubbed.
#include <gtest/gtest.h>
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "client/CaptureState.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "client/PictureEditor.h"
#include "client/RegistrationForm.h"
#include "client/RegistrationHandoff.h"
#include "client/SettingsValues.h"
#include "client/portable/RegistrationText.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "jpeg/JpegWriter.h"
#include "tests/client/WineTestFiles.h"
#include "transfer/TTmxFtp.h"

namespace {

class TestForm3 : public TForm3 {
 public:
  using TForm3::TForm3;
  int fncGetProject() override {
    ++projectFetches;
    return 1;
  }
  bool fncGetDownloder() override {
    ++updaterFetches;
    return true;
  }
  int projectFetches = 0, updaterFetches = 0;
};

const char kQuestion[] = "ポスト又は保存が完了されていませんが\r\nよろしいですか？";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The first file in folder matching pattern, "" when none.
std::string FindFile(const std::string& folder, const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  return found.cFileName;
}

void WriteJpeg(const std::string& path, int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
  jpegio::RgbPicture picture{width, height, pixels.data(), width * 3, jpegio::PixelOrder::Bgr};
  std::string error;
  ASSERT_TRUE(jpegio::WriteJpegFile(path, picture, 90, &error)) << error;
}

SIZE ClientSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

void SetText(HWND window, const std::string& text) {
  SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string Text(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

class RegistrationFormTest : public ::testing::Test {
 protected:
  // One main form for the suite: its creation starts the viewer lookup,
  // which takes a few seconds under Wine.
  static void SetUpTestSuite() {
    forms::Application::Instance().SetTitle("Kestro");
    form1 = new TForm1;
    Form1 = form1;
    form1->Create(WS_OVERLAPPEDWINDOW, 0, 400, 300);
  }
  static void TearDownTestSuite() {
    Form1 = nullptr;
    delete form1;
    form1 = nullptr;
    RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
  }

  void SetUp() override {
    ASSERT_TRUE(form1->Handle());
    forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& box) {
      boxes.push_back(box);
      return reply;
    });
    ASSERT_TRUE(ftp.Create());
    temp = gDataDir + "temp\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    std::ofstream(gDataDir + "projectlist.txt", std::ios::binary) << "営業部\r\n開発\r\n";
    gSettings.STYLE = 1;
    gSettings.SHOW = 1;
    gSettings.SAVE = 0;
    gSettings.LOCALDIR = gDataDir + "testlocal\\";
    gSettings.FILESAVEPATH = gDataDir + "teststore\\";
    gSettings.DATE = "";
    gSettings.NUM = 1;
    gSettings.OPERATION = "PC01";
    gSettings.PROJECT = "";
    gSettings.VALIDDAY = "10";
    gProjectListFetched = false;
    form3 = std::make_unique<TestForm3>(ftp);
    ASSERT_TRUE(form3->Create());
    gRegistration = form3.get();
    gStartComplete = true;
  }
  void TearDown() override {
    form1->tmrEvent.SetEnabled(false);
    gStartComplete = false;
    gRegistration = nullptr;
    form3.reset();
    ftp.Destroy();
    forms::SetMessageBoxHook(nullptr);
    gCaptureQueue.Clear();
    gCurrentCapture.clear();
    for (const char* folder : {"temp", "testlocal", "teststore"}) RemoveTree(gDataDir + folder);
  }

  // Writes a capture, hands it over as the hook library does and lets the
  // capture timer take it.
  std::string Capture(int number, int width = 800, int height = 600) {
    std::string name = "0000" + std::to_string(10 + number) + "_1.jpg";
    WriteJpeg(temp + name, width, height);
    SendMessageA(form1->Handle(), 1125, 10 + number, 1);
    form1->tmrEventTimer();
    return name;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes) texts.push_back(box.text);
    return texts;
  }

  static TForm1* form1;
  TTmxFtp ftp;
  std::unique_ptr<TestForm3> form3;
  std::string temp;
  std::vector<forms::MessageBoxRecord> boxes;
  int reply = IDOK;
};

TForm1* RegistrationFormTest::form1 = nullptr;

}  // namespace

TEST_F(RegistrationFormTest, CreationFetchesTheStoreFilesAndWaitsHidden) {
  EXPECT_EQ(form3->updaterFetches, 1);
  EXPECT_EQ(form3->projectFetches, 1);
  EXPECT_TRUE(gProjectListFetched);
  ASSERT_EQ(gProjectList.size(), 3u);  // read after the fetch, entry 0 empty
  EXPECT_FALSE(form3->IsShown());
  EXPECT_EQ(GetWindowLongPtrA(form3->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  char className[32] = {};
  GetClassNameA(form3->Handle(), className, sizeof className);
  EXPECT_STREQ(className, "TForm3");
  EXPECT_EQ(Text(form3->Handle()), "登録画面");
  // A form that never showed a capture closes without a question.
  EXPECT_TRUE(form3->Close());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(RegistrationFormTest, TheLayoutFollowsTheStyle) {
  Capture(1);
  ASSERT_TRUE(form3->IsShown());
  RECT r = form3->WindowRect();
  EXPECT_EQ(r.right - r.left, 450);
  EXPECT_TRUE(form3->pnl3.IsVisible());
  EXPECT_FALSE(form3->pnl2.IsVisible());
  EXPECT_EQ(Text(form3->txtPc2), "PC01");
  EXPECT_EQ(form3->sbrMsg.PanelText(1), "1.5");
  EXPECT_EQ(SendMessageA(form3->cboProject2, CB_GETCOUNT, 0, 0), 3);

  // The settings form switches to the report style while the form is open.
  SetText(form3->txtPc2, "端末A");
  SetText(form3->txtTitle2, "件名");
  gSettings.STYLE = 0;
  EXPECT_TRUE(form3->fncPosSet());
  r = form3->WindowRect();
  EXPECT_EQ(r.right - r.left, 900);
  EXPECT_TRUE(form3->pnl2.IsVisible());
  EXPECT_FALSE(form3->pnl3.IsVisible());
  EXPECT_FALSE(form3->pnl3.IsEnabled());
  EXPECT_EQ(Text(form3->txtPc), "端末A");
  EXPECT_EQ(Text(form3->txtTitle), "件名");
  POINT top{0, 0};
  MapWindowPoints(form3->imgVew, form3->pnl1, &top, 1);
  EXPECT_EQ(top.y, 62);
  EXPECT_FALSE(Text(form3->txtPresen).empty());  // the capture's display date
  EXPECT_EQ(Text(form3->txtPresen), gSubmitDisplayDate);
}

TEST_F(RegistrationFormTest, PreviewIsScaledIntoFourHundredByThreeHundred) {
  Capture(1, 800, 600);
  ASSERT_TRUE(form3->IsShown());
  SIZE size = ClientSize(form3->imgVew);
  EXPECT_EQ(size.cx, 400);
  EXPECT_EQ(size.cy, 300);
  EXPECT_EQ(form3->PreviewPicture().Width(), 800);

  WriteJpeg(CurrentCapturePath(), 1000, 300);
  ASSERT_TRUE(form3->LoadPreview());
  size = ClientSize(form3->imgVew);
  EXPECT_EQ(size.cx, 400);
  EXPECT_EQ(size.cy, 120);
  EXPECT_TRUE(form3->imgVew.Stretch());

  WriteJpeg(CurrentCapturePath(), 200, 100);
  ASSERT_TRUE(form3->LoadPreview());
  size = ClientSize(form3->imgVew);
  EXPECT_EQ(size.cx, 400);  // shown at its own size, centred in the box
  EXPECT_EQ(size.cy, 300);
  EXPECT_FALSE(form3->imgVew.Stretch());
}

TEST_F(RegistrationFormTest, FieldChecksRejectBadNamesWithTheFormsMessages) {
  std::string capture = Capture(1);
  ASSERT_TRUE(form3->IsShown());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"営業_部", "PC01"}, {"", "   "}, {"", "PC 01"}, {"a/b", ""}};
  const std::vector<std::string> expected = {kProjectNameError, kTerminalEmptyError, kTerminalNameError,
                                             kProjectNameError};
  for (size_t i = 0; i < cases.size(); ++i) {
    SetText(form3->cboProject2, cases[i].first);
    SetText(form3->txtPc2, cases[i].second);
    Click(form3->btnSend);
    ASSERT_EQ(boxes.size(), i + 1);
    EXPECT_EQ(boxes.back().text, expected[i]);
    EXPECT_EQ(boxes.back().caption, "Kestro");
    EXPECT_EQ(boxes.back().flags, static_cast<UINT>(MB_OK | MB_TOPMOST));
    EXPECT_EQ(form3->sbrMsg.PanelText(0), "入力エラー");
    EXPECT_TRUE(form3->IsShown());
    EXPECT_TRUE(form3->IsEnabled());
  }
  EXPECT_TRUE(Exists(temp + capture));
  EXPECT_EQ(gSettings.OPERATION, "PC01");  // nothing stored from a failed check
}

TEST_F(RegistrationFormTest, PostingFromTheFormPutsTheReportIntoTheStoreAndCloses) {
  std::string capture = Capture(1);
  ASSERT_TRUE(form3->IsShown());
  EXPECT_FALSE(form1->tmrEvent.Enabled());
  SendMessageA(form3->cboProject2, CB_SETCURSEL, 1, 0);
  SetText(form3->txtPc2, "PC07");
  SetText(form3->txtTitle2, "画面が固まる");
  Click(form3->btnSend);

  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ポストしました"});
  EXPECT_FALSE(form3->IsShown());
  EXPECT_TRUE(form3->IsEnabled());
  EXPECT_EQ(gSettings.PROJECT, "営業部");
  EXPECT_EQ(gSettings.OPERATION, "PC07");
  std::string day = gSettings.DATE;
  std::string name = "営業部_PC07" + gCaptureDate + gCaptureTime + "001";
  EXPECT_TRUE(Exists(gSettings.FILESAVEPATH + day + "\\" + name + ".jpg"));
  EXPECT_TRUE(Exists(gSettings.FILESAVEPATH + day + "tag\\" + name + "_画面が固まる.tag"));
  EXPECT_FALSE(Exists(gSettings.LOCALDIR + day + "\\" + name + ".jpg"));  // local copies gone
  EXPECT_FALSE(Exists(temp + capture));                                   // the capture is dropped
  EXPECT_TRUE(gCaptureQueue.Empty());
  EXPECT_TRUE(form1->tmrEvent.Enabled());  // the next capture can come
}

TEST_F(RegistrationFormTest, AFailedPostOfASavedReportClosesAndKeepsItLocally) {
  gSettings.FILESAVEPATH = "Q:\\nowhere\\";  // a drive that does not exist
  Capture(1);
  SetText(form3->txtTitle2, "題");
  Click(form3->btnSend);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ポストに失敗しました"});
  EXPECT_FALSE(form3->IsShown());
  std::string localDay = gSettings.LOCALDIR + gSettings.DATE;
  EXPECT_FALSE(FindFile(localDay + "\\", "PC01*.jpg").empty());
  EXPECT_FALSE(FindFile(localDay + "tag\\", "PC01*_題.tag").empty());
  EXPECT_TRUE(form1->tmrEvent.Enabled());
}

TEST_F(RegistrationFormTest, ATagThatCannotBeMadeIsAFailedSaveAndTheFormStaysOnTheCapture) {
  std::string capture = Capture(1);
  CreateDirectoryA(gSettings.LOCALDIR.c_str(), nullptr);
  const std::string tagFolder = gSettings.LOCALDIR + gCaptureDate + "tag";
  std::ofstream(tagFolder, std::ios::binary) << "not a folder";
  SetText(form3->txtTitle2, "題");
  Click(form3->btnSend);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"タグファイルを作成できません\r\nファイルの保存に失敗しました"});
  EXPECT_TRUE(form3->IsShown());
  EXPECT_TRUE(FindFile(gSettings.LOCALDIR + gCaptureDate + "\\", "*.jpg").empty());  // removed again
  EXPECT_TRUE(Exists(temp + capture));

  // Once the tag can be made the same capture is posted with its title.
  ASSERT_TRUE(DeleteFileA(tagFolder.c_str()));
  boxes.clear();
  Click(form3->btnSend);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ポストしました"});
  EXPECT_FALSE(FindFile(gSettings.FILESAVEPATH + gSettings.DATE + "tag\\", "PC01*_題.tag").empty());
  EXPECT_FALSE(Exists(temp + capture));
}

TEST_F(RegistrationFormTest, ClosingWithNothingSavedAsksAndCancelKeepsTheForm) {
  std::string capture = Capture(1);
  reply = IDCANCEL;
  Click(form3->btnClose);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kQuestion);
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2 | MB_TOPMOST));
  EXPECT_TRUE(form3->IsShown());
  EXPECT_TRUE(Exists(temp + capture));
  EXPECT_FALSE(form1->tmrEvent.Enabled());

  // The system menu's close asks the same; OK closes and drops the capture.
  reply = IDOK;
  SendMessageA(form3->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(form3->IsShown());
  EXPECT_FALSE(Exists(temp + capture));
  EXPECT_TRUE(form1->tmrEvent.Enabled());
}

TEST_F(RegistrationFormTest, CapturesAreShownOneAtATime) {
  std::string first = Capture(1);
  std::string second = Capture(2);  // queued behind the first; the form stays on it
  ASSERT_TRUE(form3->IsShown());
  EXPECT_EQ(gCurrentCapture, first);
  EXPECT_EQ(gCaptureQueue.Size(), 2u);

  reply = IDOK;
  Click(form3->btnClose);
  ASSERT_FALSE(form3->IsShown());
  EXPECT_TRUE(form1->tmrEvent.Enabled());
  form1->tmrEventTimer();
  EXPECT_TRUE(form3->IsShown());
  EXPECT_EQ(gCurrentCapture, second);
  EXPECT_EQ(Text(form3->txtTitle2), "");  // a new capture starts empty
}

TEST_F(RegistrationFormTest, MemosKeepTheirLineLimitsAndStoreTheirLinesOnce) {
  gSettings.STYLE = 0;
  Capture(1);
  ASSERT_TRUE(form3->pnl2.IsVisible());
  SetText(form3->memDetails, "一行目\r\n二行目\r\n三行目");
  EXPECT_EQ(Text(form3->memDetails), "一行目\r\n二行目三行目");
  SetText(form3->memOperation, "a\r\nb\r\nc");
  EXPECT_EQ(Text(form3->memOperation), "a\r\nb\r\nc");

  // Ctrl+Enter (a line feed character) breaks the line; a third line of the
  // details memo is taken back at once.
  SetText(form3->memDetails, "x");
  SendMessageA(form3->memDetails, EM_SETSEL, 1, 1);
  SendMessageA(form3->memDetails, WM_CHAR, '\n', 0);
  EXPECT_EQ(Text(form3->memDetails), "x\r\n");
  SendMessageA(form3->memDetails, WM_CHAR, 'y', 0);
  SendMessageA(form3->memDetails, WM_CHAR, '\n', 0);
  EXPECT_EQ(Text(form3->memDetails), "x\r\ny");
  // A plain Enter puts no line break in.
  SendMessageA(form3->memDetails, WM_CHAR, '\r', 0);
  EXPECT_EQ(Text(form3->memDetails), "x\r\ny");

  SetText(form3->txtPc, "PC01");
  ASSERT_TRUE(form3->fncChkData());
  ASSERT_TRUE(form3->fncChkData());
  EXPECT_EQ(gCaptureDetails, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(gCaptureOperations, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(gSubmitDisplayDate, Text(form3->txtPresen));
}

TEST_F(RegistrationFormTest, KeysMoveOnUndoAndStopTheTitle) {
  Capture(1);
  ASSERT_TRUE(form3->IsShown());
  SetFocus(form3->txtPc2);
  SendMessageA(form3->txtPc2, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(GetFocus(), form3->txtTitle2.Handle());

  SetText(form3->txtPc2, "PC01");
  SendMessageA(form3->txtPc2, EM_SETSEL, 4, 4);
  SendMessageA(form3->txtPc2, WM_CHAR, 'X', 0);
  EXPECT_EQ(Text(form3->txtPc2), "PC01X");
  SendMessageA(form3->txtPc2, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Text(form3->txtPc2), "PC01");

  SetText(form3->txtTitle2, std::string(50, 'a'));
  SendMessageA(form3->txtTitle2, EM_SETSEL, 50, 50);
  SendMessageA(form3->txtTitle2, WM_CHAR, 'b', 0);
  EXPECT_EQ(Text(form3->txtTitle2).size(), 50u);
  SendMessageA(form3->txtTitle2, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(Text(form3->txtTitle2).size(), 49u);
}

TEST_F(RegistrationFormTest, SessionEndClosesWithoutQuestionAndKeepsTheCapture) {
  std::string capture = Capture(1);
  Form1 = nullptr;  // the form alone: it sets the closing flag itself
  EXPECT_EQ(SendMessageA(form3->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
  Form1 = form1;
  EXPECT_TRUE(gClosing);
  EXPECT_FALSE(form3->IsShown());
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(Exists(temp + capture));
  gClosing = false;
}

TEST_F(RegistrationFormTest, ThePostAnimationWithoutItsClipFailsQuietly) {
  Capture(1);
  ASSERT_FALSE(Exists(gExeDir + "pctopost.avi"));
  EXPECT_TRUE(form3->ShowAnimation());
  EXPECT_TRUE(form3->pnlAnimate.IsVisible());
  form3->HideAnimation();
  EXPECT_FALSE(form3->pnlAnimate.IsVisible());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(RegistrationFormTest, ADoubleClickOnThePreviewOpensTheEditorAndRefitsAfterASave) {
  TForm5 editor;
  ASSERT_TRUE(editor.Create());
  Form5 = &editor;
  Capture(1, 800, 600);
  ASSERT_EQ(ClientSize(form3->imgVew).cy, 300);
  WriteJpeg(CurrentCapturePath(), 1000, 300);  // what the editor will open and save back

  reply = IDOK;  // keep the edited picture
  PostMessageA(editor.Handle(), WM_CLOSE, 0, 0);
  SendMessageA(form3->imgVew, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  Form5 = nullptr;
  EXPECT_FALSE(editor.IsVisible());
  EXPECT_TRUE(form3->IsEnabled());
  SIZE size = ClientSize(form3->imgVew);
  EXPECT_EQ(size.cx, 400);
  EXPECT_EQ(size.cy, 120);
  EXPECT_EQ(form3->PreviewPicture().Width(), 1000);
}

TEST_F(RegistrationFormTest, TheHiddenSaveButtonKeepsTheReportLocally) {
  gSettings.LOCALDIR = "Q:\\nowhere\\";  // cannot be made: the save fails
  std::string capture = Capture(1);
  SetText(form3->txtTitle2, "保存だけ");
  Click(form3->btnSave);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ファイルの保存に失敗しました"});
  EXPECT_TRUE(form3->IsShown());
  EXPECT_TRUE(form3->IsEnabled());
  EXPECT_EQ(gTrayState, kTrayError);

  boxes.clear();
  gSettings.LOCALDIR = gDataDir + "testlocal\\";
  Click(form3->btnSave);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"保存しました"});
  EXPECT_FALSE(form3->IsShown());
  EXPECT_EQ(gTrayState, kTrayNormal);
  std::string day = gSettings.LOCALDIR + gSettings.DATE;
  EXPECT_FALSE(FindFile(day + "\\", "PC01*.jpg").empty());
  EXPECT_FALSE(FindFile(day + "tag\\", "PC01*_保存だけ.tag").empty());
  EXPECT_TRUE(FindFile(gSettings.FILESAVEPATH + gSettings.DATE + "\\", "*.jpg").empty());  // not posted
  EXPECT_FALSE(Exists(temp + capture));
}

TEST_F(RegistrationFormTest, AFocusedFieldIsTintedAndTheHintPageMayBeMissing) {
  Capture(1);
  SetFocus(form3->txtPc2);
  HDC dc = GetDC(form3->txtPc2);
  LRESULT brush = SendMessageA(form3->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(form3->txtPc2.Handle()));
  EXPECT_EQ(GetBkColor(dc), TForm3::kFocusColour);
  SetFocus(form3->txtTitle2);
  SendMessageA(form3->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(form3->txtPc2.Handle()));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
  ReleaseDC(form3->txtPc2, dc);
  EXPECT_NE(brush, 0);

  ASSERT_FALSE(Exists(gExeDir + "doc\\clienthint.html"));
  Click(form3->btnHint);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ヒントファイルが見つかりません"});
  EXPECT_TRUE(form3->IsShown());
}
