#include "convert/MrvToAdv.hpp"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "convert/AdvLayout.hpp"
#include "convert/CCorvaneFile.hpp"
#include "convert/CPercentProgress.hpp"
#include "convert/KvtSampleMap.hpp"
#include "convert/OutputSafety.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/DateTime.hpp"
#include "platform/FileError.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

constexpr const char* kInvalidInput = "Invalid file or conversion.";
// Time stamps outside these are taken for damage: 1900-01-01 and 2999-12-31.
constexpr std::uint64_t kLowerTimeBound = 94354848000000000;
constexpr std::uint64_t kUpperTimeBound = 441480672000000000;
// A record is written as soon as some probe is this many samples beyond it.
constexpr std::int32_t kAlignmentWindow = 10;
// Probe index, time stamp and length in front of each record.
constexpr std::uint64_t kChunkHeaderBytes = 12;

namespace ChunkId {
constexpr std::uint8_t TimeMark = 0x0F;
constexpr std::uint8_t Velocity = 0x51;
constexpr std::uint8_t NumberOnly1 = 0x81;
constexpr std::uint8_t NumberOnly2 = 0x91;
}  // namespace ChunkId

// Velocity record 0x51: its first word, a status word, then the arrays of nb * nc entries.
constexpr std::uint16_t kVelocityFirstWord = 0x51A5;
constexpr std::size_t kVelocityArrays = 4;

std::uint8_t FieldByte(int nValue) {
    return static_cast<std::uint8_t>(nValue);
}

SAdvFileHeader MakeFileHeader(const CCorvaneFile& input, std::size_t nProbes) {
    const CommonConfig& common = input.Config().common;
    SAdvFileHeader header;
    const SDateTimeFields start = FieldsFromFileTime(input.StartTimeStamp());
    // A stamp that forms no date leaves the date and time fields zero.
    header.start = start.nYear <= kLastYear ? start : SDateTimeFields{};
    header.nHundredths = FieldByte(header.start->nMillisecond / 10);
    header.nProbes = nProbes;
    header.fTemperature = static_cast<float>(common.dTemperature);
    header.fSalinity = static_cast<float>(common.dSalinity);
    header.fSoundSpeed =
        static_cast<float>(static_cast<std::int16_t>(ToU16Bits(common.dSoundSpeed)));
    header.fSampleRate = static_cast<float>(static_cast<std::int16_t>(common.nSamplingRate));
    if (nProbes > 0) {
        const ProbeConfig& first = input.Config().probes.front();
        header.nVelocityRange = static_cast<std::uint16_t>(first.nVelocityRange);
        header.nSyncCode = first.bSampleOnSync ? 2 : first.bStartOnSync ? 1 : 0;
    }
    return header;
}

// Characters 4 to 9 of the probe's serial number.
SAdvInstrumentBlock MakeInstrumentBlock(const ProbeConfig& probe) {
    SAdvInstrumentBlock block;
    if (probe.strSerialNumber.size() > 4) {
        block.strSerial = probe.strSerialNumber.substr(4, 6);
    }
    return block;
}

// The first cell of each of the first three beams; nothing when the record is not a velocity
// record or is shorter than its status word says.
bool ReadVelocitySample(std::span<const std::uint8_t> record, KvtSlot& slot) {
    if (record.size() < kVelocityArrays || ReadU16Le(record.data()) != kVelocityFirstWord) {
        return false;
    }
    const std::uint16_t nStatus = ReadU16Le(record.data() + 2);
    const std::size_t nBeams = (nStatus & 0x3u) + 1;
    const std::size_t nCells = ((nStatus >> 2) & 0x7u) + 1;
    const double dScale = (nStatus & 0x20u) != 0 ? 0.0001 : 0.001;
    const std::size_t nEntries = nBeams * nCells;
    if (record.size() < kVelocityArrays + 4 * nEntries) {
        return false;
    }
    const std::uint8_t* pArrays = record.data() + kVelocityArrays;
    SAdvSample sample;
    for (std::size_t b = 0; b < std::min<std::size_t>(nBeams, 3); ++b) {
        const std::size_t i = b * nCells;
        sample.velocity[b] = static_cast<float>(ReadI16Le(pArrays + 2 * i) * dScale);
        sample.amplitude[b] = pArrays[2 * nEntries + i];
        sample.correlation[b] = pArrays[3 * nEntries + i];
    }
    EncodeAdvSample(sample, false, slot.data());
    return true;
}

