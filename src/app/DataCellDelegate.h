// How the grid draws a Data cell: a path too long for the column keeps its file name whole and
// gives up the middle, its folders; the tooltip (EventGridModel) shows it whole.
#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

// `path` in at most `width` pixels: the folders elided on their right, then the file name
// whole ("/home/som…/sky.bmp"). A name that cannot fit with a little of its folder is
// elided in its middle, as is text without a folder.
QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

class DataCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
