#include "common/report.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace qv {

void error_printf(const char* format, ...)
{
    int saved = errno;
    std::fflush(stdout);
    std::va_list ap;
    va_start(ap, format);
    std::vfprintf(stderr, format, ap);
    va_end(ap);
    errno = saved;
}

void report_error(const std::string& name, int err)
{
    error_printf("Error: %s: %s\n", name.c_str(), std::strerror(err));
}

int finish(int status)
{
    bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    int err = errno;
    // Closing a standard output that was closed from the start, with nothing
    // written to it, is no loss.
    if (std::fclose(stdout) != 0 && !failed && errno != EBADF) {
        failed = true;
        err = errno;
    }
    if (!failed)
        return status;
    // A reader that went away ends the run quietly, as it would by signal.
    if (err != EPIPE)
        std::fprintf(stderr, "Error: standard output: %s\n", std::strerror(err));
    return 1;
}

}  // namespace qv
