// Runs a built tool in a fresh temporary directory and captures standard
// output, standard error and the exit status as exact bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct Result {
    std::string out, err;
    int status = -1;  // exit status, or 128 + signal number
};

std::ostream& operator<<(std::ostream& os, const Result& r);
bool operator==(const Result& a, const Result& b);

// Where a run's standard output goes: the file Result.out is read from, or
// a fault: /dev/full, a closed descriptor, or a pipe whose reader is gone
// (with SIGPIPE at its default action).
enum class Output { file, full, closed, broken_pipe };

// A scratch directory, removed with everything in it at the end.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Runs tool (a name such as "qvsplit") with words, in the work directory.
    // prefix comes before the tool: setpriv, unshare and the like.
    Result run(const std::string& tool, const std::vector<std::string>& words,
               const std::vector<std::string>& prefix = {}, Output output = Output::file) const;

    fs::path path(const std::string& name) const { return work / name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

    fs::path root, work;
};

// The program name a tool sees as argument zero when run by the harness.
std::string program_name(const std::string& tool);

// True when the tools under test are the Windows programs (QV_EXE_SUFFIX
// ".exe"), run under wine. Their console output is normalised to "\n" line
// ends by run().
bool windows_tools();

// A path written with "/", as the tools under test write it: with "\\" for
// the Windows programs.
std::string native_path(std::string path);

// The path by which the Windows programs reach a helper program of the
// tests (tests/helpers), such as "qvshowargs".
std::string helper_program(const std::string& name);

// n bytes of a fixed pattern that differs from block to block.
std::string pattern(std::size_t n, unsigned seed = 1);

// A count of /proc/self/io ("rchar:", "wchar:"), which takes in the reads and
// writes of every child once it is reaped, so a run's I/O can be measured.
// False where the kernel keeps no such count.
bool io_count(const std::string& key, std::uint64_t& value);

// What a tool says at the end when its standard output is /dev/full. The
// Windows programs under wine write to a device unbuffered: the failed write's
// reason is not kept to the end of the run, which reports a plain I/O error.
std::string full_output_message();
