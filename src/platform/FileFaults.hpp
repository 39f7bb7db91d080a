#pragma once
// Failures a test makes the OS give on files it names: a disk that fills at a chosen offset,
// a read that fails, a create that is refused, writes that the OS takes a few bytes at a time.
// CBinaryFile looks a file's path up once when it opens it; a file without a fault pays one
// null test per system call and nothing per record.

#include <cstdint>
#include <string>
#include <vector>

namespace sulvan {

struct SFileFault {
    enum class EKind {
        RefuseOpen,      // opening fails with nOsError
        FailReads,       // a read of any of the nLength bytes from nOffset fails with nOsError:
                         // a bad block
        FailWritesFrom,  // a write reaching nOffset puts the bytes before it (a short write),
                         // and a write from nOffset on fails with nOsError: a disk that fills
        ShortWrites,     // every write takes at most nOffset bytes, and the writer goes on
    };

    std::string strPath;  // the file, by any name of it that MakeFullPath makes the same
    EKind kind = EKind::RefuseOpen;
    int nOsError = 0;
    std::uint64_t nOffset = 0;
    std::uint64_t nLength = 0;
};

// Makes the OS fail as described on the files named, for as long as it lives. One set of
// faults at a time; files opened before it came keep behaving as they did.
class CFileFaults {
  public:
    explicit CFileFaults(std::vector<SFileFault> faults);
    ~CFileFaults();
    CFileFaults(const CFileFaults&) = delete;
    CFileFaults& operator=(const CFileFaults&) = delete;

    // The fault on the file of this full path; null when there is none (always, outside tests).
    static const SFileFault* For(const std::string& strFullPath);

  private:
    std::vector<SFileFault> m_faults;
};

}  // namespace sulvan
