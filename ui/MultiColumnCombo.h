// A look-up field: an editable drop-down whose list shows several columns under headings.
//
// The columns come from a column spec (framework/LookupList.h): a heading, a width in
// twips and an alignment each; the items are texts whose columns are separated by ";". The field
// shows, and takes as typed text, the first column; choosing a row emits `activated` with
// the row's position in the item list. Without a spec the list is one plain column.
//
// A read-only combo shows its text on the read-only colour and neither opens its list nor
// lets the keyboard or the wheel step through it.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "framework/LookupList.h"

class QStandardItemModel;
class QTreeView;

namespace keltro::ui {

class MultiColumnCombo : public QComboBox {
    Q_OBJECT
public:
    explicit MultiColumnCombo(QWidget* parent = nullptr);

    void setColumns(const std::vector<framework::ListColumn>& columns);
    // Replaces the list; the text in the field stays as it is.
    void setItems(const std::vector<std::string>& items);
    void setReadOnly(bool readOnly);
    // Read-only on the given colour (locked fields take the tooltip background).
    void setReadOnly(bool readOnly, const QColor& readOnlyBase);
    bool isReadOnly() const { return m_readOnly; }

    // The list's columns as shown (for its popup and for tests).
    QTreeView* listView() const { return m_view; }
    QStandardItemModel* listModel() const { return m_model; }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void applyColumnLayout();
    int listWidth() const;

    QStandardItemModel* m_model;
    QTreeView* m_view;
    std::vector<framework::ListColumn> m_columns;
    bool m_readOnly = false;
};

}  // namespace keltro::ui
