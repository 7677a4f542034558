// A small owner for a FILE*, so that no way out of a function leaves a
// stream open. Outputs are closed with close_file, whose result counts.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace qv {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

inline File open_file(const std::string& name, const char* mode)
{
    return File(std::fopen(name.c_str(), mode));
}

// Closes the stream now; non-zero when the last bytes could not be written.
// The explicit flush comes first because not every run-time library's
// fclose reports a failure of its own final flush (wine's msvcrt does not).
inline int close_file(File& f)
{
    std::FILE* p = f.release();
    int flushed = std::fflush(p);
    int closed = std::fclose(p);
    return flushed != 0 ? flushed : closed;
}

}  // namespace qv
