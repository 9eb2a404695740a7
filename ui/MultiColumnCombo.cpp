#include "ui/MultiColumnCombo.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <QWheelEvent>

#include "ui/Theme.h"

namespace keltro::ui {

namespace {

Qt::Alignment alignmentOf(const framework::ListColumn& column) {
    return column.alignment == framework::ListAlignment::Centre ? Qt::Alignment(Qt::AlignCenter)
                                                                : Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

MultiColumnCombo::MultiColumnCombo(QWidget* parent)
    : QComboBox(parent), m_model(new QStandardItemModel(this)), m_view(new QTreeView) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setModel(m_model);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setView(m_view);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->hide();
}

void MultiColumnCombo::setColumns(const std::vector<framework::ListColumn>& columns) {
    m_columns = columns;
    const int count = std::max<int>(1, static_cast<int>(columns.size()));
    m_model->setColumnCount(count);
    QStringList headings;
    for (const auto& c : columns) headings << QString::fromStdString(c.heading);
    m_model->setHorizontalHeaderLabels(headings);
    m_view->header()->setVisible(!columns.empty());
    applyColumnLayout();
}

void MultiColumnCombo::applyColumnLayout() {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const int section = static_cast<int>(i);
        m_view->header()->resizeSection(section, pixelsOfTwips(m_columns[i].width));
        if (auto* heading = m_model->horizontalHeaderItem(section))
            heading->setTextAlignment(alignmentOf(m_columns[i]));
    }
}

void MultiColumnCombo::setItems(const std::vector<std::string>& items) {
    const QString text = currentText();
    QSignalBlocker block(this);
    m_model->removeRows(0, m_model->rowCount());
    for (const auto& item : items) {
        QList<QStandardItem*> row;
        const std::size_t shown = m_columns.empty() ? 1 : m_columns.size();
        for (std::size_t c = 0; c < shown; ++c) {
            const int source = m_columns.empty() ? 0 : m_columns[c].column;
            auto* cell = new QStandardItem(
                QString::fromStdString(framework::ItemColumn(item, static_cast<std::size_t>(std::max(0, source)))));
            cell->setEditable(false);
            if (!m_columns.empty()) cell->setTextAlignment(alignmentOf(m_columns[c]));
            row << cell;
        }
        m_model->appendRow(row);
    }
    applyColumnLayout();
    setCurrentIndex(-1);
    setEditText(text);
}

void MultiColumnCombo::setReadOnly(bool readOnly) { setReadOnly(readOnly, kReadOnlyBackground); }

void MultiColumnCombo::setReadOnly(bool readOnly, const QColor& readOnlyBase) {
    m_readOnly = readOnly;
    lineEdit()->setReadOnly(readOnly);
    QPalette palette = lineEdit()->palette();
    palette.setColor(QPalette::Base, readOnly ? readOnlyBase : kEditableBackground);
    lineEdit()->setPalette(palette);
    setPalette(palette);
}

int MultiColumnCombo::listWidth() const {
    int width = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) width += m_view->header()->sectionSize(c);
    return width + m_view->verticalScrollBar()->sizeHint().width() + 2 * m_view->frameWidth();
}

void MultiColumnCombo::showPopup() {
    if (m_readOnly) return;
    if (!m_columns.empty()) m_view->setMinimumWidth(std::max(width(), listWidth()));
    QComboBox::showPopup();
}

void MultiColumnCombo::keyPressEvent(QKeyEvent* event) {
    if (m_readOnly) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_F4:
            event->ignore();
            return;
        default:
            break;
        }
    }
    QComboBox::keyPressEvent(event);
}

void MultiColumnCombo::wheelEvent(QWheelEvent* event) {
    if (m_readOnly) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace keltro::ui
