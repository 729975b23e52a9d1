// The naming rules of the local report store.
#include <gtest/gtest.h>

#include "client/portable/ReportNaming.h"

namespace {

// One save as the client does it: day and counter, then the name, then the
// counter advances.
std::string Save(const std::string& captureDate, const std::string& captureTime, std::string& day, int& counter,
                 const std::string& project = "営業部") {
  AdvanceProcessingDay(captureDate, day, counter);
  std::string name = ReportFileName(project, ReportBaseName("PC01", captureDate, captureTime, counter));
  counter = NextDailyCounter(counter);
  return name;
}

TEST(DailyCounter, ANewDayStartsAtOneAndCountsOn) {
  std::string day = "20061019";
  int counter = 57;
  EXPECT_EQ(Save("20061020", "140509", day, counter), "営業部_PC0120061020140509001");
  EXPECT_EQ(day, "20061020");
  EXPECT_EQ(Save("20061020", "140510", day, counter), "営業部_PC0120061020140510002");
  EXPECT_EQ(counter, 3);

  day.clear();  // never saved before
  counter = 12;
  EXPECT_EQ(Save("20061020", "000000", day, counter), "営業部_PC0120061020000000001");
}

TEST(DailyCounter, NineHundredNinetyNineIsFollowedByOne) {
  std::string day = "20061020";
  int counter = 999;
  EXPECT_EQ(Save("20061020", "140509", day, counter), "営業部_PC0120061020140509999");
  EXPECT_EQ(Save("20061020", "140509", day, counter), "営業部_PC0120061020140509001");
  EXPECT_EQ(NextDailyCounter(998), 999);
}

TEST(DailyCounter, AClockSetBackKeepsTheDayAndTheCounter) {
  std::string day = "20061020";
  int counter = 7;
  // The name carries the capture's own date; the day folder stays.
  EXPECT_EQ(Save("20061019", "235959", day, counter), "営業部_PC0120061019235959007");
  EXPECT_EQ(day, "20061020");
  EXPECT_EQ(counter, 8);
}

TEST(ReportName, TheExampleNameAndAnEmptyProject) {
  EXPECT_EQ(ReportFileName("営業部", ReportBaseName("PC01", "20061020", "140509", 7)),
            "営業部_PC0120061020140509007");
  std::string name = ReportFileName("", ReportBaseName("PC01", "20061020", "140509", 7));
  EXPECT_EQ(name, "PC0120061020140509007");
  EXPECT_EQ(name.find('_'), std::string::npos);  // readers see no project
  EXPECT_EQ(ReportFileName("..\\営:業", ReportBaseName("..\\PC/01", "20061020", "140509", 7)),
            "営業_PC0120061020140509007");
}

TEST(ReportName, TheCaptureExtensionIsItsLastFourCharacters) {
  EXPECT_EQ(CaptureExtension("000042_7.jpg"), ".jpg");
  EXPECT_EQ(CaptureExtension("ab"), "ab");
}

TEST(TagName, TheTitleIsCleanedAndCutToFiftyCharacters) {
  EXPECT_EQ(TagFileName("PC0120061020140509007", ""), "PC0120061020140509007_.tag");
  EXPECT_EQ(TagFileName("PC0120061020140509007", " _.?:"), "PC0120061020140509007_.tag");
  EXPECT_EQ(TagFileName("P_PC01", "画面 が.固まる"), "P_PC01_画面が固まる.tag");

  std::string sixty;
  for (int i = 0; i < 30; ++i) sixty += "表a";  // 60 characters; 表 ends in the byte 0x5C
  std::string fifty;
  for (int i = 0; i < 25; ++i) fifty += "表a";
  EXPECT_EQ(TagFileName("N", sixty), "N_" + fifty + ".tag");
}

TEST(TagName, APathOfMoreThan259BytesDoesNotFit) {
  EXPECT_TRUE(PathFits(std::string(259, 'x')));
  EXPECT_FALSE(PathFits(std::string(260, 'x')));
  // The default store, a project of 50 double-byte characters and a title
  // of 50 make 277 bytes.
  std::string project, title;
  for (int i = 0; i < 50; ++i) project += "営", title += "件";
  std::string folder = ReportTagFolder("C:\\ProgramData\\Veltrana\\kestro\\images\\", "20061020");
  std::string name = ReportFileName(project, ReportBaseName("PC01", "20061020", "140509", 7));
  EXPECT_EQ((folder + TagFileName(name, title)).size(), 277u);
  EXPECT_FALSE(PathFits(folder + TagFileName(name, title)));
  EXPECT_TRUE(PathFits(folder + TagFileName(name, "件名")));
}

}  // namespace
