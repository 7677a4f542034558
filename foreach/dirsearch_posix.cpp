#include <dirent.h>

#include <cerrno>

#include "foreach/dirsearch.h"

namespace qv {

const char path_separator[] = "/";

struct DirSearch {
    DIR* dir;
    int err;
};

DirSearch* search_begin(const std::string& dir)
{
    DIR* d = opendir(dir.c_str());
    return d ? new DirSearch{d, 0} : nullptr;
}

bool search_next(DirSearch* s, std::string& name)
{
    // readdir gives null both at the end and on an error; only errno tells.
    errno = 0;
    const dirent* e = readdir(s->dir);
    if (!e) {
        s->err = errno;
        return false;
    }
    name = e->d_name;
    return true;
}

bool search_end(DirSearch* s)
{
    int err = s->err;
    if (closedir(s->dir) != 0 && err == 0)
        err = errno;
    delete s;
    errno = err;
    return err == 0;
}

}  // namespace qv
