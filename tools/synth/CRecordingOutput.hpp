#pragma once
// The generator's way to the file. Records collect in one chunk that goes to the file whole,
// and the last bytes of the recording stay held back so that a truncated tail is simply never
// written: the length of a streamed recording is known only when it ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/CBinaryFile.hpp"

namespace sulvan::synth {

class CRecordingOutput {
  public:
    // The longest run of bytes one Append takes.
    static constexpr std::size_t kChunkSize = 1024 * 1024;

    // The last nCutBytes of the recording will not be written.
    CRecordingOutput(CBinaryFile& file, std::size_t nCutBytes);

    void Append(std::span<const std::uint8_t> bytes);
    // Length of the whole recording so far, the bytes to be cut included.
    std::uint64_t Produced() const { return m_nProduced; }
    // Writes what is held but the bytes to cut; returns the number of bytes written in all.
    // Throws FileError.
    std::uint64_t Finish();

  private:
    // Writes all held bytes but the ones that may still be cut.
    void WriteHeld();

    CBinaryFile& m_file;
    std::size_t m_nCutBytes;
    std::vector<std::uint8_t> m_chunk;
    std::size_t m_nHeld = 0;
    std::uint64_t m_nProduced = 0;
    std::uint64_t m_nWritten = 0;
};

}  // namespace sulvan::synth
