// The look-up lists' column spec ("0;1500;^;Customer no|1;3000;<;Name") as stored in a
// layout row, which anyone with the suite's tables can write: any text parses to columns
// without a crash, each column from a group of four fields.
#include <cstdlib>

#include "framework/LookupList.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keltro;
    const std::string spec(reinterpret_cast<const char*>(data), size);
    const auto columns = framework::ParseColumnSpec(spec);
    std::size_t groups = 1;
    for (const char c : spec) groups += c == '|';
    if (columns.size() > groups) std::abort();
    return 0;
}
