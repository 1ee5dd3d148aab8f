// "&Build Card" from the main window, with the real progress window and scripted dialogs.

#include "FakeDialogs.h"
#include "FakePictures.h"
#include "menu.h"
#include "progr.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class BuildCommandTest : public ::testing::Test {
protected:
    BuildCommandTest()
        : dir_(fs::temp_directory_path() / ("velmora-buildcmd-" + std::to_string(::getpid()))),
          form_(dialogs_, help_,
                ProgramFiles::AllIn((fs::create_directories(dir_), dir_.string() + "/"))) {
        std::ofstream(dir_ / "model.ex_", std::ios::binary) << "PLAYER";
        form_.AttachBuilder(progress_, pictures_);
        form_.show();
    }
    ~BuildCommandTest() override { fs::remove_all(dir_); }

    void ClickBuild() { QTest::mouseClick(form_.findChild<QPushButton*>("Button3"), Qt::LeftButton); }

    fs::path dir_;
    FakeDialogs dialogs_;
    FakeHelpViewer help_;
    FakePictures pictures_;
    TForm9 progress_;
    TForm1 form_;
};

TEST_F(BuildCommandTest, CancelWritesNothing) {
    dialogs_.FileAnswers = {std::nullopt};
    ClickBuild();
    ASSERT_EQ(dialogs_.Shown.size(), 1u);
    EXPECT_EQ(dialogs_.Shown[0], (ShownBox{"Save", "*.Exe", "Executable file (*.Exe)|*.exe"}));
    EXPECT_EQ(progress_.ProgressBar1->value(), -1) << "the progress window was never used";
    EXPECT_FALSE(fs::exists(dir_ / "temp.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "script.txt"));
}

TEST_F(BuildCommandTest, BuildsTheCardAndSaysSo) {
    const fs::path card = dir_ / "greeting.exe";
    dialogs_.FileAnswers = {card.string()};
    ClickBuild();
    EXPECT_EQ(Read(card), "PLAYERFin du fichier executable\r\nscript.txt\r\n21\r\nFin textes\r\n0\r\n0\r\ns1: :1000,0,0\r\n");
    ASSERT_EQ(dialogs_.Shown.size(), 2u);
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"Information", "Information", "The card has been successfully created"}));
    EXPECT_FALSE(progress_.isVisible());
    EXPECT_EQ(progress_.ProgressBar1->value(), 100);
    EXPECT_EQ(progress_.Label1->text().toStdString(), "\nCompacting...");
}

TEST_F(BuildCommandTest, AFileErrorReachesTheErrorBox) {
    fs::remove(dir_ / "model.ex_");
    const fs::path card = dir_ / "greeting.exe";
    dialogs_.FileAnswers = {card.string()};
    ClickBuild();
    ASSERT_EQ(dialogs_.Shown.size(), 2u);
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"Error", "", "File not found"}));
    EXPECT_FALSE(fs::exists(card));
    EXPECT_FALSE(progress_.isVisible()) << "the progress window goes away with the error";
}

// A notice that stops the build shows once the progress window, always on top, has gone.
TEST_F(BuildCommandTest, ANoticeShowsWithTheProgressWindowGone) {
    const std::string missing = (dir_ / "missing.wav").string();
    form_.SetTarget(2, false);
    form_.WriteEventRow({"Sound effect", missing, "None", "None"});
    std::vector<bool> progressShown;
    dialogs_.WhileInformation = [&] { progressShown.push_back(progress_.isVisible()); };
    dialogs_.FileAnswers = {(dir_ / "card").string()};
    ClickBuild();
    EXPECT_EQ(dialogs_.Shown.back().Text, "The Wav file '" + missing + "' has not been found.");
    EXPECT_EQ(progressShown, std::vector<bool>{false});
}

