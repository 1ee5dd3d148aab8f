#include "QtDialogs.h"

#include "FontDialog.h"
#include "PlatformTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>

namespace qtdialogs {
namespace {
// Boxes belong to the window the user works in, so that they stay in front of it.
QWidget* Owner() {
    return QApplication::activeWindow();
}

std::unique_ptr<QMessageBox> MakeBox(QMessageBox::Icon icon, const std::string& caption,
                                     const std::string& text) {
    auto box = std::make_unique<QMessageBox>(icon, QString::fromStdString(caption),
                                             DisplayText(text), QMessageBox::NoButton, Owner());
    box->setTextFormat(Qt::PlainText);
    return box;
}

std::unique_ptr<QMessageBox> MakeOkBox(QMessageBox::Icon icon, const std::string& caption,
                                       const std::string& text) {
    auto box = MakeBox(icon, caption, text);
    box->setDefaultButton(box->addButton(platformtext::kOk, QMessageBox::AcceptRole));
    return box;
}

std::optional<std::string> RunFileDialog(QFileDialog& dialog, const FileDialogSpec& form) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(NameFilters(form.Filter));
    dialog.setDefaultSuffix(DefaultSuffix(form.DefaultExt));
    if (!form.FileName.empty()) dialog.selectFile(QString::fromStdString(form.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}
} // namespace

QString DisplayText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QStringList NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString masks = parts[i + 1];
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the masks from the description's last parentheses. When the description
        // already shows them (matching is case-insensitive), it is kept as the user sees it.
        if (description.endsWith(QLatin1Char('(') + masks + QLatin1Char(')'), Qt::CaseInsensitive))
            filters << description;
        else
            filters << description + QLatin1String(" (") + masks + QLatin1Char(')');
    }
    return filters;
}

QString DefaultSuffix(const std::string& defaultExt) {
    const QString ext = QString::fromStdString(defaultExt);
    return ext.mid(ext.lastIndexOf(QLatin1Char('.')) + 1);
}

std::unique_ptr<QMessageBox> MakeInformationBox(const std::string& text) {
    return MakeOkBox(QMessageBox::Information, platformtext::kInformationCaption, text);
}

std::unique_ptr<QMessageBox> MakeConfirmBox(const std::string& text) {
    auto box = MakeBox(QMessageBox::Question, platformtext::kConfirmCaption, text);
    box->setDefaultButton(box->addButton(platformtext::kYes, QMessageBox::YesRole));
    box->setEscapeButton(box->addButton(platformtext::kNo, QMessageBox::NoRole));
    return box;
}

std::unique_ptr<QMessageBox> MakeSaveChangesBox(const std::string& text) {
    auto box = MakeBox(QMessageBox::Question, platformtext::kConfirmCaption, text);
    box->setDefaultButton(box->addButton(platformtext::kSave, QMessageBox::AcceptRole));
    box->addButton(platformtext::kDiscard, QMessageBox::DestructiveRole);
    box->setEscapeButton(box->addButton(platformtext::kCancel, QMessageBox::RejectRole));
    return box;
}

SaveChanges SaveChangesAnswer(const QMessageBox& box) {
    // The close box of the window counts as Cancel: it presses the escape button.
    switch (box.buttonRole(box.clickedButton())) {
    case QMessageBox::AcceptRole:
        return SaveChanges::Save;
    case QMessageBox::DestructiveRole:
        return SaveChanges::Discard;
    default:
        return SaveChanges::Cancel;
    }
}

std::unique_ptr<QMessageBox> MakePlainBox(const std::string& caption, const std::string& text) {
    return MakeOkBox(QMessageBox::NoIcon, caption, text);
}

std::unique_ptr<QMessageBox> MakeErrorBox(const std::string& caption, const std::string& message) {
    return MakeOkBox(QMessageBox::Critical, caption, message);
}
} // namespace qtdialogs

QtDialogs::QtDialogs(std::string applicationTitle)
    : applicationTitle_(std::move(applicationTitle)) {}

void QtDialogs::Information(const std::string& text) {
    qtdialogs::MakeInformationBox(text)->exec();
}

bool QtDialogs::Confirm(const std::string& text) {
    auto box = qtdialogs::MakeConfirmBox(text);
    box->exec();
    return box->buttonRole(box->clickedButton()) == QMessageBox::YesRole;
}

SaveChanges QtDialogs::AskSaveChanges(const std::string& text) {
    auto box = qtdialogs::MakeSaveChangesBox(text);
    box->exec();
    return qtdialogs::SaveChangesAnswer(*box);
}

void QtDialogs::PlainMessage(const std::string& caption, const std::string& text) {
    qtdialogs::MakePlainBox(caption, text)->exec();
}

void QtDialogs::Error(const std::string& message) {
    qtdialogs::MakeErrorBox(applicationTitle_, message)->exec();
}

std::optional<std::string> QtDialogs::OpenFileName(const FileDialogSpec& form) {
    QFileDialog dialog(qtdialogs::Owner());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    return qtdialogs::RunFileDialog(dialog, form);
}

std::optional<std::string> QtDialogs::SaveFileName(const FileDialogSpec& form) {
    QFileDialog dialog(qtdialogs::Owner());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return qtdialogs::RunFileDialog(dialog, form);
}

bool QtDialogs::ChooseFont(TFont& font) {
    FontDialog dialog(qtdialogs::Owner());
    dialog.SetChoice(font);
    if (dialog.exec() != QDialog::Accepted) return false;
    font = dialog.Choice();
    return true;
}
