#pragma once
// An opened instrument data file: its family, its configuration and deployment, the beam and
// cell counts its records are sized with, and the times of its first and last records. Open
// finds all of that in the head and tail of the file, tells the user what is wrong with the
// configuration and offers a repaired copy of a raw recorder dump. Converters then walk the
// records from the position Open leaves (see CRecordWalk).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "config/CConfig.hpp"
#include "config/CInsConf.hpp"
#include "format/SRecordGeometry.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/DateTime.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

// A date-time value that may be marked invalid.
struct SDateTimeWithStatus {
    static constexpr int kValid = 0;
    static constexpr int kInvalid = 1;

    double dValue = 0.0;
    int nStatus = kValid;

    bool IsValid() const { return nStatus == kValid; }
};

// Where a record time lies relative to a time window.
struct STimeWindowCheck {
    SDateTimeWithStatus time;
    int nPosition = 0;  // -1 before the start, 0 inside (or no window), +1 after the end
};

class CInsFile {
  public:
    // How much of the head and of the tail of a file is searched.
    static constexpr std::size_t kSearchSize = 51200;
    // Where the three configuration records stand in a file of the standard layout.
    static constexpr std::uint64_t kHardwarePlace = 0;
    static constexpr std::uint64_t kHeadPlace = CInsConf::kHardwareSize;
    static constexpr std::uint64_t kUserPlace = kHeadPlace + CInsConf::kHeadSize;

    CInsFile() = default;

    // Opens the file for reading and prepares it for a converter; 1 on success, 0 when it
    // cannot be used, with the reason in outcome. strName may be replaced by the name of a
    // repaired copy, which outcome then lists. With pUi null the file is opened silently:
    // nothing is shown or asked, no copy is made, and configuration problems are handled as if
    // the user had declined the repair.
    int Open(std::string& strName, bool bChecksumControl, CUserInterface* pUi,
             SFileOutcome& outcome);

    // Writes the "_rep" copy of a raw recorder dump: a complete configuration block (defaults
    // for what was not found) followed by the whole file; on success the reader reads the copy,
    // strRepairedName holds its name and outcome lists it. 1 on success; 0 on failure, with the
    // reader closed and outcome failed (the input is untouched; a copy begun is listed as
    // incomplete).
    int RepairRecorderDump(std::string& strRepairedName, SFileOutcome& outcome);

    // The data file, positioned by Open where a converter's walk starts.
    CBinaryFile& File() { return m_file; }
    const CBinaryFile& File() const { return m_file; }
    bool IsOpen() const { return m_file.IsOpen(); }
    void Close() { m_file.Close(); }

    // Checks a record time (empty when its clock forms no date-time) against a window of two
    // limits and widens the window of times accepted so far (see WindowFirstTime and
    // WindowLastTime).
    STimeWindowCheck CheckTimeWindow(std::optional<double> recordTime,
                                     const SDateTimeWithStatus& start,
                                     const SDateTimeWithStatus& end);

    int GetFamily() const { return m_nFamily; }
    double GetFirstTime() const { return m_dFirstTime; }
    double GetLastTime() const { return m_dLastTime; }
    SDateTimeWithStatus& WindowFirstTime() { return m_windowFirst; }
    SDateTimeWithStatus& WindowLastTime() { return m_windowLast; }

    SRecordGeometry& Geometry() { return m_geometry; }
    CInsConf& Conf() { return m_conf; }
    const CInsConf& Conf() const { return m_conf; }
    CConfig& Config() { return m_config; }
    const CConfig& Config() const { return m_config; }

    bool IsHardwareValid() const { return m_bHardwareValid; }
    bool IsHeadValid() const { return m_bHeadValid; }
    bool IsUserValid() const { return m_geometry.bUserConfigValid; }
    // A configuration record was found away from its standard place.
    bool IsRawDump() const { return m_bRawDump; }

  private:
    // False when the file cannot be used and outcome says why already.
    bool OpenSteps(std::string& strName, bool bChecksumControl, CUserInterface* pUi,
                   SFileOutcome& outcome);
    void SearchConfiguration(std::span<const std::uint8_t> head);
    void SearchFirstTime(std::span<const std::uint8_t> head);
    void SearchLastTime(std::span<const std::uint8_t> tail);
    enum class EResolved { AsFound, Repaired, RepairFailed };
    // Reports what is wrong with the configuration and repairs or goes on as the user says.
    EResolved ResolveConfiguration(std::string& strName, CUserInterface* pUi,
                                   SFileOutcome& outcome);
    void WriteCountsIntoConfiguration();
    void ApplyFamilyRules();
    // A four-beam profiler of family 2 whose configuration says so records three beams.
    void ApplyThreeBeamRule();
    void WriteRepairedCopy(CBinaryFile& copy);
    void DefaultMissingRecords();

    CBinaryFile m_file;
    int m_nFamily = 0;
    SRecordGeometry m_geometry;
    double m_dFirstTime = 0.0;
    double m_dLastTime = 0.0;
    SDateTimeWithStatus m_windowFirst;
    SDateTimeWithStatus m_windowLast;
    bool m_bRawDump = false;
    bool m_bHardwareValid = false;
    bool m_bHeadValid = false;
    // Bytes the valid configuration records occupy at the head of the file as opened.
    std::uint64_t m_nConfigBytes = 0;
    CInsConf m_conf;
    CConfig m_config;
};

}  // namespace sulvan
