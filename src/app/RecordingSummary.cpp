#include "app/RecordingSummary.hpp"

#include <algorithm>
#include <limits>

#include "app/CRecordingObserver.hpp"
#include "convert/CCorvaneFile.hpp"
#include "convert/ProbeVelocityRecord.hpp"
#include "format/BcdClock.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/DateTime.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

// Where a record's sensor fields are, in the order of ESensor (the battery unsigned, the others
// signed), and the unit of their counts.
using SensorFields = std::array<std::size_t, kSensorCount>;
constexpr SensorFields kSystemSampleSensors = {
    SystemSampleField::Heading, SystemSampleField::Pitch, SystemSampleField::Roll,
    SystemSampleField::Temperature, SystemSampleField::Battery};
constexpr SensorFields kPeloraSensors = {
    PeloraVelocityField::Heading, PeloraVelocityField::Pitch, PeloraVelocityField::Roll,
    PeloraVelocityField::Temperature, PeloraVelocityField::Battery};
constexpr std::array<double, kSensorCount> kSensorUnits = {0.1, 0.1, 0.1, 0.01, 0.1};
constexpr std::size_t kBattery = static_cast<std::size_t>(ESensor::Battery);

// The smallest and the largest of some counts.
template <class TCount>
struct SCountRange {
    TCount nMin = std::numeric_limits<TCount>::max();
    TCount nMax = std::numeric_limits<TCount>::lowest();

    // Stored only when it changes, which is seldom once a column has a few values: a store
    // per count would cost more than the comparisons.
    void Add(TCount nCount) {
        if (nCount < nMin) {
            nMin = nCount;
        }
        if (nCount > nMax) {
            nMax = nCount;
        }
    }
    bool IsEmpty() const { return nMin > nMax; }
    // Into a range of values, each count turned into its value by an order-keeping function.
    template <class TValueOf>
    void ConvertInto(SValueRange& range, TValueOf valueOf) const {
        if (!IsEmpty()) {
            range.Add(valueOf(nMin));
            range.Add(valueOf(nMax));
        }
    }
};

// What the column the walk is in has gathered: the beams' counts per probe and beam, the
// sensors' counts, the valid record clocks as whole seconds since 1899-12-30, the Corvane
// chunks' time stamps.
struct SColumnCounts {
    std::array<SCountRange<int>, kSummaryProbes * kSummaryBeams> velocity;
    std::array<SCountRange<int>, kSummaryProbes * kSummaryBeams> amplitude;
    std::array<SCountRange<int>, kSensorCount> sensors;
    SCountRange<std::int64_t> clockSeconds;
    SCountRange<std::uint64_t> stamps;
};

constexpr std::int64_t kSecondsPerDay = 86400;

// The date-time value of whole seconds since 1899-12-30, as DecodeClock forms it.
double DateTimeOfSeconds(std::int64_t nSeconds) {
    const std::int64_t nTime = nSeconds % kSecondsPerDay;
    return *AtTimeOfDay(static_cast<double>(nSeconds / kSecondsPerDay),
                        static_cast<int>(nTime / 3600), static_cast<int>(nTime / 60 % 60),
                        static_cast<int>(nTime % 60));
}

constexpr std::array<double, kSummaryProbes> MakeCoarseScales() {
    std::array<double, kSummaryProbes> scales{};
    scales.fill(kCoarseVelocityScale);
    return scales;
}

// Rides on the inspection's pass and adds every record to the column it starts in. Counts,
// clocks and stamps are gathered as integers while the walk stays in one column, and turned
// into values when it leaves: a record then costs a few integer comparisons, not a
// multiplication or a division per value. Scaling by a positive unit, and forming date-times,
// keep the order, so the ranges come out as if every value had been converted. A clock is
// looked at only when it differs from the one before (records of one second share it).
class CSummaryBuilder final : public CRecordingObserver {
  public:
    CSummaryBuilder(SRecordingSummary& summary, int nColumns, std::stop_token stop)
        : m_summary(summary), m_stop(std::move(stop)) {
        m_summary.nColumns = std::clamp(nColumns, 1, kMaxSummaryColumns);
        Divide(0, 0, 0);
    }

