// Hostile names: every tool takes them as any other name, or fails on them
// through its ordinary error path.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "common/pieces.h"
#include "harness.h"

namespace {

const std::string odd_names[] = {
    "-f", "--", "-", "--help=x", "line\nbreak", "\n", "tab\there", " lead and trail ", "\xff\xfe\x80",
    "%s%n%d", "back\\slash", "'quote\"", std::string(250, 'n'),
};

class OddName : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (windows_tools())
            GTEST_SKIP() << "POSIX names; the tools under test are the Windows programs";
    }
};

class LongNames : public testing::Test {
protected:
    void SetUp() override
    {
        if (windows_tools())
            GTEST_SKIP() << "POSIX name limits; the tools under test are the Windows programs";
    }
};

TEST_P(OddName, SplitsAndJoinsLikeAnyOtherName)
{
    Sandbox box;
    const std::string& name = GetParam();
    const std::string data = pattern(qv::block_size + 3);
    box.write(name, data);
    EXPECT_EQ(box.run("qvsplit", {name}),
              (Result{"Writing file " + name + ".001\nWriting file " + name + ".002\n", "", 0}));
    fs::remove(box.path(name));
    EXPECT_EQ(box.run("qvjoin", {name}),
              (Result{"Joining " + name + ".001\nJoining " + name + ".002\n", "", 0}));
    EXPECT_TRUE(box.read(name) == data);
    EXPECT_EQ(box.run("qvcheck", {name}), (Result{name + " ok\n", "", 0}));
    fs::remove(box.path(name));
    EXPECT_EQ(box.run("qvrandfile", {"-s", "7", name}), (Result{"Writing file " + name + "\n", "", 0}));
    EXPECT_EQ(box.read(name).size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Names, OddName, testing::ValuesIn(odd_names));

// Writes or reads a file by a path relative to the work directory that is
// too long to be given whole with the work directory in front of it.
void write_at(const Sandbox& box, const std::string& name, const std::string& bytes)
{
    int dir = open(box.work.c_str(), O_DIRECTORY | O_RDONLY);
    int fd = openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << name.size();
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    close(fd);
    close(dir);
}

std::string read_at(const Sandbox& box, const std::string& name)
{
    int dir = open(box.work.c_str(), O_DIRECTORY | O_RDONLY);
    int fd = openat(dir, name.c_str(), O_RDONLY);
    char buf[64];
    ssize_t n = fd < 0 ? 0 : read(fd, buf, sizeof buf);
    close(fd);
    close(dir);
    return std::string(buf, std::size_t(n > 0 ? n : 0));
}

// A file whose own name fits the system's limits but whose piece names do
// not: a last component of 252 or more bytes, a path of 4,093 bytes.
TEST_F(LongNames, PieceNamesBeyondTheSystemLimitsFailAsUsual)
{
    Sandbox box;
    std::string deep;
    for (int i = 0; i < 20; ++i)
        deep += std::string(200, char('a' + i)) + "/";
    fs::create_directories(box.path(deep));
    for (const std::string& name : {std::string(252, 'x'), std::string(255, 'y'), deep + std::string(73, 'z')}) {
        write_at(box, name, "data");
        ASSERT_EQ(read_at(box, name), "data") << name.size();
        EXPECT_EQ(box.run("qvsplit", {name}), (Result{"", "Error: Couldn't write to file " + name + ".001\n", 0}))
            << name.size();
        EXPECT_EQ(box.run("qvjoin", {name}), (Result{"", "Error : File " + name + ".001 does not exist\n", 0}))
            << name.size();
        EXPECT_EQ(read_at(box, name), "data");
    }
}

// Names longer than any path the system takes.
TEST_F(LongNames, BeyondAnyPathAreOrdinaryFailures)
{
    Sandbox box;
    for (std::size_t n : {std::size_t(1001), std::size_t(4097), std::size_t(100000)}) {
        const std::string name(n, 'q');
        EXPECT_EQ(box.run("qvsplit", {name}), (Result{"", "Error: Couldn't open " + name + "\n", 0})) << n;
        EXPECT_EQ(box.run("qvjoin", {name}), (Result{"", "Error : File " + name + ".001 does not exist\n", 0}))
            << n;
        EXPECT_EQ(box.run("qvcheck", {name}), (Result{name + " non-existent\n", "", 0})) << n;
        EXPECT_EQ(box.run("qvrandfile", {name}), (Result{"", "Error: Couldn't write to file " + name + "\n", 0}))
            << n;
    }
}

}  // namespace
