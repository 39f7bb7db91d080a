#include "format/CRecordWalk.hpp"

#include <algorithm>
#include <cstring>

#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {

CRecordWalk::CRecordWalk(CBinaryFile& file, SRecordGeometry& geometry, SWalkOptions options)
    : m_file(file), m_geometry(geometry), m_options(options) {}

bool CRecordWalk::Next(SRecordView& record) {
    if (m_bEnded) {
        return false;
    }
    for (;;) {
        const std::uint64_t nPosition = m_file.GetPosition();
        const std::span<const std::uint8_t> header = m_file.Peek(kRecordHeaderSize);
        if (header.size() < kRecordHeaderSize) {
            return EndAt(nPosition);
        }
        if (header[0] != kSyncByte) {
            // Sliding one byte at a time up to the next sync byte is the same as jumping there.
            const std::span<const std::uint8_t> window = m_file.PeekBuffered();
            const void* pSync = std::memchr(window.data() + 1, kSyncByte, window.size() - 1);
            const std::size_t nSkip =
                pSync == nullptr ? window.size()
                                 : static_cast<std::size_t>(
                                       static_cast<const std::uint8_t*>(pSync) - window.data());
            SlideFrom(nPosition, nSkip);
            continue;
        }
        const SSizeCheck check = m_geometry.CheckRecordSize(header.first<kRecordHeaderSize>());
        if (!check.bAccepted) {
            SlideFrom(nPosition, 1);
            continue;
        }
        std::size_t nSize = check.nSize;
        if (m_options.nRecordSizeLimit != 0) {
            nSize = std::min(nSize, m_options.nRecordSizeLimit);
        }
        if (IsConfigurationRecord(header[1])) {
            CloseDamage(nPosition);
            m_file.Seek(static_cast<std::int64_t>(nPosition + nSize),
                        CBinaryFile::ESeekOrigin::Begin);
            continue;
        }
        const std::span<const std::uint8_t> bytes = m_file.Peek(nSize);
        if (bytes.size() < nSize) {
            return EndAt(nPosition);
        }
        if (m_options.bVerifyChecksum && !IsRecordIntact(bytes)) {
            ++m_damage.nChecksumErrors;
            SlideFrom(nPosition, 1);
            continue;
        }
        CloseDamage(nPosition);
        m_file.Seek(static_cast<std::int64_t>(nPosition + nSize), CBinaryFile::ESeekOrigin::Begin);
        record.bytes = bytes;
        record.nOffset = nPosition;
        return true;
    }
}

void CRecordWalk::SlideFrom(std::uint64_t nPosition, std::uint64_t nBytes) {
    if (!m_bInDamage) {
        m_bInDamage = true;
        m_nDamageStart = nPosition;
    }
    m_file.Seek(static_cast<std::int64_t>(nPosition + nBytes), CBinaryFile::ESeekOrigin::Begin);
}

bool CRecordWalk::EndAt(std::uint64_t nPosition) {
    // Bytes left at the end that form no record (a cut-off tail) are damage too.
    const std::uint64_t nLength = m_file.GetLength();
    if (!m_bInDamage && nPosition < nLength) {
        m_bInDamage = true;
        m_nDamageStart = nPosition;
    }
    CloseDamage(std::max(nLength, nPosition));
    m_bEnded = true;
    return false;
}

void CRecordWalk::CloseDamage(std::uint64_t nPosition) {
    if (!m_bInDamage) {
        return;
    }
    m_bInDamage = false;
    const std::uint64_t nSpan = nPosition - m_nDamageStart;
    m_damage.nSkippedBytes += nSpan;
    ++m_damage.nSkippedSpans;
    m_damage.nLargestSpan = std::max(m_damage.nLargestSpan, nSpan);
}

}  // namespace sulvan
