// The suite's tables: every table the A/R component reads or writes, with its columns.
//
// One neutral description serves both engines; `Ddl.h` turns it into CREATE statements.
// Column names keep the case the suite gives them (`Currency`, `GLFKEY`, `Id`); SQLite
// keeps that case, PostgreSQL stores them in lower case, and the data layer reads columns
// without regard to case, so code may write either.
#pragma once

#include <string>
#include <vector>

namespace keltro::schema {

enum class ColumnType {
    Text,     // text of any length
    Integer,  // whole number
    Double,   // amounts, rates, percentages
    Boolean,  // yes/no flag (SQLite: 0/1)
    Date,     // calendar date (SQLite: "YYYY-MM-DD" text)
    Time,     // time of day as text "hh:mm:ss"
    AutoId,   // autonumber primary key
};

struct ColumnDef {
    std::string name;
    ColumnType type;
};

struct IndexDef {
    std::vector<std::string> columns;
    bool unique = false;
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;
};

// Every table of the suite database, in creation order.
const std::vector<TableDef>& suiteTables();

}  // namespace keltro::schema
