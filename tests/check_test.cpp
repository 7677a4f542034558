// qvcheck: one verdict line per name.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "common/pieces.h"
#include "harness.h"

namespace {

constexpr std::size_t B = qv::block_size;

TEST(Check, VerdictPerName)
{
    Sandbox box;
    box.write("empty", "");
    box.write("small", "abc");
    box.write("three", pattern(3 * B + 5));
    box.write("block", pattern(B));
    fs::create_directory(box.path("dir"));
    fs::create_symlink("small", box.path("link"));
    fs::create_symlink("nowhere", box.path("dangling"));
    // wine's run-time library finds no status for a device at all.
    const std::string device = windows_tools() ? "non-existent" : "non-regular file";
    EXPECT_EQ(box.run("qvcheck", {"empty", "small", "three", "block", "dir", "missing", "link",
                                  "dangling", "/dev/null", "-H", ""}),
              (Result{"empty ok\nsmall ok\nthree ok\nblock ok\ndir non-regular file\n"
                      "missing non-existent\nlink ok\ndangling non-existent\n"
                      "/dev/null " + device + "\n-H non-existent\n non-existent\n", "", 0}));
}

TEST(Check, FileThatCannotBeOpenedIsNonExistent)
{
    if (windows_tools() && geteuid() == 0)
        GTEST_SKIP() << "root reads any file, and wine will not run as another user in this prefix";
    Sandbox box;
    box.write("secret", "x");
    fs::permissions(box.path("secret"), fs::perms::none);
    std::vector<std::string> prefix;
    if (geteuid() == 0)
        prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    EXPECT_EQ(box.run("qvcheck", {"secret"}, prefix), (Result{"secret non-existent\n", "", 0}));
}

// A sysfs file claims a size of a page and holds a few bytes: a short read,
// as from a file that shrank after its size was taken.
TEST(Check, ShortReadFails)
{
    const std::string name = "/sys/devices/system/cpu/online";
    std::error_code ec;
    if (fs::file_size(name, ec) <= 16 || ec)
        GTEST_SKIP() << name << " does not claim more than it holds";
    Sandbox box;
    EXPECT_EQ(box.run("qvcheck", {name, "-v"}),
              (Result{name + " fail\nqvcheck (QV fileutils) 0.1\n", "", 0}));
}

// A file removed at the end of the test, wherever it is.
struct Away {
    fs::path path;
    explicit Away(fs::path p) : path(std::move(p)) {}
    ~Away()
    {
        std::error_code ec;
        fs::remove(path, ec);
    }
};

// A sparse file past 4 GiB is read to its end, not to its size modulo 2^32.
TEST(Check, FileBeyond32BitsIsReadToTheEnd)
{
    Sandbox box;
    const std::uint64_t size = (std::uint64_t(1) << 32) + 5;
    // On tmpfs a hole reads fast and takes no memory; elsewhere the holes
    // may fill the page cache with 4 GiB of zeros.
    Away big(fs::is_directory("/dev/shm") ? fs::path("/dev/shm") / box.root.filename() : box.root / "big");
    std::ofstream(big.path).close();
    fs::resize_file(big.path, size);
    fs::create_symlink(big.path, box.path("big"));
    std::uint64_t before = 0, after = 0;
    bool counted = io_count("rchar:", before);
    EXPECT_EQ(box.run("qvcheck", {"big"}), (Result{"big ok\n", "", 0}));
    if (!counted)
        GTEST_SKIP() << "no I/O accounting in /proc/self/io: the bytes read are not counted";
    ASSERT_TRUE(io_count("rchar:", after));
    EXPECT_GE(after - before, size);
    // Under wine the count takes in wine's own reads of its files as well.
    EXPECT_LT(after - before, size + (windows_tools() ? 16 << 20 : 1 << 20));
}

TEST(Check, LostStandardOutputFailsTheRun)
{
    Sandbox box;
    box.write("f", "x");
    EXPECT_EQ(box.run("qvcheck", {"f"}, {"sh", "-c", "exec \"$0\" \"$@\" >/dev/full"}),
              (Result{"", full_output_message(), 1}));
}

}  // namespace
