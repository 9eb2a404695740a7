// Grid layouts kept in the database, shared by every user of it.
//
// Each grid of each screen has one `Grid_property` row per column, read in `col_order`:
// the n-th row describes the n-th column (caption, visible, locked, check-box cells,
// width, font, alignment), and the first row carries the grid's row height. A grid
// without rows shows no columns. When the screen closes, the widths, the order the person
// dragged the columns into and the row height go back to the rows of the visible
// columns; the rows of hidden columns are not touched.
//
// Fonts are the font bar's (framework/FontBar.h): they change in the grid only, until
// "Save Font" writes every column's font and alignment back (`SaveGridFonts`) or
// "Restore Font" brings the stored ones back (`RestoreGridFonts`). A stored value the
// grid cannot take (an unknown alignment, a size or width of 0 or less) is passed over.
#pragma once

#include <string>

#include "db/Database.h"
#include "framework/ScreenParts.h"

namespace keltro::framework {

// The row height a stored value gives: 370 for anything above 600 or below 200.
int LoadedRowHeight(long stored);

void LoadGridLayout(db::Database& db, const std::string& form, Grid& grid);
void SaveGridLayout(db::Database& db, const std::string& form, const Grid& grid);

// Writes font name, size, italic, bold, underline, colour and alignment of column n into
// the n-th stored row, for every row.
void SaveGridFonts(db::Database& db, const std::string& form, const Grid& grid);
// Re-applies the stored row height and the stored fonts and alignment of the visible
// columns; unsaved font changes are lost.
void RestoreGridFonts(db::Database& db, const std::string& form, Grid& grid);

}  // namespace keltro::framework
