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
    };
    const Case cases[] = {
        {2.125, 2.12},   {2.135, 2.14},     {2.675, 2.68},       {-2.125, -2.12},
        {-2.675, -2.68}, {0.005, 0.00},     {0.015, 0.02},       {1.005, 1.00},
        {0.125, 0.12},   {2.5, 2.5},        {2.124999, 2.12},    {2.125001, 2.13},
        {1.0 / 3, 0.33}, {-0.004, 0.0},     {1234567.885, 1234567.88},
        {5000001.014, 5000001.01},          {5000001.015, 5000001.02},
        {0.1 + 0.2, 0.3},                   {1.15 * 1.5, 1.72},  // 1.725 computed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundMoney(c.amount), c.rounded) << c.amount;
        EXPECT_FALSE(std::signbit(roundMoney(c.amount)) && c.rounded == 0.0) << c.amount;
    }
}

TEST(Money, roundsToOtherDecimalPlaces) {
    EXPECT_EQ(roundHalfEven(2.5, 0), 2.0);
    EXPECT_EQ(roundHalfEven(3.5, 0), 4.0);
    EXPECT_EQ(roundHalfEven(-0.5, 0), 0.0);
    EXPECT_EQ(roundHalfEven(1.0005, 3), 1.0);
    EXPECT_EQ(roundHalfEven(1.2345, 3), 1.234);
    EXPECT_EQ(roundHalfEven(1.2355, 3), 1.236);
    EXPECT_EQ(roundHalfEven(1e17 + 16, 2), 1e17 + 16);
    EXPECT_TRUE(std::isnan(roundMoney(std::numeric_limits<double>::quiet_NaN())));
}

TEST(NumberText, formatsWithGroupingAndHalfEvenDecimals) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "#,##0.00", "1,234.50"},      {-1234.5, "#,##0.00", "-1,234.50"},
        {0, "#,##0.00", "0.00"},               {-0.001, "#,##0.00", "0.00"},
        {999.995, "#,##0.00", "1,000.00"},     {2.675, "#,##0.00", "2.68"},
        {2.125, "#,##0.00", "2.12"},           {1234567.891, "#,##0.00", "1,234,567.89"},
        {123, "#,##0.00", "123.00"},           {1234567.5, "#,##0", "1,234,568"},
        {1234566.5, "#,##0", "1,234,566"},     {12.3456, "#,##0.000", "12.346"},
        {-1000000, "#,##0.0000", "-1,000,000.0000"}, {1234.5, "0.00", "1234.50"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value;
    EXPECT_EQ(FormatAmount(-1234.5), "-1,234.50");
}

TEST(NumberText, patternForDecimalsAndAmountReading) {
    EXPECT_EQ(AmountFormatForDecimals(std::nullopt), "#,##0");
    EXPECT_EQ(AmountFormatForDecimals(0), "#,##0");
    EXPECT_EQ(AmountFormatForDecimals(3), "#,##0.000");
    EXPECT_EQ(FormatNumber(1234.5678, AmountFormatForDecimals(3)), "1,234.568");

    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"1,234.50", 1234.5}, {"-1,234,567.25", -1234567.25}, {"", 0},
                          {"abc", 0},           {"12 kg", 12},                  {" 7", 7},
                          {".5", 0.5},          {"1e3", 1000}};
    for (const auto& c : cases) EXPECT_EQ(ParseAmountText(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace keltro::services