    void BeginFramed(CInsFile& reader) override {
        Divide(reader.File().GetPosition(), reader.File().GetLength(), 1);
        m_scales[0] =
            reader.Conf().GetFineVelocityScale() ? kFineVelocityScale : kCoarseVelocityScale;
        m_summary.bCompass = reader.Conf().HasCompass();
    }

    void TakeRecord(const SRecordView& record, bool bOpensBurst) override {
        if (record.nOffset - m_nColumnBegin >= m_nColumnEnd - m_nColumnBegin) {
            MoveToColumnOf(record.nOffset);
        }
        const std::uint8_t nId = record.Id();
        if ((nId == RecordId::VelocitySample || nId == RecordId::OneBeamSample ||
             nId == RecordId::TwoBeamSample) &&
            !bOpensBurst) {
            TakeCounts(0, record.Data() + VelocitySampleField::Arrays, BeamsOf(nId, record.Size()));
            return;
        }
        TakeOtherRecord(record, bOpensBurst);
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
        const std::uint64_t nStamp = input.TimeStamp();
        const std::uint64_t nChunk = input.ChunkStart();
        if (nStamp < kCorvaneEarliestStamp ||
            nChunk + kCorvaneChunkHeaderSize + 2 * std::uint64_t{input.Length()} >
                input.FileSize()) {
            return;
        }
        if (nChunk - m_nColumnBegin >= m_nColumnEnd - m_nColumnBegin) {
            MoveToColumnOf(nChunk);
        }
        m_counts.stamps.Add(nStamp);
        const std::size_t nProbe = input.ProbeIndex();
        if (input.Id() == RecordId::MultiProbeVelocity && nProbe < m_summary.nProbes) {
            TakeProbeSample(nProbe, input.Data());
        }
    }

    bool IsStopRequested() const override { return m_stop.stop_requested(); }

    // Scales what the last column gathered into the summary: call when the pass has ended.
    void Finish() { FoldCounts(); }

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
    // Out of line, so that the velocity samples, most of the records, save no registers for
    // what the others need.
    [[gnu::noinline]] void TakeOtherRecord(const SRecordView& record, bool bOpensBurst) {
        const std::uint8_t nId = record.Id();
        const std::uint8_t* p = record.Data();
        switch (nId) {
            case RecordId::VelocitySample:
            case RecordId::OneBeamSample:
            case RecordId::TwoBeamSample:
                TakeCounts(0, p + VelocitySampleField::Arrays, BeamsOf(nId, record.Size()));
                break;
            case RecordId::SystemSample:
                TakeClock(p);
                TakeSensors(p, kSystemSampleSensors);
                break;
            case RecordId::SinglePointVelocity:
            case RecordId::PeloraExtended:
            case RecordId::PeloraWaveSample:
                TakeClock(p);
                TakeSensors(p, kPeloraSensors);
                TakeCounts(0, p + PeloraVelocityField::Arrays, BeamsOf(nId, record.Size()));
                break;
            default:
                if (IsTimeStampedRecord(nId)) {
                    TakeClock(p);
                }
                break;
        }
        if (bOpensBurst) {
            ++m_summary.columns[static_cast<std::size_t>(m_nColumn)].nBurstStarts;
        }
    }

