#include <unistd.h>

#include <iostream>

#include "ConvertCommandLine.hpp"

int main(int argc, char** argv) {
    sulvan::cli::SConvertRequest request;
    const int nParsed =
        sulvan::cli::ParseConvertCommandLine(argc, argv, request, std::cout, std::cerr);
    if (nParsed >= 0) {
        return nParsed;
    }
    return sulvan::cli::RunConvert(request, std::cout, std::cerr, std::cin,
                                   {::isatty(STDIN_FILENO) != 0, ::isatty(STDERR_FILENO) != 0});
}
