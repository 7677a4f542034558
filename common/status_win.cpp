#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include "common/status.h"

namespace qv {
namespace {

void fill(const struct _stat64& s, Status& st)
{
    st.directory = (s.st_mode & _S_IFMT) == _S_IFDIR;
    st.regular = (s.st_mode & _S_IFMT) == _S_IFREG;
    st.size = std::uint64_t(s.st_size);
}

// The volume serial number and file index name a file whatever the path.
void fill_id(HANDLE h, Status& st)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info))
        return;
    st.has_id = true;
    st.device = info.dwVolumeSerialNumber;
    st.index = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

}  // namespace

bool status_of(const std::string& path, Status& st)
{
    // The run-time library's stat fails for a directory written with a
    // trailing separator (but a root, C:\ or \ alone): query it without
    // them, and take the answer only for a directory, as POSIX does.
    std::string name = path;
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/') &&
           name[name.size() - 2] != ':')
        name.pop_back();
    struct _stat64 s;
    if (_stat64(name.c_str(), &s) != 0)
        return false;
    fill(s, st);
    if (name.size() != path.size() && !st.directory)
        return false;
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    fill_id(h, st);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return true;
}

bool status_of(std::FILE* f, Status& st)
{
    struct _stat64 s;
    if (_fstat64(_fileno(f), &s) != 0)
        return false;
    fill(s, st);
    fill_id(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))), st);
    return true;
}

}  // namespace qv
