#include "netcdf/MrvToNc.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "convert/CCorvaneFile.hpp"
#include "convert/CCorvaneSampleWalk.hpp"
#include "convert/CPercentProgress.hpp"
#include "convert/MrvToAdv.hpp"
#include "convert/OutputSafety.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/CSampleClock.hpp"
#include "netcdf/CorvaneNcLayout.hpp"
#include "netcdf/IsoTime.hpp"
#include "netcdf/NcGlobalAttributes.hpp"
#include "netcdf/NcWriteSteps.hpp"
#include "netcdf/ReaderNcExport.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/DateTime.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

constexpr double kTicksPerSecond = 1.0e7;
constexpr std::uint64_t kTicksPerWholeSecond = 10000000;
constexpr std::size_t kDefaultBeams = 3;
// Chunks looked at before the walk, per probe, for the beams and velocity scale of the probes'
// first samples.
constexpr std::size_t kScanTakesPerProbe = 1000;

// What the first samples of the probes tell before the walk.
struct SCorvaneScan {
    std::size_t nBeams = kDefaultBeams;
    double dVelocityScale = kCoarseVelocityScale;
    std::optional<std::uint64_t> firstStamp;  // the first stamp from 1900 on
};

// Looks at the first chunks: the most beams of the probes' first samples, and their velocity
// scale when they agree (the fine one when they do not, so that no count is cut).
SCorvaneScan Scan(CCorvaneFile& input, std::size_t nProbes) {
    SCorvaneScan scan;
    std::vector<bool> seen(nProbes, false);
    std::size_t nSeen = 0;
    std::size_t nBeams = 0;
    std::optional<double> dScale;
    CCorvaneSampleWalk walk(input, nProbes);
    SCorvaneTake take;
    for (std::size_t n = 0; n < kScanTakesPerProbe * nProbes && nSeen < nProbes && walk.Next(take);
         ++n) {
        if (!scan.firstStamp && take.nTimeStamp >= kCorvaneEarliestStamp) {
            scan.firstStamp = take.nTimeStamp;
        }
        if (!take.sample || seen[take.nProbe]) {
            continue;
        }
        seen[take.nProbe] = true;
        ++nSeen;
        nBeams = std::max(nBeams, take.sample->nBeams);
        dScale =
            !dScale || *dScale == take.sample->dScale ? take.sample->dScale : kFineVelocityScale;
    }
    input.Rewind();
    scan.nBeams = nBeams > 0 ? nBeams : kDefaultBeams;
    scan.dVelocityScale = dScale.value_or(kCoarseVelocityScale);
    return scan;
}

// The probes' samples of one block of sample numbers, as they are written.
class CSampleBlock {
  public:
    CSampleBlock(std::size_t nLength, std::size_t nProbes, std::size_t nBeams)
        : m_nProbes(nProbes),
          m_nBeams(nBeams),
          m_velocity(nLength * nProbes * nBeams),
          m_amplitude(m_velocity.size()),
          m_correlation(m_velocity.size()),
          m_probeTime(nLength * nProbes),
          m_flags(m_probeTime.size()),
          m_earliest(nLength),
          m_time(nLength),
          m_timeMarks(nLength),
          m_sample(nLength) {
        Clear();
    }

    void Clear() {
        std::fill(m_velocity.begin(), m_velocity.end(), kVelocityFill);
        std::fill(m_amplitude.begin(), m_amplitude.end(), kCountFill);
        std::fill(m_correlation.begin(), m_correlation.end(), kCountFill);
        std::fill(m_probeTime.begin(), m_probeTime.end(), kDoubleFill);
        std::fill(m_flags.begin(), m_flags.end(), CorvaneFlag::Missing);
        std::fill(m_earliest.begin(), m_earliest.end(), std::numeric_limits<std::uint64_t>::max());
    }

    std::size_t Slot(std::size_t nRow, std::size_t nProbe) const {
        return nRow * m_nProbes + nProbe;
    }
    std::size_t Entry(std::size_t nRow, std::size_t nProbe, std::size_t nBeam) const {
        return Slot(nRow, nProbe) * m_nBeams + nBeam;
    }

