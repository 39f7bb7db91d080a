#pragma once
// The one exception type of the file layer. Opening and converting a data file raise it; the
// operation that started the work catches it, shows one message and returns.

#include <stdexcept>
#include <string>

namespace sulvan {

// Why a file operation failed. The numbers are stable: messages and callers test 2 and 6.
enum class EFileCause : int {
    None = 0,
    Generic = 1,
    NotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    BadSeek = 9,
    HardIo = 10,
    DiskFull = 13,
    EndOfFile = 14,
    NotRegularFile = 15,  // a named pipe, a device or a socket where a file is read
};

// Every cause, for code and tests that walk all of them.
inline constexpr EFileCause kAllFileCauses[] = {
    EFileCause::None,        EFileCause::Generic,          EFileCause::NotFound,
    EFileCause::BadPath,     EFileCause::TooManyOpenFiles, EFileCause::AccessDenied,
    EFileCause::InvalidFile, EFileCause::BadSeek,          EFileCause::HardIo,
    EFileCause::DiskFull,    EFileCause::EndOfFile,        EFileCause::NotRegularFile,
};

// A sentence for a cause, used when the OS gave no description of its own.
const char* DescribeFileCause(EFileCause cause);

// The cause an OS error number stands for.
EFileCause FileCauseFromErrno(int osError);

class FileError;

// The reason the reader and the wave conversion give: their own sentences for a missing file
// and for a file of the wrong kind (strInvalid), ReasonFor(strFile) otherwise.
std::string ShortReasonFor(const FileError& error, const std::string& strFile,
                           const std::string& strInvalid);

class FileError : public std::runtime_error {
  public:
    // A failure the OS reported: the cause and description come from the error number.
    static FileError FromErrno(int osError, const std::string& strPath);

    // A failure the system detects itself (an invalid file, an unexpected end), described by
    // the cause's sentence or by strDescription.
    FileError(EFileCause cause, const std::string& strPath);
    FileError(EFileCause cause, const std::string& strPath, const std::string& strDescription);

    // A failure a library reported in its own words (the netCDF library's nc_strerror text).
    static FileError FromLibrary(EFileCause cause, int osError, const std::string& strPath,
                                 const std::string& strDescription);

    EFileCause Cause() const { return m_cause; }
    int OsError() const { return m_nOsError; }
    const std::string& Path() const { return m_strPath; }
    // The description of the failure alone, without the path ("No space left on device").
    const std::string& Description() const { return m_strDescription; }
    // The text a message about strFile shows: that name, a line break and ReasonFor(strFile).
    std::string MessageFor(const std::string& strFile) const;
    // The description, after the file the failure happened in when that is not strFile (an
    // input read while strFile was written).
    std::string ReasonFor(const std::string& strFile) const;

  private:
    FileError(EFileCause cause, int osError, const std::string& strPath,
              const std::string& strDescription);

    EFileCause m_cause;
    int m_nOsError;
    std::string m_strPath;
    std::string m_strDescription;
};

}  // namespace sulvan
