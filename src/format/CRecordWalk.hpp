#pragma once
// The record walk every converter shares. From the file's position it hands out, one by one,
// the intact records, passing over configuration records and sliding over damage one byte at a
// time: a bad sync byte, a size the catalogue rejects, a record that would run past the end of
// the file or a wrong checksum only move the walk on by one byte, until a sync byte starts a
// header that passes the size check and a record whose checksum matches. Damage is counted,
// never raised.
//
// The walk reads the file's window in place: per record it looks at four header bytes, checks
// the size, and looks at the whole record, which is "read the header, seek back, read the
// record" without copying or calling the OS. It touches the file only to refill the window.

#include <cstdint>
#include <functional>
#include <span>

#include "format/SRecordGeometry.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/DamageReport.hpp"

namespace sulvan {

// One run of bytes the walk passed over, by its place in the file.
struct SDamageSpan {
    std::uint64_t nOffset = 0;
    std::uint64_t nSize = 0;
    bool operator==(const SDamageSpan&) const = default;
};

// The converters of velocity samples take no record longer than this: a longer one is damage.
inline constexpr std::size_t kConverterRecordSizeLimit = 2048;

struct SWalkOptions {
    // Accepted sizes above this are cut to it (0: no limit): the record then ends where its
    // checksum does not match, and is slid over as damage.
    std::size_t nRecordSizeLimit = 0;
    // Intact records accepted with a size above this are passed over whole, as configuration
    // records are (0: none is).
    std::size_t nSkipSizeAbove = 0;
    bool bVerifyChecksum = true;
    // Told of each skipped span when the walk has found where it ends, in file order; for
    // callers that need to know where the damage lies, not only how much there is.
    std::function<void(const SDamageSpan&)> fnSkippedSpan = {};
};

// One record, as it lies in the file's window: valid until the next call of the walk.
struct SRecordView {
    std::span<const std::uint8_t> bytes;
    std::uint64_t nOffset = 0;

    std::uint8_t Id() const { return bytes[1]; }
    const std::uint8_t* Data() const { return bytes.data(); }
    std::size_t Size() const { return bytes.size(); }
};

class CRecordWalk {
  public:
    // Walks from the file's position. While the walk runs it owns the file's position (see
    // Position); the file stands at the end of the walk when Next returns false.
    CRecordWalk(CBinaryFile& file, SRecordGeometry& geometry, SWalkOptions options = {});

    // The next intact record after the previous one; false at the end of the file.
    bool Next(SRecordView& record);

    // The offset where the walk goes on: just past the record Next returned last.
    std::uint64_t Position() const {
        return m_nBase + static_cast<std::uint64_t>(m_pCursor - m_pBegin);
    }

    const SDamageReport& Damage() const { return m_damage; }

  private:
    // Makes at least nCount bytes from the cursor available; false when the file has fewer.
    bool Refill(std::size_t nCount);
    void Slide(std::size_t nBytes);
    void CloseDamage(std::uint64_t nPosition);
    bool EndAt(std::uint64_t nPosition);

    CBinaryFile& m_file;
    SRecordGeometry& m_geometry;
    SWalkOptions m_options;
    SDamageReport m_damage;
    // The part of the file's window being walked, and the file offset of its first byte.
    const std::uint8_t* m_pBegin = nullptr;
    const std::uint8_t* m_pCursor = nullptr;
    const std::uint8_t* m_pEnd = nullptr;
    std::uint64_t m_nBase = 0;
    bool m_bEnded = false;
    bool m_bInDamage = false;
    std::uint64_t m_nDamageStart = 0;
};

}  // namespace sulvan
