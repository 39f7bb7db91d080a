#include "app/RecordingInfo.hpp"

#include <algorithm>
#include <stdexcept>

#include "app/CRecordingObserver.hpp"
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

// Records between two questions whether an observer wants the pass stopped.
constexpr std::uint64_t kStopCheckEvery = 4096;

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

bool HasRecords(const std::array<std::uint64_t, 256>& counts) {
    return std::any_of(counts.begin(), counts.end(), [](std::uint64_t n) { return n != 0; });
}

// Opened silently: configuration problems are taken as if the repair were declined, so the
// walk sees the file as a conversion of it would.
void InspectFramed(SRecordingInfo& info, CRecordingObserver* pObserver) {
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

    SWalkOptions options;
    if (pObserver != nullptr) {
        pObserver->BeginFramed(reader);
        options.fnSkippedSpan = [pObserver](const SDamageSpan& span) {
            pObserver->TakeSkippedSpan(span);
        };
    }
    CRecordWalk walk(reader.File(), reader.Geometry(), std::move(options));
    std::uint8_t nPrevious = 0;
    std::uint64_t nRecords = 0;
    for (SRecordView record; walk.Next(record);) {
        const std::uint8_t nId = record.Id();
        ++framed.recordCounts[nId];
        const bool bOpensWaveBurst =
            nId == RecordId::PeloraWaveSample && nPrevious != RecordId::PeloraWaveSample;
        const bool bOpensBurst = nId == RecordId::VelocityHeader || bOpensWaveBurst;
        framed.nBursts += bOpensBurst ? 1 : 0;
        nPrevious = nId;
        if (pObserver != nullptr) {
            pObserver->TakeRecord(record, bOpensBurst);
            if (++nRecords % kStopCheckEvery == 0 && pObserver->IsStopRequested()) {
                break;
            }
        }
    }
    framed.damage = walk.Damage();
    // Bytes without a single record or configuration record in them are no recording, even
    // under a known extension.
    if (!framed.bHardwareValid && !framed.bHeadValid && !framed.bUserValid &&
        !HasRecords(framed.recordCounts)) {
        info.strError = "no configuration and no intact record: not a recording";
        return;
    }
    info.framed = std::move(framed);
}

void InspectCorvane(SRecordingInfo& info, CRecordingObserver* pObserver) {
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
    if (pObserver != nullptr) {
        pObserver->BeginCorvane(input);
    }
    // Intact data end where the file does, at the end of the last chunk.
    std::uint64_t nChunkStart = input.Position();
    std::uint64_t nDataEnd = input.Position();
    for (bool bMore = input.Length() != 0; bMore; bMore = input.Next()) {
        ++corvane.nChunks;
        nChunkStart = input.ChunkStart();
        nDataEnd = input.Position() + 2 * std::uint64_t{input.Length()};
        if (input.TimeStamp() > kCorvaneLatestStamp) {
            ++corvane.nLateStamps;
            continue;
        }
        ++corvane.recordCounts[input.Id()];
        if (input.Id() == 0x51 && input.ProbeIndex() < corvane.samplesPerProbe.size()) {
            ++corvane.samplesPerProbe[input.ProbeIndex()];
        }
        if (pObserver != nullptr) {
            pObserver->TakeChunk(input);
            if (corvane.nChunks % kStopCheckEvery == 0 && pObserver->IsStopRequested()) {
                break;
            }
        }
    }
    if (nDataEnd != input.FileSize()) {
        corvane.dataEndsAt = nDataEnd > input.FileSize() ? nChunkStart : nDataEnd;
    }
    info.corvane = std::move(corvane);
}

}  // namespace

SRecordingInfo InspectRecording(const std::string& strPath, CRecordingObserver* pObserver) {
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
            InspectCorvane(info, pObserver);
        } else {
            InspectFramed(info, pObserver);
        }
    } catch (const FileError& error) {
        info.corvane.reset();
        info.framed.reset();
        info.strError = error.Description();
    }
    return info;
}

}  // namespace sulvan
