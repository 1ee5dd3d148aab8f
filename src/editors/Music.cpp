#include "Music.h"

#include "CardTexts.h"

#include <QPainter>

#include <iterator>

namespace {
// Two beamed quavers, drawn on a grid of 64 by 64.
void DrawNotes(QPainter& painter, int side) {
    painter.scale(side / 64.0, side / 64.0);
    const QColor ink(30, 40, 120);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const QPointF beam[] = {{23, 12}, {51, 5}, {51, 13}, {23, 20}};
    painter.drawPolygon(beam, std::size(beam));
    for (const QPointF head : {QPointF(16, 50), QPointF(44, 43)}) {
        painter.save();
        painter.translate(head);
        painter.rotate(-20);
        painter.drawEllipse(QRectF(-8.5, -6, 17, 12));
        painter.restore();
    }
    painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(23.5, 47), QPointF(23.5, 13));
    painter.drawLine(QPointF(51.5, 40), QPointF(51.5, 6));
}

constexpr AudioEditorDesign kDesign = {
    .Frame = editortext::kMidiFrame,
    .Filter = editortext::kMidiFilter,
    .TestButton = editortext::kTestMusic,
    .Kind = cardtext::kMusic,
    .NoFile = editortext::kNoMidiFile,
    .CancelStopsFirst = false,
    .DrawPicture = DrawNotes,
};
} // namespace

TForm8::TForm8(EditorHost& host, Dialogs& dialogs, AudioPlayer& player)
    : AudioEditor(host, dialogs, player, kDesign) {}
