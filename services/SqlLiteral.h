// Values written into the text of a report query, as SQL string literals.
//
// Every statement the program runs itself binds its values as parameters. The one
// exception is the query a screen hands the host with "ActiveReport": the host receives a
// text and runs it as it stands, so the values the screen shows (the customer's name,
// dates in the user's format) and the document's key are written into that text. They go
// through this function, which quotes them the way SQLite and PostgreSQL both read:
//
//     sqlLiteral("O'Brien Hardware")  ==  "'O''Brien Hardware'"
//     sqlLiteral("")                  ==  "''"
//
// It lives in services/ because two screens (the invoice and the receipt) build such
// queries and neither should own the other's helper.
#pragma once

#include <string>
#include <string_view>

namespace keltro::services {

// `text` between single quotes, each quote inside it doubled.
std::string sqlLiteral(std::string_view text);

}  // namespace keltro::services