class CCorvaneConversion {
  public:
    CCorvaneConversion(CUserInterface& ui, CCorvaneFile& input, const std::string& strOutput,
                       const std::function<void(int)>& progress)
        : m_ui(ui),
          m_input(input),
          m_strOutput(strOutput),
          m_nConfigured(input.Config().probes.size()),
          m_nProbes(std::min(m_nConfigured, kAdvMaxProbes)),
          m_counts(m_nProbes, 0),
          m_nLateBudget(2 * m_nProbes),
          m_progress(progress, input.FileSize()) {}

    SFileOutcome Run() {
        SFileOutcome outcome;
        try {
            m_output.Open(m_strOutput, CBinaryFile::EOpenMode::Create);
        } catch (const FileError& error) {
            outcome.Fail("Unable to open " + m_strOutput + "\r" + error.Description(),
                         error.what());
            return outcome;
        }
        try {
            m_input.Rewind();
            WriteHeaderBlocks();
            Walk();
            outcome.damage = m_damage;
            const bool bWritten =
                m_map.WriteSamples(m_output, m_nNext, m_nLastTaken, m_nProbes, Trailer()) >= 0;
            m_output.Close();
            if (m_nProbes == 0) {
                const std::string strReason =
                    "The recording's configuration names no probe: there is nothing to convert.";
                outcome.Fail(m_strOutput + "\r\r" + strReason, strReason);
                outcome.incomplete.push_back(m_strOutput);
            } else if (!bWritten) {
                outcome.Fail(std::string(), "no data records found");
                outcome.incomplete.push_back(m_strOutput);
            } else {
                m_ui.ShowMessage(Summary());
                outcome.written.push_back({m_strOutput, m_map.Records()});
            }
        } catch (const FileError& error) {
            m_output.CloseAfterError();
            outcome.Append(FailedWriting(error, m_strOutput, true));
        }
        return outcome;
    }

  private:
    void WriteHeaderBlocks() {
        const auto header = EncodeAdvFileHeader(MakeFileHeader(m_input, m_nProbes));
        m_output.Write(header.data(), header.size());
        for (std::size_t p = 0; p < m_nProbes; ++p) {
            const auto block =
                EncodeAdvInstrumentBlock(MakeInstrumentBlock(m_input.Config().probes[p]));
            m_output.Write(block.data(), block.size());
        }
    }

    void Walk() {
        while (m_input.Length() != 0) {
            if (m_input.TimeStamp() > kUpperTimeBound) {
                // A few late stamps are damage; more of them end the recording.
                if (m_nLateBudget == 0) {
                    break;
                }
                --m_nLateBudget;
                SkipChunk();
                m_input.Next();
                continue;
            }
            switch (m_input.Id()) {
                case ChunkId::TimeMark:
                    ++m_nTimeMarks;
                    break;
                case ChunkId::Velocity:
                    TakeVelocity();
                    break;
                case ChunkId::NumberOnly1:
                case ChunkId::NumberOnly2:
                    TakeNumber();
                    break;
                default:
                    break;
            }
            m_progress.At(m_input.Position());
            m_input.Next();
        }
        // What the walk did not reach (cut off, or after too many late stamps) is damage too.
        if (m_input.Length() != 0 || m_input.IsCutShort()) {
            SkipBytes(m_input.ChunkStart(), m_input.FileSize() - m_input.ChunkStart());
        }
        if (m_nSkipEnd != 0) {
            m_damage.AddSpan(m_nSkipEnd - m_nSkipStart);
        }
    }

    void SkipChunk() {
        SkipBytes(m_input.ChunkStart(), kChunkHeaderBytes + 2 * std::uint64_t{m_input.Length()});
    }

    // Skipped chunks next to each other are one span.
    void SkipBytes(std::uint64_t nStart, std::uint64_t nBytes) {
        if (nStart != m_nSkipEnd && m_nSkipEnd != 0) {
            m_damage.AddSpan(m_nSkipEnd - m_nSkipStart);
            m_nSkipStart = nStart;
        } else if (m_nSkipEnd == 0) {
            m_nSkipStart = nStart;
        }
        m_nSkipEnd = nStart + nBytes;
    }

