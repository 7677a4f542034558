// Fuzzes qv::parse_size: it must read every text as strtoll does in base
// 10, which skips the same white space and saturates at the same bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/front.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (qv::parse_size(text.c_str()) != std::strtoll(text.c_str(), nullptr, 10))
        std::abort();
    return 0;
}
