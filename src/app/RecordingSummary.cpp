#include "app/RecordingSummary.hpp"

#include <algorithm>

#include "app/CRecordingObserver.hpp"
#include "convert/CCorvaneFile.hpp"
#include "convert/ProbeVelocityRecord.hpp"
#include "format/BcdClock.hpp"
#include "format/DataRecordFields.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr double kTenth = 0.1;
constexpr double kHundredth = 0.01;

// Where the sensor fields of a record are.
struct SSensorFields {
    std::size_t nHeading;
    std::size_t nPitch;
    std::size_t nRoll;
    std::size_t nTemperature;
    std::size_t nBattery;
};
constexpr SSensorFields kSystemSampleSensors = {
    SystemSampleField::Heading, SystemSampleField::Pitch, SystemSampleField::Roll,
    SystemSampleField::Temperature, SystemSampleField::Battery};
constexpr SSensorFields kPeloraSensors = {PeloraField::Heading, PeloraField::Pitch,
                                          PeloraField::Roll, PeloraField::Temperature,
                                          PeloraField::Battery};

// Rides on the inspection's pass and adds every record to the column it starts in.
class CSummaryBuilder final : public CRecordingObserver {
  public:
    CSummaryBuilder(SRecordingSummary& summary, int nColumns, std::stop_token stop)
        : m_summary(summary), m_stop(std::move(stop)) {
        m_summary.nColumns = std::clamp(nColumns, 1, kMaxSummaryColumns);
        Divide(0, 0, 0);
    }

    void BeginFramed(CInsFile& reader) override {
        Divide(reader.GetPosition(), reader.GetLength(), 1);
        m_dVelocityScale =
            reader.Conf().GetFineVelocityScale() ? kFineVelocityScale : kCoarseVelocityScale;
        m_summary.bCompass = reader.Conf().HasCompass();
    }

    void TakeRecord(const SRecordView& record, bool bOpensBurst) override {
        const int nColumn = ColumnAt(record.nOffset);
        SSummaryColumn& column = m_summary.columns[static_cast<std::size_t>(nColumn)];
        const std::uint8_t nId = record.Id();
        const std::uint8_t* p = record.Data();
        if (IsTimeStampedRecord(nId)) {
            if (const std::optional<double> time = m_clock.Decode(p + kRecordClockOffset)) {
                column.time.Add(*time);
            }
        }
        column.nBurstStarts += bOpensBurst ? 1 : 0;
        switch (nId) {
            case RecordId::OneBeamSample:
            case RecordId::TwoBeamSample:
            case RecordId::VelocitySample:
                TakeBeams(nColumn, 0, p + VelocitySampleField::Arrays, BeamsOf(nId, record.Size()));
                break;
            case RecordId::SystemSample:
                TakeSensors(column, p, kSystemSampleSensors);
                break;
            case RecordId::SinglePointVelocity:
            case RecordId::PeloraExtended:
            case RecordId::PeloraWaveSample:
                TakeSensors(column, p, kPeloraSensors);
                TakeBeams(nColumn, 0, p + PeloraField::Arrays, BeamsOf(nId, record.Size()));
                break;
            default:
                break;
        }
    }

    void TakeSkippedSpan(const SDamageSpan& span) override {
        MarkDamaged(span.nOffset, span.nOffset + span.nSize);
    }

    void BeginCorvane(const CCorvaneFile& input) override {
        Divide(input.DataStart(), input.FileSize(),
               std::min(input.Config().probes.size(), kSummaryProbes));
    }

    void TakeChunk(CCorvaneFile& input) override {
        // A chunk stamped before 1900 is damage, and so is one whose record the file cuts off.
        if (input.TimeStamp() < kCorvaneEarliestStamp || input.Data().empty()) {
            return;
        }
        const int nColumn = ColumnAt(input.ChunkStart());
        m_summary.columns[static_cast<std::size_t>(nColumn)].time.Add(
            DateTimeFromFileTime(input.TimeStamp()));
        if (input.Id() != RecordId::MultiProbeVelocity || input.ProbeIndex() >= m_summary.nProbes) {
            return;
        }
        if (const std::optional<SProbeVelocityRecord> fields =
                ReadProbeVelocityRecord(input.Data())) {
            const std::size_t nBeams = std::min(fields->nBeams, kSummaryBeams);
            for (std::size_t b = 0; b < nBeams; ++b) {
                const std::size_t i = m_summary.BeamIndex(nColumn, input.ProbeIndex(), b);
                m_summary.velocity[i].Add(fields->VelocityCount(b) * fields->dScale);
                m_summary.amplitude[i].Add(fields->Amplitude(b));
            }
            CountSample(nBeams);
        }
    }

    bool IsStopRequested() const override { return m_stop.stop_requested(); }

    // Bytes from nBegin up to nEnd are damage.
    void MarkDamaged(std::uint64_t nBegin, std::uint64_t nEnd) {
        if (nEnd <= nBegin) {
            return;
        }
        const int nLast = m_summary.ColumnOf(nEnd - 1);
        for (int c = m_summary.ColumnOf(nBegin); c <= nLast; ++c) {
            m_summary.columns[static_cast<std::size_t>(c)].bDamaged = true;
        }
    }

