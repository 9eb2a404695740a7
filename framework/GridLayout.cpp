#include "framework/GridLayout.h"

namespace keltro::framework {

namespace {

constexpr const char* kLayoutRows =
    "SELECT * FROM [Grid_property] WHERE [form_name] = ? AND [grid_name] = ? "
    "ORDER BY [col_order]";

constexpr int kDefaultRowHeight = 370;

bool inRowHeightRange(long height) { return height >= 200 && height <= 600; }

db::Rows layoutRows(db::Database& db, const std::string& form, const Grid& grid) {
    return db.query(kLayoutRows, {form, grid.name});
}

// The font fields and alignment of a stored row, each non-empty one applied onto the
// grid's default font; values the grid cannot take are passed over.
void applyStoredFont(GridColumn& c, const db::Row& row) {
    c.fontName = row["font_name"].textOr();
    c.fontSize = 0;
    if (auto size = row["font_size"].number(); size && *size > 0) c.fontSize = *size;
    c.italic = row["font_italic"].booleanOr(false);
    c.bold = row["font_bold"].booleanOr(false);
    c.underline = row["font_underline"].booleanOr(false);
    c.fontColor.reset();
    if (auto color = row["font_color"].integer(); color && *color >= 0 && *color <= 0xFFFFFF)
        c.fontColor = static_cast<long>(*color);
    c.alignment = -1;
    if (c.checkBox)
        c.alignment = 2;
    else if (auto align = row["Alignment"].integer(); align && *align >= 0 && *align <= 2)
        c.alignment = static_cast<int>(*align);
}

void applyStoredRowHeight(Grid& grid, const db::Rows& rows) {
    if (rows.empty()) return;
    if (auto height = rows.front()["row_height"].integer())
        grid.rowHeight = LoadedRowHeight(static_cast<long>(*height));
}

GridColumn columnFromRow(const db::Row& row) {
    GridColumn c;
    c.caption = row["Caption"].textOr();
    c.visible = row["Visible"].booleanOr(true);
    c.locked = row["Locked"].booleanOr(false);
    if (!c.visible) return c;
    c.checkBox = row["cell_type"].textOr() == "dbgCheckBox";
    applyStoredFont(c, row);
    if (auto width = row["col_width"].integer(); width && *width > 0) c.width = static_cast<int>(*width);
    return c;
}

// Runs `write` inside the caller's transaction, or in one of its own.
template <class Write>
void inTransaction(db::Database& db, Write write) {
    std::optional<db::Transaction> tx;
    if (!db.inTransaction()) tx.emplace(db);
    write();
    if (tx) tx->commit();
}

db::Value storedText(const std::string& text) { return text.empty() ? db::Value() : db::Value(text); }

}  // namespace

int LoadedRowHeight(long stored) {
    return inRowHeightRange(stored) ? static_cast<int>(stored) : kDefaultRowHeight;
}

void LoadGridLayout(db::Database& db, const std::string& form, Grid& grid) {
    const auto rows = layoutRows(db, form, grid);
    grid.columns.clear();
    applyStoredRowHeight(grid, rows);
    for (const auto& row : rows) grid.columns.push_back(columnFromRow(row));
}

void SaveGridLayout(db::Database& db, const std::string& form, const Grid& grid) {
    const auto rows = layoutRows(db, form, grid);
    inTransaction(db, [&] {
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
    });
}

void SaveGridFonts(db::Database& db, const std::string& form, const Grid& grid) {
    const auto rows = layoutRows(db, form, grid);
    inTransaction(db, [&] {
        for (std::size_t n = 0; n < rows.size() && n < grid.columns.size(); ++n) {
            const GridColumn& c = grid.columns[n];
            db.execute(
                "UPDATE [Grid_property] SET [font_name] = ?, [font_size] = ?, [font_italic] = ?, "
                "[font_bold] = ?, [font_underline] = ?, [font_color] = ?, [Alignment] = ? "
                "WHERE [form_name] = ? AND [grid_name] = ? AND [col_order] = ? AND [Caption] = ?",
                {storedText(c.fontName), c.fontSize > 0 ? db::Value(c.fontSize) : db::Value(), c.italic,
                 c.bold, c.underline, db::Value(c.fontColor),
                 c.alignment >= 0 ? db::Value(c.alignment) : db::Value(), form, grid.name,
                 rows[n]["col_order"], rows[n]["Caption"]});
        }
    });
}

void RestoreGridFonts(db::Database& db, const std::string& form, Grid& grid) {
    const auto rows = layoutRows(db, form, grid);
    applyStoredRowHeight(grid, rows);
    for (std::size_t n = 0; n < rows.size() && n < grid.columns.size(); ++n)
        if (grid.columns[n].visible) applyStoredFont(grid.columns[n], rows[n]);
}

}  // namespace keltro::framework
