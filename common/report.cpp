#include "common/report.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace qv {
namespace {

// Why standard output first failed, for finish: a failed flush empties the
// stream's buffer, so the flush at the end may succeed and tell nothing.
int output_error = 0;

}  // namespace

bool flush_output()
{
    if (std::fflush(stdout) == 0)
        return true;
    if (output_error == 0)
        output_error = errno;
    return false;
}

void error_printf(const char* format, ...)
{
    int saved = errno;
    flush_output();
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
    bool failed = !flush_output() || std::ferror(stdout);
    // A failure in a flush of the stream's own, when it filled, leaves no
    // error number behind.
    int err = output_error != 0 ? output_error : EIO;
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
