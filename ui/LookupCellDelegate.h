// Grid cells that take a code from a list (the invoice's "tax code" and "sales account"):
// while the person edits such a cell it is a multi-column drop-down with the column's
// headings and the items the screen filled in; the code chosen (the first column) is what
// the cell takes, through the grid's usual cell step. A cell holding a whole item ("6100;
// Discounts allowed", as the receipt's account columns hold it) shows its columns side by
// side.
#pragma once

#include <QStyledItemDelegate>
#include <string>

#include "framework/Screen.h"

namespace keltro::ui {

class LookupCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    LookupCellDelegate(const framework::Screen& screen, std::string gridName, std::string caption,
                       QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;

private:
    const framework::Screen& m_screen;
    std::string m_grid;
    std::string m_caption;
};

}  // namespace keltro::ui
