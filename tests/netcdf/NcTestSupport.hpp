#pragma once
// What the netCDF tests share: recordings opened as the batch driver opens them, the .adv
// conversion of the same recording, and both outputs read back (the .nc through the netCDF C
// library, the .adv by its layout).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "netcdf/TrsToNc.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan::test {

// A netCDF file opened for reading.
class CNcRead {
  public:
    explicit CNcRead(const std::string& strPath);
    ~CNcRead();
    CNcRead(const CNcRead&) = delete;
    CNcRead& operator=(const CNcRead&) = delete;

    std::size_t Length(const std::string& strDimension) const;
    // Every value of a variable, converted by the library.
    std::vector<double> Doubles(const std::string& strVariable) const;
    std::vector<std::int32_t> Ints(const std::string& strVariable) const;
    // Global attributes: use the variable name "".
    std::string Text(const std::string& strVariable, const std::string& strAttribute) const;
    double Number(const std::string& strVariable, const std::string& strAttribute) const;

  private:
    int VariableId(const std::string& strName) const;
    int m_nId = -1;
};

// One record of a Tarsis .adv file.
struct SAdvRecord {
    std::array<float, 3> velocity{};
    std::array<std::uint8_t, 3> amplitude{};
    std::array<std::uint8_t, 3> correlation{};
    std::array<std::int16_t, 4> attitude{};  // heading, pitch, roll, temperature (with a compass)
};
std::vector<SAdvRecord> ReadAdvRecords(const std::string& strPath);

// The samples of a Corvane .adv file of nProbes probes: per record, the slot of each probe.
std::vector<SAdvRecord> ReadCorvaneAdvRecords(const std::string& strPath, std::size_t nProbes);

// A current profile or a wave sample of a .wpr file; a profile carries its source's clock and
// sensor fields, a wave sample the number of the burst it belongs to (counting burst headers).
struct SWprSample {
    std::array<std::int16_t, 3> velocity{};
    std::array<std::uint8_t, 3> amplitude{};
    std::uint32_t nPressure = 0;  // all 24 bits in a profile, the low word in a wave sample
    std::uint16_t nAnalog1 = 0;
    // Profiles: battery, sound speed, heading, pitch, roll, temperature as 16-bit words.
    std::array<std::uint16_t, 6> state{};
    int nBurst = 0;
};
struct SWprRecords {
    std::vector<SWprSample> profiles;
    std::vector<SWprSample> waves;
};
SWprRecords ReadWprRecords(const std::string& strPath);

class NcTest : public ::testing::Test {
  protected:
    // Opens a recording as the batch driver does; the test fails when it cannot be opened.
    CInsFile& Open(const std::string& strPath, bool bChecksumControl = true);
    CInsFile& OpenImage(const std::vector<std::uint8_t>& image, const std::string& strName);
    SFileOutcome ConvertToNc(const std::string& strOutput, const SNcOptions& options = {});
    // The whole road of one file, as the batch driver takes it.
    SFileOutcome ConvertFileToNc(const std::string& strInput, const std::string& strOutput);
    // The .adv conversion of the recording, opened anew.
    bool ConvertToAdv(const std::string& strInput, const std::string& strOutput,
                      bool bChecksumControl = true);
    // The .wpr conversion of a Pelora recording, opened anew.
    bool ConvertToWpr(const std::string& strInput, const std::string& strOutput);

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CInsFile m_reader;
};

}  // namespace sulvan::test
