#include "FileBrowser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

namespace {
// The browser's layout: the file list with the directory and drive groups beside it, then the
// filter box and the file-name box across the whole width.
constexpr QRect kFileListRect(0, 0, 150, 170);
constexpr QRect kDirectoryGroupRect(156, 0, 140, 126);
constexpr QRect kDirectoryListRect(6, 18, 128, 102);
constexpr QRect kDriveGroupRect(156, 126, 140, 46);
constexpr QRect kDriveRect(6, 17, 128, 22);
constexpr QRect kFilterRect(0, 176, 296, 22);
constexpr QRect kFileNameRect(0, 204, 296, 22);
constexpr int kDirectoryIndent = 8;
constexpr int kPathRole = Qt::UserRole;

QString Clean(const QString& folder) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QStringList Masks(const editortext::FilterEntry& entry) {
    return QString(entry.Masks).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// `folder` is `root` or lies below it.
bool IsWithin(const QString& folder, const QString& root) {
    return folder == root || root == QLatin1String("/") ||
           folder.startsWith(root + QLatin1Char('/'));
}

// The "drives" of a Linux desktop: the root, the home folder, then every mounted volume.
QStringList DriveRoots() {
    QStringList volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir()) volumes << root;
    }
    volumes.sort();
    QStringList roots{QStringLiteral("/"), Clean(QDir::homePath())};
    roots << volumes;
    roots.removeDuplicates(); // a home or a volume may be the root itself
    return roots;
}

// The folders as an indented list: no branch marks, since every folder shown is open.
class DirectoryList final : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    QTreeWidgetItem* Opened = nullptr; // the folder whose files are listed

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    // Backspace opens the folder above, as in the desktop's file managers.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Backspace && Opened && Opened->parent())
            emit itemActivated(Opened->parent(), 0);
        else
            QTreeWidget::keyPressEvent(event);
    }
};

// A list that also tells of a click on the item that was already selected, which changes no
// selection but is the user choosing that file again.
class FileList final : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> Reselected;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const QListWidgetItem* before = currentItem();
        const bool wasSelected = before && before->isSelected();
        QListWidget::mousePressEvent(event);
        if (wasSelected && event->button() == Qt::LeftButton &&
            itemAt(event->position().toPoint()) == before && before->isSelected())
            Reselected();
    }
};
} // namespace

FileBrowser::FileBrowser(std::span<const editortext::FilterEntry> filter, QWidget* parent)
    : QWidget(parent), filter_(filter) {
    setFixedSize(Size);

    auto* files = new FileList(this);
    files->Reselected = [this] {
        if (!quiet_) Tell();
    };
    FileListBox1 = files;
    FileListBox1->setGeometry(kFileListRect);
    FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this,
            &FileBrowser::SelectionMayHaveChanged);

    auto* directoryGroup = new QGroupBox(editortext::kDirectory, this);
    directoryGroup->setGeometry(kDirectoryGroupRect);
    DirectoryListBox1 = new DirectoryList(directoryGroup);
    DirectoryListBox1->setGeometry(kDirectoryListRect);
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setRootIsDecorated(false);
    DirectoryListBox1->setItemsExpandable(false);
    DirectoryListBox1->setIndentation(kDirectoryIndent);
    // Long names are scrolled to rather than cut short.
    DirectoryListBox1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DirectoryListBox1->header()->setStretchLastSection(false);
    // A double-click or Enter opens the folder; the arrow keys only move the highlight.
    connect(DirectoryListBox1, &QTreeWidget::itemActivated, this, &FileBrowser::DirectoryActivated);

    auto* driveGroup = new QGroupBox(editortext::kDrive, this);
    driveGroup->setGeometry(kDriveGroupRect);
    DriveComboBox1 = new QComboBox(driveGroup);
    DriveComboBox1->setGeometry(kDriveRect);
    connect(DriveComboBox1, &QComboBox::activated, this, &FileBrowser::DriveChanged);

    FilterComboBox1 = new QComboBox(this);
    FilterComboBox1->setGeometry(kFilterRect);
    for (const editortext::FilterEntry& entry : filter_)
        FilterComboBox1->addItem(entry.Description);
    connect(FilterComboBox1, &QComboBox::activated, this, &FileBrowser::FilterChanged);
    masks_ = Masks(filter_.front());

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(kFileNameRect);

    // Named as the controls they stand for, so that tests and tools find them.
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FilterComboBox1->setObjectName(QStringLiteral("FilterComboBox1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    setTabOrder(DriveComboBox1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, FileListBox1);
    setTabOrder(FileListBox1, FilterComboBox1);
    setTabOrder(FilterComboBox1, Edit1);

    FillDrives();
    ShowFolder(QDir::currentPath());
}

std::string FileBrowser::SelectedPath() const {
    const QList<QListWidgetItem*> selected = FileListBox1->selectedItems();
    if (selected.isEmpty()) return {};
    return QDir(folder_).filePath(selected.front()->text()).toStdString();
}

void FileBrowser::ShowFolder(const QString& folder) {
    folder_ = Clean(folder);
    ShowDrive();
    FillDirectories();
    FillFiles();
}

void FileBrowser::SelectFile(const std::string& path) {
    quiet_ = true;
    const QFileInfo file(QString::fromStdString(path));
    const QString folder = path.empty() ? folder_ : Clean(file.absolutePath());
    QString shown = folder;
    while (!QFileInfo(shown).isDir() && shown != QLatin1String("/"))
        shown = Clean(shown + QLatin1String("/.."));
    ShowFolder(shown);

    const QString name = file.fileName();
    if (!path.empty() && shown == folder && file.isFile()) {
        if (!QDir::match(masks_, name)) {
            const auto lists = std::find_if(filter_.begin(), filter_.end(), [&](const auto& e) {
                return QDir::match(Masks(e), name);
            });
            if (lists != filter_.end()) {
                const int entry = int(lists - filter_.begin());
                FilterComboBox1->setCurrentIndex(entry);
                FilterChanged(entry);
            }
        }
        const QList<QListWidgetItem*> found = FileListBox1->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty()) FileListBox1->setCurrentItem(found.front());
    }
    quiet_ = false;
    Tell();
}

