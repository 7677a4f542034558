// The command-line front as each tool shows it: help, version, the empty
// command line, and how options and operands interleave.
#include <gtest/gtest.h>

#include "common/front.h"
#include "harness.h"

namespace {

// Argument zero as the tool sees it: "qvsplit" here, the program's own
// path under wine.
const std::string split_name = program_name("qvsplit"), join_name = program_name("qvjoin"),
                  check_name = program_name("qvcheck"), randfile_name = program_name("qvrandfile");

const std::string split_help =
    "Usage: " + split_name + " [OPTION] ... [FILE] ...\n"
    "Splits a long file into several shorter ones.\n"
    "\n"
    "-h, --help     Display this help\n"
    "-v, --version  Version information\n";

const std::string join_help =
    "Usage: " + join_name + " [OPTION] ... [BASE] ...\n"
    "Joins  short files into a long file.\n"
    "BASE is base name of file\n"
    "E.g. if the following files exist: myfile.001, myfile.002, myfile.003\n"
    "Then: '" + join_name + " myfile' concatenates them to create myfile\n"
    "\n"
    "-h, --help     Display this help\n"
    "-v, --version  Version information\n";

const std::string check_help =
    "Usage: " + check_name + " [OPTION] ... [FILE] ...\n"
    "Checks that files can be read.\n"
    "\n"
    "-h, --help     Display this help\n"
    "-v, --version  Version information\n";

const std::string randfile_help =
    "Usage: " + randfile_name + " [OPTION] ... [FILE]\n"
    "Creates a file of random bytes.\n"
    "\n"
    "-s, --size     Number of bytes to write.\n"
    "-h, --help     Display this help\n"
    "-v, --version  Version information\n";

struct Case {
    std::string tool;
    std::vector<std::string> words;
    Result want;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.tool;
    for (const std::string& w : c.words)
        *os << " [" << w << "]";
}

class Front : public testing::TestWithParam<Case> {};

TEST_P(Front, WordsGiveExactOutput)
{
    Sandbox box;
    const Case& c = GetParam();
    EXPECT_EQ(box.run(c.tool, c.words), c.want);
}

INSTANTIATE_TEST_SUITE_P(Split, Front, testing::Values(
    Case{"qvsplit", {"-h"}, {split_help, "", 0}},
    Case{"qvsplit", {"--help"}, {split_help, "", 0}},
    Case{"qvsplit", {"-v"}, {"qvsplit (QV fileutils) 0.1\n", "", 0}},
    Case{"qvsplit", {"--version"}, {"qvsplit (QV fileutils) 0.1\n", "", 0}},
    // The scan stops after help or version.
    Case{"qvsplit", {"-h", "-v"}, {split_help, "", 0}},
    Case{"qvsplit", {"-v", "missing", "-h"}, {"qvsplit (QV fileutils) 0.1\n", "", 0}},
    Case{"qvsplit", {}, {"", "No arguments. Try " + split_name + " --help\n", 0}},
    // Options match whole words only; anything else is an operand.
    Case{"qvsplit", {"-H", "-help", "--help=1", "-hv", "-s", ""},
         {"", "Error: Couldn't open -H\nError: Couldn't open -help\nError: Couldn't open --help=1\n"
              "Error: Couldn't open -hv\nError: Couldn't open -s\nError: Couldn't open \n", 0}}));

INSTANTIATE_TEST_SUITE_P(Join, Front, testing::Values(
    Case{"qvjoin", {"-h"}, {join_help, "", 0}},
    Case{"qvjoin", {"--version"}, {"qvjoin (QV fileutils) 0.1\n", "", 0}},
    // The scan goes on after help or version.
    Case{"qvjoin", {"-h", "-v"}, {join_help + "qvjoin (QV fileutils) 0.1\n", "", 0}},
    Case{"qvjoin", {"-v", "a", "-h", "b"},
         {"qvjoin (QV fileutils) 0.1\n" + join_help,
          "Error : File a.001 does not exist\nError : File b.001 does not exist\n", 0}},
    Case{"qvjoin", {}, {"", "No arguments. Try " + join_name + " --help\n", 1}},
    Case{"qvjoin", {"-s", "1"},
         {"", "Error : File -s.001 does not exist\nError : File 1.001 does not exist\n", 0}}));

INSTANTIATE_TEST_SUITE_P(Check, Front, testing::Values(
    Case{"qvcheck", {"-h"}, {check_help, "", 0}},
    Case{"qvcheck", {"--help"}, {check_help, "", 0}},
    Case{"qvcheck", {"-v"}, {"qvcheck (QV fileutils) 0.1\n", "", 0}},
    Case{"qvcheck", {"--version"}, {"qvcheck (QV fileutils) 0.1\n", "", 0}},
    // The scan stops after help or version: b is never looked at.
    Case{"qvcheck", {"-h", "-v"}, {check_help, "", 0}},
    Case{"qvcheck", {"a", "-v", "b"}, {"a non-existent\nqvcheck (QV fileutils) 0.1\n", "", 0}},
    Case{"qvcheck", {}, {"", "No arguments. Try " + check_name + " --help\n", 0}},
    Case{"qvcheck", {"-help", "--version=1", "-s", "1"},
         {"-help non-existent\n--version=1 non-existent\n-s non-existent\n1 non-existent\n", "", 0}}));

INSTANTIATE_TEST_SUITE_P(Randfile, Front, testing::Values(
    Case{"qvrandfile", {"-h"}, {randfile_help, "", 0}},
    Case{"qvrandfile", {"--help"}, {randfile_help, "", 0}},
    // The banner is the splitter's, word for word.
    Case{"qvrandfile", {"-v"}, {"qvsplit (QV fileutils) 0.1\n", "", 0}},
    Case{"qvrandfile", {"--version"}, {"qvsplit (QV fileutils) 0.1\n", "", 0}},
    // The scan goes on after help or version.
    Case{"qvrandfile", {"-h", "-v", "-h"},
         {randfile_help + "qvsplit (QV fileutils) 0.1\n" + randfile_help, "", 0}},
    Case{"qvrandfile", {}, {"", "No arguments. Try " + randfile_name + " --help\n", 0}},
    Case{"qvrandfile", {"-v", "-s"}, {"qvsplit (QV fileutils) 0.1\n", "Error: Not enough arguments", 1}},
    Case{"qvrandfile", {"--size"}, {"", "Error: Not enough arguments", 1}}));

TEST(ParseSize, ReadsLikeAtolAndSaturates)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"0", 0}, {"100", 100}, {"  \t\n\v\f\r42", 42}, {"+7", 7}, {"-5", -5},
        {"10k", 10}, {"abc", 0}, {"", 0}, {"- 5", 0}, {"+-5", 0}, {"1 2", 1},
        {"5000000000", 5000000000}, {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", INT64_MAX}, {"99999999999999999999999", INT64_MAX},
        {"-9223372036854775808", INT64_MIN}, {"-99999999999999999999", INT64_MIN},
    };
    for (auto [text, want] : cases)
        EXPECT_EQ(qv::parse_size(text), want) << '"' << text << '"';
}

}  // namespace
