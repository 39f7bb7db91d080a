#pragma once
// A Corvane recording (.mrv): a header with the identification "Sulvan Miravelo" and the start
// time stamp, the probe configuration and a second text (which nothing uses), then chunks of one
// probe record each (probe index, time stamp, length in words, the record). The reader walks the
// chunks in the file's window: a record's bytes are looked at only when they are asked for, and
// never copied.

#include <cstdint>
#include <span>
#include <string>

#include "platform/CBinaryFile.hpp"
#include "xml/MiraveloConfig.hpp"

namespace sulvan {

// Chunk time stamps outside these are taken for damage: 1900-01-01 and 2999-12-31.
inline constexpr std::uint64_t kCorvaneEarliestStamp = 94354848000000000;
inline constexpr std::uint64_t kCorvaneLatestStamp = 441480672000000000;
// Probe index, time stamp and length in words, before each record.
inline constexpr std::size_t kCorvaneChunkHeaderSize = 12;

class CCorvaneFile {
  public:
    // Opens the recording, checks its header and reads its configuration, then the first chunk
    // header. False when the file is not a Corvane recording (a text block longer than the rest
    // of the file among them). A file that cannot be opened or read raises FileError; errors of
    // the embedded configuration pass through: std::logic_error and the MyXML parser errors.
    bool Open(const std::string& strPath);
    // Back to the first chunk.
    bool Rewind();
    // To the following chunk; false at the end of the data. A failed read raises FileError: an
    // error of the disk is no end of the data.
    bool Next();
    // The current record, 2 * Length() bytes, as it lies in the file's window: valid until the
    // next call. Empty when the file ends first, which also ends the data.
    std::span<const std::uint8_t> Data();
    std::uint64_t Position() const { return m_file.GetPosition(); }
    std::uint64_t FileSize() const { return m_nFileSize; }
    // Where the first chunk starts, after the header and the two text blocks.
    std::uint64_t DataStart() const { return m_nDataStart; }

    std::uint16_t ProbeIndex() const { return m_nProbe; }
    std::uint64_t TimeStamp() const { return m_nTimeStamp; }
    // In 16-bit words; 0 ends the data.
    std::uint16_t Length() const { return m_nLength; }
    // Where the current chunk starts; once the data have ended, the chunk that ended them.
    std::uint64_t ChunkStart() const { return m_nChunkStart; }
    // The data ended because the file ends inside a chunk (its header or the record it
    // announces): from ChunkStart() on the file is a cut-off tail.
    bool IsCutShort() const { return m_bCutShort; }
    std::uint8_t Id() const { return m_nId; }

    std::uint64_t StartTimeStamp() const { return m_nStartTimeStamp; }
    const MiraveloConfig& Config() const { return m_config; }
    // The probe configuration as the recording holds it: the XML text it was read from.
    const std::string& ConfigurationText() const { return m_strConfiguration; }

  private:
    bool ReadHeader();
    // False when the file ends inside the block.
    bool ReadTextBlock(std::string& strText);
    // False when the file ends before a whole chunk header; a header of length 0 is read.
    bool ReadChunkHeader();
    void EndData();

    CBinaryFile m_file;
    std::uint64_t m_nStartTimeStamp = 0;
    MiraveloConfig m_config;
    std::string m_strConfiguration;
    std::uint64_t m_nDataStart = 0;
    std::uint64_t m_nFileSize = 0;

    std::uint64_t m_nChunkStart = 0;
    bool m_bCutShort = false;
    std::uint16_t m_nProbe = 0;
    std::uint64_t m_nTimeStamp = 0;
    std::uint16_t m_nLength = 0;
    std::uint8_t m_nId = 0;
};

}  // namespace sulvan
