#include "NcTestSupport.hpp"

#include <netcdf.h>

#include "app/FileDrivers.hpp"
#include "convert/ConvertToWpr.hpp"
#include "convert/TrsToAdv.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan::test {
namespace {

constexpr std::size_t kAdvHeadersSize = 300 + 254;
constexpr std::size_t kAdvAttitudeCode = 48;

void Check(int nStatus, const std::string& strWhat) {
    if (nStatus != NC_NOERR) {
        throw std::runtime_error(strWhat + ": " + nc_strerror(nStatus));
    }
}

}  // namespace

CNcRead::CNcRead(const std::string& strPath) {
    Check(nc_open(strPath.c_str(), NC_NOWRITE, &m_nId), strPath);
}

CNcRead::~CNcRead() {
    nc_close(m_nId);
}

int CNcRead::VariableId(const std::string& strName) const {
    if (strName.empty()) {
        return NC_GLOBAL;
    }
    int nVariable = 0;
    Check(nc_inq_varid(m_nId, strName.c_str(), &nVariable), strName);
    return nVariable;
}

std::size_t CNcRead::Length(const std::string& strDimension) const {
    int nDimension = 0;
    std::size_t nLength = 0;
    Check(nc_inq_dimid(m_nId, strDimension.c_str(), &nDimension), strDimension);
    Check(nc_inq_dimlen(m_nId, nDimension, &nLength), strDimension);
    return nLength;
}

std::vector<double> CNcRead::Doubles(const std::string& strVariable) const {
    const int nVariable = VariableId(strVariable);
    int nDimensions = 0;
    int dimensions[NC_MAX_VAR_DIMS];
    Check(nc_inq_var(m_nId, nVariable, nullptr, nullptr, &nDimensions, dimensions, nullptr),
          strVariable);
    std::size_t nCount = 1;
    for (int i = 0; i < nDimensions; ++i) {
        std::size_t nLength = 0;
        Check(nc_inq_dimlen(m_nId, dimensions[i], &nLength), strVariable);
        nCount *= nLength;
    }
    std::vector<double> values(nCount);
    if (nCount != 0) {
        Check(nc_get_var_double(m_nId, nVariable, values.data()), strVariable);
    }
    return values;
}

std::vector<std::int32_t> CNcRead::Ints(const std::string& strVariable) const {
    const std::vector<double> values = Doubles(strVariable);
    return std::vector<std::int32_t>(values.begin(), values.end());
}

std::string CNcRead::Text(const std::string& strVariable, const std::string& strAttribute) const {
    std::size_t nLength = 0;
    const int nVariable = VariableId(strVariable);
    Check(nc_inq_attlen(m_nId, nVariable, strAttribute.c_str(), &nLength), strAttribute);
    std::string strText(nLength, '\0');
    Check(nc_get_att_text(m_nId, nVariable, strAttribute.c_str(), strText.data()), strAttribute);
    return strText;
}

double CNcRead::Number(const std::string& strVariable, const std::string& strAttribute) const {
    double dValue = 0.0;
    Check(nc_get_att_double(m_nId, VariableId(strVariable), strAttribute.c_str(), &dValue),
          strAttribute);
    return dValue;
}

std::vector<SAdvRecord> ReadAdvRecords(const std::string& strPath) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(strPath);
    std::vector<SAdvRecord> records;
    if (bytes.size() < kAdvHeadersSize) {
        return records;
    }
    const bool bAttitude = ReadI16Le(bytes.data() + kAdvAttitudeCode) != 0;
    const std::size_t nStep = bAttitude ? 28 : 20;
    for (std::size_t n = kAdvHeadersSize; n + nStep <= bytes.size(); n += nStep) {
        const std::uint8_t* p = bytes.data() + n;
        SAdvRecord record;
        for (std::size_t b = 0; b < 3; ++b) {
            record.velocity[b] = ReadF32Le(p + 4 * b);
            record.amplitude[b] = p[12 + b];
            record.correlation[b] = p[15 + b];
        }
        for (std::size_t i = 0; bAttitude && i < 4; ++i) {
            record.attitude[i] = ReadI16Le(p + 18 + 2 * i);
        }
        records.push_back(record);
    }
    return records;
}

