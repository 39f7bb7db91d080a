#include "format/CRecordWalk.hpp"

#include <algorithm>
#include <cstring>

#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {

CRecordWalk::CRecordWalk(CBinaryFile& file, SRecordGeometry& geometry, SWalkOptions options)
    : m_file(file), m_geometry(geometry), m_options(options), m_nBase(file.GetPosition()) {}

bool CRecordWalk::Next(SRecordView& record) {
    if (m_bEnded) {
        return false;
    }
    for (;;) {
        if (m_pEnd - m_pCursor < static_cast<std::ptrdiff_t>(kRecordHeaderSize) &&
            !Refill(kRecordHeaderSize)) {
            return EndAt(Position());
        }
        const std::uint8_t* pHeader = m_pCursor;
        if (pHeader[0] != kSyncByte) {
            // Sliding one byte at a time up to the next sync byte is the same as jumping there.
            const void* pSync =
                std::memchr(pHeader + 1, kSyncByte, static_cast<std::size_t>(m_pEnd - pHeader - 1));
            Slide(pSync == nullptr ? static_cast<std::size_t>(m_pEnd - pHeader)
                                   : static_cast<std::size_t>(
                                         static_cast<const std::uint8_t*>(pSync) - pHeader));
            continue;
        }
        const SSizeCheck check = m_geometry.CheckRecordSize(
            std::span<const std::uint8_t, kRecordHeaderSize>(pHeader, kRecordHeaderSize));
        if (!check.bAccepted) {
            Slide(1);
            continue;
        }
        // The header's identifier, before a refill moves the window under it.
        const std::uint8_t nId = pHeader[1];
        std::size_t nSize = check.nSize;
        if (m_options.nRecordSizeLimit != 0) {
            nSize = std::min(nSize, m_options.nRecordSizeLimit);
        }
        if (static_cast<std::size_t>(m_pEnd - m_pCursor) < nSize && !Refill(nSize)) {
            // A record that would run past the end of the file: the cut-off tail of a recording,
            // or a damaged size field with intact records still after it.
            Slide(1);
            continue;
        }
        const std::span<const std::uint8_t> bytes(m_pCursor, nSize);
        if (m_options.bVerifyChecksum && !IsRecordIntact(bytes)) {
            ++m_damage.nChecksumErrors;
            Slide(1);
            continue;
        }
        const std::uint64_t nOffset = Position();
        CloseDamage(nOffset);
        m_pCursor += nSize;
        // Passed over only when intact: a damaged header must not hide the records after it.
        if (IsConfigurationRecord(nId) ||
            (m_options.nSkipSizeAbove != 0 && nSize > m_options.nSkipSizeAbove)) {
            continue;
        }
        record.bytes = bytes;
        record.nOffset = nOffset;
        return true;
    }
}

bool CRecordWalk::Refill(std::size_t nCount) {
    const std::uint64_t nPosition = Position();
    m_file.Seek(static_cast<std::int64_t>(nPosition), CBinaryFile::ESeekOrigin::Begin);
    const std::span<const std::uint8_t> window = m_file.Peek(CBinaryFile::kWindowSize);
    m_nBase = nPosition;
    m_pBegin = m_pCursor = window.data();
    m_pEnd = window.data() + window.size();
    return window.size() >= nCount;
}

void CRecordWalk::Slide(std::size_t nBytes) {
    if (!m_bInDamage) {
        m_bInDamage = true;
        m_nDamageStart = Position();
    }
    m_pCursor += nBytes;
}

bool CRecordWalk::EndAt(std::uint64_t nPosition) {
    // Bytes left at the end that form no record (a cut-off tail) are damage too.
    const std::uint64_t nLength = m_file.GetLength();
    if (!m_bInDamage && nPosition < nLength) {
        m_bInDamage = true;
        m_nDamageStart = nPosition;
    }
    CloseDamage(std::max(nLength, nPosition));
    m_file.Seek(static_cast<std::int64_t>(nPosition), CBinaryFile::ESeekOrigin::Begin);
    m_bEnded = true;
    return false;
}

void CRecordWalk::CloseDamage(std::uint64_t nPosition) {
    if (!m_bInDamage) {
        return;
    }
    m_bInDamage = false;
    const std::uint64_t nSpan = nPosition - m_nDamageStart;
    m_damage.AddSpan(nSpan);
    if (m_options.fnSkippedSpan) {
        m_options.fnSkippedSpan({m_nDamageStart, nSpan});
    }
}

}  // namespace sulvan
