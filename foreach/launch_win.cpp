#include <cerrno>
#include <cstdlib>

#include "foreach/launch.h"

namespace qv {

// For cmd.exe and for the argument parsing of the run-time library. Between
// double quotes cmd.exe takes & | < > ^ ( ) and spaces as they are, and a
// Windows file name holds no double quote. A "%" is the exception: cmd.exe
// expands %NAME% even between quotes. Each one is written between a closing
// and an opening quote, "%", so that the text between two of them always
// begins and ends with a quote: no variable has such a name, and cmd.exe
// leaves the reference to an undefined variable as it is. Backslashes right
// before a closing quote are doubled, so the quote is not taken as escaped.
std::string quoted_path(const std::string& path)
{
    std::string q = "\"";
    std::size_t slashes = 0;
    auto close = [&] {
        q.append(slashes, '\\');
        q += '"';
    };
    for (char c : path) {
        if (c == '%') {
            close();
            q += "%\"";
        } else
            q += c;
        slashes = c == '\\' ? slashes + 1 : 0;
    }
    close();
    return q;
}

// system() runs COMSPEC (or cmd.exe) with /c and the line. cmd.exe drops
// the first and the last quote of a line that begins with one, so the line
// goes inside one more pair of quotes to come through whole.
bool launch(const std::string& line)
{
    errno = 0;
    return std::system(("\"" + line + "\"").c_str()) != -1 || errno == 0;
}

}  // namespace qv
