#include "convert/CCorvaneFile.hpp"

#include <cstring>
#include <sstream>
#include <string_view>

#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan {
namespace {

constexpr std::string_view kIdentification = "Sulvan Miravelo";
constexpr std::uint16_t kEightBitText = 1;
constexpr std::size_t kWordSize = 2;

// The identifier of a record by its first word: the byte after the sync byte, or the first byte.
std::uint8_t RecordIdOf(const std::uint8_t* pFirstWord) {
    return pFirstWord[0] == kSyncByte ? pFirstWord[1] : pFirstWord[0];
}

}  // namespace

bool CCorvaneFile::Open(const std::string& strPath) {
    m_file.Close();
    EndData();
    m_config = MiraveloConfig{};
    m_strConfiguration.clear();
    m_file.Open(strPath, CBinaryFile::EOpenMode::Read);
    m_nFileSize = m_file.GetLength();
    if (!ReadHeader()) {
        return false;
    }
    m_nDataStart = m_file.GetPosition();
    return ReadChunkHeader();
}

bool CCorvaneFile::ReadHeader() {
    std::uint8_t header[28];
    if (m_file.Read(header, sizeof header) != sizeof header) {
        return false;
    }
    // Read as zero-terminated text of at most 15 characters.
    const auto* pText = reinterpret_cast<const char*>(header);
    if (std::string_view(pText, strnlen(pText, kIdentification.size())) != kIdentification) {
        return false;
    }
    m_nStartTimeStamp = ReadU64Le(header + 20);
    std::string strSecondText;
    if (!ReadTextBlock(m_strConfiguration) || !ReadTextBlock(strSecondText)) {
        return false;
    }
    std::istringstream configuration(m_strConfiguration);
    ReadMiraveloConfig(configuration, m_config);
    return true;
}

// A width code, a length in 16-bit units, the text. A length beyond the end of the file makes
// the file unreadable rather than an allocation of that size.
bool CCorvaneFile::ReadTextBlock(std::string& strText) {
    std::uint8_t head[6];
    if (m_file.Read(head, sizeof head) != sizeof head) {
        return false;
    }
    const std::uint16_t nWidth = ReadU16Le(head);
    const std::uint64_t nBytes = std::uint64_t{ReadU32Le(head + 2)} * kWordSize;
    if (nBytes > m_nFileSize - m_file.GetPosition()) {
        return false;
    }
    std::string strBytes(static_cast<std::size_t>(nBytes), '\0');
    if (m_file.Read(strBytes.data(), strBytes.size()) != strBytes.size()) {
        return false;
    }
    if (nWidth == kEightBitText) {
        strText.assign(strBytes.c_str(), strnlen(strBytes.c_str(), strBytes.size()));
        return true;
    }
    strText.clear();
    for (std::size_t i = 0; i < strBytes.size(); i += kWordSize) {
        const std::uint16_t nChar =
            ReadU16Le(reinterpret_cast<const std::uint8_t*>(strBytes.data() + i));
        strText += nChar <= 0xFF ? static_cast<char>(nChar) : '_';
    }
    return true;
}

bool CCorvaneFile::Rewind() {
    if (!m_file.IsOpen()) {
        return false;
    }
    m_file.Seek(static_cast<std::int64_t>(m_nDataStart), CBinaryFile::ESeekOrigin::Begin);
    return ReadChunkHeader();
}

bool CCorvaneFile::Next() {
    if (m_nLength == 0) {
        return false;
    }
    m_file.Seek(static_cast<std::int64_t>(m_nLength) * 2, CBinaryFile::ESeekOrigin::Current);
    return ReadChunkHeader() && m_nLength != 0;
}

std::span<const std::uint8_t> CCorvaneFile::Data() {
    if (m_nLength == 0) {
        return {};
    }
    const std::size_t nBytes = std::size_t{m_nLength} * kWordSize;
    const std::span<const std::uint8_t> record = m_file.Peek(nBytes);
    // The chunk header saw the record whole; a file cut while it is read ends the data here.
    if (record.size() != nBytes) {
        m_bCutShort = true;
        EndData();
        return {};
    }
    return record;
}

bool CCorvaneFile::ReadChunkHeader() {
    EndData();
    m_nChunkStart = m_file.GetPosition();
    m_bCutShort = false;
    const std::span<const std::uint8_t> header = m_file.Peek(kCorvaneChunkHeaderSize + kWordSize);
    if (header.size() != kCorvaneChunkHeaderSize + kWordSize) {
        // A header cut off by the end of the file; nothing at all, or a last header of length 0
        // without a record after it, is the end of the data.
        const bool bEndMark =
            header.size() >= kCorvaneChunkHeaderSize && ReadU16Le(header.data() + 10) == 0;
        m_bCutShort = !header.empty() && !bEndMark;
        return false;
    }
    const std::uint16_t nLength = ReadU16Le(header.data() + 10);
    // A record the file ends inside is no record: the chunk is the cut-off tail, and takes no
    // sample number.
    if (m_nChunkStart + kCorvaneChunkHeaderSize + std::uint64_t{nLength} * kWordSize >
        m_nFileSize) {
        m_bCutShort = true;
        return false;
    }
    m_nProbe = ReadU16Le(header.data());
    m_nTimeStamp = ReadU64Le(header.data() + 2);
    m_nLength = nLength;
    m_nId = RecordIdOf(header.data() + kCorvaneChunkHeaderSize);
    // The file stands at the record, which Data() looks at in place.
    m_file.Seek(kCorvaneChunkHeaderSize, CBinaryFile::ESeekOrigin::Current);
    return true;
}

void CCorvaneFile::EndData() {
    m_nProbe = 0;
    m_nTimeStamp = 0;
    m_nLength = 0;
    m_nId = 0;
}

}  // namespace sulvan
