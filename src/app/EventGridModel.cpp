#include "EventGridModel.h"

EventGridModel::EventGridModel(CardScript& script, QObject* parent)
    : QAbstractTableModel(parent), script_(script) {}

void EventGridModel::Change(const std::function<void(CardScript&)>& edit) {
    beginResetModel();
    // The views must hear of the change even when it stops half-way on an exception.
    struct EndReset {
        EventGridModel* model;
        ~EndReset() { model->endResetModel(); }
    } endReset{this};
    edit(script_);
}

int EventGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : script_.RowCount() - 1;
}

int EventGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kCardColumnCount;
}

QVariant EventGridModel::data(const QModelIndex& index, int role) const {
    const bool tip = role == Qt::ToolTipRole && index.column() == kColData;
    if ((role != Qt::DisplayRole && !tip) || !index.isValid()) return {};
    QString text =
        QString::fromStdString(script_.Row(ScriptRow(index.row())).Cells[index.column()]);
    // A message keeps its lines apart with CR; on one grid line they read as words.
    text.replace(QLatin1Char('\r'), QLatin1Char(tip ? '\n' : ' '));
    // The Data cell's tooltip shows it whole, however narrow the column.
    if (tip && text.isEmpty()) return {};
    return text;
}

QVariant EventGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kCardColumnCount)
        return {};
    return QString::fromStdString(script_.Row(0).Cells[section]);
}

Qt::ItemFlags EventGridModel::flags(const QModelIndex& index) const {
    // Selectable, never editable, never dragged.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
