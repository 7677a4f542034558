#include <fcntl.h>
#include <unistd.h>

#include "common/blockio.h"

namespace qv {

void advise_sequential(std::FILE* f)
{
    posix_fadvise(fileno(f), 0, 0, POSIX_FADV_SEQUENTIAL);
}

bool copy_rest(std::FILE* in, std::FILE* out)
{
    // An in-kernel copy between two files of one file system. A file whose
    // first copy yields nothing may still have bytes to read (files of the
    // kernel's own file systems report no size): the caller reads it.
    for (bool first = true;; first = false) {
        ssize_t n = copy_file_range(fileno(in), nullptr, fileno(out), nullptr, 1 << 30, 0);
        if (n < 0 || (n == 0 && first))
            return false;
        if (n == 0)
            return true;
    }
}

}  // namespace qv
