// qvsplit: cut each file into pieces of 1,440,000 bytes, FILE.001, FILE.002, ...
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
    .banner = "qvsplit (QV fileutils) 0.1",
    .synopsis = "Usage: %s [OPTION] ... [FILE] ...\n",
    .description = "Splits a long file into several shorter ones.\n",
    .extra_options = "",
    .stop_after_info = true,
    .exit_on_empty = false,
    .size_option = false,
};

char* block;

// A block is written in slices: here one write of a whole block costs the
// system far more than slices once gigabytes are being written (2 GiB in
// bench/run --sweep), and the bytes and reports are those of one write.
constexpr std::size_t write_slice = 128 * 1024;

// Writes one piece of n bytes; false once a failure has been reported.
bool write_piece(const std::string& name, std::size_t n)
{
    qv::File piece = qv::open_file(name, "wb");
    if (!piece) {
        qv::error_printf("Error: Couldn't write to file %s\n", name.c_str());
        return false;
    }
    // No stream buffer in between: each slice goes straight to the piece.
    std::setvbuf(piece.get(), nullptr, _IONBF, 0);
    std::printf("Writing file %s\n", name.c_str());
    for (std::size_t at = 0; at < n; at += write_slice) {
        std::size_t m = std::min(write_slice, n - at);
        if (std::fwrite(block + at, 1, m, piece.get()) != m || std::ferror(piece.get())) {
            qv::report_error(name);
            return false;
        }
    }
    if (qv::close_file(piece) != 0) {
        qv::report_error(name);
        return false;
    }
    return true;
}

void split(const std::string& name, std::int64_t)
{
    qv::File in = qv::open_file(name, "rb");
    if (!in) {
        qv::error_printf("Error: Couldn't open %s\n", name.c_str());
        return;
    }
    // Each block is read straight into the block buffer.
    std::setvbuf(in.get(), nullptr, _IONBF, 0);
    qv::advise_sequential(in.get());
    for (unsigned long k = 1;; ++k) {
        std::size_t n = std::fread(block, 1, qv::block_size, in.get());
        // A failed read loses the bytes it delivered: no short piece is made.
        if (std::ferror(in.get())) {
            qv::report_error(name);
            return;
        }
        if (n == 0)
            return;
        std::string piece = qv::piece_name(name, k);
        // Opening a piece truncates it: never when it is the input itself.
        if (qv::is_open_file(piece, in.get())) {
            qv::error_printf("Error: %s is the same file as %s\n", piece.c_str(), name.c_str());
            return;
        }
        if (!write_piece(piece, n))
            return;
    }
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
    return qv::finish(qv::scan(argc, argv, profile, split));
}
