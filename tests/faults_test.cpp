// The tools under real faults: standard output that cannot be written, a
// disk that fills midway, rights taken away, a device that fails part-way
// through a read, and files that change while a tool works on them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include "common/pieces.h"
#include "harness.h"

namespace {

constexpr std::size_t B = qv::block_size;

// Runs a shell command line; true when it succeeded.
bool shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The first line a shell command writes, without its newline.
std::string shell_line(const std::string& command)
{
    std::string line;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        if (std::fgets(buf, sizeof buf, p))
            line = buf;
        pclose(p);
    }
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    return line;
}

// Makes the folder "disk" of the work directory; true when a file system
// can be mounted on it in a private mount namespace (which needs root).
bool can_mount_disk(const Sandbox& box)
{
    fs::create_directory(box.path("disk"));
    return shell("unshare -m mount -t tmpfs -o size=64k qvprobe " + box.path("disk").string());
}

// The faults here are Linux's own; the Windows programs under wine meet the
// other platform's library instead.
class Native : public testing::Test {
protected:
    void SetUp() override
    {
        if (windows_tools())
            GTEST_SKIP() << "Linux faults; the tools under test are the Windows programs";
    }
};

// ---------------------------------------------------------------------------
// Standard output that cannot be written.

const std::string no_space = "Error: standard output: No space left on device\n";
const std::string bad_descriptor = "Error: standard output: Bad file descriptor\n";

struct OutputCase {
    std::string tool;
    std::vector<std::string> words;
    Output output;
    Result want;
};

void PrintTo(const OutputCase& c, std::ostream* os)
{
    *os << c.tool << " output " << int(c.output);
    for (const std::string& w : c.words)
        *os << " [" << w << "]";
}

class LostOutput : public testing::TestWithParam<OutputCase> {
protected:
    void SetUp() override
    {
        if (windows_tools())
            GTEST_SKIP() << "Linux faults; the tools under test are the Windows programs";
    }
};
using LostOutputRun = Native;
using ChangingFiles = Native;

// The work directory holds f (3 bytes), b.001 and b.002.
TEST_P(LostOutput, NeverPassesForSuccess)
{
    Sandbox box;
    box.write("f", "abc");
    box.write("b.001", "12");
    box.write("b.002", "34");
    const OutputCase& c = GetParam();
    EXPECT_EQ(box.run(c.tool, c.words, {}, c.output), c.want);
}

