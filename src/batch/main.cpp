// score-report: the score import and the three reports from the command line.
#include "batch.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return batch::run(arguments, std::cout, std::cerr, isatty(fileno(stderr)) != 0);
}
