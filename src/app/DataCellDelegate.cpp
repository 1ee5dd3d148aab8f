#include "DataCellDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (slash < 0 || metrics.horizontalAdvance(name) > width)
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    // The folders give way first, down to an ellipsis before the name's slash; then the slash.
    const QString folders = path.left(slash);
    const QString ellipsis(QChar(0x2026));
    const int folderRoom = width - metrics.horizontalAdvance(QLatin1Char('/') + name);
    if (metrics.horizontalAdvance(ellipsis) > folderRoom) return name;
    QString shown = metrics.elidedText(folders, Qt::ElideRight, folderRoom);
    if (shown.isEmpty()) shown = ellipsis;
    return shown + QLatin1Char('/') + name;
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