    // Writes the first nRows rows as the samples from nStart (from 0) on.
    void Write(CNcFile& file, const SCorvaneNcVariables& v, std::size_t nStart,
               std::size_t nRows) const {
        const std::size_t start[] = {nStart, 0, 0};
        const std::size_t count[] = {nRows, m_nProbes, m_nBeams};
        file.Write(v.sample, start, count, m_sample.data());
        file.Write(v.time, start, count, m_time.data());
        file.Write(v.timeMarks, start, count, m_timeMarks.data());
        file.Write(v.probeTime, start, count, m_probeTime.data());
        file.Write(v.qualityFlag, start, count, m_flags.data());
        file.Write(v.velocity, start, count, m_velocity.data());
        file.Write(v.amplitude, start, count, m_amplitude.data());
        file.Write(v.correlation, start, count, m_correlation.data());
    }

    std::vector<std::int16_t>& Velocity() { return m_velocity; }
    std::vector<std::int16_t>& Amplitude() { return m_amplitude; }
    std::vector<std::int16_t>& Correlation() { return m_correlation; }
    std::vector<double>& ProbeTime() { return m_probeTime; }
    std::vector<std::int8_t>& Flags() { return m_flags; }
    // The earliest stamp of each row (the largest number while there is none).
    std::vector<std::uint64_t>& Earliest() { return m_earliest; }
    std::vector<double>& Time() { return m_time; }
    std::vector<std::int32_t>& TimeMarks() { return m_timeMarks; }
    std::vector<std::int32_t>& Sample() { return m_sample; }

  private:
    const std::size_t m_nProbes;
    const std::size_t m_nBeams;
    std::vector<std::int16_t> m_velocity;
    std::vector<std::int16_t> m_amplitude;
    std::vector<std::int16_t> m_correlation;
    std::vector<double> m_probeTime;
    std::vector<std::int8_t> m_flags;
    std::vector<std::uint64_t> m_earliest;
    std::vector<double> m_time;
    std::vector<std::int32_t> m_timeMarks;
    std::vector<std::int32_t> m_sample;
};

std::int8_t ByteFlag(bool bFlag) {
    return bFlag ? 1 : 0;
}

class CCorvaneNcConversion {
  public:
    CCorvaneNcConversion(CCorvaneFile& input, const std::string& strInput,
                         const std::string& strOutput, const SNcOptions& options)
        : m_input(input),
          m_strInput(strInput),
          m_strOutput(strOutput),
          m_options(options),
          m_progress(options.progress, input.FileSize()),
          m_nProbes(input.Config().probes.size()),
          m_nChunkLength(CorvaneChunkLength(m_nProbes)),
          m_timeClock(1.0 / SamplingRate()),
          m_missing(m_nProbes, 0) {}

    SFileOutcome Run() {
        if (auto failed = FailureOfWriting(m_file, m_strOutput, [this] {
                m_scan = Scan(m_input, m_nProbes);
                Prepare();
                Walk();
                Finish();
            })) {
            return *std::move(failed);
        }
        SFileOutcome outcome;
        outcome.written.push_back({m_strOutput, m_nPresent > 0 ? m_nFloor : 0});
        outcome.damage = m_damage;
        return outcome;
    }

  private:
    double SamplingRate() const {
        const std::uint32_t nRate = m_input.Config().common.nSamplingRate;
        return nRate > 0 ? nRate : 1.0;
    }

    // The recording's start time to the second, or, when its stamp is out of bounds, its first
    // usable stamp's.
    std::uint64_t Epoch() const {
        const std::uint64_t nStart = m_input.StartTimeStamp();
        const bool bStartUsable = nStart >= kCorvaneEarliestStamp && nStart <= kCorvaneLatestStamp;
        const std::uint64_t nEpoch =
            bStartUsable ? nStart : m_scan.firstStamp.value_or(kCorvaneEarliestStamp);
        return nEpoch - nEpoch % kTicksPerWholeSecond;
    }

