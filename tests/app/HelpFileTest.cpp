// The help file that ships beside the program: a guide the viewer shows, with working links.

#include "FakeDialogs.h"
#include "QtHelpViewer.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(HelpFile, ShipsBesideTheProgramAsAGuideWhoseLinksAllLand) {
    const std::filesystem::path file(VELMORA_HELP_FILE);
    ASSERT_EQ(file.filename(), "VLM Help.hlp");
    FakeDialogs dialogs;
    QtHelpViewer viewer(dialogs, file.parent_path().string() + "/");
    viewer.ShowContents("VLM Help.hlp");
    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_EQ(viewer.Window()->windowTitle(), "VLM Builder Help");
    const QString text = viewer.Window()->toPlainText();
    for (const char* topic : {"Composing a card", "Changing, deleting and clearing events",
                              "Saving and opening a card script", "Building the card"})
        EXPECT_TRUE(text.contains(topic)) << topic;

    QFile source(file);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(source.readAll());
    QStringList anchors;
    for (const auto& m : QRegularExpression(R"re(<a name="([^"]+)")re").globalMatch(html))
        anchors << m.captured(1);
    int links = 0;
    for (const auto& m : QRegularExpression(R"re(<a href="#([^"]+)")re").globalMatch(html)) {
        ++links;
        EXPECT_TRUE(anchors.contains(m.captured(1))) << m.captured(1).toStdString();
    }
    EXPECT_GT(links, 0);
}

} // namespace
