// The help viewer: finds the help file beside the program, shows it as HTML in one window,
// and reports a missing file itself.

#include "FakeDialogs.h"
#include "QtHelpViewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("velmora-help-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string ProgramDir() const { return dir_.string() + "/"; }

    fs::path dir_;
    FakeDialogs dialogs_;
};

TEST_F(HelpViewerTest, ShowsTheHelpFileBesideTheProgramAsHtml) {
    std::ofstream(dir_ / "Guide.hlp")
        << "<html><head><title>Guide Title</title></head>"
           "<body><h1>Composing</h1><p>Click <b>Insert</b>.</p></body></html>";
    QtHelpViewer viewer(dialogs_, ProgramDir());
    viewer.ShowContents("Guide.hlp");

    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_TRUE(viewer.Window()->isVisible());
    EXPECT_EQ(viewer.Window()->windowTitle(), "Guide Title");
    EXPECT_EQ(viewer.Window()->toPlainText(), "Composing\nClick Insert.");
    EXPECT_TRUE(dialogs_.Shown.empty());

    QTextBrowser* first = viewer.Window();
    viewer.Window()->close();
    viewer.ShowContents("Guide.hlp");
    EXPECT_EQ(viewer.Window(), first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(HelpViewerTest, AMissingHelpFileIsReportedAndNothingOpens) {
    QtHelpViewer viewer(dialogs_, ProgramDir());
    viewer.ShowContents("VLM Help.hlp");
    EXPECT_EQ(viewer.Window(), nullptr);
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{{"Information", "Information",
                                                      "The help file '" + ProgramDir() +
                                                          "VLM Help.hlp' has not been found."}}));
}

} // namespace
