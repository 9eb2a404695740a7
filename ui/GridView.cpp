#include "ui/GridView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "framework/ColourPicker.h"
#include "framework/FormSettings.h"
#include "ui/LookupCellDelegate.h"
#include "ui/Theme.h"

namespace keltro::ui {

using framework::GridColumn;

namespace {

constexpr int kMinimumRows = 4;

bool isTicked(const std::string& text) {
    return text == "1" || text == "-1" || text == "True" || text == "true" || text == "TRUE";
}

// A tick written back in the form the cell held it in.
std::string tickText(bool on, const std::string& before) {
    if (before == "True" || before == "False") return on ? "True" : "False";
    return on ? "1" : "0";
}

Qt::Alignment alignmentOf(const GridColumn& column) {
    switch (column.alignment) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

std::string cellText(const framework::GridRow& row, const std::string& caption) {
    auto it = row.find(caption);
    return it == row.end() ? std::string() : it->second;
}

// The style a row is drawn in: the first whose column says TRUE.
const framework::GridRowStyle* styleOf(const framework::Grid& grid, const framework::GridRow& row) {
    for (const auto& style : grid.rowStyles)
        if (isTicked(cellText(row, style.column))) return &style;
    return nullptr;
}

}  // namespace

GridView::GridView(framework::Screen& screen, const std::string& gridName, const QFont& font, QWidget* parent)
    : QTableWidget(parent), m_screen(screen), m_name(gridName), m_font(font) {
    setObjectName(QString::fromStdString(gridName));
    setFont(font);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setTextElideMode(Qt::ElideRight);
    setStyleSheet(QString("QTableView { gridline-color: %1; }").arg(kHighlight.darker(115).name()));
    buildColumns();
    showRows();
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { recordOrder(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int pixels) { recordWidth(column, pixels); });
    connect(this, &QTableWidget::itemChanged, this, &GridView::onItemChanged);
    connect(this, &QTableWidget::cellClicked, this, &GridView::onCellClicked);
    connect(this, &QTableWidget::cellDoubleClicked, this, &GridView::onCellDoubleClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { recordSelection(); });
}

void GridView::buildColumns() {
    const auto& columns = grid().columns;
    setColumnCount(static_cast<int>(columns.size()));
    for (int c = 0; c < columnCount(); ++c) {
        const GridColumn& column = columns[static_cast<std::size_t>(c)];
        auto* heading = new QTableWidgetItem(QString::fromStdString(column.caption));
        heading->setToolTip(heading->text());
        setHorizontalHeaderItem(c, heading);
        setColumnWidth(c, pixelsOfTwips(column.width));
        setColumnHidden(c, !column.visible);
        alignHeading(c);
        if (grid().lookupColumns.contains(column.caption))
            setItemDelegateForColumn(c, new LookupCellDelegate(m_screen, m_name, column.caption, this));
    }
    const int rowHeight = pixelsOfTwips(grid().rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    setMinimumHeight(horizontalHeader()->sizeHint().height() + kMinimumRows * rowHeight + 2 * frameWidth() +
                     horizontalScrollBar()->sizeHint().height());
    applyDisplayOrder();
}

// Columns the person dragged earlier (while the screen stayed open) go back to where they were.
void GridView::applyDisplayOrder() {
    const auto& columns = grid().columns;
    std::vector<int> byPosition;
    for (int c = 0; c < columnCount(); ++c) byPosition.push_back(c);
    std::stable_sort(byPosition.begin(), byPosition.end(), [&](int a, int b) {
        auto position = [&](int c) {
            const int p = columns[static_cast<std::size_t>(c)].displayPosition;
            return p >= 0 ? p : c;
        };
        return position(a) < position(b);
    });
    for (int visual = 0; visual < static_cast<int>(byPosition.size()); ++visual)
        horizontalHeader()->moveSection(horizontalHeader()->visualIndex(byPosition[static_cast<std::size_t>(visual)]),
                                        visual);
}

bool GridView::hasEditableColumn() const {
    for (int c = 0; c < columnCount(); ++c)
        if (isEditable(c)) return true;
    return false;
}

bool GridView::isEditable(int column) const {
    const auto& g = grid();
    return !g.locked && !g.columns[static_cast<std::size_t>(column)].locked;
}

QFont GridView::fontOf(const GridColumn& column) const {
    QFont font = m_font;
    if (!column.fontName.empty()) font.setFamily(QString::fromStdString(column.fontName));
    if (column.fontSize > 0) font.setPointSizeF(column.fontSize);
    font.setBold(column.bold);
    font.setItalic(column.italic);
    font.setUnderline(column.underline);
    return font;
}

void GridView::showRows() {
    const auto& g = grid();
    m_showing = true;
    const int rows = static_cast<int>(g.rows.size()) + (hasEditableColumn() ? 1 : 0);
    setRowCount(rows);
    if (const int height = pixelsOfTwips(g.rowHeight); verticalHeader()->defaultSectionSize() != height)
        verticalHeader()->setDefaultSectionSize(height);
    for (int r = 0; r < rows; ++r) {
        const bool stored = r < static_cast<int>(g.rows.size());
        const framework::GridRowStyle* style = stored ? styleOf(g, g.rows[static_cast<std::size_t>(r)]) : nullptr;
        for (int c = 0; c < columnCount(); ++c) {
            const auto& caption = g.columns[static_cast<std::size_t>(c)].caption;
            showCell(r, c, stored ? cellText(g.rows[static_cast<std::size_t>(r)], caption) : std::string());
            showStyle(item(r, c), columns()[static_cast<std::size_t>(c)], style, r);
        }
    }
    m_showing = false;
}

void GridView::showCell(int row, int column, const std::string& text) {
    const GridColumn& spec = grid().columns[static_cast<std::size_t>(column)];
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (isEditable(column)) flags |= spec.checkBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    if (cell->flags() != flags) cell->setFlags(flags);
    if (spec.checkBox) {
        const Qt::CheckState state = isTicked(text) ? Qt::Checked : Qt::Unchecked;
        if (cell->data(Qt::CheckStateRole).isNull() || cell->checkState() != state) cell->setCheckState(state);
    } else if (cell->text() != QString::fromStdString(text)) {
        cell->setText(QString::fromStdString(text));
    }
    const Qt::Alignment alignment = alignmentOf(spec);
    if (cell->textAlignment() != static_cast<int>(alignment.toInt())) cell->setTextAlignment(alignment);
}

// The column's font and colour, or the row style's where the row has one.
void GridView::showStyle(QTableWidgetItem* cell, const GridColumn& spec, const framework::GridRowStyle* style,
                         int row) {
    QFont font = fontOf(spec);
    if (style && style->italic) font.setItalic(true);
    if (cell->font() != font) cell->setFont(font);
    const std::optional<long> fore = style && style->foreColor ? style->foreColor : spec.fontColor;
    const QBrush foreground = fore ? QBrush(colourOfNumber(*fore)) : QBrush();
    if (cell->foreground() != foreground) cell->setForeground(foreground);
    // Rows the even-row setting leaves white keep the grid's own look.
    QBrush background;
    if (style && style->backColor)
        background = QBrush(colourOfNumber(*style->backColor));
    else if (const long back = framework::RowBackColour(static_cast<std::size_t>(row), m_screen.evenRowsColoured());
             back != framework::Rgb(255, 255, 255))
        background = QBrush(colourOfNumber(back));
    if (cell->background() != background) cell->setBackground(background);
}

void GridView::onItemChanged(QTableWidgetItem* cell) {
    if (m_showing) return;
    const auto& g = grid();
    const int row = cell->row();
    const int column = cell->column();
    const GridColumn& spec = g.columns[static_cast<std::size_t>(column)];
    const bool stored = row < static_cast<int>(g.rows.size());
    const std::string before = stored ? cellText(g.rows[static_cast<std::size_t>(row)], spec.caption) : "";
    const std::string text =
        spec.checkBox ? tickText(cell->checkState() == Qt::Checked, before) : cell->text().toStdString();
    if (text == before && stored) return;
    if (text.empty() && !stored) return;
    emit cellEntered(QString::fromStdString(m_name), row, QString::fromStdString(spec.caption),
                     QString::fromStdString(text));
}

void GridView::onCellClicked(int row, int column) {
    if (row >= static_cast<int>(grid().rows.size())) return;
    emit clickedInto(QString::fromStdString(m_name), row,
                     QString::fromStdString(grid().columns[static_cast<std::size_t>(column)].caption));
}

void GridView::onCellDoubleClicked(int row, int column) {
    if (row >= static_cast<int>(grid().rows.size())) return;
    emit doubleClickedInto(QString::fromStdString(m_name), row,
                           QString::fromStdString(grid().columns[static_cast<std::size_t>(column)].caption));
}

void GridView::recordSelection() {
    std::vector<std::size_t> selected;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        const auto column = static_cast<std::size_t>(index.column());
        if (std::find(selected.begin(), selected.end(), column) == selected.end()) selected.push_back(column);
    }
    std::sort(selected.begin(), selected.end());
    m_screen.gridForView(m_name).selectedColumns = selected;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        moveToNextCell();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// Enter in a cell being typed into takes the text, then moves on.
void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) moveToNextCell();
}

// The next shown column to the right as the columns stand, else the first of the next row.
void GridView::moveToNextCell() {
    const QModelIndex here = currentIndex();
    const int row = here.isValid() ? here.row() : 0;
    const int visual = here.isValid() ? horizontalHeader()->visualIndex(here.column()) : -1;
    auto shownFrom = [this](int from) {
        for (int v = from; v < columnCount(); ++v)
            if (const int logical = horizontalHeader()->logicalIndex(v); !isColumnHidden(logical)) return logical;
        return -1;
    };
    if (const int next = shownFrom(visual + 1); next >= 0) {
        setCurrentCell(row, next);
    } else if (const int first = shownFrom(0); first >= 0 && row + 1 < rowCount()) {
        setCurrentCell(row + 1, first);
    }
}

void GridView::recordOrder() {
    auto& columns = m_screen.gridForView(m_name).columns;
    for (int c = 0; c < static_cast<int>(columns.size()) && c < columnCount(); ++c)
        columns[static_cast<std::size_t>(c)].displayPosition = horizontalHeader()->visualIndex(c);
}

void GridView::recordWidth(int column, int pixels) {
    auto& columns = m_screen.gridForView(m_name).columns;
    if (pixels <= 0 || column < 0 || column >= static_cast<int>(columns.size())) return;
    columns[static_cast<std::size_t>(column)].width = twipsOfPixels(pixels);
    alignHeading(column);
}

// Headings stand centred; one too long for its column keeps its start in view instead.
void GridView::alignHeading(int column) {
    QTableWidgetItem* heading = horizontalHeaderItem(column);
    if (!heading) return;
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 4;
    const bool fits =
        horizontalHeader()->fontMetrics().horizontalAdvance(heading->text()) + margins <= columnWidth(column);
    heading->setTextAlignment(fits ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace keltro::ui
