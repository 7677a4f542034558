// The byte stream of qvrandfile: a linear congruential generator,
// s = s * 214013 + 2531011 (mod 2^32), whose draw is (s >> 16) & 0x7FFF,
// and one byte per draw, the draw modulo 255 (so never 255).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

struct Generator {
    std::uint32_t s = 0;
};

constexpr std::uint32_t lcg_mul = 214013, lcg_add = 2531011;

inline void seed(Generator& g, std::uint32_t value)
{
    g.s = value;
}

// One step, as the definition gives it: a value from 0 to 32767.
inline unsigned draw(Generator& g)
{
    g.s = g.s * lcg_mul + lcg_add;
    return (g.s >> 16) & 0x7FFF;
}

inline unsigned char byte_of(unsigned r)
{
    return static_cast<unsigned char>(r % 255);
}

// Writes the next n bytes of the stream to out and advances g by n draws,
// exactly as n calls of draw would, but a block at a time: 32 lanes each
// hold every 32nd state and jump 32 steps at once, a loop the compiler
// turns into vector code.
inline void fill(Generator& g, unsigned char* out, std::size_t n)
{
    constexpr std::size_t lanes = 32;
    if (n >= lanes) {
        // Jumping k steps is s -> a*s + c with a = mul^k and
        // c = add * (1 + mul + ... + mul^(k-1)), all mod 2^32.
        std::uint32_t a = 1, c = 0;
        std::uint32_t x[lanes];
        for (std::size_t j = 0; j < lanes; ++j) {
            a *= lcg_mul;
            c = c * lcg_mul + lcg_add;
            draw(g);
            x[j] = g.s;
        }
        std::uint32_t last = g.s;
        for (; n >= lanes; n -= lanes, out += lanes) {
            last = x[lanes - 1];
            for (std::size_t j = 0; j < lanes; ++j) {
                // r < 2^15, so r * 32897 >> 23 is exactly r / 255.
                std::uint32_t r = (x[j] >> 16) & 0x7FFF;
                out[j] = static_cast<unsigned char>(r - ((r * 32897) >> 23) * 255);
                x[j] = x[j] * a + c;
            }
        }
        g.s = last;
    }
    for (std::size_t j = 0; j < n; ++j)
        out[j] = byte_of(draw(g));
}

}  // namespace qv
