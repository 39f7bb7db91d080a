#include "CRecordingOutput.hpp"

#include <cassert>
#include <cstring>

namespace sulvan::synth {

CRecordingOutput::CRecordingOutput(CBinaryFile& file, std::size_t nCutBytes)
    : m_file(file), m_nCutBytes(nCutBytes), m_chunk(kChunkSize + nCutBytes) {}

void CRecordingOutput::Append(std::span<const std::uint8_t> bytes) {
    assert(bytes.size() <= kChunkSize);
    if (m_nHeld + bytes.size() > m_chunk.size()) {
        WriteHeld();
    }
    std::memcpy(m_chunk.data() + m_nHeld, bytes.data(), bytes.size());
    m_nHeld += bytes.size();
    m_nProduced += bytes.size();
}

std::uint64_t CRecordingOutput::Finish() {
    WriteHeld();
    m_nHeld = 0;
    return m_nWritten;
}

void CRecordingOutput::WriteHeld() {
    if (m_nHeld <= m_nCutBytes) {
        return;
    }
    const std::size_t nOut = m_nHeld - m_nCutBytes;
    m_file.Write(m_chunk.data(), nOut);
    m_nWritten += nOut;
    std::memmove(m_chunk.data(), m_chunk.data() + nOut, m_nCutBytes);
    m_nHeld = m_nCutBytes;
}

}  // namespace sulvan::synth
