// Browsing the disks for one file: a drive selector, the directory list, the list of the
// folder's files that match the mask, the filter box that sets the mask, and under it the
// file-name box that the editor using the browser fills.
//
// On Linux the "drives" are "/", the user's home folder and the mounted volumes. Masks match
// letters in either case ("sky.bmp" matches "*.BMP"), and a path joins its folder and its
// name with "/".
#pragma once

#include "EditorTexts.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <span>
#include <string>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

class FileBrowser final : public QWidget {
    Q_OBJECT
public:
    // `filter` lists the filter box's entries; the first sets the mask at the start.
    FileBrowser(std::span<const editortext::FilterEntry> filter, QWidget* parent);
    static constexpr QSize Size{296, 226};

    // The selected file: its folder and name joined with "/"; empty when none is selected.
    std::string SelectedPath() const;
    // The folder whose files are listed.
    QString Folder() const { return folder_; }
    // Shows `folder`: the drive and the directory list follow it, and its files are listed
    // with none selected.
    void ShowFolder(const QString& folder);
    // Shows the folder of `path` and selects its file, switching the filter to an entry that
    // lists it when the current one does not. When the file is not there, the nearest folder
    // that exists is shown with nothing selected. FileChosen follows, whatever changed.
    void SelectFile(const std::string& path);
    // Selects nothing; FileChosen follows when a file was selected.
    void ClearSelection();

    QComboBox* DriveComboBox1 = nullptr;
    QTreeWidget* DirectoryListBox1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QComboBox* FilterComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr; // the file-name box: the browser never writes it

signals:
    // The selection changed (`path` is then the new SelectedPath(), empty when none), or the
    // user clicked the file that was already selected.
    void FileChosen(const std::string& path);

protected:
    // Volumes come and go: the drive selector is read again whenever the browser is shown.
    void showEvent(QShowEvent* event) override;

private:
    void FillDrives();
    void ShowDrive();
    void FillDirectories();
    void FillFiles();
    void FilterChanged(int entry);
    void DriveChanged(int drive);
    void DirectoryActivated(QTreeWidgetItem* item);
    // Tells the editor when the selected path is no longer the one it was last told.
    void SelectionMayHaveChanged();
    void Tell();

    std::span<const editortext::FilterEntry> filter_;
    QStringList masks_;
    QString folder_;
    std::string told_;   // the path FileChosen last carried
    bool quiet_ = false; // while SelectFile works: it tells once, at its end
};
