// Every window of the program as it starts, over scripted dialogs, the real picture loader,
// fake media players and a scratch program directory; and the user's hands: clicks,
// double-clicks and keys.
#pragma once

#include "FakeAudioPlayer.h"
#include "FakeDialogs.h"
#include "FileBrowser.h"
#include "Forms.h"
#include "GridHands.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "TransitionTiming.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// A picture of `width` by `height` in one colour, written as BMP at `path`.
inline std::string MakeBmp(const std::filesystem::path& path, int width = 40, int height = 30,
                           QRgb colour = qRgb(40, 90, 200)) {
    std::filesystem::create_directories(path.parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(QString::fromStdString(path.string()), "BMP"));
    return path.string();
}

// The user's hands.
inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}
// An item of a pick-only list chosen with the arrow keys, as a user does.
inline void Pick(QComboBox* box, const char* item) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != item; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentText(), item);
}

// From the root down to `folder`, opening each folder of the way with a double-click in
// the directory list.
inline void BrowseTo(FileBrowser& browser, const std::filesystem::path& folder) {
    QTreeWidget* tree = browser.DirectoryListBox1;
    const auto open = [tree](QTreeWidgetItem* item) {
        tree->scrollToItem(item);
        const QRect row = tree->visualItemRect(item); // may run past the list's right edge
        const QPoint at(std::min(row.center().x(), tree->viewport()->width() / 2),
                        row.center().y());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    };
    open(tree->topLevelItem(0));
    ASSERT_EQ(browser.Folder(), "/");
    for (const auto& part : folder.relative_path()) {
        const QList<QTreeWidgetItem*> found = tree->findItems(
            QString::fromStdString(part.string()), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << part;
        open(found.back()); // the sub-folder, below any open folder of that name
    }
    ASSERT_EQ(browser.Folder().toStdString(), folder.string());
}
inline void ClickFile(FileBrowser& browser, const char* name) {
    QListWidget* list = browser.FileListBox1;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
}
inline QStringList Files(const FileBrowser& browser) {
    QStringList names;
    for (int i = 0; i < browser.FileListBox1->count(); ++i)
        names << browser.FileListBox1->item(i)->text();
    return names;
}

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
