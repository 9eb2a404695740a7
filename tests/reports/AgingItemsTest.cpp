// The stores the aging statement reads its items into: every customer keeps the position
// it was first given however far the table grows, and lines stay where they were put
// across the blocks.
#include <gtest/gtest.h>

#include <string>

#include "reports/AgingItems.h"

namespace keltro::reports {
namespace {

TEST(CustomerPositions, KeepsEachCustomersFirstPositionAsTheTableGrows) {
    CustomerPositions positions;
    // Numbers alike but for one character, far more than the first table holds, with
    // every number met again between new ones.
    constexpr std::uint32_t kCustomers = 5000;
    for (std::uint32_t n = 0; n < kCustomers; ++n) {
        const std::string number = "C" + std::to_string(n);
        ASSERT_EQ(positions.positionOf(number), n) << number;
        ASSERT_EQ(positions.positionOf("C" + std::to_string(n / 2)), n / 2) << "met again after " << number;
    }
    EXPECT_EQ(positions.size(), kCustomers);
    EXPECT_EQ(positions.positionOf(""), kCustomers) << "an empty number is a customer too";
    EXPECT_EQ(positions.positionOf("C1 "), kCustomers + 1) << "a trailing space makes another number";
    const auto numbers = positions.takeNumbers();
    ASSERT_EQ(numbers.size(), kCustomers + 2);
    EXPECT_EQ(numbers[4321], "C4321");
    EXPECT_EQ(positions.size(), 0u);
    EXPECT_EQ(positions.positionOf("C4321"), 0u) << "handed over, the store starts again";
}

TEST(LineBlocks, KeepsLinesWhereTheyWerePutAcrossBlocks) {
    LineBlocks lines;
    constexpr std::uint32_t kLines = 200000;  // a few blocks
    for (std::uint32_t n = 0; n < kLines; ++n) {
        AgingLine& line = lines.add();
        EXPECT_FALSE(line.total);
        EXPECT_EQ(line.ageColumn, -1) << "a new line starts blank";
        line.customer = n;
        line.openAmount = n * 0.01;
    }
    AgingLine& first = lines[0];
    lines.add();  // growing moves nothing
    EXPECT_EQ(&first, &lines[0]);
    EXPECT_EQ(lines.size(), kLines + 1);
    for (const std::uint32_t n : {0u, 65535u, 65536u, 131071u, kLines - 1}) {
        EXPECT_EQ(lines[n].customer, n);
        EXPECT_DOUBLE_EQ(lines[n].openAmount, n * 0.01);
    }
}

}  // namespace
}  // namespace keltro::reports
