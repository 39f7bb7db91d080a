#include <iostream>

#include "InfoCommandLine.hpp"

int main(int argc, char** argv) {
    return sulvan::info::RunInfo(argc, argv, std::cout, std::cerr);
}
