#include "convert/ConvertToWpr.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "config/ConfigFields.hpp"
#include "convert/CPercentProgress.hpp"
#include "convert/ConfigurationOutput.hpp"
#include "convert/OutputSafety.hpp"
#include "convert/WaveBursts.hpp"
#include "convert/WprLayout.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/FileError.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

constexpr const char* kWprExtension = ".wpr";
constexpr const char* kWaveHardwareSerial = "WPR 0000";
constexpr const char* kWaveHeadSerial = "WAV 0000";
constexpr double kWaveCellSize = 0.75;  // m
// Records of the kinds that accept any size are passed over above this size: the wave layout
// has no place for them.
constexpr std::size_t kLargestConverted = 51200;
// The largest record a 16-bit size field in words can announce.
constexpr std::size_t kLargestRecord = 0xFFFF * 2;

// The first three beams of a record of nBeams beams whose arrays start at nArrays: velocities,
// then the amplitudes after all of the record's velocities, so a record of fewer beams is never
// read past its end.
SWaveBeams ReadBeams(const SRecordView& record, std::size_t nArrays, std::size_t nBeams) {
    const std::uint8_t* p = record.Data() + nArrays;
    SWaveBeams beams;
    for (std::size_t b = 0; b < std::min<std::size_t>(nBeams, beams.velocity.size()); ++b) {
        beams.velocity[b] = ReadI16Le(p + 2 * b);
        beams.amplitude[b] = p[2 * nBeams + b];
    }
    return beams;
}

// The battery, sound speed, attitude and temperature a wave burst header carries.
void TakeState(const std::uint8_t* p, const SStateFields& at, SWaveBurstHeader& header) {
    header.nBattery = ReadU16Le(p + at.nBattery);
    header.nSoundSpeed = ReadU16Le(p + at.nSoundSpeed);
    header.nHeading = ReadI16Le(p + at.nHeading);
    header.nPitch = ReadI16Le(p + at.nPitch);
    header.nRoll = ReadI16Le(p + at.nRoll);
    header.nTemperature = ReadI16Le(p + at.nTemperature);
}

std::string WprNameOf(const std::string& strOutputPath) {
    return std::string(WithoutExtension(strOutputPath)) + kWprExtension;
}

class CWaveConversion {
  public:
    CWaveConversion(CUserInterface& ui, CInsFile& reader, std::string strOutput,
                    SWprOptions& options)
        : m_ui(ui),
          m_reader(reader),
          m_strOutput(std::move(strOutput)),
          m_options(options),
          m_progress(options.progress, reader.File().GetLength()),
          m_nBeams(static_cast<std::size_t>(std::max(0, reader.Geometry().nBeams))),
          // A damaged configuration can give counts below 0: the profile is then sized for none,
          // so that it always holds its fixed part.
          m_nCells(static_cast<std::size_t>(std::max(0, reader.Geometry().nCells))),
          m_nProfileEntries(m_nBeams * m_nCells),
          m_nProfileSize(ExpectedRecordSize(RecordId::CurrentProfile, static_cast<int>(m_nBeams),
                                            static_cast<int>(m_nCells))) {}

    SFileOutcome Run() {
        SFileOutcome outcome;
        if (RefusesToReplaceInput(m_reader.File().GetFilePath(), m_strOutput, outcome)) {
            return outcome;
        }
        bool bCreated = false;
        try {
            m_output.Open(m_strOutput, CBinaryFile::EOpenMode::Create);
            bCreated = true;
            // A profile the size field cannot announce could not be read back.
            if (!m_reader.IsUserValid() || m_nProfileSize > kLargestRecord) {
                throw FileError(EFileCause::InvalidFile, m_strOutput);
            }
            m_reader.WindowFirstTime().nStatus = SDateTimeWithStatus::kInvalid;
            m_reader.WindowLastTime().nStatus = SDateTimeWithStatus::kInvalid;
            WriteConfiguration();
            Walk();
            outcome.damage = m_damage;
            m_output.Close();
            m_options.windowStart = m_reader.WindowFirstTime();
            m_options.windowEnd = m_reader.WindowLastTime();
            outcome.written.push_back({m_strOutput, m_nRecordsWritten});
        } catch (const FileError& error) {
            m_output.CloseAfterError();
            if (error.Cause() == EFileCause::EndOfFile) {
                outcome.written.push_back({m_strOutput, m_nRecordsWritten});
            } else {
                const std::string strText =
                    m_strOutput + "\r" + ShortReasonFor(error, m_strOutput, "Invalid file.");
                outcome.Fail(strText, error.Cause() == EFileCause::InvalidFile
                                          ? "the configuration cannot be described as a wave "
                                            "recording (no valid user configuration)"
                                          : error.what());
                if (bCreated) {
                    outcome.incomplete.push_back(m_strOutput);
                }
            }
        }
        return outcome;
    }

