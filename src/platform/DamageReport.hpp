#pragma once
// What a walk over a recording passed over as damage: the record walk of the framed formats
// fills it, the Corvane conversion counts the chunks it skips, and a file's outcome carries it.

#include <algorithm>
#include <cstdint>

namespace sulvan {

struct SDamageReport {
    std::uint64_t nSkippedBytes = 0;  // bytes that belonged to no intact record
    std::uint64_t nSkippedSpans = 0;  // runs of such bytes
    std::uint64_t nLargestSpan = 0;
    std::uint64_t nChecksumErrors = 0;  // headers that passed the size check, bodies that did not

    bool IsClean() const { return nSkippedBytes == 0 && nChecksumErrors == 0; }

    // Counts a run of nBytes skipped bytes.
    void AddSpan(std::uint64_t nBytes) {
        nSkippedBytes += nBytes;
        ++nSkippedSpans;
        nLargestSpan = std::max(nLargestSpan, nBytes);
    }
    // Takes in what another walk over the same file passed over.
    void Add(const SDamageReport& other) {
        nSkippedBytes += other.nSkippedBytes;
        nSkippedSpans += other.nSkippedSpans;
        nLargestSpan = std::max(nLargestSpan, other.nLargestSpan);
        nChecksumErrors += other.nChecksumErrors;
    }
};

}  // namespace sulvan
