#include "ui/LookupCellDelegate.h"

#include "framework/LookupList.h"
#include "ui/MultiColumnCombo.h"

namespace keltro::ui {

LookupCellDelegate::LookupCellDelegate(const framework::Screen& screen, std::string gridName,
                                       std::string caption, QObject* parent)
    : QStyledItemDelegate(parent), m_screen(screen), m_grid(std::move(gridName)), m_caption(std::move(caption)) {}

QWidget* LookupCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const {
    const framework::Grid& grid = m_screen.grid(m_grid);
    auto* combo = new MultiColumnCombo(parent);
    if (auto spec = grid.lookupColumns.find(m_caption); spec != grid.lookupColumns.end())
        combo->setColumns(framework::ParseColumnSpec(spec->second));
    if (auto items = grid.lookupItems.find(m_caption); items != grid.lookupItems.end())
        combo->setItems(items->second);
    // Choosing a row is the end of the edit.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        emit const_cast<LookupCellDelegate*>(this)->commitData(combo);
        emit const_cast<LookupCellDelegate*>(this)->closeEditor(combo);
    });
    return combo;
}

void LookupCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<MultiColumnCombo*>(editor)->setEditText(index.data(Qt::EditRole).toString());
}

void LookupCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    const QString text = static_cast<MultiColumnCombo*>(editor)->currentText();
    if (text != index.data(Qt::EditRole).toString()) model->setData(index, text, Qt::EditRole);
}

QString LookupCellDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    return QStyledItemDelegate::displayText(value, locale).replace(';', QStringLiteral("  "));
}

}  // namespace keltro::ui
