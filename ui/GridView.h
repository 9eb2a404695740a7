// A grid of a screen as a table: the columns, their captions, widths, order, visibility,
// alignment and fonts as the grid's stored layout gives them, the row height too, and the
// cells from the grid's rows (keyed by column caption).
//
// What the person does to the layout goes straight into the screen's grid
// (`Screen::gridForView`): dragging a column records every column's display position,
// resizing one its width in twips; the screen saves both when it closes. What the person
// does to the data goes to the screen as a step: typing into a cell emits `cellEntered`
// (on the empty last row of an editable grid, with the row count as the row, which
// appends a row); a click into an existing row emits `clickedInto`, a double click
// `doubleClickedInto`. Cells take no typing
// when the grid or their column is locked.
//
// The columns the person selects go to the grid's `selectedColumns`, which the font bar
// works on; Enter moves along the row to the next shown cell, then to the next row's
// first; every other row takes gray94 while the shared even-row setting is on.
#pragma once

#include <QFont>
#include <QTableWidget>
#include <string>

#include "framework/Screen.h"

namespace keltro::ui {

class GridView : public QTableWidget {
    Q_OBJECT
public:
    GridView(framework::Screen& screen, const std::string& gridName, const QFont& font,
             QWidget* parent = nullptr);

    const std::string& gridName() const { return m_name; }
    // Shows the rows as the screen holds them now.
    void showRows();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

signals:
    void cellEntered(const QString& grid, int row, const QString& column, const QString& text);
    void clickedInto(const QString& grid, int row, const QString& column);
    void doubleClickedInto(const QString& grid, int row, const QString& column);

private:
    const framework::Grid& grid() const { return m_screen.grid(m_name); }
    void buildColumns();
    void applyDisplayOrder();
    bool hasEditableColumn() const;
    bool isEditable(int column) const;
    QFont fontOf(const framework::GridColumn& column) const;
    const std::vector<framework::GridColumn>& columns() const { return grid().columns; }
    void showCell(int row, int column, const std::string& text);
    void showStyle(QTableWidgetItem* cell, const framework::GridColumn& spec,
                   const framework::GridRowStyle* style, int row);
    void recordSelection();
    void moveToNextCell();
    void onItemChanged(QTableWidgetItem* item);
    void onCellClicked(int row, int column);
    void onCellDoubleClicked(int row, int column);
    void recordOrder();
    void recordWidth(int column, int pixels);
    void alignHeading(int column);

    framework::Screen& m_screen;
    std::string m_name;
    QFont m_font;
    bool m_showing = false;
};

}  // namespace keltro::ui
