#include "Sound2.h"

#include "CardTexts.h"

#include <QPainter>

#include <iterator>

namespace {
// A loudspeaker sending out three waves, drawn on a grid of 64 by 64.
void DrawSpeaker(QPainter& painter, int side) {
    painter.scale(side / 64.0, side / 64.0);
    const QPointF cone[] = {{6, 24}, {16, 24}, {30, 11}, {30, 53}, {16, 40}, {6, 40}};
    painter.setPen(QPen(QColor(40, 40, 56), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(96, 104, 128));
    painter.drawPolygon(cone, std::size(cone));
    painter.drawLine(QPointF(16, 24), QPointF(16, 40));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 90, 200), 3, Qt::SolidLine, Qt::RoundCap));
    for (const double radius : {9.0, 17.0, 25.0})
        painter.drawArc(QRectF(32 - radius, 32 - radius, 2 * radius, 2 * radius), -50 * 16,
                        100 * 16);
}

constexpr AudioEditorDesign kDesign = {
    .Frame = editortext::kWaveFrame,
    .Filter = editortext::kWaveFilter,
    .TestButton = editortext::kTestSound,
    .Kind = cardtext::kSoundEffect,
    .NoFile = editortext::kNoSoundFile,
    .CancelStopsFirst = true,
    .DrawPicture = DrawSpeaker,
};
} // namespace

TForm5::TForm5(EditorHost& host, Dialogs& dialogs, AudioPlayer& player)
    : AudioEditor(host, dialogs, player, kDesign) {}
