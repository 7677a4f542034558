// Faster block I/O where the platform offers it: a read-ahead hint, and a
// copy and a read that stay inside the system. All may do nothing at all.
#pragma once

#include <cstdint>
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

// Reads up to n bytes of in inside the system, from its current position,
// without handing them out; in may hold no buffered bytes. Returns the
// count read, less than n when the platform cannot do this (or not for
// this file) or met the end of in or an error: the caller's own reads go
// on from there and meet whatever stopped it.
std::uint64_t read_through(std::FILE* in, std::uint64_t n);

}  // namespace qv