    // The probe's next sample number; -1 for a probe outside the file's probes.
    std::int32_t TakeNumber() {
        const std::size_t p = m_input.ProbeIndex();
        if (p >= m_nProbes) {
            return -1;
        }
        const std::int32_t nSample = ++m_counts[p];
        // The final write goes up to the highest number any probe took: when the last chunk
        // is a lagging probe's, its number would leave the leading probes' last records out.
        m_nLastTaken = std::max(m_nLastTaken, nSample);
        return nSample;
    }

    void TakeVelocity() {
        const std::int32_t nSample = TakeNumber();
        KvtSlot slot{};
        // Records too early, and records that are no velocity record after all, take a number
        // and leave their slot padded.
        if (nSample < 0 || m_input.TimeStamp() < kLowerTimeBound ||
            !ReadVelocitySample(m_input.Data(), slot)) {
            return;
        }
        m_map.AddSample(slot, nSample, m_input.ProbeIndex());
        const std::int32_t nWritten =
            m_map.WriteSamples(m_output, m_nNext, nSample - kAlignmentWindow, m_nProbes, Trailer());
        if (nWritten >= 0) {
            m_nNext = nWritten + 1;
        }
    }

    std::uint16_t Trailer() const { return static_cast<std::uint16_t>(m_nTimeMarks); }

    std::string Summary() const {
        std::string strText = "Total samples:\t" + std::to_string(m_map.Total()) + "\r\r";
        bool bMissing = false;
        for (std::size_t p = 0; p < m_nProbes; ++p) {
            if (m_map.Missing(p) > 0) {
                strText += "Missing probe " + std::to_string(p) + ":\t" +
                           std::to_string(m_map.Missing(p)) + "\r";
                bMissing = true;
            }
        }
        if (bMissing) {
            strText += "\r\rNote: Missing data points\rare padded with the previous value.";
        }
        if (m_nConfigured > m_nProbes) {
            strText += "\r\rThe recording names " + std::to_string(m_nConfigured) +
                       " probes; an .adv file holds " + std::to_string(kAdvMaxProbes) +
                       ", so probes " + std::to_string(kAdvMaxProbes) + " to " +
                       std::to_string(m_nConfigured - 1) + " were left out.";
        }
        return strText;
    }

    CUserInterface& m_ui;
    CCorvaneFile& m_input;
    const std::string& m_strOutput;
    const std::size_t m_nConfigured;
    const std::size_t m_nProbes;
    std::vector<std::int32_t> m_counts;
    std::size_t m_nLateBudget;
    CPercentProgress m_progress;
    KvtSampleMap m_map;
    std::int32_t m_nNext = 0;
    std::int32_t m_nLastTaken = 0;
    std::uint32_t m_nTimeMarks = 0;
    CBinaryFile m_output;
    SDamageReport m_damage;
    // The span of skipped chunks that the next skipped chunk may extend; empty while 0.
    std::uint64_t m_nSkipStart = 0;
    std::uint64_t m_nSkipEnd = 0;
};

}  // namespace

SFileOutcome MrvToAdv(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                      const std::function<void(int)>& progress) {
    CWaitCursor wait(ui);
    SFileOutcome outcome;
    CCorvaneFile input;
    try {
        if (!input.Open(strInput)) {
            outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput, kInvalidInput);
            return outcome;
        }
    } catch (const FileError& error) {
        const std::string strReason = ShortReasonFor(error, strInput, kInvalidInput);
        outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput + "\r" + strReason,
                     std::string(kInvalidInput) + " " + strReason);
        return outcome;
    } catch (const std::exception& error) {
        // The probe configuration embedded in the recording is malformed.
        outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput + "\r" + error.what(),
                     std::string(kInvalidInput) + " " + error.what());
        return outcome;
    }
    if (!ConfirmsReplacing(ui, strOutput, outcome)) {
        return outcome;
    }
    return CCorvaneConversion(ui, input, strOutput, progress).Run();
}

}  // namespace sulvan
