#include <windows.h>

#include <cerrno>

#include "foreach/dirsearch.h"

namespace qv {

const char path_separator[] = "\\";

struct DirSearch {
    HANDLE handle;
    WIN32_FIND_DATAA data;
    bool pending;  // data holds an entry not yet given out
    DWORD err;
};

DirSearch* search_begin(const std::string& dir)
{
    DirSearch* s = new DirSearch{};
    s->handle = FindFirstFileA((dir + "\\*.*").c_str(), &s->data);
    if (s->handle != INVALID_HANDLE_VALUE) {
        s->pending = true;
        return s;
    }
    // A drive's root has no "." and "..": when empty it matches nothing,
    // which is an empty listing, not a failure.
    if (GetLastError() == ERROR_FILE_NOT_FOUND)
        return s;
    delete s;
    return nullptr;
}

bool search_next(DirSearch* s, std::string& name)
{
    if (s->handle == INVALID_HANDLE_VALUE)
        return false;
    if (!s->pending) {
        if (!FindNextFileA(s->handle, &s->data)) {
            DWORD e = GetLastError();
            if (e != ERROR_NO_MORE_FILES)
                s->err = e;
            return false;
        }
    }
    s->pending = false;
    name = s->data.cFileName;
    return true;
}

bool search_end(DirSearch* s)
{
    bool ok = s->err == 0;
    if (s->handle != INVALID_HANDLE_VALUE && !FindClose(s->handle))
        ok = false;
    delete s;
    if (!ok)
        errno = EIO;
    return ok;
}

}  // namespace qv
