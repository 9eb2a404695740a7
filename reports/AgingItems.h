// The two stores the aging statement reads a million items into, made for that size.
//
// `CustomerPositions` numbers the customers in the order first met: a flat table probed
// in place, so that a look-up touches a few small arrays rather than chasing a hash map's
// nodes across the heap (that chase was most of the time spent per item read).
// `LineBlocks` keeps the lines read in blocks that never move, so that growing the store
// does not copy every line read before, as a vector does each time it doubles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reports/AgingStatement.h"

namespace keltro::reports {

class CustomerPositions {
public:
    CustomerPositions();

    // The customer's position; a customer not met before is given the next one.
    std::uint32_t positionOf(std::string_view customerNo);

    std::size_t size() const { return m_numbers.size(); }
    const std::string& number(std::uint32_t position) const { return m_numbers[position]; }
    // The numbers by position, handed over (the store is empty afterwards).
    std::vector<std::string> takeNumbers();

private:
    void grow();

    std::vector<std::string> m_numbers;
    std::vector<std::uint64_t> m_hashes;  // of each number, by position
    std::vector<std::uint32_t> m_slots;   // a position + 1, or 0 for a free slot
};

class LineBlocks {
public:
    AgingLine& add();
    AgingLine& operator[](std::uint32_t at) { return m_blocks[at >> kBlockBits][at & kBlockMask]; }
    const AgingLine& operator[](std::uint32_t at) const { return m_blocks[at >> kBlockBits][at & kBlockMask]; }
    std::uint32_t size() const { return m_size; }

private:
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::uint32_t kBlockMask = (1u << kBlockBits) - 1;

    std::vector<std::unique_ptr<AgingLine[]>> m_blocks;
    std::uint32_t m_size = 0;
};

}  // namespace keltro::reports
