#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <algorithm>

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

namespace {

// The null device, on a descriptor above the standard three, so that it
// never stands in for a standard stream that was closed at the start.
int null_device()
{
    int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd < 0 || fd > 2)
        return fd;
    int high = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    close(fd);
    return high;
}

}  // namespace

std::uint64_t read_through(std::FILE* in, std::uint64_t n)
{
    // Sent to the null device, the file's pages are read as read would read
    // them, but nothing is copied out of the kernel.
    static const int null = null_device();
    std::uint64_t done = 0;
    while (null >= 0 && done < n) {
        ssize_t got = sendfile(null, fileno(in), nullptr, std::min<std::uint64_t>(n - done, 1 << 30));
        if (got <= 0)
            break;
        done += std::uint64_t(got);
    }
    return done;
}

}  // namespace qv
