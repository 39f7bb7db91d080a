// The libFuzzer entry of one target, chosen by name when the program is built
// (SULVAN_FUZZ_TARGET): every program of the fuzz preset is this file and the targets' library.

#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.hpp"

namespace {

sulvan::fuzz::FuzzEntry TheEntry() {
    static const sulvan::fuzz::SFuzzTarget* pTarget = [] {
        const sulvan::fuzz::SFuzzTarget* pFound = sulvan::fuzz::FuzzTargetNamed(SULVAN_FUZZ_TARGET);
        if (pFound == nullptr) {
            std::fprintf(stderr, "no fuzz target is named %s\n", SULVAN_FUZZ_TARGET);
            std::abort();
        }
        return pFound;
    }();
    return pTarget->entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    return TheEntry()(pData, nSize);
}