  private:
    void Divide(std::uint64_t nDataStart, std::uint64_t nDataEnd, std::size_t nProbes) {
        m_summary.nDataStart = nDataStart;
        m_summary.nDataEnd = std::max(nDataStart, nDataEnd);
        m_summary.nProbes = nProbes;
        const auto nColumns = static_cast<std::size_t>(m_summary.nColumns);
        m_summary.columns.assign(nColumns, {});
        m_summary.velocity.assign(nColumns * nProbes * kSummaryBeams, {});
        m_summary.amplitude.assign(nColumns * nProbes * kSummaryBeams, {});
        m_nColumnBegin = m_nColumnEnd = 0;
    }

    // Records come in file order, so most fall into the column of the one before: the division
    // is made only when one leaves it.
    int ColumnAt(std::uint64_t nOffset) {
        if (nOffset < m_nColumnBegin || nOffset >= m_nColumnEnd) {
            m_nColumn = m_summary.ColumnOf(nOffset);
            m_nColumnBegin = FirstOffsetOf(m_nColumn);
            m_nColumnEnd = FirstOffsetOf(m_nColumn + 1);
        }
        return m_nColumn;
    }

    // The smallest offset whose column is nColumn: the data start plus
    // ceil(nColumn * length / nColumns).
    std::uint64_t FirstOffsetOf(int nColumn) const {
        const std::uint64_t nLength = m_summary.nDataEnd - m_summary.nDataStart;
        const auto nColumns = static_cast<std::uint64_t>(m_summary.nColumns);
        const std::uint64_t nScaled = static_cast<std::uint64_t>(nColumn) * nLength;
        return m_summary.nDataStart + (nScaled + nColumns - 1) / nColumns;
    }

    static std::size_t BeamsOf(std::uint8_t nId, std::size_t nSize) {
        return static_cast<std::size_t>(std::max(BeamsFromRecordSize(nId, nSize), 0));
    }

    // nBeams velocity counts from pArrays, then their amplitudes.
    void TakeBeams(int nColumn, std::size_t nProbe, const std::uint8_t* pArrays,
                   std::size_t nBeams) {
        const std::size_t nTaken = std::min(nBeams, kSummaryBeams);
        for (std::size_t b = 0; b < nTaken; ++b) {
            const std::size_t i = m_summary.BeamIndex(nColumn, nProbe, b);
            m_summary.velocity[i].Add(ReadI16Le(pArrays + 2 * b) * m_dVelocityScale);
            m_summary.amplitude[i].Add(pArrays[2 * nBeams + b]);
        }
        CountSample(nTaken);
    }

    void CountSample(std::size_t nBeams) {
        ++m_summary.nVelocitySamples;
        m_summary.nBeams = std::max(m_summary.nBeams, nBeams);
    }

    static void TakeSensors(SSummaryColumn& column, const std::uint8_t* p,
                            const SSensorFields& fields) {
        const auto add = [&column](ESensor sensor, double dValue) {
            column.sensors[static_cast<std::size_t>(sensor)].Add(dValue);
        };
        add(ESensor::Heading, ReadI16Le(p + fields.nHeading) * kTenth);
        add(ESensor::Pitch, ReadI16Le(p + fields.nPitch) * kTenth);
        add(ESensor::Roll, ReadI16Le(p + fields.nRoll) * kTenth);
        add(ESensor::Temperature, ReadI16Le(p + fields.nTemperature) * kHundredth);
        add(ESensor::Battery, ReadU16Le(p + fields.nBattery) * kTenth);
    }

    SRecordingSummary& m_summary;
    std::stop_token m_stop;
    double m_dVelocityScale = kCoarseVelocityScale;
    CClockDecoder m_clock;
    // The column the last record fell into, and the offsets it spans.
    int m_nColumn = 0;
    std::uint64_t m_nColumnBegin = 0;
    std::uint64_t m_nColumnEnd = 0;
};

}  // namespace

int SRecordingSummary::ColumnOf(std::uint64_t nOffset) const {
    if (nOffset <= nDataStart || nDataEnd <= nDataStart) {
        return 0;
    }
    if (nOffset >= nDataEnd) {
        return nColumns - 1;
    }
    // Below 2^64 for data up to 2^50 bytes (1 PiB) at the largest column count.
    const std::uint64_t nScaled = (nOffset - nDataStart) * static_cast<std::uint64_t>(nColumns);
    return static_cast<int>(nScaled / (nDataEnd - nDataStart));
}

bool SRecordingSummary::HasData() const {
    return nVelocitySamples != 0 ||
           std::any_of(columns.begin(), columns.end(), [](const SSummaryColumn& column) {
               return !column.Sensor(ESensor::Temperature).IsEmpty();
           });
}

std::optional<SQuickLook> LookAtRecording(const std::string& strPath, int nColumns,
                                          std::stop_token stop) {
    SQuickLook look;
    CSummaryBuilder builder(look.summary, nColumns, stop);
    look.info = InspectRecording(strPath, &builder);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    // A Corvane recording's chunks end where its damage begins.
    if (look.info.corvane && look.info.corvane->dataEndsAt) {
        builder.MarkDamaged(*look.info.corvane->dataEndsAt, look.summary.nDataEnd);
    }
    return look;
}

}  // namespace sulvan
