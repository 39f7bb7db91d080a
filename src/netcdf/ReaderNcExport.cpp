#include "netcdf/ReaderNcExport.hpp"

#include <algorithm>
#include <array>

#include "config/ConfigFields.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/IsoTime.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kMatrixOne = 4096.0;

}  // namespace

std::optional<double> CNcRecordClock::SecondsOf(const std::uint8_t* pClock) {
    // Samples at a few hertz share their clock with the samples next to them, and every clock
    // of a day its date.
    if (m_bKnown && std::equal(m_last.begin(), m_last.end(), pClock)) {
        return m_dSeconds;
    }
    const bool bSameDate = m_bKnown && m_last[ClockByte::Day] == pClock[ClockByte::Day] &&
                           m_last[ClockByte::Month] == pClock[ClockByte::Month] &&
                           m_last[ClockByte::Year] == pClock[ClockByte::Year];
    if (!bSameDate) {
        const SDateTimeFields fields = SplitClock(pClock);
        m_date = DateFromFields(fields.nYear, fields.nMonth, fields.nDay);
    }
    std::copy_n(pClock, kClockSize, m_last.begin());
    m_bKnown = true;
    m_dSeconds = Decode(pClock);
    return m_dSeconds;
}

std::optional<double> CNcRecordClock::Decode(const std::uint8_t* pClock) {
    const int nHour = BcdToBin(pClock[ClockByte::Hour]);
    const int nMinute = BcdToBin(pClock[ClockByte::Minute]);
    const int nSecond = BcdToBin(pClock[ClockByte::Second]);
    if (!m_date || !IsTimeOfDay(nHour, nMinute, nSecond)) {
        return std::nullopt;
    }
    const std::int64_t nTimeOfDay = std::int64_t{nHour} * 3600 + nMinute * 60 + nSecond;
    if (!m_dEpoch) {
        m_dEpoch = AtTimeOfDay(*m_date, nHour, nMinute, nSecond);
        m_dEpochDate = *m_date;
        m_nEpochTimeOfDay = nTimeOfDay;
        const std::string strUnits = "seconds since " + FormatIsoDateTime(*m_dEpoch);
        for (SNcVariable time : m_times) {
            m_file.PutAttribute(time, "units", strUnits);
        }
    }
    // Whole days and seconds: exact, where a difference of date-time values would need rounding.
    return (*m_date - m_dEpochDate) * kSecondsPerDay +
           static_cast<double>(nTimeOfDay - m_nEpochTimeOfDay);
}

void SNcStateColumns::Set(std::size_t n, const std::uint8_t* p, const SStateFields& at) {
    pHeading->Set(n, ReadI16Le(p + at.nHeading));
    pPitch->Set(n, ReadI16Le(p + at.nPitch));
    pRoll->Set(n, ReadI16Le(p + at.nRoll));
    pTemperature->Set(n, ReadI16Le(p + at.nTemperature));
    pSoundSpeed->Set(n, ReadI16Le(p + at.nSoundSpeed));
    pBattery->Set(n, ReadI16Le(p + at.nBattery));
}

SNcStateColumns AddStateColumns(CNcBlockWriter& block, const SNcStateVariables& variables) {
    SNcStateColumns columns;
    columns.pHeading = &block.AddColumn<std::int16_t>(variables.heading);
    columns.pPitch = &block.AddColumn<std::int16_t>(variables.pitch);
    columns.pRoll = &block.AddColumn<std::int16_t>(variables.roll);
    columns.pTemperature = &block.AddColumn<std::int16_t>(variables.temperature);
    columns.pSoundSpeed = &block.AddColumn<std::int16_t>(variables.soundSpeed);
    columns.pBattery = &block.AddColumn<std::int16_t>(variables.battery);
    return columns;
}

std::string NcIdOf(std::string_view strFileName) {
    std::string strId(WithoutExtension(strFileName));
    std::replace(strId.begin(), strId.end(), ' ', '_');
    return strId;
}

SNcRecordingFacts ReaderFacts(CInsFile& reader, const SNcOptions& options,
                              const std::string& strKind) {
    CInsConf& conf = reader.Conf();
    SNcRecordingFacts facts;
    facts.strInputName = std::string(FileNameOf(reader.File().GetFilePath()));
    facts.nInputSize = reader.File().GetLength();
    facts.strCommandLine = options.strCommandLine;
    facts.strInstrument = strKind + " (type " + std::to_string(reader.Config().m_nType) +
                          "), serial numbers " + conf.GetHardwareSerial() + " / " +
                          conf.GetHeadSerial() + ", firmware " + conf.GetFirmwareText();
    facts.strId = NcIdOf(facts.strInputName);
    facts.strComment = conf.GetComment();
    facts.settings = {
        {NcSetting::DeploymentName, conf.GetDeploymentName()},
        {NcSetting::DeploymentComment, conf.GetComment()},
    };
    return facts;
}

void WriteReaderInstrument(CNcFile& file, CInsFile& reader,
                           const SNcInstrumentVariables& instrument, SNcVariable beam, int nBeams,
                           const SNcPositionVariables& position, const SNcMetadata& metadata) {
    CInsConf& conf = reader.Conf();
    const std::string strSerial = conf.GetHardwareSerial();
    file.Write(instrument.instrument, strSerial.empty() ? std::string("unknown") : strSerial);
    std::array<double, HeadField::MatrixElements> matrix{};
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        matrix[i] = conf.GetHeadInt(HeadField::Matrix + 2 * i) / kMatrixOne;
    }
    const std::size_t matrixStart[] = {0, 0};
    const std::size_t matrixCount[] = {3, 3};
    file.Write(instrument.transformationMatrix, matrixStart, matrixCount, matrix.data());
    const std::array<std::int32_t, 3> beams = {1, 2, 3};
    const std::size_t beamStart[] = {0};
    const std::size_t beamCount[] = {static_cast<std::size_t>(nBeams)};
    file.Write(beam, beamStart, beamCount, beams.data());
    if (metadata.HasPosition()) {
        file.Write(position.latitude, {}, {}, &*metadata.latitude);
        file.Write(position.longitude, {}, {}, &*metadata.longitude);
        if (metadata.depth) {
            file.Write(position.depth, {}, {}, &*metadata.depth);
        }
    }
}

double VelocityScaleOf(const CInsFile& reader) {
    return reader.Conf().GetFineVelocityScale() ? kFineVelocityScale : kCoarseVelocityScale;
}

SReaderNcShape ReaderShapeOf(const CInsFile& reader, const SNcOptions& options, int nBeams,
                             int nCoordinateSystem) {
    SReaderNcShape shape;
    shape.nBeams = nBeams;
    shape.nCoordinateSystem = nCoordinateSystem;
    shape.dVelocityScale = VelocityScaleOf(reader);
    shape.nDeflateLevel = std::clamp(options.nDeflateLevel, 0, 9);
    shape.bPosition = options.metadata.HasPosition();
    shape.bDepth = shape.bPosition && options.metadata.depth.has_value();
    return shape;
}

}  // namespace sulvan
