// The command-line front shared by qvsplit, qvjoin, qvcheck and qvrandfile:
// one scan that runs the tool's action on every operand, interleaved with
// the options, and the help and version texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

// What the tools differ in. In synopsis and description, "%s" stands for
// the program name; every line there carries its own newline.
struct Profile {
    std::string_view banner;         // version line, without the newline
    std::string_view synopsis;       // "Usage: %s ...\n"
    std::string_view description;    // lines between synopsis and the empty line
    std::string_view extra_options;  // option lines before -h and -v
    bool stop_after_info;            // help or version ends the scan
    bool exit_on_empty;              // an empty command line ends the run, status 1
    bool size_option;                // "-s"/"--size" sets the size handed on
};

// The per-operand action: the operand as typed and the current size.
using Action = std::function<void(const std::string& operand, std::int64_t size)>;

// Runs the action on each operand in order. Returns the exit status the
// command line itself calls for: 1 when it ends the run early, else 0.
int scan(int argc, char** argv, const Profile& p, const Action& act);

// "No arguments. Try %s --help\n" on standard error.
void no_arguments(const char* prog);

void print_help(const Profile& p, const char* prog);
void print_version(const Profile& p);

// Reads a size as atol does (white space, one sign, digits up to the first
// other character, no digits give 0), saturating at the 64-bit range.
std::int64_t parse_size(const char* s);

}  // namespace qv
