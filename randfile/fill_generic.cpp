// fill_block where the build knows of no wider vectors: fill itself.
#include "randfile/generator.h"

namespace qv {

void fill_block(Generator& g, unsigned char* out, std::size_t n)
{
    fill(g, out, n);
}

}  // namespace qv