    void Prepare() {
        const SNcMetadata& metadata = m_options.metadata;
        SCorvaneNcShape shape;
        shape.nProbes = m_nProbes;
        shape.nBeams = m_scan.nBeams;
        shape.dVelocityScale = m_scan.dVelocityScale;
        shape.nDeflateLevel = std::clamp(m_options.nDeflateLevel, 0, 9);
        shape.nChunkLength = m_nChunkLength;
        shape.position = !metadata.probes.empty() ? SCorvaneNcShape::EPosition::PerProbe
                         : metadata.HasPosition() ? SCorvaneNcShape::EPosition::Array
                                                  : SCorvaneNcShape::EPosition::None;
        shape.bDepth = metadata.depth.has_value() ||
                       std::any_of(metadata.probes.begin(), metadata.probes.end(),
                                   [](const SNcProbePosition& probe) { return probe.depth; });

        m_file.Create(m_strOutput);
        m_variables = DefineCorvaneVariables(m_file, shape);
        m_nEpoch = Epoch();
        SDateTimeFields epoch = FieldsFromFileTime(m_nEpoch);
        epoch.nMillisecond = 0;
        m_dEpoch = DateTimeFromFields(epoch).value_or(0.0);
        const std::string strUnits = "seconds since " + FormatIsoDateTime(m_dEpoch);
        m_file.PutAttribute(m_variables.time, "units", strUnits);
        m_file.PutAttribute(m_variables.probeTime, "units", strUnits);
        WriteOpeningGlobals(m_file, Facts(), metadata);
        m_file.EndDefinitions();
        WriteProbes();
        for (int i = 0; i < 2; ++i) {
            m_blocks.emplace_back(m_nChunkLength, m_nProbes, m_scan.nBeams);
        }
    }

    SNcRecordingFacts Facts() const {
        const MiraveloConfig& config = m_input.Config();
        SNcRecordingFacts facts;
        facts.strInputName = std::string(FileNameOf(m_strInput));
        facts.nInputSize = m_input.FileSize();
        facts.strCommandLine = m_options.strCommandLine;
        facts.strInstrument = "Corvane multi-probe recording of " + std::to_string(m_nProbes) +
                              " Miravelo probe" + (m_nProbes == 1 ? "" : "s") + ", serial numbers";
        for (std::size_t p = 0; p < m_nProbes; ++p) {
            facts.strInstrument += (p == 0 ? " " : ", ") + config.probes[p].strSerialNumber;
        }
        facts.strTitle = "Corvane multi-probe recording " + facts.strInputName;
        facts.strSummary =
            "Velocities, signal amplitudes and correlations of every probe of the Corvane "
            "multi-probe recording " +
            facts.strInputName +
            ", aligned by sample number, with each probe's own time stamps, converted from the "
            "recorded counts by Sulvan File Converter.";
        facts.strId = NcIdOf(facts.strInputName);
        const CommonConfig& common = config.common;
        const auto yesNo = [](bool bFlag) { return std::string(bFlag ? "yes" : "no"); };
        facts.settings = {
            {NcSetting::BaudRate, std::int64_t{common.nBaudRate}},
            {NcSetting::SamplingRate, static_cast<double>(common.nSamplingRate)},
            {NcSetting::Temperature, common.dTemperature},
            {NcSetting::TemperatureMeasured, yesNo(common.bTemperatureMeasured)},
            {NcSetting::Salinity, common.dSalinity},
            {NcSetting::SoundSpeed, common.dSoundSpeed},
            {NcSetting::SoundSpeedMeasured, yesNo(common.bSoundSpeedMeasured)},
            {NcSetting::ProbeConfiguration, m_input.ConfigurationText()},
        };
        return facts;
    }

