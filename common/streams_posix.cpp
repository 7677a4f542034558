#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/report.h"

namespace qv {

void hold_standard_streams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor is fd itself. The mode is the wrong
        // one, so that whatever the stream is used for fails, and says so.
        int held = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
}

}  // namespace qv
