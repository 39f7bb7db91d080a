#include "app/RecordingInfo.hpp"

#include <stdexcept>

#include "config/ConfigFields.hpp"
#include "convert/BurstHeaderRepair.hpp"
#include "convert/CCorvaneFile.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/FileError.hpp"
#include "reader/CInsFile.hpp"
#include "reader/FileFamily.hpp"
#include "xml/XmlParser.hpp"

namespace sulvan {
namespace {

constexpr std::uint64_t kUpperTimeBound = 441480672000000000;  // 2999-12-31

SDeploymentInfo DeploymentOf(const CConfig& config) {
    SDeploymentInfo info;
    info.nInstrumentType = config.m_nType;
    info.dSampleRate = config.m_dSampleRate;
    info.nRateIndex = config.m_nRateIndex;
    info.nRangeIndex = config.m_nRangeIndex;
    info.bBurst = config.m_bBurst != 0;
    info.nBurstSamples = config.m_nBurstSamples;
    info.bStartOnSync = config.m_bStartOnSync != 0;
    info.bSampleOnSync = config.m_bSampleOnSync != 0;
    info.dSoundSpeed = config.m_dSoundSpeed;
    info.dSalinity = config.m_dSalinity;
    info.nBeams = config.m_nBeams;
    info.nCells = config.m_nCells;
    info.bWave = config.m_bWave != 0;
    return info;
}

std::optional<double> TimeOrNone(double dValue) {
    return dValue == 0.0 ? std::nullopt : std::optional<double>(dValue);
}

// Opened silently: configuration problems are taken as if the repair were declined, so the
// walk sees the file as a conversion of it would.
void InspectFramed(SRecordingInfo& info) {
    CInsFile reader;
    std::string strName = info.strPath;
    SFileOutcome opened;
    // The file exists and has a known extension: only an empty one cannot be opened.
    if (info.nSize == 0 || reader.Open(strName, true, nullptr, opened) == 0) {
        info.strError = "the file is empty";
        return;
    }
    SFramedInfo framed;
    framed.bHardwareValid = reader.IsHardwareValid();
    framed.bHeadValid = reader.IsHeadValid();
    framed.bUserValid = reader.IsUserValid();
    framed.bRawDump = reader.IsRawDump();
    CInsConf& conf = reader.Conf();
    framed.strHardwareSerial = conf.GetHardwareSerial();
    framed.strHeadSerial = conf.GetHeadSerial();
    framed.strFirmware = conf.GetFirmwareText();
    framed.bNeedsBurstHeaderRepair = LacksBurstHeaders(reader);
    framed.deployment = DeploymentOf(reader.Config());
    // The wave conversion reads the flag whatever the instrument type.
    framed.deployment.bWave |= conf.GetUserFlag(UserField::ModeWord, UserField::ModeBit1);
    framed.firstTime = TimeOrNone(reader.GetFirstTime());
    framed.lastTime = TimeOrNone(reader.GetLastTime());

    CRecordWalk walk(reader.File(), reader.Geometry());
    std::uint8_t nPrevious = 0;
    for (SRecordView record; walk.Next(record);) {
        const std::uint8_t nId = record.Id();
        ++framed.recordCounts[nId];
        const bool bOpensWaveBurst =
            nId == RecordId::PeloraWaveSample && nPrevious != RecordId::PeloraWaveSample;
        framed.nBursts += nId == RecordId::VelocityHeader || bOpensWaveBurst ? 1 : 0;
        nPrevious = nId;
    }
    framed.damage = walk.Damage();
    info.framed = std::move(framed);
}

void InspectCorvane(SRecordingInfo& info) {
    CCorvaneFile input;
    try {
        if (!input.Open(info.strPath)) {
            info.strError = "not a Corvane recording";
            return;
        }
    } catch (const MyXML::ParserError& error) {
        info.strError = std::string("the probe configuration is invalid: ") + error.what();
        return;
    } catch (const std::logic_error& error) {
        info.strError = std::string("the probe configuration is invalid: ") + error.what();
        return;
    }
    SCorvaneInfo corvane;
    corvane.config = input.Config();
    corvane.nStartTimeStamp = input.StartTimeStamp();
    corvane.samplesPerProbe.assign(corvane.config.probes.size(), 0);
    // Intact data end where the file does, at the end of the last chunk.
    std::uint64_t nChunkStart = input.Position();
    std::uint64_t nDataEnd = input.Position();
    for (bool bMore = input.Length() != 0; bMore; bMore = input.Next()) {
        ++corvane.nChunks;
        nChunkStart = input.Position() - 12;
        nDataEnd = input.Position() + 2 * std::uint64_t{input.Length()};
        if (input.TimeStamp() > kUpperTimeBound) {
            ++corvane.nLateStamps;
            continue;
        }
        ++corvane.recordCounts[input.Id()];
        if (input.Id() == 0x51 && input.ProbeIndex() < corvane.samplesPerProbe.size()) {
            ++corvane.samplesPerProbe[input.ProbeIndex()];
        }
    }
    if (nDataEnd != input.FileSize()) {
        corvane.dataEndsAt = nDataEnd > input.FileSize() ? nChunkStart : nDataEnd;
    }
    info.corvane = std::move(corvane);
}

}  // namespace

SRecordingInfo InspectRecording(const std::string& strPath) {
    SRecordingInfo info;
    info.strPath = strPath;
    info.family = FamilyFromFileName(strPath);
    try {
        CBinaryFile file;
        file.Open(strPath, CBinaryFile::EOpenMode::Read);
        info.nSize = file.GetLength();
    } catch (const FileError& error) {
        info.strError = error.Description();
        return info;
    }
    if (!info.family) {
        info.strError = "not a recording this program knows (by its extension)";
        return info;
    }
    // A read that fails on the way (a bad block) ends the inspection with its reason.
    try {
        if (*info.family == Family::Corvane) {
            InspectCorvane(info);
        } else {
            InspectFramed(info);
        }
    } catch (const FileError& error) {
        info.corvane.reset();
        info.framed.reset();
        info.strError = error.Description();
    }
    return info;
}

}  // namespace sulvan
