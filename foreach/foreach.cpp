// qvforeach: run a command once for every regular file in a directory tree.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "common/report.h"
#include "common/status.h"
#include "foreach/dirsearch.h"
#include "foreach/launch.h"

namespace {

std::string prefix;
// The directories on the current walk path, to tell a link loop.
std::vector<qv::Status> walking;

// Runs the command for one file, the path as one quoted argument. The
// command's own exit status is of no concern here.
void run(const std::string& path)
{
    std::string line;
    try {
        line = prefix + " " + qv::quoted_path(path);
    } catch (const std::bad_alloc&) {
        qv::error_printf("Memory allocation failure\n");
        return;
    }
    // The command writes to the same output: what was said so far goes first.
    qv::flush_output();
    if (!qv::launch(line))
        qv::report_error(path);
}

// Runs the command for each regular file under dir, st being its status;
// 0 after a complete listing, 1 otherwise.
int walk(const std::string& dir, const qv::Status& st)
{
    for (const qv::Status& w : walking) {
        if (qv::same_file(w, st)) {
            std::printf("Error: %s loops back to a directory being walked\n", dir.c_str());
            return 1;
        }
    }
    qv::DirSearch* s = qv::search_begin(dir);
    if (!s) {
        std::printf("%s: Error invalid file spec\n", dir.c_str());
        return 1;
    }
    walking.push_back(st);
    int result = 0;
    std::string name;
    while (qv::search_next(s, name)) {
        // Every entry is classified by the status of its full path, so that
        // links are followed; "." and ".." are queried like the rest.
        std::string path = dir + qv::path_separator + name;
        qv::Status est;
        if (!qv::status_of(path, est)) {
            std::printf("Error: %s non-existent", path.c_str());
            result = 1;
            break;
        }
        if (est.directory) {
            if (name != "." && name != "..")
                walk(path, est);
        } else if (est.regular)
            run(path);
    }
    walking.pop_back();
    if (!qv::search_end(s)) {
        qv::report_error(dir);
        result = 1;
    }
    return result;
}

// The start directory: 0 when it does not exist, 1 when it is no directory,
// else the result of its walk.
int visit(const std::string& path)
{
    qv::Status st;
    if (!qv::status_of(path, st)) {
        std::printf("non-existent\n");
        return 0;
    }
    if (!st.directory) {
        std::printf("Error: %s is not a directory\n", path.c_str());
        return 1;
    }
    return walk(path, st);
}

}  // namespace

int main(int argc, char** argv)
{
    qv::hold_standard_streams();
    // The command words joined as they are: they are the user's own shell
    // text, pipes, redirections and quotes included. All blank, they would
    // leave the bare paths to be run as commands.
    try {
        for (int i = 2; i < argc; ++i)
            prefix += std::string(i > 2 ? " " : "") + argv[i];
    } catch (const std::bad_alloc&) {
        qv::error_printf("Memory allocation failure trying to construct command\n");
        return 1;
    }
    if (prefix.find_first_not_of(" \t\n\v\f\r") == std::string::npos) {
        qv::error_printf("Error: no command to execute\n");
        return 1;
    }
    return qv::finish(visit(argv[1]));
}
