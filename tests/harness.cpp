#include "harness.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

std::string tool_path(const std::string& tool)
{
    return env_or("QV_TOOLS", QV_TOOLS_DIR) + "/" + tool + env_or("QV_EXE_SUFFIX", QV_EXE_SUFFIX_DEFAULT);
}

// The text-mode console of the Windows run-time library writes "\r\n".
void strip_cr(std::string& s)
{
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n'))
            r += s[i];
    s = r;
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

bool windows_tools()
{
    return env_or("QV_EXE_SUFFIX", QV_EXE_SUFFIX_DEFAULT) == ".exe";
}

std::string native_path(std::string path)
{
    if (windows_tools())
        for (char& c : path)
            if (c == '/')
                c = '\\';
    return path;
}

std::string program_name(const std::string& tool)
{
    if (!windows_tools())
        return tool;
    // wine hands the program its own path, on the drive Z: that maps "/".
    return "Z:" + native_path(tool_path(tool));
}

std::string helper_program(const std::string& name)
{
    return "Z:" + native_path(std::string(QV_HELPERS_DIR) + "/" + name + ".exe");
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
                    const std::vector<std::string>& prefix, Output output) const
{
    std::string exe = tool_path(tool);

    std::vector<std::string> args = prefix;
    for (const std::string& w : split_words(env_or("QV_LAUNCHER", QV_LAUNCHER_DEFAULT)))
        args.push_back(w);
    // Argument zero is the plain tool name, so that help texts are predictable.
    bool launched = args.size() > 0;
    args.push_back(launched ? exe : program_name(tool));
    args.insert(args.end(), words.begin(), words.end());

    fs::path out = root / "stdout", err = root / "stderr";
    std::error_code ec;
    fs::remove(out, ec);
    // A pipe with no reader left: the tool's first write to it fails.
    int broken[2] = {-1, -1};
    if (output == Output::broken_pipe && (pipe(broken) != 0 || close(broken[0]) != 0))
        throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGPIPE, SIG_DFL);
        int in = open("/dev/null", O_RDONLY);
        int o = output == Output::file ? open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)
              : output == Output::full ? open("/dev/full", O_WRONLY)
              : output == Output::broken_pipe ? broken[1] : 1;
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || o < 0 || e < 0 || dup2(in, 0) < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 ||
            chdir(work.c_str()) != 0)
            _exit(126);
        if (output == Output::closed)
            close(1);
        // Nothing but the three standard descriptors reaches the tool.
        for (int fd : {in, o, e})
            if (fd > 2)
                close(fd);
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
    if (broken[1] >= 0)
        close(broken[1]);
    int ws = 0;
    waitpid(pid, &ws, 0);
    Result r;
    r.out = slurp(out);
    r.err = slurp(err);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
    if (windows_tools()) {
        strip_cr(r.out);
        strip_cr(r.err);
    }
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

std::string full_output_message()
{
    return std::string("Error: standard output: ") +
           (windows_tools() ? "Input/output error" : "No space left on device") + "\n";
}
