// The project list's lines and its presence in a store listing.
#include <gtest/gtest.h>

#include "client/portable/ProjectList.h"
#include "manager/portable/ProjectListRules.h"

namespace {

TEST(ProjectListRules, TheExampleWrittenIsReadByTheClientLineForLine) {
  const std::string text = ProjectListText(ExampleProjectList());
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "プロジェクトリストの例です");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::vector<std::string> client = ParseProjectList(text);
  ASSERT_EQ(client.size(), 9u);
  client.erase(client.begin());
  EXPECT_EQ(client, ExampleProjectList());
  EXPECT_EQ(ProjectListLines(text), ExampleProjectList());
  EXPECT_EQ(FirstInvalidProjectLine(ExampleProjectList()), -1);
}

TEST(ProjectListRules, LinesOfAnEditedFileAndTheirCheck) {
  // Whatever line ends the editor saved with; empty lines stay.
  EXPECT_EQ(ProjectListLines("a\r\n\r\nb\nc\rd"), (std::vector<std::string>{"a", "", "b", "c", "d"}));
  EXPECT_EQ(FirstInvalidProjectLine({"営業部", "", "a;b"}), 2);
  EXPECT_EQ(FirstInvalidProjectLine({"統括本部", "企画_部", "a b"}), 1);
}

TEST(ProjectListRules, OnlyAReadableListingWithoutTheFileSaysItIsAbsent) {
  const std::string name = kProjectListName;
  const std::vector<std::string> unix = {"drwxr-xr-x 2 u g 4096 Oct 20 10:31 20061020",
                                         "-rw-r--r-- 1 u g 120 Oct 20 10:31 projectlist.txt"};
  const std::vector<std::string> dos = {"10-20-06  10:31AM                  120 ProjectList.TXT"};
  EXPECT_EQ(FileInListing(FolderListing::Ok, unix, true, name), StoreFileState::Present);
  EXPECT_EQ(FileInListing(FolderListing::Ok, dos, true, name), StoreFileState::Present);
  EXPECT_EQ(FileInListing(FolderListing::Ok, {unix[0]}, true, name), StoreFileState::Absent);
  EXPECT_EQ(FileInListing(FolderListing::Absent, {}, true, name), StoreFileState::Absent);
  EXPECT_EQ(FileInListing(FolderListing::Failed, {}, true, name), StoreFileState::Unknown);
  // A line naming it that cannot be read, or a folder of that name, proves nothing.
  EXPECT_EQ(FileInListing(FolderListing::Ok, {"10-20-06 10:31AM 120 projectlist.txt"}, true, name),
            StoreFileState::Unknown);
  EXPECT_EQ(FileInListing(FolderListing::Ok, {"drwxr-xr-x 2 u g 4096 Oct 20 10:31 projectlist.txt"}, true, name),
            StoreFileState::Unknown);
  // A left-over upload is another file.
  EXPECT_EQ(FileInListing(FolderListing::Ok, {"-rw-r--r-- 1 u g 120 Oct 20 10:31 projectlist.txt.tmp"}, true, name),
            StoreFileState::Absent);
  // Shared folder: the entries are names.
  EXPECT_EQ(FileInListing(FolderListing::Ok, {"20061020", " projectlist.txt"}, false, name), StoreFileState::Present);
}

}  // namespace
