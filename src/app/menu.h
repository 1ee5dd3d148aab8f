// TForm1, the main window: the event grid that holds the card script, the commands that act
// on it directly, and the state that the windows working for it share.
#pragma once

#include "BuildServices.h"
#include "CardBuild.h"
#include "CardPreview.h"
#include "CardScript.h"
#include "Dialogs.h"
#include "EditorHost.h"
#include "HelpViewer.h"
#include "PictureServices.h"
#include "ProgramFiles.h"
#include "RowEditor.h"
#include "ScriptHistory.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>
#include <vector>

class EventGridModel;
class QAction;
class QGroupBox;
class QPushButton;
class QTableView;

class TForm1 : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    // Builds use the stub and the working folder of `files`; the working folder is the
    // program directory.
    TForm1(Dialogs& dialogs, HelpViewer& help, const ProgramFiles& files);
    ~TForm1() override;

    // The row under the grid's selection bar; 2 at start-up.
    int SelectedRow() const { return script_.CurrentRow(); }
    // Where the next editor writes its event: at `row`, replacing it (`editMode`) or
    // inserting there.
    void SetTarget(int row, bool editMode);
    int TargetRow() const override { return targetRow_; }
    bool EditMode() const override { return editMode_; }
    const std::string& ProgramDir() const override { return programDir_; }
    const TWorkDirLock::Folder WorkFolder; // whose folder ProgramDir is
    // Deleted, where they exist, when the window closes. Names are only ever added: a row
    // that an undo or redo brings back still has its files' names listed.
    std::vector<std::string>& TempFiles() override { return tempFiles_; }

    // The main window's file dialogs.
    const FileDialogSpec ExecutableSaveDialog;
    const FileDialogSpec ScriptSaveDialog;
    const FileDialogSpec ScriptOpenDialog;

    QWidget& Window() override { return *this; }
    const CardScript& Script() const override { return script_; }
    // Every change to the rows goes through here, as one step named `step` that Edit > Undo
    // takes back, so that the grid shows it, the selection bar stays on the script's current
    // row and the title tells whether there are unsaved changes.
    void EditScript(const std::string& step, const ScriptEdit& edit) override;
    // A change that ends the last one (a text's placement after its cells) rather than a
    // step of its own.
    void ContinueStep(const std::string& step, const ScriptEdit& edit) override;
    // The step by which an editor writes `cells` at TargetRow: "Insert" or "Edit" and the kind.
    std::string WriteStepName(const EventCells& cells) const override;
    // The list differs from what the last Open or Save read or wrote (at start-up: from the
    // list of a new card).
    bool Modified() const { return script_.Content() != file_.Saved; }

    // How an editor writes its event when the user confirms: inserts or replaces row
    // TargetRow according to EditMode. The editor then hides itself and calls
    // ChildWindowClosed.
    void WriteEventRow(const EventCells& cells) override;
    // A window that worked for this one has gone: the main window takes the user again.
    void ChildWindowClosed() override;

    // The windows that the commands open, as they come to exist.
    void AttachChooser(QWidget& chooser);
    void RegisterEditor(EventKind kind, RowEditor& editor);
    // The editor of `kind`; nothing until that editor has joined.
    RowEditor* EditorFor(EventKind kind) const { return editors_[size_t(kind)]; }
    // What "&Build Card" works with: the progress window and the picture services.
    void AttachBuilder(BuildProgress& progress, PictureLoader& pictures);
    // What "&Open..." renders the text images of a script with.
    void AttachTextImageRenderer(TextImageRenderer& renderer);
    // What "Pre&view Card" plays the card it builds with.
    void AttachPreview(CardPreview& preview);
    // Opens the script at `path` as "&Open..." does once its file is chosen: the script that
    // the program was started with.
    void OpenScript(const std::string& path);

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A click on this window while it waits for another one brings that one to the front.
    void changeEvent(QEvent* event) override;
    // The windows that work for this one move with it.
    void moveEvent(QMoveEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    std::function<void()> Command(void (TForm1::*handler)());
    void ShowCurrentRow();
    void ShowTitle();
    // Applies a change of the list and shows the list, the title and the Edit menu after it.
    void ShowChange(const std::function<void()>& change);
    void ShowSteps(); // the Edit menu's items, named after their steps
    void OpenChildWindow(QWidget& window);
    // The windows shown that work for this one.
    std::vector<QWidget*> OpenChildWindows() const;
    // Before a command sets the list aside: false when the user keeps it (Cancel, or a Save
    // that did not happen).
    bool MaySetChangesAside();
    // Save: true when the script was written.
    bool SaveScript();
    void OpenScriptFile(const std::string& path);
    // What Open read, shown in place of the list unless it holds no event.
    void ShowOpened(CardScript& loaded, const std::string& fileName);

    void StringGrid1SelectCell(int row);
    void StringGrid1DblClick();
    void Button1Click(); // Insert
    void Button2Click(); // Delete
    void Button3Click(); // Build Card
    void PreviewCard();
    // A build, run aside with the progress window while this window takes no input.
    void RunBuild(const std::function<void(const TWorkDirLock&, const BuildServicesSet&)>& build);
    void EffaceTout();   // Clear All
    void Button5Click(); // Exit
    void Undo1Click();
    void Redo1Click();
    void Openscript1Click();
    void Savescript1Click();
    void Contents1Click();
    void About1Click();
    void FormClose();

    Dialogs& dialogs_;
    HelpViewer& help_;
    const std::string programDir_;
    const std::string stub_;
    int targetRow_ = 0;
    bool editMode_ = false;
    std::vector<std::string> tempFiles_;
    CardScript script_;
    EventGridModel* gridModel_ = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QWidget* chooser_ = nullptr;
    BuildProgress* buildProgress_ = nullptr;
    PictureLoader* pictures_ = nullptr;
    TextImageRenderer* textRenderer_ = nullptr;
    CardPreview* preview_ = nullptr;
    // The double-click dispatch: the editor of each kind, once it exists. The window-opening,
    // background, restore-background, text, sound-effect and music editors join it, and so
    // does the pause editor, which opens on a Pause row with the row's timing.
    std::array<RowEditor*, kEventKindCount> editors_{};
    // The script file last opened whole or saved, whose name Save offers.
    ScriptFile file_;
    ScriptHistory history_{script_, file_};
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    bool building_ = false; // a build runs aside: the window takes no input and stays open
};
