// qvjoin on hand-made piece sets.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "common/pieces.h"
#include "harness.h"

namespace {

constexpr std::size_t B = qv::block_size;

TEST(Join, ConcatenatesPiecesOfAnySize)
{
    Sandbox box;
    const std::string one = pattern(B, 1), two = pattern(10, 2);
    box.write("a.001", one);
    box.write("a.002", two);
    box.write("b.001", "x");
    box.write("b.002", "");  // an empty piece adds nothing and the set goes on
    box.write("b.003", "yz");
    EXPECT_EQ(box.run("qvjoin", {"a", "b"}),
              (Result{"Joining a.001\nJoining a.002\nJoining b.001\nJoining b.002\nJoining b.003\n", "", 0}));
    EXPECT_EQ(box.read("a"), one + two);
    EXPECT_EQ(box.read("b"), "xyz");
}

TEST(Join, AGapEndsTheSet)
{
    Sandbox box;
    box.write("a.001", "1");
    box.write("a.003", "3");
    EXPECT_EQ(box.run("qvjoin", {"a"}), (Result{"Joining a.001\n", "", 0}));
    EXPECT_EQ(box.read("a"), "1");
}

TEST(Join, PieceNumbersGrowPastThreeDigits)
{
    Sandbox box;
    std::string want, out;
    for (unsigned long k = 1; k <= 1001; ++k) {
        std::string name = qv::piece_name("a", k);
        box.write(name, std::to_string(k) + ",");
        want += std::to_string(k) + ",";
        out += "Joining " + name + "\n";
    }
    EXPECT_EQ(box.run("qvjoin", {"a"}), (Result{out, "", 0}));
    EXPECT_EQ(box.read("a"), want);
}

TEST(Join, WithoutAFirstPieceTheBaseIsLeftAlone)
{
    Sandbox box;
    box.write("a", "keep me");
    box.write("a.002", "2");
    EXPECT_EQ(box.run("qvjoin", {"a", "b"}),
              (Result{"", "Error : File a.001 does not exist\nError : File b.001 does not exist\n", 0}));
    EXPECT_EQ(box.read("a"), "keep me");
    EXPECT_FALSE(box.exists("b"));
}

TEST(Join, BaseThatCannotBeOpenedIsReported)
{
    Sandbox box;
    fs::create_directory(box.path("a"));
    box.write("a.001", "1");
    box.write("b.001", "2");
    EXPECT_EQ(box.run("qvjoin", {"a", "b"}), (Result{"Joining b.001\n", "Error: Couldn't open a\n", 0}));
    EXPECT_EQ(box.read("b"), "2");
}

// The failed output stays failed: every later piece that yields bytes is
// reported for the base once; a failure seen only at the close, once.
TEST(Join, WriteErrorOnTheBase)
{
    Sandbox box;
    fs::create_symlink("/dev/full", box.path("a"));
    box.write("a.001", pattern(B + 1));
    box.write("a.002", "");
    box.write("a.003", "3");
    fs::create_symlink("/dev/full", box.path("b"));
    box.write("b.001", "small");
    box.write("b.002", "pieces");
    EXPECT_EQ(box.run("qvjoin", {"a", "b"}),
              (Result{"Joining a.001\nJoining a.002\nJoining a.003\nJoining b.001\nJoining b.002\n",
                      "Error: a: No space left on device\nError: a: No space left on device\n"
                      "Error: b: No space left on device\n", 0}));
}

TEST(Join, ReadErrorOnAPieceIsReportedAndTheNextPieceJoined)
{
    Sandbox box;
    box.write("a.001", "1");
    fs::create_directory(box.path("a.002"));
    box.write("a.003", "3");
    if (windows_tools()) {
        // The Windows run-time library does not open a directory: a.002
        // cannot be opened and so ends the set.
        EXPECT_EQ(box.run("qvjoin", {"a"}), (Result{"Joining a.001\n", "", 0}));
        EXPECT_EQ(box.read("a"), "1");
        return;
    }
    EXPECT_EQ(box.run("qvjoin", {"a"}),
              (Result{"Joining a.001\nJoining a.002\nJoining a.003\n", "Error: a.002: Is a directory\n", 0}));
    EXPECT_EQ(box.read("a"), "13");
}

TEST(Join, NeverReadsItsOwnOutput)
{
    Sandbox box;
    box.write("a.001", "1");
    fs::create_symlink("a", box.path("a.002"));
    box.write("a.003", "3");
    box.write("b", "intact");
    fs::create_hard_link(box.path("b"), box.path("b.001"));
    box.write("b.002", "2");
    EXPECT_EQ(box.run("qvjoin", {"a", "b"}),
              (Result{"Joining a.001\nJoining a.003\n",
                      "Error: a.002 is the same file as a\nError: b.001 is the same file as b\n", 0}));
    EXPECT_EQ(box.read("a"), "13");
    EXPECT_EQ(box.read("b"), "intact");
}

// Pieces the system copies itself and pieces it cannot (one on another file
// system, one that is a device) go to the base in order, whichever way the
// ones before them went.
TEST(Join, PiecesCopiedInsideTheSystemOrNotJoinInOrder)
{
    const fs::path shm = "/dev/shm";
    if (!fs::is_directory(shm))
        GTEST_SKIP() << "no /dev/shm for a piece on another file system";
    Sandbox box;
    const fs::path elsewhere = shm / ("qvjoin_test." + std::to_string(getpid()));
    const std::string one = pattern(B + 5, 1), two = pattern(B + 7, 2), four = pattern(9, 4);
    std::ofstream(elsewhere, std::ios::binary) << two;
    box.write("a.001", one);
    fs::create_symlink(elsewhere, box.path("a.002"));
    fs::create_symlink("/dev/null", box.path("a.003"));
    box.write("a.004", four);
    EXPECT_EQ(box.run("qvjoin", {"a"}),
              (Result{"Joining a.001\nJoining a.002\nJoining a.003\nJoining a.004\n", "", 0}));
    EXPECT_TRUE(box.read("a") == one + two + four);
    fs::remove(elsewhere);
}

// Pieces and base on one small disk, where the system copies the pieces
// itself: the full disk is reported as a write through the stream would
// report it, for every piece that yields bytes.
TEST(Join, FullDiskMetByTheSystemsOwnCopy)
{
    if (windows_tools())
        GTEST_SKIP() << "the Windows programs have no in-kernel copy, and wine its own view of the disk";
    Sandbox box;
    fs::create_directory(box.path("disk"));
    fs::create_directory(box.path("saved"));
    if (std::system(("unshare -m mount -t tmpfs -o size=64k qvprobe " + box.path("disk").string() +
                     " >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs in a private mount namespace (unshare -m needs root)";
    const std::string data = pattern(2400000, 5);
    for (unsigned long k = 1; k <= 3; ++k)
        box.write(qv::piece_name("j", k), data.substr((k - 1) * 800000, 800000));
    box.write("k.001", "next operand");
    const std::vector<std::string> small_disk = {
        "unshare", "-m", "sh", "-c",
        "mount -t tmpfs -o size=3m qvdisk disk && cp j.001 j.002 j.003 disk/ && \"$0\" \"$@\"; "
        "s=$?; cp -a disk/. saved/ && exit $s"};
    const std::string full = "Error: disk/j: No space left on device\n";
    EXPECT_EQ(box.run("qvjoin", {"disk/j", "k"}, small_disk),
              (Result{"Joining disk/j.001\nJoining disk/j.002\nJoining disk/j.003\nJoining k.001\n",
                      full + full + full, 0}));
    const std::string joined = box.read("saved/j");
    EXPECT_GT(joined.size(), 0u);
    EXPECT_LT(joined.size(), 800000u);
    EXPECT_TRUE(joined == data.substr(0, joined.size()));
    EXPECT_EQ(box.read("k"), "next operand");
}

}  // namespace
