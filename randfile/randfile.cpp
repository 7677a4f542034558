// qvrandfile: write files of pseudo-random bytes, 1,440,000 of them unless
// "-s N" before the name says otherwise.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "common/file.h"
#include "common/front.h"
#include "common/pieces.h"
#include "common/report.h"
#include "randfile/generator.h"

namespace {

const qv::Profile profile = {
    .banner = "qvsplit (QV fileutils) 0.1",
    .synopsis = "Usage: %s [OPTION] ... [FILE]\n",
    .description = "Creates a file of random bytes.\n",
    .extra_options = "-s, --size     Number of bytes to write.\n",
    .stop_after_info = false,
    .exit_on_empty = false,
    .size_option = true,
};

// Static, so that there is no allocation to fail.
unsigned char block[qv::block_size];

// The bytes are a function of the creation second and the size alone:
// files made within the same second share their content.
void create(const std::string& name, std::int64_t size)
{
    qv::Generator g;
    qv::seed(g, static_cast<std::uint32_t>(std::time(nullptr)));
    qv::File out = qv::open_file(name, "wb");
    if (!out) {
        qv::error_printf("Error: Couldn't write to file %s\n", name.c_str());
        return;
    }
    // Every block goes to the file in one write.
    std::setvbuf(out.get(), nullptr, _IONBF, 0);
    std::printf("Writing file %s\n", name.c_str());
    for (std::int64_t left = size; left > 0;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(left, qv::block_size));
        qv::fill_block(g, block, n);
        if (std::fwrite(block, 1, n, out.get()) != n || std::ferror(out.get())) {
            qv::report_error(name);
            return;
        }
        left -= static_cast<std::int64_t>(n);
    }
    if (qv::close_file(out) != 0)
        qv::report_error(name);
}

}  // namespace

int main(int argc, char** argv)
{
    qv::hold_standard_streams();
    return qv::finish(qv::scan(argc, argv, profile, create));
}
