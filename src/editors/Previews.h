// TForm7, the placement window: the background of a text event at its natural size with the
// text's label over it. The label follows the pointer; a press places it there, and the text
// image rendered from what the window shows joins the event's row with the text's attributes.
// Escape takes the event back.
#pragma once

#include "Dialogs.h"
#include "EditorHost.h"
#include "PendingText.h"
#include "QtTextImageRenderer.h"

#include <QWidget>

#include <memory>
#include <optional>

class QScrollArea;
class TextLabel;

class TForm7 final : public QWidget {
    Q_OBJECT
public:
    TForm7(EditorHost& host, Dialogs& dialogs, PictureLoader& pictures);
    ~TForm7() override;

    // What the text editor hands over on OK. The label is laid out first, so that a text that
    // cannot be drawn is refused before anything is written; then the row's cells are written
    // at the host's target row, which stays disabled until the text is placed.
    void BeginPlacement(const EventCells& cells, const TFont& font, uint8_t alignment, bool shadow);
    // Loads the background at `picturePath` and reduces it as the build does. A picture that
    // cannot be read takes the event back, gives the host back and throws, naming the
    // picture.
    void LoadBackground(const std::string& picturePath);
    // Shows the loaded background in a client area of its size (scrolled, where the picture is
    // larger than the screen), with placing on.
    void ShowBackground();

    bool Placing = false;            // the label follows the pointer
    QWidget* Image1 = nullptr;       // the picture area
    QScrollArea* Scroller = nullptr; // shows as much of the picture as the screen holds
    QWidget* Label1 = nullptr;       // the text label, over it

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // `at` in picture pixels, which are the picture area's coordinates.
    void MouseMove(QPoint at);
    void MouseDown();
    void memorise();
    void GoBack();
    void Finish();

    EditorHost& host_;
    Dialogs& dialogs_;
    PictureLoader& pictures_;
    std::optional<PendingText> pending_;
    std::string step_; // the name of the step that writes the text
    TDataTexte texte_; // the attributes recorded on placing; X and Y come from the label
    std::unique_ptr<TextLabel> label_;
    TextBackground background_;
};
