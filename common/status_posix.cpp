#include <sys/stat.h>

#include "common/status.h"

namespace qv {
namespace {

void fill(const struct stat& s, Status& st)
{
    st.directory = S_ISDIR(s.st_mode);
    st.regular = S_ISREG(s.st_mode);
    st.size = std::uint64_t(s.st_size);
    st.has_id = true;
    st.device = std::uint64_t(s.st_dev);
    st.index = std::uint64_t(s.st_ino);
}

}  // namespace

bool status_of(const std::string& path, Status& st)
{
    struct stat s;
    if (stat(path.c_str(), &s) != 0)
        return false;
    fill(s, st);
    return true;
}

bool status_of(std::FILE* f, Status& st)
{
    struct stat s;
    if (fstat(fileno(f), &s) != 0)
        return false;
    fill(s, st);
    return true;
}

}  // namespace qv
