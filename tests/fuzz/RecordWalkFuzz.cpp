// The record walk and its size check on arbitrary bytes: every record it hands out lies in the
// file, in order, whole and as the file holds it, with a matching checksum when checksums are
// verified; the bytes it skips and the bytes it hands out never add up to more than the file.
// Two leading bytes choose the geometry and the walk's options.

#include <algorithm>

#include "FuzzTargets.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan::fuzz {

int FuzzRecordWalk(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize < 2) {
        return 0;
    }
    const std::uint8_t nGeometry = pData[0];
    const std::uint8_t nOptions = pData[1];
    const std::span<const std::uint8_t> bytes(pData + 2, nSize - 2);
    SRecordGeometry geometry;
    geometry.bUserConfigValid = (nGeometry & 1) != 0;
    geometry.nBeams = (nGeometry >> 1) & 7;
    geometry.nCells = 1 + (nGeometry >> 4) * 9;
    const SWalkOptions options{
        .nRecordSizeLimit = (nOptions & 1) != 0 ? kConverterRecordSizeLimit : 0,
        .nSkipSizeAbove = (nOptions & 2) != 0 ? std::size_t{nOptions} * 64 : 0,
        .bVerifyChecksum = (nOptions & 4) == 0};

    CBinaryFile file;
    file.Open(WriteScratchFile("walk.trs", bytes), CBinaryFile::EOpenMode::Read);
    file.Seek(std::min<std::int64_t>((nOptions >> 3) % 8, static_cast<std::int64_t>(bytes.size())),
              CBinaryFile::ESeekOrigin::Begin);
    CRecordWalk walk(file, geometry, options);
    SRecordView record;
    std::uint64_t nNext = 0;
    std::uint64_t nRecordBytes = 0;
    while (walk.Next(record)) {
        Require(record.nOffset >= nNext, "records come in order and do not overlap");
        Require(record.nOffset + record.Size() <= bytes.size(), "a record lies in the file");
        Require(std::equal(record.bytes.begin(), record.bytes.end(),
                           bytes.begin() + static_cast<std::ptrdiff_t>(record.nOffset)),
                "a record holds the file's bytes at its offset");
        Require(record.Size() >= kRecordHeaderSize && record.bytes[0] == kSyncByte,
                "a record starts with the sync byte");
        Require(!IsConfigurationRecord(record.Id()), "configuration records are passed over");
        Require(!options.bVerifyChecksum || IsRecordIntact(record.bytes),
                "a record handed out has its checksum");
        Require(walk.Position() == record.nOffset + record.Size(),
                "the walk goes on after the record");
        nNext = record.nOffset + record.Size();
        nRecordBytes += record.Size();
    }
    const SDamageReport& damage = walk.Damage();
    Require(damage.nSkippedBytes + nRecordBytes <= bytes.size(),
            "skipped and handed-out bytes fit in the file");
    Require((damage.nSkippedSpans == 0) == (damage.nSkippedBytes == 0),
            "skipped bytes come in spans");
    Require(damage.nLargestSpan <= damage.nSkippedBytes, "no span is larger than all of them");
    Require(walk.Position() <= bytes.size(), "the walk ends inside the file");
    Require(!walk.Next(record), "an ended walk stays ended");
    return 0;
}

}  // namespace sulvan::fuzz
