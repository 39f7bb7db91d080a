#pragma once
// What an inspection's one pass over a recording meets, shown as it meets it, so that other
// work rides on the same pass instead of reading the recording again (the quick look's summary).

#include "format/CRecordWalk.hpp"

namespace sulvan {

class CCorvaneFile;
class CInsFile;

class CRecordingObserver {
  public:
    virtual ~CRecordingObserver() = default;

    // A recording of the record framing, opened: its records start at its position.
    virtual void BeginFramed(CInsFile& reader) = 0;
    // An intact record. bOpensBurst: a velocity sample header, or the first of a run of Pelora
    // wave samples.
    virtual void TakeRecord(const SRecordView& record, bool bOpensBurst) = 0;
    virtual void TakeSkippedSpan(const SDamageSpan& span) = 0;

    // A Corvane recording, opened at its first chunk.
    virtual void BeginCorvane(const CCorvaneFile& input) = 0;
    // A chunk stamped before the end of the recording's time (its record may be looked at).
    virtual void TakeChunk(CCorvaneFile& input) = 0;

    // Asked now and then during the pass: true ends it early, leaving what it found incomplete.
    virtual bool IsStopRequested() const = 0;
};

}  // namespace sulvan
