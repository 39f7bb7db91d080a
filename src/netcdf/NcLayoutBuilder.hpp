#pragma once
// What the layouts of the converted files share: variables chunked along their unlimited
// dimension and compressed alike, described by long name, units, CF standard name and ACDD
// coverage type; time coordinates and their quality flags; velocities named after the
// coordinate system they are recorded in; the instrument's attitude and environment; the
// instrument itself and where it stood.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "netcdf/CNcFile.hpp"

namespace sulvan {

// What a variable means; empty texts are left out.
struct SNcDescription {
    const char* pLongName = "";
    const char* pUnits = "";
    const char* pStandardName = "";
    const char* pCoverage = "";  // ACDD coverage_content_type
};

// Samples per chunk along an unlimited dimension, and per block written. Measured on a 1 GiB
// Tarsis recording (bench/nc-throughput), 16384 deflates about a sixth faster and 65536 a third
// slower.
inline constexpr std::size_t kNcChunkLength = 32768;

// What decides the variables of a recording opened by the reader (Tarsis, Pelora).
struct SReaderNcShape {
    int nBeams = 3;
    // The user configuration's coordinate-system field: 0 earth, 1 instrument, 2 beam; any
    // other value is written as beam velocities.
    int nCoordinateSystem = 2;
    double dVelocityScale = 0.001;  // m/s per count
    int nDeflateLevel = 1;
    // Samples per chunk along each time dimension: each block the converter writes.
    std::size_t nChunkLength = kNcChunkLength;
    bool bPosition = false;
    bool bDepth = false;
};

// The fill value of velocity counts a sample does not hold.
inline constexpr std::int16_t kVelocityFill = -32768;

// The flags of a time: 1 the time was adjusted to keep time increasing, 2 the record walk slid
// over damaged bytes right before the sample.
inline constexpr std::array<std::int8_t, 2> kTimeFlagMasks = {1, 2};
inline constexpr const char* kTimeFlagMeanings =
    "time_adjusted_to_increase damaged_bytes_before_sample";

// The name of a coordinate-system code: "earth", "instrument", "beam", or "unknown (7)".
std::string CoordinateSystemName(int nCoordinateSystem);

// The attitude and environment the instrument records beside its velocities.
struct SNcStateVariables {
    SNcVariable heading;
    SNcVariable pitch;
    SNcVariable roll;
    SNcVariable temperature;
    SNcVariable soundSpeed;
    SNcVariable battery;
};

// The instrument (its serial number, the time series' id) and its head's transformation matrix.
struct SNcInstrumentVariables {
    SNcVariable instrument;
    SNcVariable transformationMatrix;  // (matrix_row, matrix_column)
};

// The station's position as scalar coordinates, when the metadata give one.
struct SNcPositionVariables {
    SNcVariable latitude;
    SNcVariable longitude;
    SNcVariable depth;
    // The names of the defined ones, each after a blank, for the data variables' coordinates.
    std::string strCoordinates;
};

class CNcLayoutBuilder {
  public:
    // Variables along an unlimited dimension are chunked nChunkLength long along it, shuffled
    // and deflated at nDeflateLevel (0 to 9).
    CNcLayoutBuilder(CNcFile& file, int nDeflateLevel, std::size_t nChunkLength)
        : m_file(file), m_nDeflateLevel(nDeflateLevel), m_nChunkLength(nChunkLength) {}

    CNcFile& File() { return m_file; }

    void Describe(SNcVariable variable, const SNcDescription& description);
    // Unsigned counts in the signed type of their width: CF-1.8 knows no unsigned types, and
    // readers take the values as unsigned by this attribute.
    void MarkUnsigned(SNcVariable variable);

    // A variable chunked as chunk gives (one length per dimension), shuffled and deflated.
    SNcVariable Chunked(std::string_view strName, ENcType type,
                        std::span<const SNcDimension> dimensions,
                        std::span<const std::size_t> chunk);
    // A variable of one unlimited dimension.
    SNcVariable Series(std::string_view strName, ENcType type, SNcDimension dimension);
    // A variable of (beam, dimension), chunked one beam at a time.
    SNcVariable BeamSeries(std::string_view strName, ENcType type, SNcDimension beam,
                           SNcDimension dimension);
    // A variable of the fixed dimensions, stored whole.
    SNcVariable Fixed(std::string_view strName, ENcType type,
                      std::span<const SNcDimension> dimensions);

    // Describes a time coordinate, whose units are put when the first clock is met.
    void DescribeTime(SNcVariable variable, const char* pLongName, const char* pFlags);
    // Describes a flag variable.
    void DescribeFlags(SNcVariable variable, const char* pLongName,
                       std::span<const std::int8_t> masks, const char* pMeanings);

    // The velocity counts with their scale and fill value, named after the coordinate system,
    // each name followed by strSuffix: east_velocity, north_velocity, up_velocity (earth);
    // x_velocity, y_velocity, z_velocity (instrument); beam_velocity(beam, dimension) alone for
    // beam and any other code.
    std::vector<SNcVariable> DefineVelocity(int nCoordinateSystem, double dScale, SNcDimension beam,
                                            SNcDimension dimension, std::string_view strSuffix);
    // Counts of a recorded value the layouts give no unit.
    SNcVariable DefineAmplitude(std::string_view strName, SNcDimension beam,
                                SNcDimension dimension);
    SNcVariable DefineCorrelation(std::string_view strName, SNcDimension beam,
                                  SNcDimension dimension);
    SNcVariable DefinePressure(std::string_view strName, SNcDimension dimension);
    SNcVariable DefineAnalogInput1(std::string_view strName, SNcDimension dimension);
    // Heading, pitch, roll, temperature, sound speed and battery along dimension.
    SNcStateVariables DefineState(SNcDimension dimension);

    SNcInstrumentVariables DefineInstrument();
    // Scalar latitude and longitude (and depth, when bDepth), when bPosition.
    SNcPositionVariables DefineScalarPosition(bool bPosition, bool bDepth);

  private:
    SNcStorage Storage(std::span<const std::size_t> chunk) const;

    CNcFile& m_file;
    const int m_nDeflateLevel;
    const std::size_t m_nChunkLength;
};

}  // namespace sulvan
