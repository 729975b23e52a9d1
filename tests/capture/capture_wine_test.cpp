// The capture queue of the hidden main form, in-process under Wine, with a
// registration stand-in in place of the registration form.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "client/CaptureDate.h"
#include "client/CaptureState.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "client/RegistrationHandoff.h"
#include "client/SettingsValues.h"
#include "forms/Application.h"
#include "snaptrap/SnapTrap.h"
#include "tests/client/WineTestFiles.h"

namespace {

class FakeRegistration : public RegistrationHandoff {
 public:
  int fncGetProject() override { return 0; }
  PostOutcome fncSendFile(bool) override {
    ++sends;
    sentCaptures.push_back(gCurrentCapture);
    return outcome;
  }
  bool IsShown() const override { return shown; }
  void ShowForCapture() override {
    shown = true;
    shownCaptures.push_back(gCurrentCapture);
  }
  PostOutcome outcome = PostOutcome::Posted;
  bool shown = false;
  int sends = 0;
  std::vector<std::string> sentCaptures, shownCaptures;
};

class CaptureQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form1 = &form;
    ASSERT_TRUE(form.Create(WS_OVERLAPPEDWINDOW, 0, 400, 300));
    gRegistration = &registration;
    gStartComplete = true;
    gSettings.VALIDDAY = "10";
    temp = gDataDir + "temp\\";
    CreateDirectoryA(temp.c_str(), nullptr);
  }
  void TearDown() override {
    form.tmrEvent.SetEnabled(false);
    gRegistration = nullptr;
    gStartComplete = false;
    Form1 = nullptr;
    form.Destroy();
    RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
  }
  void Capture(WPARAM w, LPARAM l) { SendMessageA(form.Handle(), 1125, w, l); }
  std::string WriteCapture(const std::string& name, size_t bytes = 100) {
    std::string path = temp + name;
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    return path;
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  TForm1 form;
  FakeRegistration registration;
  std::string temp;
};

}  // namespace

TEST_F(CaptureQueueTest, MessagesQueueNamesOnceEach) {
  Capture(0, 0);
  Capture(0, 0);
  Capture(1234567, 3);
  Capture(static_cast<WPARAM>(-12), 1);
  ASSERT_EQ(gCaptureQueue.Size(), 3u);
  EXPECT_EQ(gCaptureQueue.Names()[0], "000000_0.jpg");
  EXPECT_EQ(gCaptureQueue.Names()[1], "1234567_3.jpg");
  EXPECT_EQ(gCaptureQueue.Names()[2], "-000012_1.jpg");

  // Before start-up has completed captures are dropped.
  gStartComplete = false;
  Capture(5, 5);
  EXPECT_EQ(gCaptureQueue.Size(), 3u);
}

TEST_F(CaptureQueueTest, EmptyOrLockedFilesWaitAtTheHeadThenArePosted) {
  gSettings.SHOW = 0;
  std::string path = WriteCapture("000001_1.jpg", 0);
  Capture(1, 1);
  form.tmrEventTimer();
  EXPECT_EQ(registration.sends, 0);
  EXPECT_EQ(gCaptureQueue.Size(), 1u);
  EXPECT_TRUE(form.tmrEvent.Enabled());  // switched on again after the tick

  WriteCapture("000001_1.jpg");
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  form.tmrEventTimer();
  EXPECT_EQ(registration.sends, 0);
  CloseHandle(lock);

  form.tmrEventTimer();
  EXPECT_EQ(registration.sends, 1);
  EXPECT_TRUE(gCaptureQueue.Empty());
  EXPECT_FALSE(Exists(path));
}

TEST_F(CaptureQueueTest, ACaptureThatWasNotSavedKeepsItsFile) {
  gSettings.SHOW = 0;
  registration.outcome = PostOutcome::NotSaved;
  std::string first = WriteCapture("000002_1.jpg");
  std::string second = WriteCapture("000002_2.jpg");
  Capture(2, 1);
  Capture(2, 2);
  form.tmrEventTimer();
  EXPECT_TRUE(Exists(first));  // nothing was saved: the picture stays
  ASSERT_EQ(gCaptureQueue.Size(), 1u);

  // Saved locally but not posted: the report is safe, the capture can go.
  registration.outcome = PostOutcome::SavedOnly;
  form.tmrEventTimer();
  EXPECT_FALSE(Exists(second));
  EXPECT_TRUE(gCaptureQueue.Empty());
}

