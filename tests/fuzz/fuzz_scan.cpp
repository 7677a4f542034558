// Fuzzes qv::scan with arbitrary command lines under every profile and
// checks the operands it hands on against a plain reading of the rules.
// Input: one byte of profile flags, then the words, each ended by a NUL;
// the first word is the program name.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/front.h"

namespace {

struct Call {
    std::string operand;
    std::int64_t size;
    bool operator==(const Call&) const = default;
};

bool is(const char* w, const char* a, const char* b)
{
    return std::strcmp(w, a) == 0 || std::strcmp(w, b) == 0;
}

// What the scan must do: the calls it makes and the status it returns.
int expected(int argc, char** argv, const qv::Profile& p, std::vector<Call>& calls)
{
    if (argc < 2)
        return p.exit_on_empty ? 1 : 0;
    std::int64_t size = 1440000;
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "-h", "--help") || is(argv[i], "-v", "--version")) {
            if (p.stop_after_info)
                return 0;
        } else if (p.size_option && is(argv[i], "-s", "--size")) {
            if (++i == argc)
                return 1;
            size = std::strtoll(argv[i], nullptr, 10);
        } else {
            calls.push_back({argv[i], size});
        }
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Help and version texts are not looked at.
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned flags = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> words;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\0', at);
        if (end == text.npos)
            end = text.size();
        words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    const int argc = int(argv.size());
    argv.push_back(nullptr);

    const qv::Profile p = {
        .banner = "fuzz (QV fileutils) 0.1",
        .synopsis = "Usage: %s [OPTION] ... [FILE] ...\n",
        .description = "Line one.\nThen: '%s x' does %s\n",
        .extra_options = (flags & 4) ? "-s, --size     Number of bytes to write.\n" : "",
        .stop_after_info = (flags & 1) != 0,
        .exit_on_empty = (flags & 2) != 0,
        .size_option = (flags & 4) != 0,
    };
    std::vector<Call> got, want;
    int status = qv::scan(argc, argv.data(), p,
                          [&](const std::string& operand, std::int64_t n) { got.push_back({operand, n}); });
    int want_status = expected(argc, argv.data(), p, want);
    if (status != want_status || got != want)
        std::abort();
    return 0;
}
