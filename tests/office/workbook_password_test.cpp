#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "office/portable/ReportCellText.h"
#include "office/portable/WorkbookPassword.h"

TEST(WorkbookPasswordRule, GivesFourOrFiveDigitsForEveryTimestamp) {
  std::set<std::string> distinct;
  int checked = 0;
  // Every day of several years at a spread of times.
  for (int year : {1999, 2000, 2024, 2038, 2099}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) {
        for (int second = 0; second < 86400; second += 4111) {
          char stamp[32];
          std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", year, month, day, second / 3600,
                        second / 60 % 60, second % 60);
          std::string password, again;
          ASSERT_TRUE(office::fncMakePwd(stamp, password)) << stamp;
          ASSERT_TRUE(password.size() == 4 || password.size() == 5) << stamp << " -> " << password;
          ASSERT_EQ(password.find_first_not_of("0123456789"), std::string::npos) << password;
          ASSERT_TRUE(office::fncMakePwd(stamp, again));
          ASSERT_EQ(password, again) << stamp;
          distinct.insert(password);
          ++checked;
        }
      }
    }
  }
  // Neighbouring timestamps should not share one password.
  EXPECT_GT(distinct.size(), static_cast<size_t>(checked) / 3);
}

TEST(WorkbookPasswordRule, TheLimitsOfTheTimestamp) {
  std::string password;
  EXPECT_TRUE(office::fncMakePwd("00000000000000", password));
  EXPECT_TRUE(office::fncMakePwd("99999999999999", password));
  EXPECT_GE(password.size(), 4u);
  std::string a, b;
  office::fncMakePwd("20240501093000", a);
  office::fncMakePwd("20240501093001", b);
  EXPECT_NE(a, b);
}

TEST(WorkbookPasswordRule, RefusesWhatIsNotFourteenDigitsAndClearsTheOutput) {
  for (const char* bad : {"", "2024050109300", "202405010930000", "2024/05/01 09:", "2024050109300a", " 20240501093000"}) {
    std::string password = "stale";
    EXPECT_FALSE(office::fncMakePwd(bad, password)) << bad;
    EXPECT_TRUE(password.empty()) << bad;
  }
}

TEST(ReportCellLines, ALineFeedGoesOnlyBetweenTexts) {
  EXPECT_EQ(office::JoinCellLines({"", "abc"}), "abc");
  EXPECT_EQ(office::JoinCellLines({"a", "b", "c"}), "a\nb\nc");
  EXPECT_EQ(office::JoinCellLines({"", "", ""}), "");
  EXPECT_EQ(office::JoinCellLines({}), "");
  EXPECT_EQ(office::JoinCellLines({"詳細", ""}), "詳細\n");  // the rule as stated: a later empty line keeps its feed
}

TEST(ReportDay, OnlyCalendarDaysPass) {
  for (const char* good : {"20240501", "20240229", "20000229", "19991231"}) EXPECT_TRUE(office::IsCalendarDay(good)) << good;
  for (const char* bad : {"", "2024051", "202405011", "20230229", "19000229", "20241301", "20240431", "20240500",
                          "2024-5-1", "00000101"})
    EXPECT_FALSE(office::IsCalendarDay(bad)) << bad;
}
