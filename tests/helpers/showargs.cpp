// Prints each argument it is given in brackets, one a line: how a command
// line handed to the interpreter reached the program in the end.
#include <cstdio>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::printf("[%s]\n", argv[i]);
    return 0;
}
