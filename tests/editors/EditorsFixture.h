// The event editors over a fake host, scripted dialogs, the real picture loader and fake
// media players, in a scratch program directory: nothing of the main window.
#pragma once

#include "EditorHands.h"
#include "FakeAudioPlayer.h"
#include "FakeDialogs.h"
#include "FakeEditorHost.h"
#include "Music.h"
#include "OpenWin.h"
#include "Pause.h"
#include "Previews.h"
#include "QtPictureLoader.h"
#include "RestBack.h"
#include "Sound2.h"
#include "Text.h"
#include "TransitionTiming.h"
#include "background.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

class EditorsFixture : public ::testing::Test {
protected:
    EditorsFixture()
        : dir_(std::filesystem::temp_directory_path() /
               ("velmora-editors-" + std::to_string(::getpid()))),
          host_((std::filesystem::create_directories(dir_), dir_.string() + "/")) {
        host_.Window().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_.Window()));
    }
    ~EditorsFixture() override { std::filesystem::remove_all(dir_); }

    void AddRow(int at, const EventCells& cells) {
        host_.EditScript("Change", [&](CardScript& s) { s.WriteEventRow(at, false, cells); });
    }
    std::vector<EventCells> Rows() {
        std::vector<EventCells> rows;
        for (int r = 1; r < host_.Script().RowCount(); ++r)
            rows.push_back(host_.Script().Row(r).Cells);
        return rows;
    }

    std::filesystem::path dir_;
    FakeDialogs dialogs_;
    QtPictureLoader pictures_;
    FakeAudioPlayer soundPlayer_, musicPlayer_;
    FakeEditorHost host_;
    TForm2 background_{host_, dialogs_, pictures_};
    TForm7 placement_{host_, dialogs_, pictures_};
    TForm3 text_{host_, dialogs_, placement_};
    TForm5 sound_{host_, dialogs_, soundPlayer_};
    TForm8 music_{host_, dialogs_, musicPlayer_};
    TForm4 pause_{host_, dialogs_};
    TForm6 windowOpening_{host_, dialogs_};
    TForm12 restore_{host_, dialogs_};
};
