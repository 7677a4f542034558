#include "harness.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>

namespace {

std::string env_or(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v ? v : fallback;
}

std::vector<std::string> split_words(const std::string& s)
{
    std::istringstream in(s);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string escaped(const std::string& s)
{
    std::string r;
    for (unsigned char c : s) {
        if (c == '\n')
            r += "\\n\n";
        else if (c == '\\')
            r += "\\\\";
        else if (c < 32 || c > 126) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            r += buf;
        } else
            r += char(c);
    }
    return r;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const Result& r)
{
    return os << "\n--- status " << r.status << "\n--- stdout\n" << escaped(r.out)
              << "\n--- stderr\n" << escaped(r.err) << "\n---";
}

bool operator==(const Result& a, const Result& b)
{
    return a.status == b.status && a.out == b.out && a.err == b.err;
}

std::string program_name(const std::string& tool)
{
    return tool;
}

Sandbox::Sandbox()
{
    std::string templ = (fs::temp_directory_path() / "qvtest.XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    root = templ;
    work = root / "work";
    fs::create_directory(work);
    // Others (the unprivileged user of some tests) may enter the directory.
    fs::permissions(root, fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(work, fs::perms::all);
}

Sandbox::~Sandbox()
{
    std::error_code ec;
    // Restore rights a test took away, so that everything can be removed.
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
}

Result Sandbox::run(const std::string& tool, const std::vector<std::string>& words,
                    const std::vector<std::string>& prefix) const
{
    std::string dir = env_or("QV_TOOLS", QV_TOOLS_DIR);
    std::string exe = dir + "/" + tool + env_or("QV_EXE_SUFFIX", "");

    std::vector<std::string> args = prefix;
    for (const std::string& w : split_words(env_or("QV_LAUNCHER", "")))
        args.push_back(w);
    // Argument zero is the plain tool name, so that help texts are predictable.
    bool launched = args.size() > 0;
    args.push_back(launched ? exe : program_name(tool));
    args.insert(args.end(), words.begin(), words.end());

    fs::path out = root / "stdout", err = root / "stderr";
    pid_t pid = fork();
    if (pid == 0) {
        int in = open("/dev/null", O_RDONLY);
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || o < 0 || e < 0 || dup2(in, 0) < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 ||
            chdir(work.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (launched)
            execvp(argv[0], argv.data());
        else
            execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int ws = 0;
    waitpid(pid, &ws, 0);
    Result r;
    r.out = slurp(out);
    r.err = slurp(err);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
    return r;
}

void Sandbox::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream(path(name), std::ios::binary) << bytes;
}

std::string Sandbox::read(const std::string& name) const
{
    return slurp(path(name));
}

bool Sandbox::exists(const std::string& name) const
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path(name), ec));
}

std::string pattern(std::size_t n, unsigned seed)
{
    std::string s(n, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1664525u + 1013904223u;
        s[i] = char(x >> 24);
    }
    return s;
}

bool io_count(const std::string& key, std::uint64_t& value)
{
    std::ifstream io("/proc/self/io");
    std::string k;
    std::uint64_t v;
    while (io >> k >> v)
        if (k == key) {
            value = v;
            return true;
        }
    return false;
}
