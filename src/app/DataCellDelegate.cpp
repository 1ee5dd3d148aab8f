#include "DataCellDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash); // with its slash
    const int folderRoom = width - metrics.horizontalAdvance(name);
    // Some of the folder must show besides the ellipsis, or the cell says nothing of it.
    if (slash <= 0 || folderRoom < 3 * metrics.horizontalAdvance(QChar(0x2026)))
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(slash), Qt::ElideRight, folderRoom) + name;
}

void DataCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
    // The style draws the text inside its item rectangle less a margin on either side.
    const QRect item = style->subElementRect(QStyle::SE_ItemViewItemText, option, option->widget);
    const int margin =
        style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    option->text = ElidePath(option->text, option->fontMetrics, item.width() - 2 * margin);
}
