#include "menu.h"

#include "AppTexts.h"
#include "BuildTexts.h"
#include "Command.h"
#include "DataCellDelegate.h"
#include "EventGridModel.h"
#include "GuiThread.h"
#include "ScriptReader.h"
#include "ScriptWriter.h"
#include "TempFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QWindow>

#include <filesystem>

namespace {
// The reference layout, in pixels. The frame's title and top line take its first 18 rows;
// the buttons and the grid fill the rest, down to the frame's bottom line.
constexpr QSize kClientSize(398, 265);
constexpr QSize kButtonSize(72, 25);
constexpr int kButtonTop = 19;
constexpr int kFirstButtonLeft = 7;
constexpr int kButtonPitch = 78;
constexpr QRect kGridRect(2, 45, 394, 219);
constexpr int kRowHeight = 18;
constexpr std::array<int, kCardColumnCount> kColumnWidths = {102, 136, 88, 49};

// A grid whose selection bar always rests on one whole row: a click beside the rows or a
// Ctrl+click on the selected row leaves it where it is.
class EventGridView final : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        if (!index.isValid()) return QItemSelectionModel::NoUpdate;
        const QItemSelectionModel::SelectionFlags command =
            QTableView::selectionCommand(index, event);
        return command == QItemSelectionModel::NoUpdate
                   ? command
                   : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    }
};

// Keeps a command's notices until the window shows what they are about.
class HeldNotices final : public InformationSink {
public:
    std::vector<std::string> Texts;
    void Information(const std::string& text) override { Texts.push_back(text); }
};
} // namespace

TForm1::TForm1(Dialogs& dialogs, HelpViewer& help, const ProgramFiles& files)
    : WorkFolder(files.WorkFolder),
      ExecutableSaveDialog{apptext::kExecutableFilter, apptext::kExecutableExt},
      ScriptSaveDialog{apptext::kScriptSaveFilter, apptext::kScriptSaveExt},
      ScriptOpenDialog{apptext::kScriptOpenFilter, apptext::kScriptOpenExt}, dialogs_(dialogs),
      help_(help), programDir_(files.WorkDir), stub_(files.Stub) {
    setWindowTitle(apptext::kCaption);
    // A fixed frame with a system menu and a minimise box, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    file_.Saved = script_.Content();
    CreateControls();
    CreateMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    ShowCurrentRow();
    ShowSteps();
    Button1->setFocus();
}

TForm1::~TForm1() {
    // The base class's destruction still hides and repaints the grid, after script_ is gone:
    // the grid lets go of it first.
    StringGrid1->setModel(nullptr);
}

void TForm1::CreateControls() {
    GroupBox1 = new QGroupBox(apptext::kFrame, this);
    GroupBox1->setFixedSize(kClientSize);
    setCentralWidget(GroupBox1);

    const std::array<std::pair<const char*, void (TForm1::*)()>, 5> buttons = {{
        {apptext::kInsert, &TForm1::Button1Click},
        {apptext::kDelete, &TForm1::Button2Click},
        {apptext::kBuildCard, &TForm1::Button3Click},
        {apptext::kClearAll, &TForm1::EffaceTout},
        {apptext::kExit, &TForm1::Button5Click},
    }};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(buttons[i].first, GroupBox1);
        button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        button->setAutoDefault(true); // Return presses the focused button, as Space does
        button->setGeometry(
            QRect(QPoint(kFirstButtonLeft + int(i) * kButtonPitch, kButtonTop), kButtonSize));
        if (buttons[i].second)
            connect(button, &QPushButton::clicked, this, Command(buttons[i].second));
        if (i == 0) Button1 = button;
    }

    gridModel_ = new EventGridModel(script_, this);
    StringGrid1 = new EventGridView(GroupBox1);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(kGridRect);
    StringGrid1->setModel(gridModel_);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setDragDropMode(QAbstractItemView::NoDragDrop);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setCornerButtonEnabled(false);
    StringGrid1->setShowGrid(true);

    QHeaderView* rows = StringGrid1->verticalHeader(); // no fixed column
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);

    QHeaderView* header = StringGrid1->horizontalHeader(); // the fixed header row
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(kRowHeight);
    // The longest kind, "Restore Background", is read whole: its column is as wide as the
    // grid's delegate asks for it (and the grid line), and the Data column, whose long paths
    // give up their middle anyway, makes the room.
    std::array<int, kCardColumnCount> widths = kColumnWidths;
    QStyleOptionViewItem label;
    label.initFrom(StringGrid1);
    label.features = QStyleOptionViewItem::HasDisplay;
    label.text = cardtext::kRestoreBackground;
    const QStyle* style = StringGrid1->style();
    const int kindWidth =
        style->sizeFromContents(QStyle::CT_ItemViewItem, &label, {}, StringGrid1).width() + 1;
    widths[kColData] -= std::max(0, kindWidth - widths[kColKind]);
    widths[kColKind] = std::max(kindWidth, widths[kColKind]);
    for (int c = 0; c < kCardColumnCount; ++c)
        header->resizeSection(c, widths[size_t(c)]);
    // Paths keep their file name in view; the whole path is the cell's tooltip.
    StringGrid1->setItemDelegateForColumn(kColData, new DataCellDelegate(StringGrid1));

    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    StringGrid1SelectCell(EventGridModel::ScriptRow(current.row()));
            });
    connect(StringGrid1, &QTableView::doubleClicked, this, Command(&TForm1::StringGrid1DblClick));

    // The Insert and Delete keys on the grid act as the buttons.
    const auto gridKey = [this](Qt::Key key, void (TForm1::*handler)()) {
        auto* shortcut = new QShortcut(QKeySequence(key), StringGrid1);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, Command(handler));
    };
    gridKey(Qt::Key_Insert, &TForm1::Button1Click);
    gridKey(Qt::Key_Delete, &TForm1::Button2Click);
}

