#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "common/report.h"

namespace qv {

void hold_standard_streams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        struct _stat64 st;
        if (_fstat64(fd, &st) == 0)
            continue;
        // The mode is the wrong one, so that whatever the stream is used
        // for fails, and says so.
        int held = _open("NUL", fd == 0 ? _O_WRONLY : _O_RDONLY);
        if (held >= 0 && held != fd) {
            _dup2(held, fd);
            _close(held);
        }
    }
}

}  // namespace qv
