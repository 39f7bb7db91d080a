#pragma once
// What the dialog and start-time tests share: files dated by the record at byte 784.

#include "RecordBuilder.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan::test {

using namespace records;

// The configuration block, then a record of the identifier and clock given at byte 784.
inline Bytes DatedRecording(const ClockBytes& clock, std::uint8_t nId = RecordId::CurrentProfile) {
    return CRecordingBuilder()
        .Add(StandardConfiguration())
        .Add(CRecordBuilder(nId, 40).Clock(clock))
        .Image();
}

}  // namespace sulvan::test