void TForm1::CreateMenus() {
    // The keys people expect, shown beside their items.
    const auto item = [this](QMenu* menu, const char* text, void (TForm1::*handler)(),
                             QKeySequence key = {}) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, Command(handler));
        return action;
    };
    QMenu* file = menuBar()->addMenu(apptext::kFileMenu);
    item(file, apptext::kOpenItem, &TForm1::Openscript1Click, Qt::CTRL | Qt::Key_O);
    item(file, apptext::kSaveItem, &TForm1::Savescript1Click, Qt::CTRL | Qt::Key_S);
    item(file, apptext::kBuildCardItem, &TForm1::Button3Click, Qt::CTRL | Qt::Key_B);
    item(file, apptext::kPreviewItem, &TForm1::PreviewCard, Qt::Key_F5);
    item(file, apptext::kClearItem, &TForm1::EffaceTout);
    file->addSeparator();
    item(file, apptext::kExitItem, &TForm1::Button5Click, Qt::CTRL | Qt::Key_Q);

    QMenu* edit = menuBar()->addMenu(apptext::kEditMenu);
    undo_ = item(edit, apptext::kUndoItem, &TForm1::Undo1Click, Qt::CTRL | Qt::Key_Z);
    redo_ = item(edit, apptext::kRedoItem, &TForm1::Redo1Click);
    redo_->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});

    // F1 belongs to the Help menu, which has no command of its own: it opens the contents.
    QMenu* help = menuBar()->addMenu(apptext::kHelpMenu);
    item(help, apptext::kContentsItem, &TForm1::Contents1Click, Qt::Key_F1);
    help->addSeparator();
    item(help, apptext::kAboutItem, &TForm1::About1Click);
}

std::function<void()> TForm1::Command(void (TForm1::*handler)()) {
    return [this, handler] { RunCommand(dialogs_, [this, handler] { (this->*handler)(); }); };
}

void TForm1::EditScript(const std::string& step, const ScriptEdit& edit) {
    ShowChange([&] { history_.Change(step, edit); });
}

void TForm1::ContinueStep(const std::string& step, const ScriptEdit& edit) {
    ShowChange([&] { history_.Continue(step, edit); });
}

std::string TForm1::WriteStepName(const EventCells& cells) const {
    return apptext::WriteStep(editMode_, cells[kColKind]);
}

void TForm1::ShowChange(const std::function<void()>& change) {
    struct ShowAfter {
        TForm1* form;
        ~ShowAfter() {
            form->ShowCurrentRow();
            form->ShowTitle();
            form->ShowSteps();
        }
    } showAfter{this};
    gridModel_->Change([&](CardScript&) { change(); });
}

void TForm1::ShowSteps() {
    const auto show = [](QAction* action, bool can, const char* item, const std::string& step) {
        action->setEnabled(can);
        action->setText(QString::fromStdString(apptext::StepItem(item, step)));
    };
    show(undo_, history_.CanUndo(), apptext::kUndoItem, history_.UndoName());
    show(redo_, history_.CanRedo(), apptext::kRedoItem, history_.RedoName());
}

void TForm1::ShowTitle() {
    std::string title = apptext::kCaption;
    const std::string name = std::filesystem::path(file_.Name).filename().string();
    if (!name.empty()) title = name + apptext::kTitleSeparator + title;
    if (Modified()) title = apptext::kModifiedMark + title;
    setWindowTitle(QString::fromStdString(title));
}

