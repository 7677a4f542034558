// qvsplit, and the round trip through qvjoin.
#include <gtest/gtest.h>

#include "common/pieces.h"
#include "harness.h"

namespace {

constexpr std::size_t B = qv::block_size;

std::string writing(const std::string& base, unsigned long from, unsigned long to)
{
    std::string s;
    for (unsigned long k = from; k <= to; ++k)
        s += "Writing file " + qv::piece_name(base, k) + "\n";
    return s;
}

std::string joining(const std::string& base, unsigned long from, unsigned long to)
{
    std::string s;
    for (unsigned long k = from; k <= to; ++k)
        s += "Joining " + qv::piece_name(base, k) + "\n";
    return s;
}

class RoundTrip : public testing::TestWithParam<std::size_t> {};

TEST_P(RoundTrip, SplitGivesFullPiecesAndJoinGivesTheFileBack)
{
    Sandbox box;
    const std::size_t n = GetParam();
    const std::string data = pattern(n);
    box.write("f", data);
    const unsigned long pieces = (n + B - 1) / B;

    EXPECT_EQ(box.run("qvsplit", {"f"}), (Result{writing("f", 1, pieces), "", 0}));
    EXPECT_EQ(box.read("f"), data);
    for (unsigned long k = 1; k <= pieces; ++k)
        EXPECT_EQ(box.read(qv::piece_name("f", k)), data.substr((k - 1) * B, B)) << k;
    EXPECT_FALSE(box.exists(qv::piece_name("f", pieces + 1)));

    fs::rename(box.path("f"), box.path("orig"));
    Result joined = box.run("qvjoin", {"f"});
    if (pieces == 0) {
        EXPECT_EQ(joined, (Result{"", "Error : File f.001 does not exist\n", 0}));
        EXPECT_FALSE(box.exists("f"));
    } else {
        EXPECT_EQ(joined, (Result{joining("f", 1, pieces), "", 0}));
        EXPECT_EQ(box.read("f"), data);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip,
                         testing::Values(0, 1, B - 1, B, B + 1, 2 * B, 2 * B + 120));

TEST(Split, LargeFileRoundTrip)
{
    Sandbox box;
    const std::size_t n = 300 * 1000 * 1000 + 7;
    const std::string data = pattern(n, 7);
    box.write("big.dat", data);
    const unsigned long pieces = n / B + 1;
    EXPECT_EQ(box.run("qvsplit", {"big.dat"}), (Result{writing("big.dat", 1, pieces), "", 0}));
    fs::remove(box.path("big.dat"));
    EXPECT_EQ(box.run("qvjoin", {"big.dat"}), (Result{joining("big.dat", 1, pieces), "", 0}));
    EXPECT_TRUE(box.read("big.dat") == data);
}

TEST(Split, OperandsAndOptionsInterleave)
{
    Sandbox box;
    box.write("a", "aaa");
    box.write("b", "bbb");
    EXPECT_EQ(box.run("qvsplit", {"a", "-h", "b"}),
              (Result{"Writing file a.001\n"
                      "Usage: " + program_name("qvsplit") + " [OPTION] ... [FILE] ...\n"
                      "Splits a long file into several shorter ones.\n\n"
                      "-h, --help     Display this help\n"
                      "-v, --version  Version information\n", "", 0}));
    EXPECT_EQ(box.read("a.001"), "aaa");
    EXPECT_FALSE(box.exists("b.001"));
}

TEST(Split, ExistingPiecesAreOverwrittenAndHigherOnesLeftAlone)
{
    Sandbox box;
    box.write("f", "new");
    box.write("f.001", std::string(B + 50, 'x'));
    box.write("f.002", "stale");
    EXPECT_EQ(box.run("qvsplit", {"f"}), (Result{"Writing file f.001\n", "", 0}));
    EXPECT_EQ(box.read("f.001"), "new");
    EXPECT_EQ(box.read("f.002"), "stale");
}

TEST(Split, FailuresAreReportedAndTheNextOperandIsSplit)
{
    Sandbox box;
    box.write("ok", "fine");
    fs::create_directory(box.path("dir"));
    // A directory opens for reading on Linux and fails at the read; the
    // Windows run-time library does not open it at all.
    const std::string dir_error =
        windows_tools() ? "Error: Couldn't open dir\n" : "Error: dir: Is a directory\n";
    EXPECT_EQ(box.run("qvsplit", {"missing", "dir", "ok"}),
              (Result{"Writing file ok.001\n", "Error: Couldn't open missing\n" + dir_error, 0}));
    EXPECT_EQ(box.read("ok.001"), "fine");
}

TEST(Split, PieceThatCannotBeCreatedEndsThatFile)
{
    Sandbox box;
    const std::string data = pattern(2 * B + 1);
    box.write("f", data);
    fs::create_directory(box.path("f.002"));
    EXPECT_EQ(box.run("qvsplit", {"f"}),
              (Result{"Writing file f.001\n", "Error: Couldn't write to file f.002\n", 0}));
    EXPECT_EQ(box.read("f.001"), data.substr(0, B));
    EXPECT_FALSE(box.exists("f.003"));
}

// The write fails in the block write for a full piece, and only when the
// stream is flushed at its close for a small one: reported once either way.
TEST(Split, WriteErrorOnAPieceIsReportedOnce)
{
    for (std::size_t n : {std::size_t(10), B + 10}) {
        Sandbox box;
        box.write("f", pattern(n));
        fs::create_symlink("/dev/full", box.path("f.001"));
        EXPECT_EQ(box.run("qvsplit", {"f", "f"}),
                  (Result{"Writing file f.001\nWriting file f.001\n",
                          "Error: f.001: No space left on device\n"
                          "Error: f.001: No space left on device\n", 0}))
            << n;
        EXPECT_FALSE(box.exists("f.002"));
    }
}

TEST(Split, NeverWritesOverItsInput)
{
    Sandbox box;
    const std::string data = pattern(2 * B + 3);
    box.write("f", data);
    fs::create_symlink("f", box.path("f.001"));
    box.write("g", data);
    fs::create_hard_link(box.path("g"), box.path("g.002"));
    EXPECT_EQ(box.run("qvsplit", {"f", "g"}),
              (Result{"Writing file g.001\n",
                      "Error: f.001 is the same file as f\nError: g.002 is the same file as g\n", 0}));
    EXPECT_EQ(box.read("f"), data);
    EXPECT_EQ(box.read("g"), data);
    EXPECT_FALSE(box.exists("g.003"));
}

TEST(Split, NamesOfAnyLength)
{
    Sandbox box;
    // A path of over 1,000 bytes through nested directories.
    std::string dir;
    for (int i = 0; i < 6; ++i)
        dir += std::string(200, char('a' + i)) + "/";
    fs::create_directories(box.path(dir));
    const std::string name = native_path(dir + "file");
    const std::string data = pattern(B + 9);
    box.write(dir + "file", data);
    EXPECT_EQ(box.run("qvsplit", {name}), (Result{writing(name, 1, 2), "", 0}));
    EXPECT_EQ(box.read(dir + "file.002"), data.substr(B));
    fs::remove(box.path(dir + "file"));
    EXPECT_EQ(box.run("qvjoin", {name}), (Result{joining(name, 1, 2), "", 0}));
    EXPECT_EQ(box.read(dir + "file"), data);

    // Beyond what the system takes as a path: the ordinary failure.
    const std::string huge(5000, 'z');
    EXPECT_EQ(box.run("qvsplit", {huge}), (Result{"", "Error: Couldn't open " + huge + "\n", 0}));
}

}  // namespace