std::vector<SAdvRecord> ReadCorvaneAdvRecords(const std::string& strPath, std::size_t nProbes) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(strPath);
    std::vector<SAdvRecord> slots;
    const std::size_t nRecord = 18 * nProbes + 2;
    for (std::size_t n = 300 + 254 * nProbes; n + nRecord <= bytes.size(); n += nRecord) {
        for (std::size_t p = 0; p < nProbes; ++p) {
            const std::uint8_t* pSlot = bytes.data() + n + 18 * p;
            SAdvRecord slot;
            for (std::size_t b = 0; b < 3; ++b) {
                slot.velocity[b] = ReadF32Le(pSlot + 4 * b);
                slot.amplitude[b] = pSlot[12 + b];
                slot.correlation[b] = pSlot[15 + b];
            }
            slots.push_back(slot);
        }
    }
    return slots;
}

SWprRecords ReadWprRecords(const std::string& strPath) {
    // Three beams of one cell: the profile's amplitudes follow its three velocities.
    constexpr std::size_t kProfileVelocity = 118;
    constexpr std::size_t kProfileAmplitude = kProfileVelocity + 6;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(strPath);
    SWprRecords records;
    int nBursts = 0;
    for (std::size_t n = 784; n + 4 <= bytes.size();
         n += 2 * std::size_t{ReadU16Le(&bytes[n + 2])}) {
        const std::uint8_t* p = bytes.data() + n;
        SWprSample sample;
        const bool bProfile = p[1] == RecordId::CurrentProfile;
        nBursts += p[1] == RecordId::WaveBurstHeader ? 1 : 0;
        if (!bProfile && p[1] != RecordId::WaveSample) {
            continue;
        }
        const std::size_t nVelocity = bProfile ? kProfileVelocity : 10;
        const std::size_t nAmplitude = bProfile ? kProfileAmplitude : 18;
        for (std::size_t b = 0; b < 3; ++b) {
            sample.velocity[b] = ReadI16Le(p + nVelocity + 2 * b);
            sample.amplitude[b] = p[nAmplitude + b];
        }
        if (bProfile) {
            const SStateFields& at = kPeloraVelocityState;
            sample.nPressure = std::uint32_t{p[PeloraVelocityField::PressureHigh]} << 16 |
                               ReadU16Le(p + PeloraVelocityField::Pressure);
            sample.nAnalog1 = ReadU16Le(p + PeloraVelocityField::Analog1);
            sample.state = {ReadU16Le(p + at.nBattery), ReadU16Le(p + at.nSoundSpeed),
                            ReadU16Le(p + at.nHeading), ReadU16Le(p + at.nPitch),
                            ReadU16Le(p + at.nRoll),    ReadU16Le(p + at.nTemperature)};
            records.profiles.push_back(sample);
        } else {
            sample.nPressure = ReadU16Le(p + 4);
            sample.nAnalog1 = ReadU16Le(p + 8);
            sample.nBurst = nBursts;
            records.waves.push_back(sample);
        }
    }
    return records;
}

CInsFile& NcTest::Open(const std::string& strPath, bool bChecksumControl) {
    std::string strName = strPath;
    SFileOutcome opened;
    EXPECT_EQ(m_reader.Open(strName, bChecksumControl, &m_ui, opened), 1);
    return m_reader;
}

CInsFile& NcTest::OpenImage(const std::vector<std::uint8_t>& image, const std::string& strName) {
    return Open(m_dir.Write(strName, image));
}

SFileOutcome NcTest::ConvertToNc(const std::string& strOutput, const SNcOptions& options) {
    return TrsToNc(m_reader, strOutput, options);
}

SFileOutcome NcTest::ConvertFileToNc(const std::string& strInput, const std::string& strOutput) {
    return sulvan::ConvertFileToNc({.ui = m_ui, .strInput = strInput, .strOutput = strOutput});
}

// The one place the .adv conversion is called.
bool NcTest::ConvertToAdv(const std::string& strInput, const std::string& strOutput,
                          bool bChecksumControl) {
    CInsFile reader;
    std::string strName = strInput;
    SFileOutcome opened;
    return reader.Open(strName, bChecksumControl, &m_ui, opened) == 1 &&
           !TrsToAdv(reader, strOutput, false).IsFailed();
}

bool NcTest::ConvertToWpr(const std::string& strInput, const std::string& strOutput) {
    CInsFile reader;
    std::string strName = strInput;
    SFileOutcome opened;
    SWprOptions options;
    return reader.Open(strName, true, &m_ui, opened) == 1 &&
           !sulvan::ConvertToWpr(m_ui, reader, strOutput, options).IsFailed();
}

}  // namespace sulvan::test
