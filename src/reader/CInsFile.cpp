#include "reader/CInsFile.hpp"

#include <algorithm>

#include "format/BcdClock.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/FileError.hpp"
#include "platform/Path.hpp"
#include "reader/FileFamily.hpp"

namespace sulvan {
namespace {

constexpr const char* kTypeMismatch = "\r\rInvalid file type.";
constexpr const char* kMissingHardware = "\r\rInvalid or missing hardware configuration.";
constexpr const char* kMissingHead = "\rInvalid or missing head configuration.";
constexpr const char* kMissingUser = "\rInvalid or missing user configuration.";
constexpr const char* kRawDumpNote =
    "\r\rNote that if the file is a raw recorder dump"
    "\rthe configuration (if) found may not belong to"
    "\rthe converted data.";
constexpr const char* kRepairOffer =
    "\r\rPress OK to create a repaired copy."
    "\rThe original file will not be changed."
    "\r\rNote that default settings are used"
    "\rif the configuration data recovery fails."
    "\r(i.e., the converted header may not agree"
    "\rwith the deployment configuration.)";

// The clock of a record that fits in the buffer from p on; empty when it does not fit.
double ClockAt(std::span<const std::uint8_t> buffer, std::size_t p) {
    if (p + kRecordClockOffset + kClockSize > buffer.size()) {
        return 0.0;
    }
    return DecodeClock(buffer.data() + p + kRecordClockOffset).value_or(0.0);
}

// A time-stamped record at p that lies wholly in the buffer and whose checksum matches.
bool IsIntactStampedRecord(std::span<const std::uint8_t> buffer, std::size_t p,
                           std::size_t& nSize) {
    nSize = std::size_t{ReadU16Le(buffer.data() + p + 2)} * 2;
    // Too short to hold its clock and checksum: no time to take from it.
    if (nSize < kRecordClockOffset + kClockSize + 2 || nSize > buffer.size() - p) {
        return false;
    }
    return IsRecordIntact(buffer.subspan(p, nSize));
}

bool IsBefore(const SDateTimeWithStatus& a, const SDateTimeWithStatus& b) {
    return a.IsValid() && b.IsValid() && LinearDays(a.dValue) < LinearDays(b.dValue);
}

}  // namespace

int CInsFile::Open(std::string& strName, bool bChecksumControl, CUserInterface* pUi,
                   SFileOutcome& outcome) {
    const std::string strNameAsPassed = strName;
    try {
        return OpenSteps(strName, bChecksumControl, pUi, outcome) ? 1 : 0;
    } catch (const FileError& error) {
        const std::string strReason = ShortReasonFor(error, strNameAsPassed, "Invalid file type.");
        outcome.Fail(strNameAsPassed + "\r" + strReason, strReason);
        return 0;
    }
}

bool CInsFile::OpenSteps(std::string& strName, bool bChecksumControl, CUserInterface* pUi,
                         SFileOutcome& outcome) {
    // A file that exists but cannot be read (no permission, a folder) says why, not "not found".
    m_file.Open(strName, CBinaryFile::EOpenMode::Read);
    const std::optional<int> family = FamilyFromFileName(strName);
    if (!family) {
        throw FileError(EFileCause::InvalidFile, strName);
    }
    m_nFamily = *family;
    const std::uint64_t nLength = m_file.GetLength();
    if (nLength == 0) {
        throw FileError(EFileCause::InvalidFile, strName);
    }

    // Head and tail both come through the file's window: two reads, whatever the file's size.
    const auto nSearch = static_cast<std::size_t>(std::min<std::uint64_t>(nLength, kSearchSize));
    m_file.Seek(0, CBinaryFile::ESeekOrigin::Begin);
    const std::span<const std::uint8_t> head = m_file.Peek(nSearch);
    m_conf.SetChecksumControl(bChecksumControl);
    SearchConfiguration(head);
    SearchFirstTime(head);
    m_file.Seek(-static_cast<std::int64_t>(nSearch), CBinaryFile::ESeekOrigin::End);
    SearchLastTime(m_file.Peek(nSearch));

    const EResolved resolved = ResolveConfiguration(strName, pUi, outcome);
    if (resolved == EResolved::RepairFailed) {
        return false;
    }
    if (m_conf.GetInstrumentType() != m_nFamily && pUi != nullptr) {
        pUi->ShowMessage(std::string(FileNameOf(strName)) + kTypeMismatch);
    }
    ApplyFamilyRules();
    m_config.Decode(m_conf, 1, pUi);
    m_geometry.nBeams = m_config.m_nBeams;
    m_geometry.nCells = m_config.m_nCells;
    ApplyThreeBeamRule();
    // A dump whose configuration lies elsewhere has data in front of where the block would
    // stand; starting at 0 converts them (the walk passes over the configuration records).
    const bool bDataFromStart = m_bRawDump && resolved != EResolved::Repaired;
    m_file.Seek(bDataFromStart ? 0 : static_cast<std::int64_t>(m_nConfigBytes),
                CBinaryFile::ESeekOrigin::Begin);
    return true;
}

void CInsFile::ApplyThreeBeamRule() {
    if (m_nFamily == Family::Profiler2 && m_geometry.nBeams == 4 && m_conf.GetThreeBeamFlag()) {
        m_geometry.nBeams = 3;
    }
}

void CInsFile::SearchConfiguration(std::span<const std::uint8_t> head) {
    m_bRawDump = false;
    m_bHardwareValid = false;
    m_bHeadValid = false;
    m_geometry.bUserConfigValid = false;
    bool& bUserValid = m_geometry.bUserConfigValid;

    for (std::size_t p = 0; p + 1 < head.size(); ++p) {
        if (head[p] != kSyncByte) {
            continue;
        }
        const std::span<const std::uint8_t> candidate = head.subspan(p);
        switch (head[p + 1]) {
            case RecordId::HardwareConfig:
                if (!m_bHardwareValid && m_conf.SetHardwareConfig(candidate)) {
                    m_bHardwareValid = true;
                    m_bRawDump |= p != kHardwarePlace;
                }
                break;
            case RecordId::HeadConfig:
                if (!m_bHeadValid && m_conf.SetHeadConfig(candidate)) {
                    m_bHeadValid = true;
                    m_bRawDump |= p != kHeadPlace;
                }
                break;
            case RecordId::UserConfig:
                if (!bUserValid && m_conf.SetUserConfig(candidate)) {
                    bUserValid = true;
                    m_bRawDump |= p != kUserPlace;
                }
                break;
            default:
                break;
        }
        if (m_bHardwareValid && m_bHeadValid && bUserValid) {
            break;
        }
    }

    m_geometry.nBeams = 3;
    m_geometry.nCells = 1;
    if (m_bHeadValid) {
        m_geometry.nBeams = m_conf.GetHeadBeams();
    }
    if (bUserValid) {
        m_geometry.nBeams = m_conf.GetUserBeams();
        m_geometry.nCells = m_conf.GetUserCells();
    }
    ApplyThreeBeamRule();
}

void CInsFile::SearchFirstTime(std::span<const std::uint8_t> head) {
    for (std::size_t p = 0; p + 1 < head.size(); ++p) {
        if (head[p] != kSyncByte) {
            continue;
        }
        const std::uint8_t nId = head[p + 1];
        if (nId == RecordId::TimeMark) {
            m_dFirstTime = ClockAt(head, p);
            return;
        }
        std::size_t nSize = 0;
        if (!IsTimeStampedRecord(nId) || !IsIntactStampedRecord(head, p, nSize)) {
            continue;
        }
        m_dFirstTime = ClockAt(head, p);
        if (IsProfileRecord(nId)) {
            // A user configuration whose cell count the recorded profiles contradict is not
            // the configuration of these data.
            const int nCells = CellsFromRecordSize(nId, nSize, m_geometry.nBeams);
            if (m_geometry.bUserConfigValid && nCells != m_geometry.nCells) {
                m_geometry.bUserConfigValid = false;
            }
            m_geometry.nCells = nCells;
        }
        return;
    }
}

void CInsFile::SearchLastTime(std::span<const std::uint8_t> tail) {
    for (std::size_t p = tail.size() - 1; p >= 1; --p) {
        std::size_t nSize = 0;
        if (tail[p] == kSyncByte && p + 1 < tail.size() && IsTimeStampedRecord(tail[p + 1]) &&
            IsIntactStampedRecord(tail, p, nSize)) {
            m_dLastTime = ClockAt(tail, p);
            return;
        }
    }
}

CInsFile::EResolved CInsFile::ResolveConfiguration(std::string& strName, CUserInterface* pUi,
                                                   SFileOutcome& outcome) {
    const bool bUserValid = m_geometry.bUserConfigValid;
    m_nConfigBytes = (m_bHardwareValid ? CInsConf::kHardwareSize : 0) +
                     (m_bHeadValid ? CInsConf::kHeadSize : 0) +
                     (bUserValid ? CInsConf::kUserSize : 0);
    if (m_bHardwareValid && m_bHeadValid && bUserValid && !m_bRawDump) {
        return EResolved::AsFound;
    }
    std::string strMessage(FileNameOf(strName));
    if (!m_bHardwareValid) {
        strMessage += kMissingHardware;
    }
    if (!m_bHeadValid) {
        strMessage += kMissingHead;
    }
    if (!bUserValid) {
        strMessage += kMissingUser;
    }
    if (m_bRawDump) {
        strMessage += kRawDumpNote;
    }
    strMessage += kRepairOffer;
    if (pUi == nullptr || !pUi->AskOkCancel(strMessage)) {
        WriteCountsIntoConfiguration();
        return EResolved::AsFound;
    }
    std::string strRepaired;
    if (RepairRecorderDump(strRepaired, outcome) == 0) {
        return EResolved::RepairFailed;
    }
    strName = strRepaired;
    return EResolved::Repaired;
}

void CInsFile::WriteCountsIntoConfiguration() {
    if (!m_bHeadValid) {
        m_conf.SetHeadBeams(m_geometry.nBeams);
    }
    if (!m_geometry.bUserConfigValid) {
        m_conf.SetUserBeams(m_geometry.nBeams);
        m_conf.SetUserCells(m_geometry.nCells);
    }
}

void CInsFile::ApplyFamilyRules() {
    if (m_nFamily != Family::Instrument4) {
        return;
    }
    const std::string strSerial = m_conf.GetHeadSerial() + std::string(3, '\0');
    const bool bSingleCell = strSerial[2] == 'V' && strSerial[1] != '3' && strSerial[0] != 'S';
    m_conf.SetUserCells(bSingleCell ? 1 : 3);
}

STimeWindowCheck CInsFile::CheckTimeWindow(std::optional<double> recordTime,
                                           const SDateTimeWithStatus& start,
                                           const SDateTimeWithStatus& end) {
    if (!recordTime) {
        return {{0.0, SDateTimeWithStatus::kInvalid}, 0};
    }
    const SDateTimeWithStatus time{*recordTime, SDateTimeWithStatus::kValid};
    if (start.IsValid() && end.IsValid()) {
        if (IsBefore(time, start)) {
            return {time, -1};
        }
        if (IsBefore(end, time)) {
            return {time, +1};
        }
    }
    if (!m_windowFirst.IsValid()) {
        m_windowFirst = time;
    }
    m_windowLast = time;
    return {time, 0};
}

}  // namespace sulvan
