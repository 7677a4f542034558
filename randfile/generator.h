// The byte stream of qvrandfile: a linear congruential generator,
// s = s * 214013 + 2531011 (mod 2^32), whose draw is (s >> 16) & 0x7FFF,
// and one byte per draw, the draw modulo 255 (so never 255).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

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

// The state k draws after s, in as many steps as k has bits: composing
// s -> a*s + c with itself gives s -> a*a*s + c*(a + 1).
inline std::uint32_t skip(std::uint32_t s, std::uint64_t k)
{
    std::uint32_t a = lcg_mul, c = lcg_add;
    for (; k != 0; k >>= 1) {
        if (k & 1)
            s = s * a + c;
        c *= a + 1;
        a *= a;
    }
    return s;
}

// Block generation works on the two halves of the state, s = h * 2^16 + l.
// The low half steps on its own, l -> mul * l + add (mod 2^16), and runs
// through all 2^16 values in one cycle. The high half steps as
// h -> mul * h + d(l) (mod 2^16), where d(l) = (mul >> 16) * l + (add >> 16)
// + the carry out of the low half depends on l alone. So a jump of `lanes`
// draws takes h to mul^lanes * h + jump[p] (mod 2^16), where p is the place
// of l in the cycle of the low half: one table for every seed. A byte
// needs bits 0 to 14 of h only.
struct BlockTables {
    static constexpr std::size_t lanes = 128, cycle = 65536;
    std::vector<std::uint16_t> place;  // place[l]: where l is in the cycle from 0
    std::vector<std::uint16_t> jump;   // by place, and `lanes` more repeating the start
    std::uint16_t jump_mul = 1;        // mul^lanes (mod 2^16)
};

inline BlockTables make_block_tables()
{
    constexpr std::uint32_t mul_lo = lcg_mul & 0xFFFF, mul_hi = lcg_mul >> 16;
    constexpr std::uint32_t add_lo = lcg_add & 0xFFFF, add_hi = lcg_add >> 16;
    constexpr std::size_t lanes = BlockTables::lanes, cycle = BlockTables::cycle;
    BlockTables t;
    t.place.resize(cycle);
    std::vector<std::uint16_t> d(cycle + lanes);
    std::uint32_t l = 0;
    for (std::size_t p = 0; p < cycle; ++p) {
        t.place[l] = static_cast<std::uint16_t>(p);
        std::uint32_t next = mul_lo * l + add_lo;
        d[p] = static_cast<std::uint16_t>(mul_hi * l + add_hi + (next >> 16));
        l = next & 0xFFFF;
    }
    std::copy(d.begin(), d.begin() + lanes, d.begin() + cycle);
    std::uint32_t m = 1, e = 0;
    for (std::size_t j = 0; j < lanes; ++j) {
        m = (m * mul_lo) & 0xFFFF;
        e = (e * mul_lo + d[j]) & 0xFFFF;
    }
    t.jump_mul = static_cast<std::uint16_t>(m);
    // jump[p] is the sum over j < lanes of mul^(lanes-1-j) * d[p+j]; each
    // next one drops the oldest term and takes one more.
    t.jump.resize(cycle + lanes);
    for (std::size_t p = 0; p < cycle; ++p) {
        t.jump[p] = static_cast<std::uint16_t>(e);
        e = (e * mul_lo - m * d[p] + d[p + lanes]) & 0xFFFF;
    }
    std::copy(t.jump.begin(), t.jump.begin() + lanes, t.jump.begin() + cycle);
    return t;
}

// Writes the next n bytes of the stream to out and advances g by n draws,
// exactly as n calls of draw would, but a block at a time: `lanes` 16-bit
// lanes each hold the high half of every lanes-th state and jump that many
// draws at once, a loop the compiler turns into vector code.
inline void fill(Generator& g, unsigned char* out, std::size_t n)
{
    constexpr std::size_t lanes = BlockTables::lanes;
    std::size_t done = 0;
    if (n >= lanes) {
        static const BlockTables t = make_block_tables();
        std::uint16_t h[lanes];
        std::uint32_t s = g.s;
        for (std::size_t j = 0; j < lanes; ++j) {
            s = s * lcg_mul + lcg_add;
            h[j] = static_cast<std::uint16_t>(s >> 16);
        }
        std::size_t p = t.place[(g.s * lcg_mul + lcg_add) & 0xFFFF];
        const std::uint32_t a = t.jump_mul;
        for (; n - done >= lanes; done += lanes) {
            const std::uint16_t* e = &t.jump[p];
            unsigned char* o = out + done;
            for (std::size_t j = 0; j < lanes; ++j) {
                // r < 2^15, so (r * 32897) >> 23 is exactly r / 255, and
                // r - 255 * (r / 255) is the low byte of h + r / 255.
                // All in 16 bits, so that a vector register holds many lanes.
                std::uint16_t hj = h[j];
                std::uint16_t r = hj & 0x7FFF;
                auto high = static_cast<std::uint16_t>((std::uint32_t(r) * 32897) >> 16);
                auto q = static_cast<std::uint16_t>(high >> 7);
                o[j] = static_cast<unsigned char>(hj + q);
                h[j] = static_cast<std::uint16_t>(std::uint32_t(hj) * a + e[j]);
            }
            p = (p + lanes) & (BlockTables::cycle - 1);
        }
        g.s = skip(g.s, done);
    }
    for (; done < n; ++done)
        out[done] = byte_of(draw(g));
}

// fill, on the widest vectors that the processor running it has and the
// build knows (fill_*.cpp, chosen by the build).
void fill_block(Generator& g, unsigned char* out, std::size_t n);

}  // namespace qv
