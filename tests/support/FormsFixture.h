// Every window of the program as it starts, over scripted dialogs, the real picture loader,
// fake media players and a scratch program directory; and the user's hands: clicks,
// double-clicks and keys.
#pragma once

#include "EditorHands.h"
#include "FakeAudioPlayer.h"
#include "FakeDialogs.h"
#include "Forms.h"
#include "GridHands.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "TransitionTiming.h"

#include <QAction>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class FormsTest : public ::testing::Test {
protected:
    FormsTest()
        : dir_(std::filesystem::temp_directory_path() /
               ("velmora-forms-" + std::to_string(::getpid()))),
          forms_(dialogs_, help_, pictures_, textImages_,
                 ProgramFiles::AllIn(
                     (std::filesystem::create_directories(dir_), dir_.string() + "/")),
                 soundPlayer_, musicPlayer_) {
        forms_.Form1.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&forms_.Form1));
    }
    ~FormsTest() override { std::filesystem::remove_all(dir_); }

    TForm1& Main() { return forms_.Form1; }

    void ClickMain(int button) { Click(MainButton(Main(), button)); }
    void ClickRow(int scriptRow) { ::ClickRow(Main(), scriptRow); }
    void DoubleClickRow(int scriptRow) { ::DoubleClickRow(Main(), scriptRow); }
    void MenuItem(const char* text) {
        for (QAction* item : Main().findChildren<QAction*>())
            if (item->text() == text) return item->trigger();
        ADD_FAILURE() << "no menu item " << text;
    }
    // Insert on the selected row, then the chooser's button of that caption.
    void Insert(const char* choice) {
        ClickMain(1);
        for (QPushButton* button : forms_.Form10.Buttons)
            if (button->text() == choice) return Click(button);
        ADD_FAILURE() << "no chooser button " << choice;
    }
    void AddRow(int at, const EventCells& cells) {
        Main().EditScript("Change", [&](CardScript& s) { s.WriteEventRow(at, false, cells); });
    }
    std::vector<EventCells> Rows() {
        std::vector<EventCells> rows;
        for (int r = 1; r < Main().Script().RowCount(); ++r)
            rows.push_back(Main().Script().Row(r).Cells);
        return rows;
    }

    std::filesystem::path dir_;
    FakeDialogs dialogs_;
    FakeHelpViewer help_;
    QtPictureLoader pictures_;
    QtTextImageRenderer textImages_{pictures_};
    FakeAudioPlayer soundPlayer_, musicPlayer_;
    Forms forms_;
};
