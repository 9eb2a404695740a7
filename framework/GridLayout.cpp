#include "framework/GridLayout.h"

namespace keltro::framework {

namespace {

constexpr const char* kLayoutRows =
    "SELECT * FROM [Grid_property] WHERE [form_name] = ? AND [grid_name] = ? "
    "ORDER BY [col_order]";

constexpr int kDefaultRowHeight = 370;

bool inRowHeightRange(long height) { return height >= 200 && height <= 600; }

GridColumn columnFromRow(const db::Row& row) {
    GridColumn c;
    c.caption = row["Caption"].textOr();
    c.visible = row["Visible"].booleanOr(true);
    c.locked = row["Locked"].booleanOr(false);
    if (!c.visible) return c;
    c.checkBox = row["cell_type"].textOr() == "dbgCheckBox";
    c.fontName = row["font_name"].textOr();
    c.fontSize = row["font_size"].numberOr(0);
    c.italic = row["font_italic"].booleanOr(false);
    c.bold = row["font_bold"].booleanOr(false);
    c.underline = row["font_underline"].booleanOr(false);
    if (auto color = row["font_color"].integer()) c.fontColor = static_cast<long>(*color);
    if (c.checkBox)
        c.alignment = 2;
    else if (auto align = row["Alignment"].integer(); align && *align >= 0 && *align <= 2)
        c.alignment = static_cast<int>(*align);
    // A width the grid cannot take is passed over.
    if (auto width = row["col_width"].integer(); width && *width > 0) c.width = static_cast<int>(*width);
    return c;
}

}  // namespace

int LoadedRowHeight(long stored) {
    return inRowHeightRange(stored) ? static_cast<int>(stored) : kDefaultRowHeight;
}

void LoadGridLayout(db::Database& db, const std::string& form, Grid& grid) {
    const auto rows = db.query(kLayoutRows, {form, grid.name});
    grid.columns.clear();
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (n == 0) {
            if (auto height = rows[n]["row_height"].integer())
                grid.rowHeight = LoadedRowHeight(static_cast<long>(*height));
        }
        grid.columns.push_back(columnFromRow(rows[n]));
    }
}

void SaveGridLayout(db::Database& db, const std::string& form, const Grid& grid) {
    const auto rows = db.query(kLayoutRows, {form, grid.name});
    const bool ownTransaction = !db.inTransaction();
    std::optional<db::Transaction> tx;
    if (ownTransaction) tx.emplace(db);
    for (std::size_t n = 0; n < rows.size() && n < grid.columns.size(); ++n) {
        if (!rows[n]["Visible"].booleanOr(true)) continue;
        const GridColumn& column = grid.columns[n];
        const int position = column.displayPosition >= 0 ? column.displayPosition : static_cast<int>(n);
        const db::Value rowHeight =
            n == 0 ? db::Value(inRowHeightRange(grid.rowHeight) ? grid.rowHeight : kDefaultRowHeight)
                   : rows[n]["row_height"];
        db.execute(
            "UPDATE [Grid_property] SET [col_order] = ?, [col_width] = ?, [row_height] = ? "
            "WHERE [form_name] = ? AND [grid_name] = ? AND [col_order] = ? AND [Caption] = ?",
            {position, column.width, rowHeight, form, grid.name, rows[n]["col_order"],
             rows[n]["Caption"]});
    }
    if (tx) tx->commit();
}

}  // namespace keltro::framework
