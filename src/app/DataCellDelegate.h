// How the grid draws a Data cell: a path too long for the column keeps its file name whole and
// gives up its folders; the tooltip (EventGridModel) shows it whole.
#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

// `path` in at most `width` pixels, its file name whole whenever the width holds it: the
// folders elided on their right ("/home/som…/sky.bmp", "…/sky.bmp"), then the name alone. A
// name too long for the width is elided in its middle, as is text without a folder.
QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

class DataCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