    // The probe configuration, and the position of each probe or of the array.
    void WriteProbes() {
        const std::vector<ProbeConfig>& probes = m_input.Config().probes;
        const SCorvaneNcVariables& v = m_variables;
        std::vector<std::string> serials;
        std::vector<std::string> ports;
        std::vector<std::int32_t> index;
        std::vector<std::int16_t> velocityRange;
        std::vector<std::int16_t> samplingVolume;
        std::vector<std::int16_t> transmitLength;
        std::vector<std::int32_t> coordinateSystem;
        std::vector<std::int8_t> syncMaster;
        std::vector<std::int8_t> startOnSync;
        std::vector<std::int8_t> sampleOnSync;
        for (const ProbeConfig& probe : probes) {
            index.push_back(static_cast<std::int32_t>(index.size()));
            serials.push_back(probe.strSerialNumber);
            ports.push_back(probe.strPort);
            velocityRange.push_back(probe.nVelocityRange);
            samplingVolume.push_back(probe.nSamplingVolume);
            transmitLength.push_back(probe.nTransmitLength);
            coordinateSystem.push_back(probe.nCoordinateSystem);
            syncMaster.push_back(ByteFlag(probe.bSyncMaster));
            startOnSync.push_back(ByteFlag(probe.bStartOnSync));
            sampleOnSync.push_back(ByteFlag(probe.bSampleOnSync));
        }
        const std::size_t start[] = {0};
        const std::size_t count[] = {m_nProbes};
        m_file.Write(v.serialNumber, serials);
        m_file.Write(v.port, ports);
        m_file.Write(v.probe, start, count, index.data());
        m_file.Write(v.velocityRange, start, count, velocityRange.data());
        m_file.Write(v.samplingVolume, start, count, samplingVolume.data());
        m_file.Write(v.transmitLength, start, count, transmitLength.data());
        m_file.Write(v.coordinateSystem, start, count, coordinateSystem.data());
        m_file.Write(v.syncMaster, start, count, syncMaster.data());
        m_file.Write(v.startOnSync, start, count, startOnSync.data());
        m_file.Write(v.sampleOnSync, start, count, sampleOnSync.data());
        std::vector<std::int32_t> beams(m_scan.nBeams);
        for (std::size_t b = 0; b < beams.size(); ++b) {
            beams[b] = static_cast<std::int32_t>(b + 1);
        }
        const std::size_t beamCount[] = {beams.size()};
        m_file.Write(v.beam, start, beamCount, beams.data());
        WritePositions(serials);
    }

    void WritePositions(const std::vector<std::string>& serials) {
        const SNcMetadata& metadata = m_options.metadata;
        const SCorvaneNcVariables& v = m_variables;
        if (metadata.probes.empty()) {
            if (metadata.HasPosition()) {
                m_file.Write(v.latitude, {}, {}, &*metadata.latitude);
                m_file.Write(v.longitude, {}, {}, &*metadata.longitude);
                if (metadata.depth) {
                    m_file.Write(v.depth, {}, {}, &*metadata.depth);
                }
            }
            return;
        }
        std::vector<double> latitude(m_nProbes, kDoubleFill);
        std::vector<double> longitude(m_nProbes, kDoubleFill);
        std::vector<double> depth(m_nProbes, kDoubleFill);
        for (const SNcProbePosition& position : metadata.probes) {
            const auto p = static_cast<std::size_t>(
                std::find(serials.begin(), serials.end(), position.strSerial) - serials.begin());
            latitude[p] = position.dLatitude;
            longitude[p] = position.dLongitude;
            depth[p] = position.depth.value_or(kDoubleFill);
        }
        const std::size_t start[] = {0};
        const std::size_t count[] = {m_nProbes};
        m_file.Write(v.latitude, start, count, latitude.data());
        m_file.Write(v.longitude, start, count, longitude.data());
        if (v.depth.nId >= 0) {
            m_file.Write(v.depth, start, count, depth.data());
        }
    }

    void Walk() {
        CCorvaneSampleWalk walk(m_input, m_nProbes);
        SCorvaneTake take;
        while (walk.Next(take)) {
            Take(walk, take);
            m_progress.At(m_input.Position());
        }
        m_progress.At(m_input.FileSize());
        // The last samples: up to the highest number any probe took.
        while (m_nFloor < m_nOpened) {
            WriteFloorBlock(std::min<std::uint64_t>(m_nOpened - m_nFloor, m_nChunkLength));
        }
        m_nLateStamps = walk.LateStamps();
        m_bEndedByLateStamps = walk.EndedByLateStamps();
        m_damage = walk.Damage();
    }

    std::size_t RowInBlock(std::uint64_t nRow) const {
        return static_cast<std::size_t>(nRow & (m_nChunkLength - 1));
    }

    CSampleBlock& BlockOf(std::uint64_t nRow) {
        // A block's length is a power of two.
        return m_blocks[(nRow & m_nChunkLength) == 0 ? 0 : 1];
    }

