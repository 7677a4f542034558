#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "foreach/launch.h"

extern char** environ;

namespace qv {

// Inside single quotes the shell takes every byte as it is, save the quote
// itself, which is closed, written escaped and reopened: '\''.
std::string quoted_path(const std::string& path)
{
    std::string q = "'";
    for (char c : path) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// /bin/sh -c LINE, started with posix_spawn: far cheaper per file than a
// fork of this process.
bool launch(const std::string& line)
{
    char sh[] = "sh", c[] = "-c";
    char* argv[] = {sh, c, const_cast<char*>(line.c_str()), nullptr};
    pid_t pid;
    int err = posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ);
    if (err != 0) {
        errno = err;
        return false;
    }
    int ws;
    while (waitpid(pid, &ws, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace qv
