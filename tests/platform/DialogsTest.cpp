// The boxes as Qt draws them (built, never run) and the translation of the forms' file
// dialog descriptions.

#include "QtDialogs.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace qtdialogs;

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* b : box.buttons())
        texts << b->text();
    return texts;
}

TEST(QtDialogs, InformationBoxHasItsCaptionIconAndOneOkButton) {
    const auto box = MakeInformationBox("You cannot delete the window opening Event.");
    EXPECT_EQ(box->windowTitle(), "Information");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->text(), "You cannot delete the window opening Event.");
    EXPECT_EQ(ButtonTexts(*box), QStringList{"OK"});
}

TEST(QtDialogs, ConfirmBoxAsksYesOrNoAndNoIsTheWayOut) {
    const auto box = MakeConfirmBox("Do you want to clear all the Events in the list ?");
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->text(), "Do you want to clear all the Events in the list ?");
    ASSERT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(box->defaultButton()->text(), "&Yes");
    EXPECT_EQ(box->buttonRole(box->defaultButton()), QMessageBox::YesRole);
    EXPECT_EQ(box->escapeButton()->text(), "&No");
    EXPECT_EQ(box->buttonRole(box->escapeButton()), QMessageBox::NoRole);
}

TEST(QtDialogs, SaveChangesBoxAnswersByTheButtonClickedAndEscapeCancels) {
    const std::vector<std::pair<QString, SaveChanges>> buttons = {
        {"&Save", SaveChanges::Save},
        {"&Discard", SaveChanges::Discard},
        {"&Cancel", SaveChanges::Cancel}};
    for (const auto& [text, answer] : buttons) {
        const auto box = MakeSaveChangesBox("Do you want to save the changes to the card ?");
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_EQ(box->buttons().size(), 3); // laid out in the desktop's order
        EXPECT_EQ(box->defaultButton()->text(), "&Save");
        EXPECT_EQ(box->escapeButton()->text(), "&Cancel");
        for (QAbstractButton* b : box->buttons())
            if (b->text() == text) b->click();
        EXPECT_EQ(SaveChangesAnswer(*box), answer) << text.toStdString();
    }
}

TEST(QtDialogs, PlainAndErrorBoxesShowCarriageReturnsAsLineBreaks) {
    const auto plain = MakePlainBox("VLM Builder", "   Name\rnotice\r\n  Version");
    EXPECT_EQ(plain->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(plain->text(), "   Name\nnotice\n  Version");
    EXPECT_EQ(MakeErrorBox("VLM Builder", "File not found")->windowTitle(), "VLM Builder");
}

TEST(QtDialogs, FormFileDialogsBecomeNameFiltersAndSuffixes) {
    EXPECT_EQ(NameFilters("VLM Script (*.vlm)|*.vlm"), QStringList{"VLM Script (*.vlm)"});
    // The description shows the mask in another case: kept as it is, Qt matches either case.
    EXPECT_EQ(NameFilters("Executable file (*.Exe)|*.exe"), QStringList{"Executable file (*.Exe)"});
    EXPECT_EQ(NameFilters("Pictures|*.bmp;*.gif|All files (*.*)|*.*"),
              (QStringList{"Pictures (*.bmp *.gif)", "All files (*.*)"}));
    EXPECT_EQ(DefaultSuffix("*.vlm"), "vlm");
    EXPECT_EQ(DefaultSuffix(".vlm"), "vlm");
    EXPECT_EQ(DefaultSuffix("*.Exe"), "Exe");
}

} // namespace