void TForm1::ShowCurrentRow() {
    const QModelIndex index = gridModel_->index(EventGridModel::GridRow(script_.CurrentRow()), 0);
    if (!index.isValid()) return;
    StringGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    StringGrid1->scrollTo(index);
}

void TForm1::WriteEventRow(const EventCells& cells) {
    EditScript(WriteStepName(cells),
               [&](CardScript& s) { s.WriteEventRow(targetRow_, editMode_, cells); });
}

void TForm1::SetTarget(int row, bool editMode) {
    targetRow_ = row;
    editMode_ = editMode;
}

void TForm1::ChildWindowClosed() {
    setEnabled(true);
}

void TForm1::AttachChooser(QWidget& chooser) {
    chooser_ = &chooser;
}

void TForm1::RegisterEditor(EventKind kind, RowEditor& editor) {
    editors_[size_t(kind)] = &editor;
}

void TForm1::AttachBuilder(BuildProgress& progress, PictureLoader& pictures) {
    buildProgress_ = &progress;
    pictures_ = &pictures;
}

void TForm1::AttachTextImageRenderer(TextImageRenderer& renderer) {
    textRenderer_ = &renderer;
}

void TForm1::AttachPreview(CardPreview& preview) {
    preview_ = &preview;
}

void TForm1::OpenChildWindow(QWidget& window) {
    // Child windows open over the main window, which waits for them disabled: the user works
    // in one window at a time, so the selection and the target row cannot change under them.
    window.move(pos());
    window.show();
    window.raise();
    window.activateWindow();
    setEnabled(false);
}

void TForm1::StringGrid1SelectCell(int row) {
    script_.SetCurrentRow(row);
}

void TForm1::StringGrid1DblClick() {
    editMode_ = true;
    const CardEvent& row = script_.Row(SelectedRow());
    const std::optional<EventKind> kind = row.Kind();
    if (!kind) return; // an empty row has no editor
    RowEditor* editor = editors_[size_t(*kind)];
    if (!editor) return;
    editor->FillFromRow(row);
    targetRow_ = SelectedRow();
    OpenChildWindow(editor->Window());
}

void TForm1::Button1Click() {
    if (SelectedRow() < kFirstEventRow) {
        dialogs_.Information(apptext::kInsertRefused);
        return;
    }
    if (chooser_) OpenChildWindow(*chooser_);
}

void TForm1::Button2Click() {
    if (SelectedRow() < kFirstEventRow) {
        dialogs_.Information(apptext::kDeleteRefused);
        return;
    }
    // The trailing empty row holds nothing to delete: the script leaves it alone.
    EditScript(apptext::kDeleteStep, [row = SelectedRow()](CardScript& s) { s.DeleteEvent(row); });
}

void TForm1::Button3Click() {
    const std::optional<std::string> output = dialogs_.SaveFileName(ExecutableSaveDialog);
    if (!output) return; // cancelled: nothing is written
    RunBuild([&](const TWorkDirLock& workDir, const BuildServicesSet& services) {
        BuildCard(script_, stub_, workDir, *output, tempFiles_, services);
    });
}

void TForm1::PreviewCard() {
    std::optional<std::string> card;
    RunBuild([&](const TWorkDirLock& workDir, const BuildServicesSet& services) {
        card = BuildPreviewCard(script_, stub_, workDir, tempFiles_, services);
    });
    // The card plays as a program of its own: this window goes on taking the user's input.
    if (card && preview_) preview_->Play(*card);
}

void TForm1::RunBuild(
    const std::function<void(const TWorkDirLock&, const BuildServicesSet&)>& build) {
    // The build runs aside, so that its progress window and this one repaint as it goes.
    // Meanwhile this window takes no input and does not close: the list stays as it is.
    building_ = true;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        TForm1* form;
        ~Restore() {
            QApplication::restoreOverrideCursor();
            form->buildProgress_->Hide(); // also when the wait for another build failed
            form->setEnabled(true);
            form->building_ = false;
        }
    } restore{this};
    GuiThreadProgress progress(*buildProgress_);
    GuiThreadMessages messages(dialogs_, *buildProgress_);
    PosixFileSystem files;
    RunAside([&] {
        TWorkDirLock workDir(programDir_, WorkFolder, [&progress] {
            progress.Show();
            progress.Labl(buildtext::kWaitingForOtherBuild);
        });
        build(workDir, {*pictures_, progress, messages, files});
    });
}

bool TForm1::MaySetChangesAside() {
    if (!Modified()) return true;
    const std::string name = std::filesystem::path(file_.Name).filename().string();
    switch (dialogs_.AskSaveChanges(apptext::SaveChangesQuestion(name))) {
    case SaveChanges::Discard:
        return true;
    case SaveChanges::Cancel:
        return false;
    case SaveChanges::Save:
        break;
    }
    bool saved = false;
    RunCommand(dialogs_, [&] { saved = SaveScript(); });
    return saved;
}

