// The statement text as PostgreSQL receives it, and the values both engines hand back.
#include <gtest/gtest.h>

#include "db/SqlDialect.h"
#include "db/Value.h"

namespace keltro::db {
namespace {

TEST(SqlDialect, numbersParametersAndQuotesBracketedNames) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SELECT * FROM t WHERE a = ? AND b = ?", "SELECT * FROM t WHERE a = $1 AND b = $2"},
        {"SELECT * FROM [Payment_term_table] WHERE [default] = TRUE",
         "SELECT * FROM \"payment_term_table\" WHERE \"default\" = TRUE"},
        {"SELECT '?', \"[x]?\" , ? FROM t", "SELECT '?', \"[x]?\" , $1 FROM t"},
        {"SELECT 'O''Brien ? [x]' || ?", "SELECT 'O''Brien ? [x]' || $1"},
        {"UPDATE [User_right_table] SET [Update] = ? WHERE [user] = ?",
         "UPDATE \"user_right_table\" SET \"update\" = $1 WHERE \"user\" = $2"},
        {"SELECT 'unterminated ?", "SELECT 'unterminated ?"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(toPostgresSql(in), out) << in;
}

TEST(Value, readsEitherEnginesStorageFormsAndNullIsNeitherZeroNorEmpty) {
    // SQLite flags are 0/1 and dates text; PostgreSQL gives real booleans and dates.
    EXPECT_EQ(Value(1).boolean(), true);
    EXPECT_EQ(Value(0).boolean(), false);
    EXPECT_EQ(Value("t").boolean(), true);
    EXPECT_EQ(Value("maybe").boolean(), std::nullopt);
    EXPECT_EQ(Value("2026-12-06").date(), (Date{2026, 12, 6}));
    EXPECT_EQ(Value("2026-12-06 00:00:00").date(), (Date{2026, 12, 6}));
    EXPECT_EQ(Value(12.0).integer(), 12);
    EXPECT_EQ(Value(12.5).integer(), std::nullopt);
    EXPECT_EQ(Value("42").integer(), 42);
    EXPECT_EQ(Value("4.25").number(), 4.25);
    EXPECT_EQ(Value(0.1 + 0.2).text(), "0.30000000000000004");  // read back exactly

    const Value null;
    EXPECT_TRUE(null.isNull() && !null.text() && !null.number());
    EXPECT_EQ(null.numberOr(-1), -1);
    EXPECT_NE(null, Value(0));
    EXPECT_NE(null, Value(""));
    EXPECT_TRUE(Value(std::optional<double>{}).isNull());
    EXPECT_EQ(Value(std::optional<double>{2.5}).number(), 2.5);
}

TEST(Date, refusesDaysTheCalendarDoesNotHave) {
    for (const char* text : {"2024-02-29", "2000-02-29", "2026-12-31"}) EXPECT_TRUE(Date::fromIso(text)) << text;
    for (const char* text : {"2023-02-29", "2026-02-30", "1900-02-29", "2026-04-31", "2026-13-01", "2026-1-01", "",
                             "20261206"})
        EXPECT_FALSE(Date::fromIso(text)) << text;
    EXPECT_EQ((Date{2026, 1, 5}).iso(), "2026-01-05");
    EXPECT_LT((Date{2025, 12, 31}), (Date{2026, 1, 1}));
}

}  // namespace
}  // namespace keltro::db