    void TakeProbeSample(std::size_t nProbe, std::span<const std::uint8_t> record) {
        const std::optional<SProbeVelocityRecord> fields = ReadProbeVelocityRecord(record);
        if (!fields) {
            return;
        }
        // A probe's records may change their scale: what it gathered at the old one goes first.
        if (fields->dScale != m_scales[nProbe]) {
            FoldProbe(nProbe);
            m_scales[nProbe] = fields->dScale;
        }
        const std::size_t nBeams = std::min(fields->nBeams, kSummaryBeams);
        SCountRange<int>* pVelocity = &m_counts.velocity[nProbe * kSummaryBeams];
        SCountRange<int>* pAmplitude = &m_counts.amplitude[nProbe * kSummaryBeams];
        for (std::size_t b = 0; b < nBeams; ++b) {
            pVelocity[b].Add(fields->VelocityCount(b));
            pAmplitude[b].Add(fields->Amplitude(b));
        }
        ++m_summary.nVelocitySamples;
        if (nBeams > m_summary.nBeams) {
            m_summary.nBeams = nBeams;
        }
    }

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
    // is made only when one leaves it. Out of line, so that the frequent case saves no
    // registers for it.
    [[gnu::noinline]] void MoveToColumnOf(std::uint64_t nOffset) {
        FoldCounts();
        m_nColumn = m_summary.ColumnOf(nOffset);
        m_nColumnBegin = FirstOffsetOf(m_nColumn);
        m_nColumnEnd = FirstOffsetOf(m_nColumn + 1);
    }

    // The smallest offset whose column is nColumn: the data start plus
    // ceil(nColumn * length / nColumns).
    std::uint64_t FirstOffsetOf(int nColumn) const {
        const std::uint64_t nLength = m_summary.nDataEnd - m_summary.nDataStart;
        const auto nColumns = static_cast<std::uint64_t>(m_summary.nColumns);
        const std::uint64_t nScaled = static_cast<std::uint64_t>(nColumn) * nLength;
        return m_summary.nDataStart + (nScaled + nColumns - 1) / nColumns;
    }

    void FoldProbe(std::size_t nProbe) {
        const double dScale = m_scales[nProbe];
        for (std::size_t b = 0; b < kSummaryBeams; ++b) {
            const std::size_t i = nProbe * kSummaryBeams + b;
            const std::size_t nSummary = m_summary.BeamIndex(m_nColumn, nProbe, b);
            m_counts.velocity[i].ConvertInto(m_summary.velocity[nSummary],
                                             [dScale](int n) { return n * dScale; });
            m_counts.amplitude[i].ConvertInto(m_summary.amplitude[nSummary],
                                              [](int n) { return double(n); });
            m_counts.velocity[i] = {};
            m_counts.amplitude[i] = {};
        }
    }

    void FoldCounts() {
        for (std::size_t p = 0; p < m_summary.nProbes; ++p) {
            FoldProbe(p);
        }
        SSummaryColumn& column = m_summary.columns[static_cast<std::size_t>(m_nColumn)];
        for (std::size_t s = 0; s < kSensorCount; ++s) {
            const double dUnit = kSensorUnits[s];
            m_counts.sensors[s].ConvertInto(column.sensors[s],
                                            [dUnit](int n) { return n * dUnit; });
        }
        m_counts.clockSeconds.ConvertInto(column.time, DateTimeOfSeconds);
        m_counts.stamps.ConvertInto(column.time, DateTimeFromFileTime);
        m_counts = {};
    }

    // A record's beam count follows from its size; records of one kind mostly have one size.
    std::size_t BeamsOf(std::uint8_t nId, std::size_t nSize) {
        if (nId != m_nSizedId || nSize != m_nSizedSize) {
            m_nSizedId = nId;
            m_nSizedSize = nSize;
            m_nSizedBeams = static_cast<std::size_t>(std::max(BeamsFromRecordSize(nId, nSize), 0));
            m_summary.nBeams = std::max(m_summary.nBeams, std::min(m_nSizedBeams, kSummaryBeams));
        }
        return m_nSizedBeams;
    }

