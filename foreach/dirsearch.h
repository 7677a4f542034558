// Directory listing and path forming, one implementation per platform.
#pragma once

#include <string>

namespace qv {

struct DirSearch;

// The separator between a directory and an entry name in a path.
extern const char path_separator[];

// Starts listing directory dir; null when it cannot be listed.
DirSearch* search_begin(const std::string& dir);

// Gives the next entry name, "." and ".." included where the file system
// lists them, in the file system's order; false when there are no more.
bool search_next(DirSearch* s, std::string& name);

// Releases the search; false, with errno set, when closing failed or the
// listing ended on an error rather than at its end.
bool search_end(DirSearch* s);

}  // namespace qv