INSTANTIATE_TEST_SUITE_P(SplitJoin, LostOutput, testing::Values(
    OutputCase{"qvsplit", {"-h"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvsplit", {"f"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvsplit", {"-v"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvsplit", {"f"}, Output::closed, {"", bad_descriptor, 1}},
    // An error message flushes the progress lines before it: that flush
    // fails, and the failure is the one reported.
    OutputCase{"qvsplit", {"f", "missing"}, Output::full, {"", "Error: Couldn't open missing\n" + no_space, 1}},
    OutputCase{"qvjoin", {"b", "c"}, Output::closed,
               {"", "Error : File c.001 does not exist\n" + bad_descriptor, 1}},
    // Nothing to say, nothing lost.
    OutputCase{"qvsplit", {"missing"}, Output::full, {"", "Error: Couldn't open missing\n", 0}},
    OutputCase{"qvsplit", {"missing"}, Output::closed, {"", "Error: Couldn't open missing\n", 0}},
    // A reader that went away: the quiet end by SIGPIPE.
    OutputCase{"qvsplit", {"-h"}, Output::broken_pipe, {"", "", 128 + SIGPIPE}},
    OutputCase{"qvjoin", {"-h"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvjoin", {"b"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvjoin", {"-v", "b"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvjoin", {}, Output::full, {"", "No arguments. Try qvjoin --help\n", 1}},
    OutputCase{"qvjoin", {"nothing"}, Output::closed,
               {"", "Error : File nothing.001 does not exist\n", 0}},
    OutputCase{"qvjoin", {"b"}, Output::broken_pipe, {"", "", 128 + SIGPIPE}}));

INSTANTIATE_TEST_SUITE_P(CheckRandfile, LostOutput, testing::Values(
    OutputCase{"qvcheck", {"f", "missing"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvcheck", {"f"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvcheck", {"--help"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvcheck", {}, Output::closed, {"", "No arguments. Try qvcheck --help\n", 0}},
    OutputCase{"qvcheck", {"f"}, Output::broken_pipe, {"", "", 128 + SIGPIPE}},
    OutputCase{"qvrandfile", {"-s", "5", "r"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvrandfile", {"-v", "-s", "5", "r"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvrandfile", {"-s", "5", "r"}, Output::broken_pipe, {"", "", 128 + SIGPIPE}},
    OutputCase{"qvrandfile", {"-s"}, Output::closed, {"", "Error: Not enough arguments", 1}}));

// The work directory holds the file f; qvforeach only speaks of trouble.
INSTANTIATE_TEST_SUITE_P(Foreach, LostOutput, testing::Values(
    OutputCase{"qvforeach", {"missing", "true"}, Output::full, {"", no_space, 1}},
    OutputCase{"qvforeach", {"f", "true"}, Output::closed, {"", bad_descriptor, 1}},
    OutputCase{"qvforeach", {"missing", "true"}, Output::broken_pipe, {"", "", 128 + SIGPIPE}},
    OutputCase{"qvforeach", {".", "true"}, Output::full, {"", "", 0}},
    OutputCase{"qvforeach", {"."}, Output::full, {"", "Error: no command to execute\n", 1}}));

// qvforeach flushes what it said before each command it runs. A message
// followed by a command: the flush before the command is the one that
// fails, and the failure is still the one reported at the end.
TEST_F(LostOutputRun, FailedFlushBeforeACommandIsReported)
{
    Sandbox box;
    // Of two names, the one the file system lists first becomes a directory
    // whose dangling link gives the message, the other a file.
    const fs::path t = box.path("t");
    fs::create_directories(t / "p");
    fs::create_directories(t / "q");
    auto order = [&] {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(t))
            names.push_back(e.path().filename().string());
        return names;
    };
    const std::vector<std::string> first = order();
    ASSERT_EQ(first.size(), 2u);
    fs::remove(t / first[1]);
    std::ofstream(t / first[1]) << "x";
    fs::create_symlink("nowhere", t / first[0] / "dangling");
    if (order() != first)
        GTEST_SKIP() << "the file system changed its listing order when an entry was made anew";
    for (Output output : {Output::full, Output::closed})
        EXPECT_EQ(box.run("qvforeach", {"t", "true"}, {}, output),
                  (Result{"", output == Output::full ? no_space : bad_descriptor, 1}));
    // The message is there, where the output can be written.
    EXPECT_EQ(box.run("qvforeach", {"t", "true"}),
              (Result{"Error: t/" + first[0] + "/dangling non-existent", "", 0}));
}

// The work is still done when its progress lines are lost, and a closed
// standard output is never taken over by a file the tool opens.
TEST_F(LostOutputRun, FilesAreStillWrittenWhole)
{
    Sandbox box;
    const std::string data = pattern(2 * B + 5);
    box.write("f", data);
    EXPECT_EQ(box.run("qvsplit", {"f"}, {}, Output::closed), (Result{"", bad_descriptor, 1}));
    EXPECT_EQ(box.read("f"), data);
    fs::remove(box.path("f"));
    EXPECT_EQ(box.run("qvjoin", {"f"}, {}, Output::closed), (Result{"", bad_descriptor, 1}));
    EXPECT_EQ(box.read("f"), data);
    fs::remove(box.path("f"));
    EXPECT_EQ(box.run("qvjoin", {"f"}, {}, Output::full), (Result{"", no_space, 1}));
    EXPECT_EQ(box.read("f"), data);
}

// With standard output closed, the first file a tool opens would get its
// descriptor, and progress lines flushed while it is open would land in it.
TEST_F(LostOutputRun, AClosedStandardOutputIsNeverAFileOfTheRun)
{
    Sandbox box;
    std::vector<std::string> words = {"-s", "10"};
    for (int i = 0; i < 300; ++i)
        words.push_back("random-file-with-a-longer-name-" + std::to_string(i));
    EXPECT_EQ(box.run("qvrandfile", words, {}, Output::closed), (Result{"", bad_descriptor, 1}));
    for (std::size_t i = 2; i < words.size(); ++i)
        EXPECT_EQ(box.read(words[i]).size(), 10u) << words[i];
}

// Progress lines fill the stream's buffer many times over, so the first
// failed write comes long before the end; it is still the one reported.
TEST_F(LostOutputRun, ManyLinesReportTheWriteError)
{
    Sandbox box;
    for (unsigned long k = 1; k <= 400; ++k)
        box.write(qv::piece_name("long-base-name-for-many-lines", k), "x");
    EXPECT_EQ(box.run("qvjoin", {"long-base-name-for-many-lines"}, {}, Output::full),
              (Result{"", no_space, 1}));
    EXPECT_EQ(box.read("long-base-name-for-many-lines"), std::string(400, 'x'));
}

// With SIGPIPE ignored the write fails with EPIPE instead: still quiet.
TEST_F(LostOutputRun, BrokenPipeWithSigpipeIgnoredIsQuiet)
{
    Sandbox box;
    box.write("b.001", "1");
    const std::vector<std::string> ignoring = {"sh", "-c", "trap '' PIPE; exec \"$0\" \"$@\""};
    EXPECT_EQ(box.run("qvsplit", {"-h"}, ignoring, Output::broken_pipe), (Result{"", "", 1}));
    EXPECT_EQ(box.run("qvjoin", {"b"}, ignoring, Output::broken_pipe), (Result{"", "", 1}));
    EXPECT_EQ(box.read("b"), "1");
}

// ---------------------------------------------------------------------------
// A disk that fills midway: the folder "disk" of the work directory becomes
// a tmpfs of 2 MiB in a private mount namespace for one run. setup runs
// there before the tool; what the disk holds afterwards is copied to "saved".

std::vector<std::string> small_disk(const std::string& setup)
{
    return {"unshare", "-m", "sh", "-c",
            "mount -t tmpfs -o size=2m qvdisk disk && " + setup +
                " && \"$0\" \"$@\"; s=$?; cp -a disk/. saved/ && exit $s"};
}

class FullDisk : public Native {
protected:
    void SetUp() override
    {
        Native::SetUp();
        if (IsSkipped())
            return;
        fs::create_directory(box.path("saved"));
        if (!can_mount_disk(box))
            GTEST_SKIP() << "cannot mount a tmpfs in a private mount namespace (unshare -m needs root)";
    }
    Sandbox box;
};

TEST_F(FullDisk, SplitKeepsEarlierPiecesWholeAndGoesOn)
{
    const std::string data = pattern(3 * B + 7);
    box.write("big", data);
    box.write("other", "next operand");
    EXPECT_EQ(box.run("qvsplit", {"disk/big", "other"}, small_disk("ln -s ../big disk/big")),
              (Result{"Writing file disk/big.001\nWriting file disk/big.002\nWriting file other.001\n",
                      "Error: disk/big.002: No space left on device\n", 0}));
    EXPECT_TRUE(box.read("saved/big.001") == data.substr(0, B));
    const std::string partial = box.read("saved/big.002");
    EXPECT_LT(partial.size(), B);
    EXPECT_TRUE(partial == data.substr(B, partial.size()));
    EXPECT_FALSE(box.exists("saved/big.003"));
    EXPECT_EQ(box.read("big"), data);
    EXPECT_EQ(box.read("other.001"), "next operand");
}

// Every later piece that yields bytes meets the full disk again and says so.
TEST_F(FullDisk, JoinKeepsWhatFitAndGoesOn)
{
    const std::string data = pattern(3 * B, 3);
    for (unsigned long k = 1; k <= 3; ++k)
        box.write(qv::piece_name("j", k), data.substr((k - 1) * B, B));
    box.write("k.001", "next operand");
    EXPECT_EQ(box.run("qvjoin", {"disk/j", "k"},
                      small_disk("for k in 001 002 003; do ln -s ../j.$k disk/j.$k; done")),
              (Result{"Joining disk/j.001\nJoining disk/j.002\nJoining disk/j.003\nJoining k.001\n",
                      "Error: disk/j: No space left on device\nError: disk/j: No space left on device\n", 0}));
    const std::string joined = box.read("saved/j");
    EXPECT_GE(joined.size(), B);
    EXPECT_LT(joined.size(), 2 * B);
    EXPECT_TRUE(joined == data.substr(0, joined.size()));
    EXPECT_EQ(box.read("k"), "next operand");
}

TEST_F(FullDisk, RandomFileKeepsWhatFitAndGoesOn)
{
    EXPECT_EQ(box.run("qvrandfile", {"-s", "3000000", "disk/r", "-s", "5", "other"}, small_disk("true")),
              (Result{"Writing file disk/r\nWriting file other\n", "Error: disk/r: No space left on device\n", 0}));
    const std::size_t kept = box.read("saved/r").size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 3000000u);
    EXPECT_EQ(box.read("other").size(), 5u);
}

// ---------------------------------------------------------------------------
// Rights taken away: the tools run as an unprivileged user (nobody, when the
// tests run as root), for whom the rights below hold.

std::vector<std::string> unprivileged()
{
    if (geteuid() != 0)
        return {};
    return {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

class LostRights : public Native {
protected:
    void SetUp() override
    {
        Native::SetUp();
        if (IsSkipped())
            return;
        if (box.run("qvsplit", {"-v"}, unprivileged()).status != 0)
            GTEST_SKIP() << "an unprivileged user cannot run the tools here "
                            "(needs setpriv as root and a build others may execute)";
    }
    Sandbox box;
};

TEST_F(LostRights, SplitReportsWhatItCannotReadOrCreate)
{
    box.write("secret", "x");
    fs::permissions(box.path("secret"), fs::perms::none);
    fs::create_directory(box.path("ro"));
    box.write("ro/f", "data");
    fs::permissions(box.path("ro"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    box.write("ok", "1");
    EXPECT_EQ(box.run("qvsplit", {"secret", "ro/f", "ok"}, unprivileged()),
              (Result{"Writing file ok.001\n",
                      "Error: Couldn't open secret\nError: Couldn't write to file ro/f.001\n", 0}));
    EXPECT_FALSE(box.exists("ro/f.001"));
    EXPECT_EQ(box.read("ok.001"), "1");
}

// A piece that may not be read ends the set like a missing one.
TEST_F(LostRights, JoinReportsTheBaseItCannotCreate)
{
    fs::create_directory(box.path("ro"));
    box.write("ro/b.001", "1");
    fs::permissions(box.path("ro"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    box.write("c.001", "1");
    box.write("c.002", "2");
    fs::permissions(box.path("c.002"), fs::perms::none);
    box.write("c.003", "3");
    EXPECT_EQ(box.run("qvjoin", {"ro/b", "c"}, unprivileged()),
              (Result{"Joining c.001\n", "Error: Couldn't open ro/b\n", 0}));
    EXPECT_FALSE(box.exists("ro/b"));
    EXPECT_EQ(box.read("c"), "1");
}

TEST_F(LostRights, RandomFileInADirectoryThatMayNotBeWritten)
{
    fs::create_directory(box.path("ro"));
    fs::permissions(box.path("ro"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    EXPECT_EQ(box.run("qvrandfile", {"-s", "4", "ro/r", "ok"}, unprivileged()),
              (Result{"Writing file ok\n", "Error: Couldn't write to file ro/r\n", 0}));
    EXPECT_FALSE(box.exists("ro/r"));
    EXPECT_EQ(box.read("ok").size(), 4u);
}

// A file behind a directory that may not be searched cannot even be examined.
TEST_F(LostRights, CheckBehindADirectoryThatMayNotBeSearched)
{
    fs::create_directory(box.path("closed"));
    box.write("closed/f", "x");
    fs::permissions(box.path("closed"), fs::perms::owner_all);
    box.write("open", "y");
    EXPECT_EQ(box.run("qvcheck", {"closed/f", "closed", "open"}, unprivileged()),
              (Result{"closed/f non-existent\nclosed non-regular file\nopen ok\n", "", 0}));
}

// ---------------------------------------------------------------------------
// A device that delivers bytes and then fails: a loop device whose backing
// file was cut short after it was set up answers reads past the new end
// with EIO.

class FailingDevice : public Native {
protected:
    void SetUp() override
    {
        Native::SetUp();
        if (IsSkipped())
            return;
        image = box.root / "image";
        data = pattern(4 << 20, 9);
        std::ofstream(image, std::ios::binary) << data;
        device = shell_line("losetup -f --show " + image.string() + " 2>/dev/null");
        if (device.empty())
            GTEST_SKIP() << "cannot set up a loop device (losetup needs root and /dev/loop*)";
        fs::resize_file(image, 2 << 20);
    }
    void TearDown() override
    {
        if (!device.empty())
            shell("losetup -d " + device);
    }
    Sandbox box;
    fs::path image;
    std::string data, device;
};

TEST_F(FailingDevice, JoinReportsTheFailedPieceOnceAndGoesOn)
{
    box.write("a.001", "first");
    fs::create_symlink(device, box.path("a.002"));
    box.write("a.003", "third");
    box.write("z.001", "z");
    EXPECT_EQ(box.run("qvjoin", {"a", "z"}),
              (Result{"Joining a.001\nJoining a.002\nJoining a.003\nJoining z.001\n",
                      "Error: a.002: Input/output error\n", 0}));
    // What the piece delivered before the fault is kept, in its place.
    const std::string joined = box.read("a");
    ASSERT_GE(joined.size(), 10 + B);
    EXPECT_EQ(joined.substr(0, 5), "first");
    EXPECT_TRUE(joined.substr(5, joined.size() - 10) == data.substr(0, joined.size() - 10));
    EXPECT_EQ(joined.substr(joined.size() - 5), "third");
    EXPECT_EQ(box.read("z"), "z");
}

// The block whose read failed is written nowhere; earlier pieces stay.
TEST_F(FailingDevice, SplitStopsAtTheFailedRead)
{
    fs::create_symlink(device, box.path("dev"));
    box.write("other", "o");
    EXPECT_EQ(box.run("qvsplit", {"dev", "other"}),
              (Result{"Writing file dev.001\nWriting file other.001\n", "Error: dev: Input/output error\n", 0}));
    EXPECT_TRUE(box.read("dev.001") == data.substr(0, B));
    EXPECT_FALSE(box.exists("dev.002"));
    EXPECT_EQ(box.read("other.001"), "o");
}

// A regular file on a file system whose device fails: an ext2 image with
// the file on it is mounted from a loop device, then the image is cut to
// its first MiB, where the file's data cannot all lie.
class FailingFileSystem : public Native {
protected:
    void SetUp() override
    {
        Native::SetUp();
        if (IsSkipped())
            return;
        if (!shell("command -v mkfs.ext2") || !shell("losetup -f") || !can_mount_disk(box))
            GTEST_SKIP() << "needs mkfs.ext2, a free loop device and mounts in a private namespace (root)";
        box.write("src", pattern(3 << 20, 5));
        std::ofstream(box.path("image")).close();
        fs::resize_file(box.path("image"), 8 << 20);
        ASSERT_TRUE(shell("mkfs.ext2 -q -F " + box.path("image").string()));
    }
    const std::vector<std::string> failing = {
        "unshare", "-m", "sh", "-c",
        "mount -o loop image disk && cp src disk/f && umount disk && "
        "l=$(losetup -f --show image) && mount -o ro $l disk && truncate -s 1M image && "
        "{ \"$0\" \"$@\"; s=$?; umount disk; losetup -d $l; exit $s; }"};
    Sandbox box;
};

TEST_F(FailingFileSystem, CheckFailsOnAReadError)
{
    box.write("ok", "fine");
    EXPECT_EQ(box.run("qvcheck", {"disk/f", "ok"}, failing), (Result{"disk/f fail\nok ok\n", "", 0}));
}

// ---------------------------------------------------------------------------
// Files that change under the tool.

// Opens the FIFO for writing as soon as a reader has it open (or gives up
// after 60 s), runs change, then writes bytes and closes it.
std::thread feed_fifo(const fs::path& fifo, std::function<void()> change, std::string bytes)
{
    return std::thread([=] {
        int fd = -1;
        for (int i = 0; i < 6000 && fd < 0; ++i) {
            fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0)
                usleep(10000);
        }
        if (fd < 0)
            return;
        change();
        fcntl(fd, F_SETFL, 0);
        if (write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            ADD_FAILURE() << "short write to " << fifo;
        close(fd);
    });
}

// Piece 3 goes away while piece 2 is being read: the set ends there.
TEST_F(ChangingFiles, JoinOfASetThatLosesAPiece)
{
    Sandbox box;
    box.write("a.001", "1");
    ASSERT_EQ(mkfifo(box.path("a.002").c_str(), 0644), 0);
    box.write("a.003", "3");
    box.write("a.004", "4");
    std::thread writer = feed_fifo(box.path("a.002"), [&] { fs::remove(box.path("a.003")); }, "2");
    EXPECT_EQ(box.run("qvjoin", {"a"}), (Result{"Joining a.001\nJoining a.002\n", "", 0}));
    writer.join();
    EXPECT_EQ(box.read("a"), "12");
}

// Holds the first open of a file by another process inside open() until
// change has run: a fanotify permission event stops the opener until it
// is answered. ready is false where fanotify is not permitted.
class OnOpen {
public:
    OnOpen(const fs::path& file, std::function<void()> change)
    {
        fan = fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY | O_CLOEXEC);
        ready = fan >= 0 && fanotify_mark(fan, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD, file.c_str()) == 0;
        if (ready)
            listener = std::thread([this, change] { answer(change); });
    }
    ~OnOpen()
    {
        stop = true;
        if (listener.joinable())
            listener.join();
        if (fan >= 0)
            close(fan);
    }
    bool ready = false;

private:
    void answer(const std::function<void()>& change)
    {
        bool changed = false;
        while (!stop) {
            pollfd p = {fan, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            alignas(fanotify_event_metadata) char buf[4096];
            ssize_t n = read(fan, buf, sizeof buf);
            auto* m = reinterpret_cast<fanotify_event_metadata*>(buf);
            for (; n > 0 && FAN_EVENT_OK(m, n); m = FAN_EVENT_NEXT(m, n)) {
                if (!changed && m->pid != getpid()) {
                    change();
                    changed = true;
                }
                fanotify_response r = {m->fd, FAN_ALLOW};
                if (write(fan, &r, sizeof r) != sizeof r)
                    ADD_FAILURE() << "fanotify response failed";
                close(m->fd);
            }
        }
    }
    int fan = -1;
    std::atomic<bool> stop{false};
    std::thread listener;
};

// qvcheck takes the size before it opens the file; the change comes while
// the open is held. A file that shrank fails, one that grew passes.
TEST_F(ChangingFiles, CheckOfAFileThatShrinksOrGrows)
{
    Sandbox box;
    box.write("shrinks", pattern(B + 100));
    box.write("grows", pattern(B + 100));
    OnOpen shrink(box.path("shrinks"), [&] { fs::resize_file(box.path("shrinks"), B); });
    OnOpen grow(box.path("grows"), [&] { fs::resize_file(box.path("grows"), 3 * B); });
    if (!shrink.ready || !grow.ready)
        GTEST_SKIP() << "fanotify permission events are not permitted here (they need root)";
    EXPECT_EQ(box.run("qvcheck", {"shrinks", "grows"}), (Result{"shrinks fail\ngrows ok\n", "", 0}));
}

}  // namespace