// The build runs aside: while a picture loads, the event loop goes on, the progress window
// shows where the build is, and the main window takes no input and does not close.
TEST_F(BuildCommandTest, TheWindowsLiveWhileTheCardIsBuilt) {
    struct SlowPictures final : PictureLoader {
        PictureLoader& real;
        std::atomic<bool> loading{false}, looked{false};
        explicit SlowPictures(PictureLoader& r) : real(r) {}
        TPicture Load(const std::string& path) override {
            loading = true;
            for (int i = 0; i < 500 && !looked; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return real.Load(path);
        }
        TPicture ReduceTo8Bits(const TPicture& p) override { return real.ReduceTo8Bits(p); }
    } slow(pictures_);
    const std::string sky = (dir_ / "sky.bmp").string();
    std::ofstream(sky) << "BM";
    pictures_.ByPath[sky] = {1, 1, {0}};
    form_.AttachBuilder(progress_, slow);
    form_.SetTarget(2, false);
    form_.WriteEventRow({"Background", sky, "Zoom", "1"});

    bool enabled = true, closed = true;
    QString label;
    QTimer look;
    look.callOnTimeout([&] {
        if (!slow.loading || slow.looked) return;
        enabled = form_.isEnabled();
        closed = form_.close();
        label = progress_.Label1->text();
        slow.looked = true;
    });
    look.start(1);
    dialogs_.FileAnswers = {(dir_ / "card").string()};
    ClickBuild();
    EXPECT_TRUE(slow.looked) << "the event loop stood still during the build";
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(closed);
    EXPECT_EQ(label, "\nInitializing...");
    EXPECT_TRUE(form_.isEnabled());
    EXPECT_EQ(dialogs_.Shown.back().Text, "The card has been successfully created");
}

// F5 builds the card as Build Card does, beside the tool, without asking for a file or saying
// that it did, and plays it; the preview's card is a working file of the build.
TEST_F(BuildCommandTest, PreviewBuildsTheSameCardBesideTheToolAndPlaysIt) {
    struct : CardPreview {
        std::vector<std::string> Played;
        void Play(const std::string& card) override { Played.push_back(card); }
    } preview;
    form_.AttachPreview(preview);
    const fs::path card = dir_ / "greeting.exe", previewCard = dir_ / "Card preview.exe";
    dialogs_.FileAnswers = {card.string()};
    ClickBuild();
    for (int run = 1; run <= 2; ++run) {
        QApplication::setActiveWindow(&form_); // as after the success box
        QTest::keySequence(&form_, QKeySequence(Qt::Key_F5));
        EXPECT_EQ(preview.Played, std::vector<std::string>(size_t(run), previewCard.string()));
        EXPECT_EQ(Read(previewCard), Read(card));
        EXPECT_EQ(dialogs_.Shown.size(), 2u) << dialogs_.Shown.back().Text;
        EXPECT_TRUE(form_.isEnabled());
    }
    dialogs_.FileAnswers = {previewCard.string()};
    ClickBuild();
    EXPECT_NE(dialogs_.Shown.back().Text.find("the build itself uses the file"), std::string::npos);
    EXPECT_TRUE(form_.close());
    EXPECT_FALSE(fs::exists(previewCard));
    EXPECT_TRUE(fs::exists(card));
}

TEST(ProgressWindow, LooksAsItShould) {
    TForm9 progress;
    EXPECT_EQ(progress.windowTitle(), "Velmora");
    EXPECT_EQ(progress.size(), QSize(235, 62));
    EXPECT_TRUE(progress.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(progress.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(progress.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    progress.Show();
    progress.Labl("\rSaving Background...\rTransition #12");
    progress.Progresse(64);
    EXPECT_EQ(progress.Label1->text(), "\nSaving Background...\nTransition #12");
    EXPECT_EQ(progress.Label1->height(), 41);
    EXPECT_EQ(progress.ProgressBar1->height(), 16);
    EXPECT_EQ(progress.ProgressBar1->value(), 64);
    if (const char* shot = std::getenv("VELMORA_SCREENSHOT_DIR"))
        progress.grab().save(QString(shot) + "/progress.png");
    progress.Hide();
    EXPECT_FALSE(progress.isVisible());
}

} // namespace
