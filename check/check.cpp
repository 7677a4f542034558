// qvcheck: tell for each file whether all of its bytes can be read.
#include <algorithm>
#include <cstdio>

#include "common/blockio.h"
#include "common/file.h"
#include "common/front.h"
#include "common/pieces.h"
#include "common/report.h"
#include "common/status.h"

namespace {

const qv::Profile profile = {
    .banner = "qvcheck (QV fileutils) 0.1",
    .synopsis = "Usage: %s [OPTION] ... [FILE] ...\n",
    .description = "Checks that files can be read.\n",
    .extra_options = "",
    .stop_after_info = true,
    .exit_on_empty = false,
    .size_option = false,
};

char* block;

// The size is taken once, before reading: a file grown since is read up to
// its old size and passes, a file shrunk since gives a short read and fails.
const char* verdict(const std::string& name)
{
    qv::Status st;
    if (!qv::status_of(name, st))
        return "non-existent";
    if (!st.regular)
        return "non-regular file";
    qv::File in = qv::open_file(name, "rb");
    if (!in)
        return "non-existent";
    // Every block comes from the file in one read, straight into the buffer.
    std::setvbuf(in.get(), nullptr, _IONBF, 0);
    qv::advise_sequential(in.get());
    // The system reads what it can without handing the bytes out; the block
    // loop reads the rest, if any, and meets whatever stopped it.
    for (std::uint64_t left = st.size - qv::read_through(in.get(), st.size); left != 0;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, qv::block_size));
        if (std::fread(block, 1, n, in.get()) != n || std::ferror(in.get()))
            return "fail";
        left -= n;
    }
    return "ok";
}

void check(const std::string& name, std::int64_t)
{
    std::printf("%s ", name.c_str());
    std::printf("%s\n", verdict(name));
}

}  // namespace

int main(int argc, char** argv)
{
    qv::hold_standard_streams();
    std::unique_ptr<char[]> buffer = qv::new_block();
    if (!buffer) {
        std::fputs("Couldn't allocate memory\n", stderr);
        return 1;
    }
    block = buffer.get();
    return qv::finish(qv::scan(argc, argv, profile, check));
}
