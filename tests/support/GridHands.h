// The user's clicks on the main window: its buttons, and the rows of its event grid by their
// row number in the card script (the grid's header is row 0).
#pragma once

#include <QPushButton>
#include <QTableView>
#include <QTest>

inline QTableView* EventGrid(QWidget& main) {
    return main.findChild<QTableView*>("StringGrid1");
}
// The buttons from "&Insert" (1) to "E&xit" (5).
inline QPushButton* MainButton(QWidget& main, int n) {
    return main.findChild<QPushButton*>(QString("Button%1").arg(n));
}
inline QPoint RowCentre(QWidget& main, int scriptRow) {
    QTableView* grid = EventGrid(main);
    return grid->visualRect(grid->model()->index(scriptRow - 1, 1)).center();
}
inline void ClickRow(QWidget& main, int scriptRow) {
    QTest::mouseClick(EventGrid(main)->viewport(), Qt::LeftButton, {}, RowCentre(main, scriptRow));
}
inline void DoubleClickRow(QWidget& main, int scriptRow) {
    ClickRow(main, scriptRow);
    QTest::mouseDClick(EventGrid(main)->viewport(), Qt::LeftButton, {}, RowCentre(main, scriptRow));
}
