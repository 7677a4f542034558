#include "common/front.h"

#include <cstdio>
#include <limits>

#include "common/pieces.h"
#include "common/report.h"

namespace qv {
namespace {

// Writes text with every "%s" replaced by the program name.
void put_with_name(std::string_view text, const char* prog)
{
    for (std::size_t at; (at = text.find("%s")) != text.npos; text.remove_prefix(at + 2)) {
        std::fwrite(text.data(), 1, at, stdout);
        std::fputs(prog, stdout);
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

void no_arguments(const char* prog)
{
    std::fprintf(stderr, "No arguments. Try %s --help\n", prog);
}

void print_help(const Profile& p, const char* prog)
{
    put_with_name(p.synopsis, prog);
    put_with_name(p.description, prog);
    std::fputs("\n", stdout);
    std::fwrite(p.extra_options.data(), 1, p.extra_options.size(), stdout);
    std::fputs("-h, --help     Display this help\n"
               "-v, --version  Version information\n", stdout);
}

void print_version(const Profile& p)
{
    std::fwrite(p.banner.data(), 1, p.banner.size(), stdout);
    std::fputs("\n", stdout);
}

std::int64_t parse_size(const char* s)
{
    while (*s == ' ' || (*s >= '\t' && *s <= '\r'))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';
    // The magnitude of INT64_MIN is one more than INT64_MAX.
    const std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + negative;
    std::uint64_t v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        unsigned digit = unsigned(*s - '0');
        if (v > (limit - digit) / 10) {
            v = limit;
            break;
        }
        v = v * 10 + digit;
    }
    return negative ? std::int64_t(0 - v) : std::int64_t(v);
}

int scan(int argc, char** argv, const Profile& p, const Action& act)
{
    const char* prog = argc > 0 && argv[0] ? argv[0] : "";
    if (argc < 2) {
        no_arguments(prog);
        return p.exit_on_empty ? 1 : 0;
    }
    std::int64_t size = block_size;
    for (int i = 1; i < argc; ++i) {
        std::string_view w = argv[i];
        if (w == "-h" || w == "--help") {
            print_help(p, prog);
            if (p.stop_after_info)
                break;
        } else if (w == "-v" || w == "--version") {
            print_version(p);
            if (p.stop_after_info)
                break;
        } else if (p.size_option && (w == "-s" || w == "--size")) {
            // The next word is the value, whatever it looks like.
            if (++i == argc) {
                error_printf("Error: Not enough arguments");
                return 1;
            }
            size = parse_size(argv[i]);
        } else {
            act(argv[i], size);
        }
    }
    return 0;
}

}  // namespace qv
