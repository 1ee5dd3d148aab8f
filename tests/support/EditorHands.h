// The user's hands on the editors' controls: clicks, picks from a list and the way through
// the file browser; and the pictures they browse to.
#pragma once

#include "FileBrowser.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

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
