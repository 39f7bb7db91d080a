#pragma once
// What the netCDF exports of recordings opened by CInsFile (Tarsis, Pelora) share: record
// clocks as seconds since the first clock met, the damage the walk slid over between two
// samples, the facts the global attributes tell, and the instrument's variables.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/NcGlobalAttributes.hpp"
#include "netcdf/NcLayoutBuilder.hpp"
#include "netcdf/NcOptions.hpp"

namespace sulvan {

class CInsFile;

// Record clocks as seconds since the first clock met, which sets the units of the file's time
// coordinates.
class CNcRecordClock {
  public:
    CNcRecordClock(CNcFile& file, std::initializer_list<SNcVariable> times)
        : m_file(file), m_times(times) {}

    // The clock at pClock in whole seconds since the first clock; empty when it forms no time.
    std::optional<double> SecondsOf(const std::uint8_t* pClock);
    // The date-time value of the first clock; empty before it.
    const std::optional<double>& Epoch() const { return m_dEpoch; }

  private:
    std::optional<double> Decode(const std::uint8_t* pClock);

    CNcFile& m_file;
    std::vector<SNcVariable> m_times;
    std::optional<double> m_dEpoch;
    double m_dEpochDate = 0.0;  // its date and time of day
    std::int64_t m_nEpochTimeOfDay = 0;
    // The clock met last, the value of its date and its seconds.
    ClockBytes m_last{};
    std::optional<double> m_date;
    std::optional<double> m_dSeconds;
    bool m_bKnown = false;
};

// The spans of damage a walk has slid over, seen from one kind of sample: whether there were
// new ones since the last sample of its kind.
class CDamageSince {
  public:
    bool Take(const CRecordWalk& walk) {
        const std::uint64_t nSpans = walk.Damage().nSkippedSpans;
        const bool bDamaged = nSpans != m_nSpansSeen;
        m_nSpansSeen = nSpans;
        return bDamaged;
    }

  private:
    std::uint64_t m_nSpansSeen = 0;
};

// The block columns of the attitude and environment.
struct SNcStateColumns {
    CNcColumn<std::int16_t>* pHeading = nullptr;
    CNcColumn<std::int16_t>* pPitch = nullptr;
    CNcColumn<std::int16_t>* pRoll = nullptr;
    CNcColumn<std::int16_t>* pTemperature = nullptr;
    CNcColumn<std::int16_t>* pSoundSpeed = nullptr;
    CNcColumn<std::int16_t>* pBattery = nullptr;

    // Sample n of the block from the record at p, whose fields lie where at says.
    void Set(std::size_t n, const std::uint8_t* p, const SStateFields& at);
};
SNcStateColumns AddStateColumns(CNcBlockWriter& block, const SNcStateVariables& variables);

// A name for the id attribute: the file name without its extension, blanks as underscores.
std::string NcIdOf(std::string_view strFileName);

// The facts of a recording opened by the reader: its file, the command line, the instrument
// (strKind, then its type, serial numbers and firmware), the id, and the deployment's name and
// comment; the caller adds the title, the summary and the deployment settings of its family.
SNcRecordingFacts ReaderFacts(CInsFile& reader, const SNcOptions& options,
                              const std::string& strKind);

// The instrument's serial number, its head's transformation matrix, the beam numbers and the
// position the metadata give.
void WriteReaderInstrument(CNcFile& file, CInsFile& reader,
                           const SNcInstrumentVariables& instrument, SNcVariable beam, int nBeams,
                           const SNcPositionVariables& position, const SNcMetadata& metadata);

// The velocity scale of the user configuration, in m/s per count.
double VelocityScaleOf(const CInsFile& reader);
// The shape of the recording's variables, as the options and the metadata file ask.
SReaderNcShape ReaderShapeOf(const CInsFile& reader, const SNcOptions& options, int nBeams,
                             int nCoordinateSystem);

}  // namespace sulvan
