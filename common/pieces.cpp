#include "common/pieces.h"

namespace qv {

std::string piece_name(const std::string& base, unsigned long k)
{
    std::string digits = std::to_string(k);
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return base + '.' + digits;
}

}  // namespace qv
