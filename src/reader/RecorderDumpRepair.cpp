// The "_rep" copy of a raw recorder dump: a complete configuration block, then the dump itself
// byte for byte. The dump is only read, never written.

#include <cmath>
#include <vector>

#include "platform/FileError.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"
#include "reader/DefaultConfiguration.hpp"

namespace sulvan {
namespace {

constexpr const char* kRepairedSuffix = "_rep";
constexpr std::size_t kCopyChunk = 1 << 20;

std::string RepairedNameOf(const std::string& strPath) {
    const SSplitPath split = SplitPath(strPath);
    return split.strFolder + split.strBaseName + kRepairedSuffix + split.strExtension;
}

}  // namespace

int CInsFile::RepairRecorderDump(std::string& strRepairedName, SFileOutcome& outcome) {
    if (!IsOpen()) {
        return 0;
    }
    DefaultMissingRecords();
    const std::string strCopy = RepairedNameOf(m_file.GetFilePath());
    strRepairedName = strCopy;
    // The dump is not read as it is after a failed repair: the user asked for the copy.
    const auto fail = [&](const FileError& error, const char* pOutcome) {
        m_file.Close();
        outcome.Fail(error.MessageFor(strCopy) + pOutcome, error.what());
        return 0;
    };
    CBinaryFile copy;
    try {
        copy.Open(strCopy, CBinaryFile::EOpenMode::Create);
    } catch (const FileError& error) {
        return fail(error, "\r\rThe repaired copy could not be created.");
    }
    try {
        WriteRepairedCopy(copy);
    } catch (const FileError& error) {
        copy.CloseAfterError();
        outcome.incomplete.push_back(strCopy);
        return fail(error, "\r\rThe repaired copy is incomplete.");
    }
    outcome.written.push_back({strCopy, std::nullopt});
    m_file.Open(strCopy, CBinaryFile::EOpenMode::Read);
    return 1;
}

void CInsFile::DefaultMissingRecords() {
    if (!m_geometry.bUserConfigValid) {
        CInsConf encoded;
        m_config.Encode(encoded);
        encoded.SetUserCells(m_geometry.nCells);
        m_conf.SetUserConfig(encoded.GetUserConfigRecord());
        m_geometry.bUserConfigValid = true;
    }
    if (!m_bHardwareValid) {
        m_conf.SetHardwareConfig(MakeDefaultHardwareRecord());
        m_bHardwareValid = true;
    }
    if (!m_bHeadValid) {
        const int nFrequencyKhz = static_cast<int>(std::trunc(m_config.m_dFrequency / 1000.0));
        m_conf.SetHeadConfig(MakeDefaultHeadRecord(m_nFamily, nFrequencyKhz, m_geometry.nBeams));
        m_bHeadValid = true;
    }
}

void CInsFile::WriteRepairedCopy(CBinaryFile& copy) {
    copy.Write(m_conf.Hardware().data(), CInsConf::kHardwareSize);
    copy.Write(m_conf.Head().data(), CInsConf::kHeadSize);
    copy.Write(m_conf.User().data(), CInsConf::kUserSize);
    m_file.Seek(0, CBinaryFile::ESeekOrigin::Begin);
    std::vector<std::uint8_t> chunk(kCopyChunk);
    for (;;) {
        const std::size_t nRead = m_file.Read(chunk.data(), chunk.size());
        if (nRead == 0) {
            break;
        }
        copy.Write(chunk.data(), nRead);
    }
    copy.Close();
}

}  // namespace sulvan
