// What the fuzz targets share: the fuzzer's bytes taken apart into a choice and a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace keltro::fuzz {

struct Input {
    std::uint8_t choice = 0;  // the first byte, to pick among variants
    std::string text;         // the rest, as typed
};

inline Input split(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    return {data[0], std::string(reinterpret_cast<const char*>(data + 1), size - 1)};
}

}  // namespace keltro::fuzz