  private:
    // The input's configuration described as a wave recording; the reader keeps it, and the
    // deployment is decoded anew from it (it now reads as a wave profiler's).
    void WriteConfiguration() {
        CInsConf& conf = m_reader.Conf();
        conf.SetHardwareSerial(kWaveHardwareSerial);
        conf.SetHeadSerial(kWaveHeadSerial);
        conf.SetUserWord(UserField::ExtraTime, m_options.nWaveSamples);
        conf.SetUserWord(UserField::WaveSamples, m_options.nWaveSamples);
        conf.SetUserWord(UserField::WaveMode, 1);
        conf.SetUserWord(UserField::CellSize, m_reader.Config().CellSizeToRaw(kWaveCellSize));
        conf.SetUserWord(UserField::Setting440, conf.GetUserWord(UserField::Word4));
        WriteConfigurationBlock(m_output, conf);

        m_reader.Config().Decode(conf, 1, &m_ui);
        m_bursts.emplace(HasWaveMode(conf), m_options.nWaveSamples);
    }

    void Walk() {
        CRecordWalk walk(m_reader.File(), m_reader.Geometry(),
                         SWalkOptions{.nSkipSizeAbove = kLargestConverted,
                                      .bVerifyChecksum = m_options.bChecksumControl});
        m_progress.At(m_reader.File().GetPosition());
        SRecordView record;
        bool bPastWindow = false;
        while (!bPastWindow && walk.Next(record)) {
            m_progress.At(record.nOffset);
            bPastWindow = !Take(record);
        }
        m_damage = walk.Damage();
        if (!bPastWindow) {
            m_progress.At(walk.Position());
        }
    }

    // False when the record lies after the time window: nothing after it is converted.
    bool Take(const SRecordView& record) {
        switch (record.Id()) {
            case RecordId::SinglePointVelocity:
            case RecordId::PeloraExtended:
            case RecordId::PeloraWaveSample:
                return TakePelora(record);
            case RecordId::VelocityHeader:
                TakeVelocityHeader(record);
                break;
            case RecordId::SystemSample:
                TakeSystemSample(record);
                break;
            case RecordId::VelocitySample:
                WriteWaveSample(ReadU16Le(record.Data() + VelocitySampleField::Pressure),
                                ReadU16Le(record.Data() + VelocitySampleField::Analog1),
                                ReadBeams(record, VelocitySampleField::Arrays, m_nBeams));
                m_bursts->TakeTarsisSample();
                break;
            default:
                break;
        }
        return true;
    }

    bool TakePelora(const SRecordView& record) {
        const std::uint8_t* p = record.Data();
        const STimeWindowCheck window = m_reader.CheckTimeWindow(
            m_clocks.Decode(p + kRecordClockOffset), m_options.windowStart, m_options.windowEnd);
        if (window.nPosition != 0) {
            return window.nPosition < 0;
        }
        const SWaveBeams beams = ReadBeams(record, PeloraVelocityField::Arrays, m_nBeams);
        const SPeloraWaveRole role = m_bursts->TakePelora(record.Id());
        if (role.bCurrent) {
            WriteProfile(p, beams);
        }
        if (role.bOpensBurst) {
            m_header = PeloraBurstHeader(p);
            WriteBurstHeader();
        } else if (role.bWaveSample) {
            WriteWaveSample(ReadU16Le(p + PeloraVelocityField::Pressure),
                            ReadU16Le(p + PeloraVelocityField::Analog1), beams);
        }
        return true;
    }

