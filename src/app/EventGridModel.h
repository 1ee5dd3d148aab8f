// The card script as the main window's grid shows it: script row 0 is the grid's fixed
// header, script rows 1.. are the grid's rows 0.., four columns.
#pragma once

#include "CardScript.h"

#include <QAbstractTableModel>

#include <functional>

class EventGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    EventGridModel(CardScript& script, QObject* parent);

    static int ScriptRow(int gridRow) { return gridRow + 1; }
    static int GridRow(int scriptRow) { return scriptRow - 1; }

    // Applies a change to the script; the views show the rows again from scratch. The views'
    // selection is then the caller's to restore.
    void Change(const std::function<void(CardScript&)>& edit);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CardScript& script_;
};
