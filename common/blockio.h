// Faster block I/O where the platform offers it: a read-ahead hint and a
// copy that stays inside the system. Both may do nothing at all.
#pragma once

#include <cstdio>

namespace qv {

// Tells the system that f will be read once, from its start to its end.
void advise_sequential(std::FILE* f);

// Copies the rest of in to out inside the system, from the current position
// of each, when both are files it can copy between; neither stream may hold
// buffered bytes. True when the end of in was reached. False when the caller
// is to copy the rest with its own reads and writes: the platform has no
// such copy, or not for these files, or it met an error, which the caller's
// reads and writes then meet and report in their usual way.
bool copy_rest(std::FILE* in, std::FILE* out);

}  // namespace qv
