// The piece-set rules shared by qvsplit and qvjoin, and the block size
// that every tool of the suite reads and writes in.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace qv {

// Size of every piece but the last, and of each block read or written.
constexpr std::size_t block_size = 1440000;

// "BASE.NNN": the number in decimal, zero-padded to at least three digits.
std::string piece_name(const std::string& base, unsigned long k);

// The one block buffer of a run; empty when it cannot be allocated.
inline std::unique_ptr<char[]> new_block()
{
    return std::unique_ptr<char[]>(new (std::nothrow) char[block_size]);
}

}  // namespace qv