void TForm1::Openscript1Click() {
    // Unsaved changes and the file are asked for before the list is touched, so that a
    // cancel keeps the work.
    if (!MaySetChangesAside()) return;
    const std::optional<std::string> path = dialogs_.OpenFileName(ScriptOpenDialog);
    if (path) OpenScriptFile(*path);
}

void TForm1::OpenScript(const std::string& path) {
    RunCommand(dialogs_, [&] { OpenScriptFile(path); });
}

void TForm1::OpenScriptFile(const std::string& path) {
    // The script is read aside and shown whole when the reading ends, however it ends: the
    // grid never shows a list half-built while the text images render, and a notice that
    // stopped the reading comes over the list as the reading left it.
    // A file that cannot be opened at all fails before that: the list stays as it was.
    TFileSource source(path);
    CardScript loaded;
    HeldNotices notices;
    PosixFileSystem files;
    bool whole = false;
    try {
        whole =
            LoadScript(source, loaded, programDir_, tempFiles_, {*textRenderer_, notices, files});
    } catch (...) {
        ShowOpened(loaded, "");
        throw;
    }
    // Only a list read whole is that file: Save offers it again.
    ShowOpened(loaded, whole ? path : "");
    for (const std::string& text : notices.Texts)
        dialogs_.Information(text);
    if (whole && !LoadedAnyEvent(loaded)) dialogs_.Information(cardtext::NoEventFound(path));
}

void TForm1::ShowOpened(CardScript& loaded, const std::string& fileName) {
    // A file that brought no event (a picture, another text, a script whose lines end with LF
    // alone, or one that stopped before its first event) leaves the list as it was.
    if (!LoadedAnyEvent(loaded)) return;
    EditScript(apptext::kOpenStep, [&](CardScript& s) {
        s = std::move(loaded);
        // What was read is on disk: nothing in the list is lost if it is left unsaved.
        file_ = {fileName, s.Content()};
    });
}

void TForm1::Savescript1Click() {
    SaveScript();
}

bool TForm1::SaveScript() {
    FileDialogSpec form = ScriptSaveDialog;
    form.FileName = file_.Name;
    const std::optional<std::string> path = dialogs_.SaveFileName(form);
    if (!path) return false; // nothing is written
    try {
        SaveScriptFile(script_, *path);
    } catch (const EUnsavableScript& refusal) { // a row the file cannot hold: nothing written
        dialogs_.Information(refusal.what());
        return false;
    }
    file_ = {*path, script_.Content()};
    ShowTitle();
    return true;
}

void TForm1::EffaceTout() {
    if (!dialogs_.Confirm(apptext::kClearAllQuestion)) return;
    EditScript(apptext::kClearAllStep, [](CardScript& s) { s.ClearEvents(); });
}

void TForm1::Undo1Click() {
    ShowChange([this] { history_.Undo(); });
}

void TForm1::Redo1Click() {
    ShowChange([this] { history_.Redo(); });
}

void TForm1::Button5Click() {
    close();
}

void TForm1::Contents1Click() {
    help_.ShowContents(apptext::kHelpFile);
}

void TForm1::About1Click() {
    dialogs_.PlainMessage(apptext::kApplicationTitle, apptext::kAboutText);
}

void TForm1::FormClose() {
    // While another build (a velmora-build) works in the program directory, the files of
    // this session's names may be its own: they stay.
    if (const std::optional<TWorkDirLock> workDir = TWorkDirLock::TryLock(programDir_, WorkFolder))
        DeleteIntermediateFiles(tempFiles_, *workDir);
}

std::vector<QWidget*> TForm1::OpenChildWindows() const {
    std::vector<QWidget*> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const QWindow* handle = window->windowHandle();
        if (window->isVisible() && handle && handle->transientParent() == windowHandle())
            open.push_back(window);
    }
    return open;
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || isEnabled()) return;
    // The window this one waits for: a box first, else the child window that is open.
    const std::vector<QWidget*> open = OpenChildWindows();
    QWidget* waitedFor = QApplication::activeModalWidget();
    if (!waitedFor && !open.empty()) waitedFor = open.front();
    if (!waitedFor) return;
    waitedFor->raise();
    waitedFor->activateWindow();
}

void TForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    const QPoint by = event->pos() - event->oldPos();
    for (QWidget* window : OpenChildWindows())
        window->move(window->pos() + by);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Exit, the menu's Exit and the close box all come here.
    if (building_ || !MaySetChangesAside()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
    emit Closed();
}
