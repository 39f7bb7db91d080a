#include "convert/MrvToAdv.hpp"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "convert/AdvLayout.hpp"
#include "convert/CCorvaneFile.hpp"
#include "convert/CCorvaneSampleWalk.hpp"
#include "convert/CPercentProgress.hpp"
#include "convert/KvtSampleMap.hpp"
#include "convert/OutputSafety.hpp"
#include "convert/ProbeVelocityRecord.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/DateTime.hpp"
#include "platform/FileError.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

constexpr const char* kInvalidInput = "Invalid file or conversion.";
// A record is written as soon as some probe is this many samples beyond it.
constexpr std::int32_t kAlignmentWindow = 10;

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

// The first cell of each of the first three beams.
KvtSlot SlotOf(const SProbeVelocityRecord& fields) {
    SAdvSample sample;
    for (std::size_t b = 0; b < std::min<std::size_t>(fields.nBeams, 3); ++b) {
        sample.velocity[b] = static_cast<float>(fields.VelocityCount(b) * fields.dScale);
        sample.amplitude[b] = fields.Amplitude(b);
        sample.correlation[b] = fields.Correlation(b);
    }
    KvtSlot slot{};
    EncodeAdvSample(sample, false, slot.data());
    return slot;
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
            CCorvaneSampleWalk walk(m_input, m_nProbes);
            Walk(walk);
            outcome.damage = walk.Damage();
            // Up to the highest number any probe took: when the last chunk is a lagging probe's,
            // its number would leave the leading probes' last records out.
            const bool bWritten = m_map.WriteSamples(m_output, m_nNext, walk.LastSample(),
                                                     m_nProbes, Trailer(walk)) >= 0;
            m_output.Close();
            if (m_nProbes == 0) {
                outcome.Fail(m_strOutput + "\r\r" + kNoProbes, kNoProbes);
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

    void Walk(CCorvaneSampleWalk& walk) {
        SCorvaneTake take;
        while (walk.Next(take)) {
            // Records too early, and records that are no velocity record after all, take a
            // number and leave their slot padded.
            if (take.sample) {
                TakeSample(take, Trailer(walk));
            }
            m_progress.At(m_input.Position());
        }
    }

    void TakeSample(const SCorvaneTake& take, std::uint16_t nTrailer) {
        m_map.AddSample(SlotOf(*take.sample), take.nSample, static_cast<int>(take.nProbe));
        const std::int32_t nWritten = m_map.WriteSamples(
            m_output, m_nNext, take.nSample - kAlignmentWindow, m_nProbes, nTrailer);
        if (nWritten >= 0) {
            m_nNext = nWritten + 1;
        }
    }

    // The count of time marks so far, as the records carry it.
    static std::uint16_t Trailer(const CCorvaneSampleWalk& walk) {
        return static_cast<std::uint16_t>(walk.TimeMarks());
    }

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
    CPercentProgress m_progress;
    KvtSampleMap m_map;
    std::int32_t m_nNext = 0;
    CBinaryFile m_output;
};

}  // namespace

bool OpenCorvaneRecording(CCorvaneFile& input, const std::string& strInput, SFileOutcome& outcome) {
    try {
        if (input.Open(strInput)) {
            return true;
        }
        outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput, kInvalidInput);
    } catch (const FileError& error) {
        const std::string strReason = ShortReasonFor(error, strInput, kInvalidInput);
        outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput + "\r" + strReason,
                     std::string(kInvalidInput) + " " + strReason);
    } catch (const std::exception& error) {
        // The probe configuration embedded in the recording is malformed.
        outcome.Fail(std::string(kInvalidInput) + "\r\r" + strInput + "\r" + error.what(),
                     std::string(kInvalidInput) + " " + error.what());
    }
    return false;
}

SFileOutcome MrvToAdv(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                      const std::function<void(int)>& progress) {
    CWaitCursor wait(ui);
    SFileOutcome outcome;
    CCorvaneFile input;
    if (!OpenCorvaneRecording(input, strInput, outcome)) {
        return outcome;
    }
    if (!ConfirmsReplacing(ui, strOutput, outcome)) {
        return outcome;
    }
    return CCorvaneConversion(ui, input, strOutput, progress).Run();
}

}  // namespace sulvan