void FileBrowser::ClearSelection() {
    FileListBox1->setCurrentItem(nullptr);
    FileListBox1->clearSelection();
}

void FileBrowser::showEvent(QShowEvent* event) {
    FillDrives();
    QWidget::showEvent(event);
}

void FileBrowser::FillDrives() {
    const QSignalBlocker blocker(DriveComboBox1);
    DriveComboBox1->clear();
    for (const QString& root : DriveRoots())
        DriveComboBox1->addItem(root, root);
    // The list opens as wide as its longest entry.
    DriveComboBox1->view()->setMinimumWidth(DriveComboBox1->view()->sizeHintForColumn(0));
    ShowDrive();
}

void FileBrowser::ShowDrive() {
    // The drive of a folder is the deepest one that holds it.
    int drive = 0;
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemData(i).toString();
        if (IsWithin(folder_, root) &&
            root.size() > DriveComboBox1->itemData(drive).toString().size())
            drive = i;
    }
    const QSignalBlocker blocker(DriveComboBox1);
    DriveComboBox1->setCurrentIndex(drive);
}

void FileBrowser::FillDirectories() {
    DirectoryListBox1->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The root, each folder down to the current one, then the current one's sub-folders.
    auto* item = new QTreeWidgetItem(DirectoryListBox1, {QStringLiteral("/")});
    item->setData(0, kPathRole, QStringLiteral("/"));
    item->setIcon(0, open);
    QString path;
    for (const QString& part : folder_.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        item = new QTreeWidgetItem(item, {part});
        item->setData(0, kPathRole, path);
        item->setIcon(0, open);
    }
    QTreeWidgetItem* current = item;
    const QDir dir(folder_);
    for (const QString& sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* child = new QTreeWidgetItem(current, {sub});
        child->setData(0, kPathRole, dir.filePath(sub));
        child->setIcon(0, closed);
    }
    static_cast<DirectoryList*>(DirectoryListBox1)->Opened = current;
    DirectoryListBox1->expandAll();
    DirectoryListBox1->setCurrentItem(current);
    DirectoryListBox1->scrollToItem(current);
}

void FileBrowser::FillFiles() {
    FileListBox1->clear();
    // Without QDir::CaseSensitive the masks match letters in either case.
    FileListBox1->addItems(
        QDir(folder_).entryList(masks_, QDir::Files, QDir::Name | QDir::IgnoreCase));
    SelectionMayHaveChanged();
}

void FileBrowser::FilterChanged(int entry) {
    masks_ = Masks(filter_[size_t(entry)]);
    FillFiles();
}

void FileBrowser::DriveChanged(int drive) {
    ShowFolder(DriveComboBox1->itemData(drive).toString());
}

void FileBrowser::DirectoryActivated(QTreeWidgetItem* item) {
    ShowFolder(item->data(0, kPathRole).toString());
}

void FileBrowser::SelectionMayHaveChanged() {
    if (!quiet_ && SelectedPath() != told_) Tell();
}

void FileBrowser::Tell() {
    told_ = SelectedPath();
    emit FileChosen(told_);
}