    void Take(const CCorvaneSampleWalk& walk, const SCorvaneTake& take) {
        const auto nRow = static_cast<std::uint64_t>(take.nSample - 1);
        if (nRow < m_nFloor) {
            ++m_nAfterWindow;
            return;
        }
        while (nRow >= m_nFloor + 2 * m_nChunkLength) {
            WriteFloorBlock(m_nChunkLength);
        }
        while (m_nOpened <= nRow) {
            BlockOf(m_nOpened).TimeMarks()[RowInBlock(m_nOpened)] =
                static_cast<std::int32_t>(walk.TimeMarks());
            ++m_nOpened;
        }
        CSampleBlock& block = BlockOf(nRow);
        const std::size_t nAt = RowInBlock(nRow);
        const std::size_t nSlot = block.Slot(nAt, take.nProbe);
        if (take.nTimeStamp >= kCorvaneEarliestStamp) {
            block.ProbeTime()[nSlot] = SecondsOf(take.nTimeStamp);
            block.Earliest()[nAt] = std::min(block.Earliest()[nAt], take.nTimeStamp);
        }
        if (!take.sample) {
            block.Flags()[nSlot] |= CorvaneFlag::RecordWithoutSample;
            m_nWithoutSample += take.nId == 0x51 ? 1 : 0;
            return;
        }
        const SProbeVelocityRecord& sample = *take.sample;
        block.Flags()[nSlot] &= static_cast<std::int8_t>(~CorvaneFlag::Missing);
        ++m_nPresent;
        m_nBeamsLeftOut += sample.nBeams > m_scan.nBeams ? 1 : 0;
        const bool bRescaled = sample.dScale != m_scan.dVelocityScale;
        m_nRescaled += bRescaled ? 1 : 0;
        for (std::size_t b = 0; b < std::min(sample.nBeams, m_scan.nBeams); ++b) {
            const std::size_t nEntry = block.Entry(nAt, take.nProbe, b);
            block.Velocity()[nEntry] = bRescaled ? Rescaled(sample.VelocityCount(b), sample.dScale)
                                                 : sample.VelocityCount(b);
            block.Amplitude()[nEntry] = sample.Amplitude(b);
            block.Correlation()[nEntry] = sample.Correlation(b);
        }
    }

    double SecondsOf(std::uint64_t nStamp) const {
        return nStamp >= m_nEpoch ? static_cast<double>(nStamp - m_nEpoch) / kTicksPerSecond
                                  : -static_cast<double>(m_nEpoch - nStamp) / kTicksPerSecond;
    }

    // A count of another scale than the file's, in the file's, rounded half away from zero.
    std::int16_t Rescaled(std::int16_t nCount, double dScale) const {
        const double dCount = std::round(nCount * dScale / m_scan.dVelocityScale);
        return static_cast<std::int16_t>(std::clamp(dCount, -32767.0, 32767.0));
    }

    // Times the block's first nRows samples, writes them and makes the block the window's
    // newest.
    void WriteFloorBlock(std::uint64_t nRows) {
        CSampleBlock& block = BlockOf(m_nFloor);
        const auto nCount = static_cast<std::size_t>(nRows);
        for (std::size_t i = 0; i < nCount; ++i) {
            const std::uint64_t nEarliest = block.Earliest()[i];
            m_timeClock.Anchor(nEarliest == std::numeric_limits<std::uint64_t>::max()
                                   ? std::nullopt
                                   : std::optional<double>(SecondsOf(nEarliest)));
            const SSampleTime time = m_timeClock.Next(false);
            block.Time()[i] = time.dSeconds;
            block.Sample()[i] = static_cast<std::int32_t>(m_nFloor + i + 1);
            m_dFirstTime = m_dFirstTime.value_or(time.dSeconds);
            m_dLastTime = time.dSeconds;
            for (std::size_t p = 0; p < m_nProbes; ++p) {
                std::int8_t& nFlags = block.Flags()[block.Slot(i, p)];
                nFlags |= time.nFlags & SSampleTime::kAdjusted;
                m_missing[p] += (nFlags & CorvaneFlag::Missing) != 0 ? 1 : 0;
            }
        }
        block.Write(m_file, m_variables, static_cast<std::size_t>(m_nFloor), nCount);
        block.Clear();
        m_nFloor += nRows;
    }

