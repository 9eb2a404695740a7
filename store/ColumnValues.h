// The columns of one row to write, and the INSERT or UPDATE that writes them.
//
// The store writes whole records: a header or a line is a list of (column, value) pairs
// in the table's order, and the statement is made from that list, so a column is named
// in exactly one place. Only the column names, which are the store's own constants
// (string literals, or names made once and kept), become SQL text; they are kept as
// given, not copied. Every value is bound. Names are bracketed because a few of them are
// keywords on one engine or the other (`User`, `default`).
//
//     ColumnValues row;
//     row.add("docno", header.docno).add("due_date", header.dueDate);
//     db.execute(row.insertSql("AR_header_table"), row.params());
//
// Text columns follow one rule throughout the store: an empty text is written as Null and
// Null reads back as empty text, so a record struct has one way of saying "no value".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Row.h"
#include "db/Value.h"

namespace keltro::store {

class ColumnValues {
public:
    // Room for a whole record, so that a long one is not moved while it is built.
    ColumnValues() {
        m_columns.reserve(kTypicalColumns);
        m_values.reserve(kTypicalColumns);
    }

    // `column` must outlive the statement made from it (see above).
    ColumnValues& add(std::string_view column, db::Value value);
    // Text: empty is written as Null.
    ColumnValues& addText(std::string_view column, const std::string& text);
    ColumnValues& append(const ColumnValues& other);

    // INSERT INTO [table] ([a], [b] …) VALUES (?, ? …)
    const std::string& insertSql(std::string_view table) const;
    // UPDATE [table] SET [a] = ?, [b] = ? … WHERE `where`; the WHERE clause's own
    // parameters follow the column values (see `paramsWith`).
    const std::string& updateSql(std::string_view table, std::string_view where) const;

    const db::Params& params() const { return m_values; }
    // The column values followed by `extra` (the parameters of an UPDATE's WHERE clause).
    db::Params paramsWith(const db::Params& extra) const;

private:
    static constexpr std::size_t kTypicalColumns = 64;

    std::string makeInsertSql(std::string_view table) const;
    std::string makeUpdateSql(std::string_view table, std::string_view where) const;

    std::vector<std::string_view> m_columns;  // the store's constants: kept, not copied
    db::Params m_values;
};

// Readers for the column forms the records use; Null gives the empty value.
std::optional<int> optionalInt(const db::Value& value);

}  // namespace keltro::store
