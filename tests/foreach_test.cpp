// qvforeach: the walk, the command line it hands over, and its messages.
// The listing order is the file system's, so no test assumes one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "harness.h"

namespace {

// The separator in the paths the tool forms.
const std::string sep = windows_tools() ? "\\" : "/";

std::string join(std::initializer_list<std::string> parts)
{
    std::string s;
    for (const std::string& p : parts)
        s += (s.empty() ? "" : sep) + p;
    return s;
}

// Shell text that prints each argument it receives on a line of its own:
// for cmd.exe, which has no such command, a helper program.
const std::string show =
    windows_tools() ? "\"" + helper_program("qvshowargs") + "\"" : "printf '[%s]\\n'";

std::string shown(const std::string& path)
{
    return "[" + path + "]\n";
}

std::vector<std::string> lines(const std::string& out)
{
    std::vector<std::string> v;
    std::size_t at = 0;
    for (std::size_t nl; (nl = out.find('\n', at)) != std::string::npos; at = nl + 1)
        v.push_back(out.substr(at, nl + 1 - at));
    if (at < out.size())
        v.push_back(out.substr(at));
    return v;
}

std::vector<std::string> sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

// The entry names of a directory in the order the file system lists them.
// For the Windows programs that is the order of NTFS, which wine keeps
// too: by the names in upper case.
std::vector<std::string> listing(const fs::path& dir)
{
    std::vector<std::string> v;
    for (const fs::directory_entry& e : fs::directory_iterator(dir))
        v.push_back(e.path().filename().string());
    if (windows_tools())
        std::stable_sort(v.begin(), v.end(),
                         [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
    return v;
}

const std::vector<std::string> nobody = {"setpriv", "--reuid=65534", "--regid=65534",
                                         "--clear-groups"};

TEST(Foreach, MissingOrBlankCommandRunsNothing)
{
    Sandbox box;
    fs::create_directory(box.path("t"));
    // Run as a command of its own, this file would leave a mark.
    box.write("t/f", "#!/bin/sh\ntouch ran\n");
    fs::permissions(box.path("t/f"), fs::perms::owner_all);
    const std::vector<std::vector<std::string>> cases = {
        {}, {"t"}, {"t", ""}, {"t", " ", "\t", ""}, {"t", "\n"}};
    for (const auto& words : cases) {
        EXPECT_EQ(box.run("qvforeach", words), (Result{"", "Error: no command to execute\n", 1}))
            << words.size();
        EXPECT_FALSE(box.exists("ran"));
    }
}

TEST(Foreach, StartPath)
{
    Sandbox box;
    box.write("f", "x");
    fs::create_directory(box.path("empty"));
    fs::create_directory(box.path("t"));
    box.write("t/a", "x");
    fs::create_directory(box.path("-e"));
    box.write("-e/a", "x");
    struct Case {
        std::string start;
        Result expected;
    };
    const std::vector<Case> cases = {
        {"missing", {"non-existent\n", "", 0}},
        {"f", {"Error: f is not a directory\n", "", 1}},
        {"empty", {"", "", 0}},
        // The start directory is used exactly as typed.
        {"t" + sep, {shown("t" + sep + sep + "a"), "", 0}},
        {"-e", {shown(join({"-e", "a"})), "", 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(box.run("qvforeach", {c.start, show}), c.expected) << c.start;
}

TEST(Foreach, CommandWordsAreTheUsersShellText)
{
    Sandbox box;
    fs::create_directory(box.path("t"));
    box.write("t/a b.txt", "data");
    const std::string path = join({"t", "a b.txt"});
    struct Case {
        std::vector<std::string> words;
        std::string out;
    };
    // The same shell features in the language of each interpreter.
    const std::vector<Case> cases = windows_tools() ? std::vector<Case>{
        // cmd.exe's echo shows the rest of its line as it is, quotes included.
        {{"t", "echo", "hello"}, "hello \"" + path + "\"\n"},
        {{"t", show + " x", "-y"}, "[x]\n[-y]\n" + shown(path)},
        {{"t", "type", ">>", "log"}, ""},
        {{"t", "more", "<"}, "data"},
        {{"t", "echo x|", "more", "&", "type"}, "x\ndata"},
        {{"t", "exit 7", "&"}, ""},
    } : std::vector<Case>{
        {{"t", "echo", "hello"}, "hello " + path + "\n"},
        // Words are joined by spaces, unquoted: one word may hold several.
        {{"t", show + " x", "-y"}, "[x]\n[-y]\n" + shown(path)},
        {{"t", "cat", ">>", "log"}, ""},
        {{"t", "tr a A", "<"}, "dAtA"},
        {{"t", "printf 'x\\n'", "|", "cat", "-"}, "x\ndata"},
        // The command's own exit status changes nothing.
        {{"t", "false"}, ""},
        {{"t", "exit 7;"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(box.run("qvforeach", c.words), (Result{c.out, "", 0})) << c.words[1];
    EXPECT_EQ(box.read("log"), "data");
}

TEST(Foreach, HostileNamesReachTheCommandAsOneArgumentEach)
{
    Sandbox box;
    // Windows names hold none of \\ / : * ? " < > | or control characters,
    // and lose trailing spaces; and the programs see them in the ANSI code
    // page rather than as the bytes on the disk. What cmd.exe would take as
    // its own (& ^ ( ) % !) is in them instead.
    const std::vector<std::string> names = windows_tools() ? std::vector<std::string>{
        "a b", "two  spaces", " lead", "it's", "'", "x&mkdir pwned1", "y&&mkdir pwned2",
        "(mkdir pwned3)", "a^b", "^", "a,b;c=d", "$HOME", "[a]", "~", "#hash", "-n", "--", "!",
        "!OS!", "%PATH%", "%OS", "100%", "%%", "%%OS%%", "a%b%c", "%~", "@x", "+"}
                                                           : std::vector<std::string>{
        "a b", "two  spaces", " lead", "trail ", "tab\there", "line\nbreak", "\n",
        "it's", "'", "''", "\"dq\"", "back\\slash", "end\\", "$(touch pwned1)",
        "`touch pwned2`", "x;touch pwned3", "y|touch pwned4", "z&&touch pwned5",
        "$HOME", "${IFS}", "*", "?", "[a]", "~", "#hash", "<in", ">out", "-n", "--", "!",
        "%PATH%", "\xff\xfe"};
    const std::string sub = windows_tools() ? "it's %OS% (mkdir pwned6) & dir" : "it's $(touch pwned6) `x` dir";
    fs::create_directories(box.path("t/" + sub));
    std::vector<std::string> expected;
    for (const std::string& n : names) {
        box.write("t/" + n, "x");
        box.write("t/" + sub + "/" + n, "x");
        expected.push_back(shown(join({"t", n})));
        expected.push_back(shown(join({"t", sub, n})));
    }

    Result r = box.run("qvforeach", {"t", show, "x"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Each file's record is "[x]\n" and its path as one argument.
    std::vector<std::string> got;
    const std::string mark = "[x]\n";
    ASSERT_EQ(r.out.substr(0, mark.size()), mark) << r;
    for (std::size_t at = mark.size(), next; at <= r.out.size(); at = next + mark.size()) {
        next = r.out.find(mark, at);
        if (next == std::string::npos)
            next = r.out.size();
        got.push_back(r.out.substr(at, next - at));
    }
    EXPECT_EQ(sorted(got), sorted(expected)) << r;
    for (const std::string& f : listing(box.work))
        EXPECT_EQ(f.find("pwned"), std::string::npos) << f;
}

// Every file once, and each directory's files in one run where its entry
// is met, nested ones inside.
TEST(Foreach, WalkIsDepthFirst)
{
    Sandbox box;
    for (const char* d : {"t/sub1/deep", "t/sub2", "t/sub3"})
        fs::create_directories(box.path(d));
    for (const char* f : {"t/a", "t/b", "t/c", "t/.hidden", "t/sub1/x", "t/sub1/y",
                          "t/sub1/deep/z1", "t/sub1/deep/z2", "t/sub2/w", "t/sub3/v"})
        box.write(f, "x");
    fs::create_symlink("a", box.path("t/file-link"));
    fs::create_symlink("sub2", box.path("t/dir-link"));
    // A Windows file system holds no FIFO (wine finds no status for one).
    if (!windows_tools()) {
        ASSERT_EQ(mkfifo(box.path("t/fifo").c_str(), 0644), 0);
    }
    fs::create_directory(box.path("t/nothing"));

    Result r = box.run("qvforeach", {"t", show});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> out = lines(r.out);
    std::vector<std::string> expected;
    for (const char* f : {"a", "b", "c", ".hidden", "file-link", "sub1/x", "sub1/y",
                          "sub1/deep/z1", "sub1/deep/z2", "sub2/w", "sub3/v", "dir-link/w"}) {
        std::string p = std::string("t/") + f;
        std::replace(p.begin(), p.end(), '/', sep[0]);
        expected.push_back(shown(p));
    }
    EXPECT_EQ(sorted(out), sorted(expected)) << r;

    for (const std::string& dir : {join({"t", "sub1"}), join({"t", "sub1", "deep"}),
                                   join({"t", "sub2"}), join({"t", "dir-link"})}) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < out.size(); ++i)
            if (out[i].starts_with("[" + dir + sep))
                at.push_back(i);
        ASSERT_FALSE(at.empty()) << dir;
        EXPECT_EQ(at.back() - at.front() + 1, at.size()) << dir << r;
    }
}

TEST(Foreach, LinkLoopsAreReportedAndPassedOver)
{
    Sandbox box;
    fs::create_directories(box.path("t/a"));
    fs::create_directories(box.path("t/b"));
    box.write("t/f", "x");
    box.write("t/a/g", "x");
    box.write("t/b/h", "x");
    fs::create_symlink("..", box.path("t/a/up"));
    fs::create_symlink(".", box.path("t/b/self"));
    // Not a loop: a is not on the path t, b; but a's up is.
    fs::create_symlink("../a", box.path("t/b/side"));

    const std::string loops = " loops back to a directory being walked\n";
    Result r = box.run("qvforeach", {"t", show});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(sorted(lines(r.out)),
              sorted({shown(join({"t", "f"})), shown(join({"t", "a", "g"})),
                      shown(join({"t", "b", "h"})), shown(join({"t", "b", "side", "g"})),
                      "Error: " + join({"t", "a", "up"}) + loops,
                      "Error: " + join({"t", "b", "self"}) + loops,
                      "Error: " + join({"t", "b", "side", "up"}) + loops}))
        << r;
}

// The runner's messages and the commands' output share standard output,
// each where it happened in the walk.
TEST(Foreach, MessagesAndCommandOutputKeepTheirOrder)
{
    Sandbox box;
    fs::create_directory(box.path("t"));
    for (int i = 1; i <= 4; ++i) {
        std::string n = std::to_string(i);
        box.write("t/f" + n, "x");
        fs::create_directory(box.path("t/d" + n));
        fs::create_symlink("..", box.path("t/d" + n + "/up"));
    }
    std::string expected;
    for (const std::string& n : listing(box.path("t")))
        expected += n[0] == 'f'
                        ? shown(join({"t", n}))
                        : "Error: " + join({"t", n, "up"}) +
                              " loops back to a directory being walked\n";
    EXPECT_EQ(box.run("qvforeach", {"t", show}), (Result{expected, "", 0}));
}

TEST(Foreach, EntryThatCannotBeQueriedAbandonsItsDirectory)
{
    Sandbox box;
    fs::create_directories(box.path("t/sub"));
    box.write("t/ok", "x");
    // wine lists no dangling link; but an entry whose path is longer than
    // the 259 characters of a Windows path can be listed and not queried.
    const std::string bad = windows_tools() ? std::string(255, 'n') : "dangling";
    if (windows_tools())
        box.write("t/sub/" + bad, "x");
    else
        fs::create_symlink("nowhere", box.path("t/sub/" + bad));
    const std::string ok = shown(join({"t", "ok"}));
    const std::string msg = "Error: " + join({"t", "sub", bad}) + " non-existent";
    Result r = box.run("qvforeach", {"t", show});
    EXPECT_TRUE(r == (Result{ok + msg, "", 0}) || r == (Result{msg + ok, "", 0})) << r;

    // In the start directory itself it sets the exit status.
    EXPECT_EQ(box.run("qvforeach", {join({"t", "sub"}), show}), (Result{msg, "", 1}));
}

// A command that removes an entry not yet listed: the walk meets it and
// gives up on the rest of that directory.
TEST(Foreach, CommandThatDeletesALaterEntry)
{
    Sandbox box;
    for (const std::string& start : {std::string("t"), join({"t", "sub"})}) {
        fs::create_directories(box.path("t/sub"));
        box.write("t/sub/x", "x");
        box.write("t/sub/y", "x");
        const std::string x = join({"t", "sub", "x"}), y = join({"t", "sub", "y"});
        const std::string rm = windows_tools() ? "del " + x + " " + y + " &" : "rm -f " + x + " " + y + ";";
        Result r = box.run("qvforeach", {start, rm, show});
        int status = start == "t" ? 0 : 1;
        EXPECT_TRUE(r == (Result{shown(x) + "Error: " + y + " non-existent", "", status}) ||
                    r == (Result{shown(y) + "Error: " + x + " non-existent", "", status}))
            << start << r;
    }
}

TEST(Foreach, DirectoryThatCannotBeListed)
{
    Sandbox box;
    // For Windows: a directory whose own path fits the 259 characters of a
    // Windows path, but whose search pattern "D\*.*" does not.
    const std::string locked = windows_tools() ? std::string(255, 'l') : "locked";
    fs::create_directories(box.path("t/" + locked));
    box.write("t/" + locked + "/f", "x");
    box.write("t/ok", "x");
    std::vector<std::string> prefix;
    if (!windows_tools()) {
        fs::permissions(box.path("t/locked"), fs::perms::none);
        prefix = nobody;
    }
    const std::string ok = shown(join({"t", "ok"}));
    const std::string msg = join({"t", locked}) + ": Error invalid file spec\n";
    Result r = box.run("qvforeach", {"t", show}, prefix);
    EXPECT_TRUE(r == (Result{ok + msg, "", 0}) || r == (Result{msg + ok, "", 0})) << r;
    EXPECT_EQ(box.run("qvforeach", {join({"t", locked}), show}, prefix), (Result{msg, "", 1}));
}

// Far beyond 260 characters, and beyond what the system takes as a path.
TEST(Foreach, PathsOfAnyLength)
{
    if (windows_tools())
        GTEST_SKIP() << "a Windows path has at most 259 characters: what lies beyond is "
                        "EntryThatCannotBeQueriedAbandonsItsDirectory and DirectoryThatCannotBeListed";
    Sandbox box;
    std::string dir = "t";
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        fs::create_directories(box.path(dir));
        box.write(dir + "/f", "x");
        expected.push_back(shown(dir + sep + "f"));
        dir += sep + std::string(200, char('a' + i));
    }
    fs::create_directories(box.path(dir));
    // dir and its "." and ".." can be queried; this name makes a path the
    // system refuses, which only a descriptor of dir can reach.
    const std::string name(255, 'z');
    int d = open(box.path(dir).c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(d, 0);
    int f = openat(d, name.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(f, 0);
    close(f);

    Result r = box.run("qvforeach", {"t", show});
    const std::string msg = "Error: " + dir + sep + name + " non-existent";
    std::size_t at = r.out.find(msg);
    ASSERT_NE(at, std::string::npos) << r;
    r.out.erase(at, msg.size());
    EXPECT_EQ(sorted(lines(r.out)), sorted(expected)) << r;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);

    unlinkat(d, name.c_str(), 0);
    close(d);
}

TEST(Foreach, InterpreterThatCannotStartIsReported)
{
    if (windows_tools())
        GTEST_SKIP() << "Windows takes one command line of at most 32767 characters for the "
                        "runner and the interpreter alike: a line too long for the interpreter "
                        "does not let the runner start";
    Sandbox box;
    fs::create_directory(box.path("t"));
    box.write("t/f", "x");
    // Longer than the system takes as one argument of /bin/sh.
    const std::string word(100000, 'x');
    EXPECT_EQ(box.run("qvforeach", {"t", "true", word, word}),
              (Result{"", "Error: " + join({"t", "f"}) + ": Argument list too long\n", 0}));
}

}  // namespace