    void Finish() {
        SNcCoverage coverage;
        coverage.dEpoch = m_dEpoch;
        coverage.dFirst = m_dFirstTime.value_or(0.0);
        coverage.dLast = m_dLastTime;
        coverage.dResolution = 1.0 / SamplingRate();
        WriteTimeCoverage(m_file, coverage);
        const SNcVariable global = CNcFile::kGlobal;
        const auto count = [](std::uint64_t nValue) { return static_cast<std::int64_t>(nValue); };
        m_file.PutAttribute(global, NcSetting::SamplesTotal, count(m_nFloor * m_nProbes));
        const std::vector<std::int64_t> missing(m_missing.begin(), m_missing.end());
        m_file.PutAttribute(global, NcSetting::SamplesMissing, std::span(missing));
        m_file.PutAttribute(global, "damage_late_stamps", count(m_nLateStamps));
        m_file.PutAttribute(global, "damage_ended_by_late_stamps",
                            std::string(m_bEndedByLateStamps ? "yes" : "no"));
        m_file.PutAttribute(global, "damage_velocity_records_without_sample",
                            count(m_nWithoutSample));
        m_file.PutAttribute(global, "damage_samples_after_window", count(m_nAfterWindow));
        m_file.PutAttribute(global, "velocity_records_rescaled", count(m_nRescaled));
        m_file.PutAttribute(global, "velocity_records_with_beams_left_out", count(m_nBeamsLeftOut));
        m_file.Close();
    }

    CCorvaneFile& m_input;
    const std::string& m_strInput;
    const std::string& m_strOutput;
    const SNcOptions& m_options;
    CPercentProgress m_progress;
    const std::size_t m_nProbes;
    const std::size_t m_nChunkLength;
    SCorvaneScan m_scan;

    CNcFile m_file;
    SCorvaneNcVariables m_variables;
    std::uint64_t m_nEpoch = 0;
    double m_dEpoch = 0.0;
    CSampleClock m_timeClock;
    std::optional<double> m_dFirstTime;
    double m_dLastTime = 0.0;

    // The window: two blocks of samples; m_nFloor is the first sample (from 0) not written.
    std::vector<CSampleBlock> m_blocks;
    std::uint64_t m_nFloor = 0;
    std::uint64_t m_nOpened = 0;  // samples some probe has taken

    std::vector<std::uint64_t> m_missing;
    std::uint64_t m_nPresent = 0;
    std::uint64_t m_nWithoutSample = 0;
    std::uint64_t m_nAfterWindow = 0;
    std::uint64_t m_nRescaled = 0;
    std::uint64_t m_nBeamsLeftOut = 0;
    std::uint64_t m_nLateStamps = 0;
    bool m_bEndedByLateStamps = false;
    SDamageReport m_damage;
};

// Why the metadata's positions cannot be taken for this recording; empty when they can.
std::string DescribePositionConflict(const SNcMetadata& metadata,
                                     const std::vector<ProbeConfig>& probes) {
    for (const SNcProbePosition& position : metadata.probes) {
        const bool bKnown = std::any_of(probes.begin(), probes.end(), [&](const ProbeConfig& p) {
            return p.strSerialNumber == position.strSerial;
        });
        if (!bKnown) {
            return "the metadata file gives a position for the probe \"" + position.strSerial +
                   "\", which the recording does not hold";
        }
    }
    return {};
}

}  // namespace

SFileOutcome MrvToNc(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                     const SNcOptions& options) {
    CWaitCursor wait(ui);
    SFileOutcome outcome;
    CCorvaneFile input;
    if (!OpenCorvaneRecording(input, strInput, outcome)) {
        return outcome;
    }
    if (input.Config().probes.empty()) {
        outcome.Fail(strInput + "\r\r" + kNoProbes, kNoProbes);
        return outcome;
    }
    if (const std::string strConflict =
            DescribePositionConflict(options.metadata, input.Config().probes);
        !strConflict.empty()) {
        const SFileMessage refusal = MetadataRefusal(options.strMetadataFile, strConflict);
        outcome.Fail(refusal.strText, refusal.strReason);
        return outcome;
    }
    if (!ConfirmsReplacing(ui, strOutput, outcome)) {
        return outcome;
    }
    return CCorvaneNcConversion(input, strInput, strOutput, options).Run();
}

}  // namespace sulvan
