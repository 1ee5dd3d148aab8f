#include "menu.h"

#include "AppTexts.h"
#include "CardBuild.h"
#include "Command.h"
#include "EventGridModel.h"
#include "ScriptReader.h"
#include "ScriptWriter.h"
#include "TempFiles.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>

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

TForm1::TForm1(Dialogs& dialogs, HelpViewer& help, std::string programDir)
    : ProgramDir(std::move(programDir)), ExecutableSaveDialog{apptext::kExecutableFilter,
                                                              apptext::kExecutableExt},
      ScriptSaveDialog{apptext::kScriptSaveFilter, apptext::kScriptSaveExt},
      ScriptOpenDialog{apptext::kScriptOpenFilter, apptext::kScriptOpenExt}, dialogs_(dialogs),
      help_(help) {
    setWindowTitle(apptext::kCaption);
    // A fixed frame with a system menu and a minimise box, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    CreateControls();
    CreateMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    ShowCurrentRow();
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
    for (int c = 0; c < kCardColumnCount; ++c)
        header->resizeSection(c, kColumnWidths[size_t(c)]);

    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    StringGrid1SelectCell(EventGridModel::ScriptRow(current.row()));
            });
    connect(StringGrid1, &QTableView::doubleClicked, this, Command(&TForm1::StringGrid1DblClick));
}

void TForm1::CreateMenus() {
    QMenu* file = menuBar()->addMenu(apptext::kFileMenu);
    connect(file->addAction(apptext::kOpenItem), &QAction::triggered, this,
            Command(&TForm1::Openscript1Click));
    connect(file->addAction(apptext::kSaveItem), &QAction::triggered, this,
            Command(&TForm1::Savescript1Click));
    connect(file->addAction(apptext::kClearItem), &QAction::triggered, this,
            Command(&TForm1::EffaceTout));
    file->addSeparator();
    connect(file->addAction(apptext::kExitItem), &QAction::triggered, this,
            Command(&TForm1::Button5Click));

    QMenu* help = menuBar()->addMenu(apptext::kHelpMenu);
    connect(help->addAction(apptext::kContentsItem), &QAction::triggered, this,
            Command(&TForm1::Contents1Click));
    help->addSeparator();
    connect(help->addAction(apptext::kAboutItem), &QAction::triggered, this,
            Command(&TForm1::About1Click));

    // F1 belongs to the Help menu, which has no command of its own: it opens the contents.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, Command(&TForm1::Contents1Click));
}

std::function<void()> TForm1::Command(void (TForm1::*handler)()) {
    return [this, handler] { RunCommand(dialogs_, [this, handler] { (this->*handler)(); }); };
}

void TForm1::EditScript(const std::function<void(CardScript&)>& edit) {
    struct ShowAfter {
        TForm1* form;
        ~ShowAfter() { form->ShowCurrentRow(); }
    } showAfter{this};
    gridModel_->Change(edit);
}

void TForm1::ShowCurrentRow() {
    const QModelIndex index = gridModel_->index(EventGridModel::GridRow(script_.CurrentRow()), 0);
    if (!index.isValid()) return;
    StringGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    StringGrid1->scrollTo(index);
}

void TForm1::WriteEventRow(const EventCells& cells) {
    EditScript([&](CardScript& s) { s.WriteEventRow(TargetRow, EditMode, cells); });
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
    EditMode = true;
    const CardEvent& row = script_.Row(SelectedRow());
    const std::optional<EventKind> kind = row.Kind();
    if (!kind) return; // an empty row has no editor
    RowEditor* editor = editors_[size_t(*kind)];
    if (!editor) return;
    editor->FillFromRow(row);
    TargetRow = SelectedRow();
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
    EditScript([row = SelectedRow()](CardScript& s) { s.DeleteEvent(row); });
}

void TForm1::Button3Click() {
    const std::optional<std::string> output = dialogs_.SaveFileName(ExecutableSaveDialog);
    if (!output) return; // cancelled: nothing is written
    PosixFileSystem files;
    BuildCard(script_, ProgramDir, *output, TempFiles, {*pictures_, *buildProgress_, dialogs_, files});
}

void TForm1::Openscript1Click() {
    // The file is asked for before the list is touched, so that a cancel keeps unsaved work.
    const std::optional<std::string> path = dialogs_.OpenFileName(ScriptOpenDialog);
    if (!path) return;
    // The script is read aside and shown whole when the reading ends, however it ends: the
    // grid never shows a list half-built while the text images render, and a notice that
    // stopped the reading comes over the list as the reading left it.
    // A file that cannot be opened at all fails before that: the list stays as it was.
    TFileSource source(*path);
    CardScript loaded;
    HeldNotices notices;
    PosixFileSystem files;
    const auto show = [&] { EditScript([&](CardScript& s) { s = std::move(loaded); }); };
    try {
        LoadScript(source, loaded, ProgramDir, TempFiles, {*textRenderer_, notices, files});
    } catch (...) {
        show();
        throw;
    }
    show();
    for (const std::string& text : notices.Texts)
        dialogs_.Information(text);
}

void TForm1::Savescript1Click() {
    const std::optional<std::string> path = dialogs_.SaveFileName(ScriptSaveDialog);
    if (!path) return; // nothing is written
    SaveScriptFile(script_, *path);
}

void TForm1::EffaceTout() {
    if (!dialogs_.Confirm(apptext::kClearAllQuestion)) return;
    EditScript([](CardScript& s) { s.ClearEvents(); });
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
    DeleteIntermediateFiles(TempFiles, ProgramDir);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
    emit Closed();
}