    SWaveBurstHeader PeloraBurstHeader(const std::uint8_t* p) const {
        const CInsConf& conf = m_reader.Conf();
        SWaveBurstHeader header;
        std::copy_n(p + kRecordClockOffset, kClockSize, header.clock.begin());
        header.nSamples = m_bursts->BurstSamples();
        header.nWord12 = conf.GetUserWord(UserField::Word6);
        TakeState(p, kPeloraVelocityState, header);
        header.nWord30 = conf.GetUserWord(UserField::Word8);
        return header;
    }

    // A Tarsis burst: a profile with the header's clock (a header holds no velocities), then
    // the wave burst header with the attitude and environment of the latest system sample.
    void TakeVelocityHeader(const SRecordView& record) {
        const std::uint8_t* p = record.Data();
        m_header = m_fromSystem;
        std::copy_n(p + kRecordClockOffset, kClockSize, m_header.clock.begin());
        m_header.nSamples = ReadU16Le(p + VelocityHeaderField::Samples);
        std::copy_n(p + VelocityHeaderField::Noise, m_header.noise.size(), m_header.noise.begin());
        WriteProfile(p, SWaveBeams{});
        WriteBurstHeader();
        m_bursts->TakeTarsisHeader(m_header.nSamples);
    }

    void TakeSystemSample(const SRecordView& record) {
        TakeState(record.Data(), kSystemSampleState, m_fromSystem);
    }

    void WriteProfile(const std::uint8_t* pSource, const SWaveBeams& beams) {
        EncodeCurrentProfile(
            std::span<const std::uint8_t, kProfileSourceBytes>(pSource, kProfileSourceBytes), beams,
            m_nProfileEntries, std::span(m_output.WriteInPlace(m_nProfileSize), m_nProfileSize));
        ++m_nRecordsWritten;
    }

    void WriteBurstHeader() {
        EncodeWaveBurstHeader(
            m_header, std::span<std::uint8_t, kWaveBurstHeaderSize>(
                          m_output.WriteInPlace(kWaveBurstHeaderSize), kWaveBurstHeaderSize));
        ++m_nRecordsWritten;
    }

    void WriteWaveSample(std::uint16_t nPressure, std::uint16_t nAnalog1, const SWaveBeams& beams) {
        EncodeWaveSample(nPressure, nAnalog1, beams,
                         std::span<std::uint8_t, kWaveSampleSize>(
                             m_output.WriteInPlace(kWaveSampleSize), kWaveSampleSize));
        ++m_nRecordsWritten;
    }

    CUserInterface& m_ui;
    CInsFile& m_reader;
    const std::string m_strOutput;
    SWprOptions& m_options;
    CPercentProgress m_progress;
    // With a valid user configuration every record the walk accepts has the configured beam
    // count: the size check takes velocity records only at the size it gives.
    const std::size_t m_nBeams;
    const std::size_t m_nCells;
    const std::size_t m_nProfileEntries;
    const std::size_t m_nProfileSize;
    // Known once the configuration is described as a wave recording.
    std::optional<CWaveBursts> m_bursts;
    CClockDecoder m_clocks;
    SWaveBurstHeader m_header;
    // What the latest system sample gives a Tarsis wave burst header: battery, sound speed,
    // attitude and temperature; every other field stays zero.
    SWaveBurstHeader m_fromSystem;
    CBinaryFile m_output;
    std::uint64_t m_nRecordsWritten = 0;
    SDamageReport m_damage;
};

}  // namespace

bool HasWaveMode(const CInsConf& conf) {
    return (conf.GetUserWord(UserField::ModeWord) >> UserField::ModeBit1 & 1u) != 0;
}

SFileOutcome ConvertToWpr(CUserInterface& ui, CInsFile& reader, const std::string& strOutputPath,
                          SWprOptions& options) {
    if (!reader.IsOpen()) {
        SFileOutcome outcome;
        outcome.Fail(std::string(), "the recording is not open");
        return outcome;
    }
    return CWaveConversion(ui, reader, WprNameOf(strOutputPath), options).Run();
}

}  // namespace sulvan
