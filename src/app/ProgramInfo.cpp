#include "app/ProgramInfo.hpp"

#include <cstdio>

namespace sulvan {

std::string ProgramTitle() {
    char version[32];
    std::snprintf(version, sizeof version, " v%.2f", kProgramVersion);
    return std::string(kProgramName) + version;
}

}  // namespace sulvan
