// The demo company: a small business with a year of books around a given day.
//
// It fills an empty suite database (tables already created) with everything the A/R
// screens need to be tried out: a base currency and two foreign ones with rates, a chart
// of accounts with classes and balances, fiscal years, numbering, customers, payment
// terms, compound taxes, banks and a credit card, module parameters, the working period,
// user rights, grid layouts of every grid and report formats for user "admin".
#pragma once

#include <string>

#include "db/Database.h"

namespace keltro::schema {

// Adds the demo company inside the caller's transaction; `today` places its fiscal years.
void addDemoCompany(db::Database& db, const db::Date& today);

// A few lines about the company in the database (name, base currency, fiscal years,
// counts of customers, accounts and documents), read back from the database.
std::string describeCompany(db::Database& db);

}  // namespace keltro::schema
