// Rounding and number text: ties to even on the decimal the user meant, not on the binary
// value that happens to be stored.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::services {
namespace {

TEST(Money, roundsDecimalTiesToEven) {
    struct Case {
        double amount;
        double rounded;
        int decimals = 2;  // 2: roundMoney gives the same
    };
    const Case cases[] = {
        {2.125, 2.12},   {2.135, 2.14},     {2.675, 2.68},       {-2.125, -2.12},
        {-2.675, -2.68}, {0.005, 0.00},     {0.015, 0.02},       {1.005, 1.00},
        {0.125, 0.12},   {2.5, 2.5},        {2.124999, 2.12},    {2.125001, 2.13},
        {1.0 / 3, 0.33}, {-0.004, 0.0},     {1234567.885, 1234567.88},
        {5000001.014, 5000001.01},          {5000001.015, 5000001.02},
        {0.1 + 0.2, 0.3},                   {1.15 * 1.5, 1.72},  // 1.725 computed
        {2.5, 2.0, 0},   {3.5, 4.0, 0},     {-0.5, 0.0, 0},      {1.0005, 1.0, 3},
        {1.2345, 1.234, 3},                 {1.2355, 1.236, 3},  {1e17 + 16, 1e17 + 16},
        // Amounts of hundreds of billions (currencies of small units) keep their cents;
        // only their true ties go to even.
        {100000000000.01, 100000000000.01}, {-75000000000.07, -75000000000.07},
        {123456789012.345, 123456789012.34}, {123456789012.355, 123456789012.36},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " to " << c.decimals);
        const double rounded = roundHalfEven(c.amount, c.decimals);
        EXPECT_EQ(rounded, c.rounded);
        EXPECT_FALSE(std::signbit(rounded) && c.rounded == 0.0) << "a zero is +0";
        if (c.decimals != 2) continue;
        EXPECT_EQ(roundMoney(c.amount), c.rounded);
    }
    EXPECT_TRUE(std::isnan(roundMoney(std::numeric_limits<double>::quiet_NaN())));
}

TEST(NumberText, formatsWithGroupingAndHalfEvenDecimalsAndReadsAmounts) {
    const std::tuple<double, std::string, std::string> cases[] = {
        {1234.5, "#,##0.00", "1,234.50"}, {-1234.5, "#,##0.00", "-1,234.50"}, {0, "#,##0.00", "0.00"},
        {-0.001, "#,##0.00", "0.00"},     {999.995, "#,##0.00", "1,000.00"},  {2.675, "#,##0.00", "2.68"},
        {2.125, "#,##0.00", "2.12"},      {1234567.891, "#,##0.00", "1,234,567.89"},
        {123, "#,##0.00", "123.00"},      {1234567.5, "#,##0", "1,234,568"}, {1234566.5, "#,##0", "1,234,566"},
        {12.3456, "#,##0.000", "12.346"}, {-1000000, "#,##0.0000", "-1,000,000.0000"},
        {1234.5, "0.00", "1234.50"},      {1234.5678, AmountFormatForDecimals(3), "1,234.568"},
        {0.5, "#,##0", "0"},              {-0.004, "0.00", "0.00"},           {1000, "#,##0.00", "1,000.00"},
        {999, "#,##0", "999"},            {-100000, "#,##0", "-100,000"},     {0.07, "#,##0.00", "0.07"},
        {12345678.123456789, "#,##0.00000000", "12,345,678.12345679"},
        // Beyond the whole units a double keeps exact, and beyond eight places, printf writes them.
        {1e16, "#,##0.00", "10,000,000,000,000,000.00"}, {-11258999068426.5, "#,##0.00", "-11,258,999,068,426.50"},
        {1.5, "0.0000000000", "1.5000000000"},
    };
    for (const auto& [value, pattern, text] : cases)
        EXPECT_EQ(FormatNumber(value, pattern), text) << value << " " << pattern;
    EXPECT_EQ(AmountFormatForDecimals(std::nullopt), "#,##0");
    EXPECT_EQ(AmountFormatForDecimals(0), "#,##0");
    EXPECT_EQ(AmountFormatForDecimals(3), "#,##0.000");
    EXPECT_EQ(FormatAmount(-1234.5), "-1,234.50");

    const std::pair<const char*, double> read[] = {{"1,234.50", 1234.5}, {"-1,234,567.25", -1234567.25}, {"", 0},
                                                   {"abc", 0}, {"12 kg", 12}, {" 7", 7}, {".5", 0.5}, {"1e3", 1000}};
    for (const auto& [text, value] : read) EXPECT_EQ(ParseAmountText(text), value) << text;
}

}  // namespace
}  // namespace keltro::services
