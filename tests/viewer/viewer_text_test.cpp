// The texts of the viewer command lookup: Go.bat's bytes and the command
// line that starts a viewer.
#include <gtest/gtest.h>

#include "common/portable/ReportViewer.h"
#include "common/portable/ViewerLookupText.h"

namespace {

TEST(RelayBatch, FourQuotedRedirectionsWithCrLf) {
  const std::string data = "C:\\ProgramData\\Veltrana Data\\kestro\\";
  EXPECT_EQ(viewer::RelayIniPath(data, "temp\\"), data + "temp\\Relay.ini");
  EXPECT_EQ(viewer::RelayBatchPath(data, "Temp\\"), data + "Temp\\Go.bat");
  const std::string ini = "\"C:\\ProgramData\\Veltrana Data\\kestro\\temp\\Relay.ini\"";
  EXPECT_EQ(viewer::RelayBatchText(data + "temp\\Relay.ini"),
            "echo [relay]>" + ini + "\r\n" + "ftype htmlfile>>" + ini + "\r\n" + "ftype giffile>>" + ini + "\r\n" +
                "ftype jpegfile>>" + ini + "\r\n");
  EXPECT_EQ(viewer::RelayBatchCommandLine(data + "temp\\Go.bat"), "\"" + data + "temp\\Go.bat\"");
}

TEST(RelayBatch, ValueErrorMeansNoCommand) {
  EXPECT_EQ(viewer::RelayCommand("error"), "");
  EXPECT_EQ(viewer::RelayCommand(""), "");
  EXPECT_EQ(viewer::RelayCommand("\"C:\\b.exe\" -nohome"), "\"C:\\b.exe\" -nohome");
}

TEST(ViewerCommand, PlaceholderTakesThePath) {
  const std::string picture = "C:\\Data\\my temp\\a.jpg";
  // Quoted placeholder: the quotes stay, the path goes inside.
  EXPECT_EQ(viewer::ViewerCommandLine("\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"", picture),
            "\"C:\\windows\\system32\\winebrowser.exe\" \"C:\\Data\\my temp\\a.jpg\"");
  // Bare placeholder: the path is quoted so that its blank does not split it.
  EXPECT_EQ(viewer::ViewerCommandLine("C:\\b.exe -url %1", picture), "C:\\b.exe -url \"C:\\Data\\my temp\\a.jpg\"");
  EXPECT_EQ(viewer::ViewerCommandLine("b.exe \"%L\"", picture), "b.exe \"C:\\Data\\my temp\\a.jpg\"");
  // Every placeholder is replaced; other percent signs stay.
  EXPECT_EQ(viewer::ViewerCommandLine("b.exe %1 %2 100% \"%1\"", "x.jpg"), "b.exe \"x.jpg\" %2 100% \"x.jpg\"");
}

TEST(ViewerCommand, WithoutPlaceholderTheQuotedPathFollows) {
  EXPECT_EQ(viewer::ViewerCommandLine("\"C:\\Program Files\\b.exe\" -nohome", "C:\\a b\\画面.jpg"),
            "\"C:\\Program Files\\b.exe\" -nohome \"C:\\a b\\画面.jpg\"");
  EXPECT_EQ(viewer::ViewerCommandLine("b.exe %", "x.jpg"), "b.exe % \"x.jpg\"");
}

TEST(ReportViewer, ChosenByTheLastExtensionInAnyCaseAndNoneForATrailingDotOrBlank) {
  EXPECT_TRUE(ReportViewerOf("a.bat.Gif") == ReportViewer::Picture && ReportViewerOf("a.xLs") == ReportViewer::Workbook);
  for (const char* other : {"a.xls.bat", "a.jpg.", "a.jpg ", "a.xls. ", "jpg", "a.xlsx"})
    EXPECT_EQ(ReportViewerOf(other), ReportViewer::None) << other;
}

}  // namespace
