// Error reports and the final check of standard output, for every program.
#pragma once

#include <cerrno>
#include <string>

namespace qv {

// Writes a message to standard error, after flushing standard output so
// that the two streams keep their order when they share a file.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void error_printf(const char* format, ...);

// Flushes standard output; false when that failed, whose reason finish
// then reports.
bool flush_output();

// The system-error report: "Error: NAME: " and the description of err.
void report_error(const std::string& name, int err = errno);

// Occupies each of standard input, output and error that was closed when
// the run began with a descriptor on which every transfer fails, so that no
// file the tool opens takes its place and receives the stream's bytes.
// Called first thing in main.
void hold_standard_streams();

// Flushes and closes standard output at the end of a run. When that fails
// the verdicts or progress lines were lost: it says so on standard error
// and returns 1; otherwise it returns status.
int finish(int status);

}  // namespace qv
