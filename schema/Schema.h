// Creating the suite's tables in an empty database.
//
// `createStatements` gives the CREATE TABLE and CREATE INDEX statements of every table
// of `suiteTables()` for one engine; `createSchema` runs them, inside the caller's
// transaction, on a database that holds none of the suite's tables yet, and refuses any
// other.
#pragma once

#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::schema {

std::vector<std::string> createStatements(db::Engine engine);

// The suite's tables that exist in the database.
std::vector<std::string> existingSuiteTables(db::Database& db);

// Throws db::DbError with "The database already holds the suite's tables …" when any
// suite table exists; nothing is changed then.
void createSchema(db::Database& db);

}  // namespace keltro::schema
