#include "reports/AgingItems.h"

namespace keltro::reports {

namespace {

constexpr std::size_t kFirstSlots = 1024;

// FNV-1a: customer numbers are a few bytes, hashed inline.
std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

CustomerPositions::CustomerPositions() : m_slots(kFirstSlots, 0) {}

std::uint32_t CustomerPositions::positionOf(std::string_view customerNo) {
    const std::uint64_t hash = hashOf(customerNo);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t taken = m_slots[slot];
        if (taken == 0) {
            const auto position = static_cast<std::uint32_t>(m_numbers.size());
            m_numbers.emplace_back(customerNo);
            m_hashes.push_back(hash);
            m_slots[slot] = position + 1;
            // At most half the slots taken keeps the probes short.
            if (2 * m_numbers.size() > m_slots.size()) grow();
            return position;
        }
        if (m_hashes[taken - 1] == hash && m_numbers[taken - 1] == customerNo) return taken - 1;
    }
}

void CustomerPositions::grow() {
    std::vector<std::uint32_t> slots(2 * m_slots.size(), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t position = 0; position < m_numbers.size(); ++position) {
        std::size_t slot = m_hashes[position] & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = position + 1;
    }
    m_slots = std::move(slots);
}

std::vector<std::string> CustomerPositions::takeNumbers() {
    std::vector<std::string> numbers = std::move(m_numbers);
    m_numbers.clear();
    m_hashes.clear();
    m_slots.assign(kFirstSlots, 0);
    return numbers;
}

AgingLine& LineBlocks::add() {
    if ((m_size & kBlockMask) == 0) m_blocks.push_back(std::make_unique<AgingLine[]>(std::size_t{1} << kBlockBits));
    AgingLine& line = (*this)[m_size];
    ++m_size;
    return line;
}

}  // namespace keltro::reports
