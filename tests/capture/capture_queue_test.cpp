#include <gtest/gtest.h>

#include "client/portable/CaptureQueue.h"
#include "client/portable/ProjectList.h"
#include "common/portable/CaptureName.h"

TEST(CaptureName, FollowsTheSixDigitRule) {
  EXPECT_EQ(CaptureName(42, 7), "000042_7.jpg");
  EXPECT_EQ(CaptureName(0, 0), "000000_0.jpg");
  EXPECT_EQ(CaptureName(1234567, 1), "1234567_1.jpg");
  EXPECT_EQ(CaptureName(-5, -2), "-000005_-2.jpg");
  EXPECT_EQ(CaptureName(INT32_MIN, INT32_MAX), "-2147483648_2147483647.jpg");
}

TEST(CaptureName, OnlyNamesOfTheRuleAreCaptureFiles) {
  const char* names[] = {"000042_7.jpg", "1234567_1.jpg", "-000005_-2.jpg", "-2147483648_2147483647.jpg",
                         "42_7.jpg", "000042_07.jpg", "000042_7.JPG", "000042_.jpg", "Undo0.jpg", "2147483648_1.jpg"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(snaptrap::IsCaptureFileName(names[i]), i < 4) << names[i];
}

TEST(CaptureQueue, KeepsOrderAndDropsDuplicates) {
  CaptureQueue queue;
  EXPECT_TRUE(queue.Add("000001_1.jpg"));
  EXPECT_FALSE(queue.Add("000001_1.jpg"));
  EXPECT_TRUE(queue.Add("000001_2.jpg"));
  EXPECT_TRUE(queue.Add("000001_1.JPG"));  // exact, case-sensitive comparison
  ASSERT_EQ(queue.Size(), 3u);
  EXPECT_EQ(queue.Head(), "000001_1.jpg");
  EXPECT_TRUE(queue.Remove("000001_1.jpg"));
  EXPECT_FALSE(queue.Remove("000001_1.jpg"));
  EXPECT_EQ(queue.Head(), "000001_2.jpg");
  // A name handled once may be queued again later.
  EXPECT_TRUE(queue.Add("000001_1.jpg"));
}

TEST(CaptureQueue, MissingHeadIsGivenUpAfterTheLimitOnly) {
  CaptureQueue queue;
  queue.Add("a.jpg");
  queue.Add("b.jpg");
  EXPECT_FALSE(queue.NoteHeadMissing(3));
  EXPECT_FALSE(queue.NoteHeadMissing(3));
  queue.NoteHeadFound();  // the file turned up: the count starts again
  EXPECT_FALSE(queue.NoteHeadMissing(3));
  EXPECT_FALSE(queue.NoteHeadMissing(3));
  EXPECT_TRUE(queue.NoteHeadMissing(3));
  queue.Remove("a.jpg");
  EXPECT_FALSE(queue.NoteHeadMissing(3));  // the next head has its own count
}

TEST(ProjectList, EntryZeroIsEmptyAndLinesAreKeptAsTheyStand) {
  auto list = ParseProjectList("営業部\r\n\r\n開発 \r\n");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1], "営業部");
  EXPECT_EQ(list[2], "");
  EXPECT_EQ(list[3], "開発 ");
  EXPECT_EQ(ParseProjectList("a\nb").size(), 3u);
  EXPECT_EQ(ParseProjectList("").size(), 1u);
}

TEST(ProjectList, LongLinesAreCutTo255BytesOnACharacterBoundary) {
  EXPECT_EQ(ParseProjectList(std::string(300, 'x'))[1].size(), 255u);
  // 254 single bytes, then a double-byte character across byte 255.
  std::string line = std::string(254, 'x') + "表表";
  EXPECT_EQ(ParseProjectList(line)[1], std::string(254, 'x'));
}
