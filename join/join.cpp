// qvjoin: rebuild each BASE from its pieces BASE.001, BASE.002, ...
#include <cstdio>

#include "common/blockio.h"
#include "common/file.h"
#include "common/front.h"
#include "common/pieces.h"
#include "common/report.h"
#include "common/status.h"

namespace {

const qv::Profile profile = {
    .banner = "qvjoin (QV fileutils) 0.1",
    .synopsis = "Usage: %s [OPTION] ... [BASE] ...\n",
    .description = "Joins  short files into a long file.\n"
                   "BASE is base name of file\n"
                   "E.g. if the following files exist: myfile.001, myfile.002, myfile.003\n"
                   "Then: '%s myfile' concatenates them to create myfile\n",
    .extra_options = "",
    .stop_after_info = false,
    .exit_on_empty = true,
    .size_option = false,
};

char* block;

// Appends one piece to out. A write error is reported for the base, a
// read error for the piece, each once; either ends this piece only.
// While direct, the system copies the piece itself where it can; once a
// block has gone through out's buffer, direct is over for the whole set.
void copy_piece(std::FILE* piece, const std::string& name, std::FILE* out, const std::string& base,
                bool& direct)
{
    qv::advise_sequential(piece);
    if (direct && qv::copy_rest(piece, out))
        return;
    // Blocks are read straight into the block buffer, not through a stream buffer.
    std::setvbuf(piece, nullptr, _IONBF, 0);
    std::size_t n;
    while ((n = std::fread(block, 1, qv::block_size, piece)) > 0) {
        direct = false;
        int read_error = std::ferror(piece) ? errno : 0;
        std::fwrite(block, 1, n, out);
        if (std::ferror(out)) {
            qv::report_error(base);
            return;
        }
        if (read_error) {
            qv::report_error(name, read_error);
            return;
        }
    }
    if (std::ferror(piece))
        qv::report_error(name);
}

void join(const std::string& base, std::int64_t)
{
    std::string name = qv::piece_name(base, 1);
    qv::File piece = qv::open_file(name, "rb");
    // Without a first piece the base is left as it is, not emptied.
    if (!piece) {
        qv::error_printf("Error : File %s does not exist\n", name.c_str());
        return;
    }
    if (qv::is_open_file(base, piece.get())) {
        qv::error_printf("Error: %s is the same file as %s\n", name.c_str(), base.c_str());
        return;
    }
    qv::File out = qv::open_file(base, "wb");
    if (!out) {
        qv::error_printf("Error: Couldn't open %s\n", base.c_str());
        return;
    }
    // The base is the same file all along: its status is taken once.
    qv::Status out_st, st;
    bool out_known = qv::status_of(out.get(), out_st);
    bool direct = true;
    for (unsigned long k = 1; piece; piece = qv::open_file(name = qv::piece_name(base, ++k), "rb")) {
        if (out_known && qv::status_of(name, st) && qv::same_file(st, out_st)) {
            qv::error_printf("Error: %s is the same file as %s\n", name.c_str(), base.c_str());
            continue;
        }
        std::printf("Joining %s\n", name.c_str());
        copy_piece(piece.get(), name, out.get(), base, direct);
    }
    // A write error already reported stays set on the stream: report once.
    bool reported = std::ferror(out.get());
    if (qv::close_file(out) != 0 && !reported)
        qv::report_error(base);
}

}  // namespace

int main(int argc, char** argv)
{
    qv::hold_standard_streams();
    // An empty command line ends the run before anything is allocated.
    if (argc < 2) {
        qv::no_arguments(argc > 0 && argv[0] ? argv[0] : "");
        return qv::finish(1);
    }
    std::unique_ptr<char[]> buffer = qv::new_block();
    if (!buffer) {
        std::fputs("Memory allocation error : abort", stderr);
        return 1;
    }
    block = buffer.get();
    return qv::finish(qv::scan(argc, argv, profile, join));
}