    // nBeams velocity counts from pArrays, then their amplitudes; beams beyond the summary's
    // are left out.
    void TakeCounts(std::size_t nProbe, const std::uint8_t* pArrays, std::size_t nBeams) {
        const std::size_t nTaken = std::min(nBeams, kSummaryBeams);
        SCountRange<int>* pVelocity = &m_counts.velocity[nProbe * kSummaryBeams];
        SCountRange<int>* pAmplitude = &m_counts.amplitude[nProbe * kSummaryBeams];
        for (std::size_t b = 0; b < nTaken; ++b) {
            pVelocity[b].Add(ReadI16Le(pArrays + 2 * b));
            pAmplitude[b].Add(pArrays[2 * nBeams + b]);
        }
        ++m_summary.nVelocitySamples;
    }

    void TakeSensors(const std::uint8_t* p, const SensorFields& fields) {
        for (std::size_t s = 0; s < kBattery; ++s) {
            m_counts.sensors[s].Add(ReadI16Le(p + fields[s]));
        }
        m_counts.sensors[kBattery].Add(ReadU16Le(p + fields[kBattery]));
    }

    // The six clock bytes as one number, to tell a clock from the one before.
    static std::uint64_t ClockKey(const std::uint8_t* pClock) {
        return ReadU32Le(pClock) | std::uint64_t{ReadU16Le(pClock + 4)} << 32;
    }

    void TakeClock(const std::uint8_t* pRecord) {
        const std::uint8_t* pClock = pRecord + kRecordClockOffset;
        if (m_nClockColumn != m_nColumn || ClockKey(pClock) != m_nLastClock) {
            TakeNewClock(pClock);
        }
    }

    // Every record of a day carries the same date: its value is formed when it changes.
    [[gnu::noinline]] void TakeNewClock(const std::uint8_t* pClock) {
        constexpr std::uint64_t kDateBytes = std::uint64_t{0xFF} << 8 * ClockByte::Day |
                                             std::uint64_t{0xFF} << 8 * ClockByte::Year |
                                             std::uint64_t{0xFF} << 8 * ClockByte::Month;
        const std::uint64_t nClock = ClockKey(pClock);
        if (m_nClockColumn < 0 || ((nClock ^ m_nLastClock) & kDateBytes) != 0) {
            const SDateTimeFields fields = SplitClock(pClock);
            m_date = DateFromFields(fields.nYear, fields.nMonth, fields.nDay);
        }
        m_nLastClock = nClock;
        m_nClockColumn = m_nColumn;
        const int nHour = BcdToBin(pClock[ClockByte::Hour]);
        const int nMinute = BcdToBin(pClock[ClockByte::Minute]);
        const int nSecond = BcdToBin(pClock[ClockByte::Second]);
        if (m_date && IsTimeOfDay(nHour, nMinute, nSecond)) {
            m_counts.clockSeconds.Add(static_cast<std::int64_t>(*m_date) * kSecondsPerDay +
                                      nHour * 3600 + nMinute * 60 + nSecond);
        }
    }

    SRecordingSummary& m_summary;
    std::stop_token m_stop;
    // The velocity scale of each probe's counts (the configuration's for framed recordings; a
    // Corvane record's own).
    std::array<double, kSummaryProbes> m_scales = MakeCoarseScales();
    // The column the last record fell into, the offsets it spans, and what it gathered.
    int m_nColumn = 0;
    std::uint64_t m_nColumnBegin = 0;
    std::uint64_t m_nColumnEnd = 0;
    SColumnCounts m_counts;
    // The last clock met, the column it went into (none before the first), and its date's value.
    std::uint64_t m_nLastClock = 0;
    int m_nClockColumn = -1;
    std::optional<double> m_date;
    // The identifier and size of the last record sized, and its beam count.
    std::uint8_t m_nSizedId = 0;
    std::size_t m_nSizedSize = 0;
    std::size_t m_nSizedBeams = 0;
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
    builder.Finish();
    // A Corvane recording's chunks end where its damage begins.
    if (look.info.corvane && look.info.corvane->dataEndsAt) {
        builder.MarkDamaged(*look.info.corvane->dataEndsAt, look.summary.nDataEnd);
    }
    return look;
}

}  // namespace sulvan
