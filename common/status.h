// The file-status query, one implementation per platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qv {

struct Status {
    bool directory = false;
    bool regular = false;
    std::uint64_t size = 0;
    // Identity of the file behind the name, the same for every link to it.
    bool has_id = false;
    std::uint64_t device = 0, index = 0;
};

// Both follow symbolic links; false when the file cannot be examined.
bool status_of(const std::string& path, Status& st);
bool status_of(std::FILE* f, Status& st);

inline bool same_file(const Status& a, const Status& b)
{
    return a.has_id && b.has_id && a.device == b.device && a.index == b.index;
}

// True when name exists and is the file already open as f.
inline bool is_open_file(const std::string& name, std::FILE* f)
{
    Status a, b;
    return status_of(f, a) && status_of(name, b) && same_file(a, b);
}

}  // namespace qv