TEST_F(CaptureQueueTest, AMissingFileIsGivenUpSoLaterCapturesGoOn) {
  gSettings.SHOW = 0;
  std::string later = WriteCapture("000003_2.jpg");
  Capture(3, 1);  // never written
  Capture(3, 2);
  for (int tick = 1; tick < TForm1::kMissingCaptureTicks; ++tick) form.tmrEventTimer();
  EXPECT_EQ(gCaptureQueue.Head(), "000003_1.jpg");
  form.tmrEventTimer();
  ASSERT_EQ(gCaptureQueue.Size(), 1u);
  form.tmrEventTimer();
  EXPECT_EQ(registration.sentCaptures, std::vector<std::string>{"000003_2.jpg"});
  EXPECT_FALSE(Exists(later));
}

TEST_F(CaptureQueueTest, WithTheFormShownOnlyTheFirstCaptureIsHandled) {
  gSettings.SHOW = 1;
  for (int n = 1; n <= 3; ++n) {
    WriteCapture("000004_" + std::to_string(n) + ".jpg");
    Capture(4, n);
  }
  form.tmrEventTimer();
  form.tmrEventTimer();
  EXPECT_EQ(registration.shownCaptures, std::vector<std::string>{"000004_1.jpg"});
  EXPECT_FALSE(form.tmrEvent.Enabled());  // stays off while the form is open

  // The form closes: it drops the capture and lets the timer go on.
  form.fncDeleteTemp();
  registration.shown = false;
  form.tmrEventTimer();
  EXPECT_EQ(registration.shownCaptures.back(), "000004_2.jpg");
  EXPECT_EQ(gCaptureQueue.Size(), 2u);
}

TEST(CaptureDate, ACaptureMadeJustBeforeMidnightKeepsItsDay) {
  SYSTEMTIME local{2006, 10, 5, 20, 23, 59, 59, 0};  // Friday 20 October 2006
  FILETIME localFile, utc;
  SystemTimeToFileTime(&local, &localFile);
  LocalFileTimeToFileTime(&localFile, &utc);
  CaptureStamp stamp;
  ASSERT_TRUE(CaptureStampFromFileTime(utc, stamp));
  EXPECT_EQ(stamp.date, "20061020");
  EXPECT_EQ(stamp.time, "235959");
  EXPECT_EQ(stamp.display, "2006/10/20 (金曜日)");
}

TEST_F(CaptureQueueTest, TheCaptureIsDatedByItsFileNotByTheTick) {
  std::string path = WriteCapture("000005_1.jpg");
  FILETIME created{};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  GetFileTime(file, &created, nullptr, nullptr);
  CloseHandle(file);
  CaptureStamp expected;
  ASSERT_TRUE(CaptureStampFromFileTime(created, expected));
  gCurrentCapture = "000005_1.jpg";
  gCaptureTitle = "前の件名";
  gCaptureDetails = {"a"};
  ASSERT_EQ(form.fncSetTemp(), 1);
  EXPECT_EQ(gCaptureDate, expected.date);
  EXPECT_EQ(gCaptureTime, expected.time);
  EXPECT_EQ(gSubmitDisplayDate, expected.display);
  EXPECT_EQ(gOccurDisplayDate, expected.display);
  EXPECT_TRUE(gCaptureTitle.empty());
  EXPECT_TRUE(gCaptureDetails.empty());
}

TEST_F(CaptureQueueTest, ProjectListFileIsReadWithAnEmptyFirstEntry) {
  std::string path = gDataDir + "projectlist.txt";
  DeleteFileA(path.c_str());
  gProjectList = {"", "old"};
  EXPECT_FALSE(form.fncReadFile());
  EXPECT_EQ(gProjectList.size(), 2u);  // kept as it was
  std::ofstream(path, std::ios::binary) << "営業部\r\n開発\r\n" << std::string(300, 'p') << "\r\n";
  EXPECT_TRUE(form.fncReadFile());
  ASSERT_EQ(gProjectList.size(), 4u);
  EXPECT_EQ(gProjectList[1], "営業部");
  EXPECT_EQ(gProjectList[3].size(), 255u);
}

TEST_F(CaptureQueueTest, TheHookLibraryCaptureReachesTheQueue) {
  // FormCreate loaded SNAPTRAP.DLL, filled "KestroMapFile" and started the hook.
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));
  for (int i = 0; i < 100 && gCaptureQueue.Empty(); ++i) {
    Sleep(10);
    forms::Application::Instance().ProcessMessages();
  }
  ASSERT_EQ(gCaptureQueue.Size(), 1u);
  std::string path = temp + gCaptureQueue.Head();
  std::ifstream in(path, std::ios::binary);
  char magic[3] = {};
  in.read(magic, 3);
  EXPECT_EQ(std::string(magic, 3), "\xFF\xD8\xFF");
}
