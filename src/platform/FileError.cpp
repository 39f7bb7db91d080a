#include "platform/FileError.hpp"

#include <cerrno>
#include <cstring>

namespace sulvan {

const char* DescribeFileCause(EFileCause cause) {
    switch (cause) {
        case EFileCause::None:
            return "No error occurred.";
        case EFileCause::Generic:
            return "An unspecified error occurred.";
        case EFileCause::NotFound:
            return "The file could not be located.";
        case EFileCause::BadPath:
            return "All or part of the path is invalid.";
        case EFileCause::TooManyOpenFiles:
            return "Too many files are open.";
        case EFileCause::AccessDenied:
            return "Access to the file was denied.";
        case EFileCause::InvalidFile:
            return "The file is not of a kind this program can use.";
        case EFileCause::BadSeek:
            return "The file position could not be set.";
        case EFileCause::HardIo:
            return "A hardware error occurred while reading or writing.";
        case EFileCause::DiskFull:
            return "The disk is full.";
        case EFileCause::EndOfFile:
            return "The end of the file was reached unexpectedly.";
        case EFileCause::NotRegularFile:
            return "The file is not a regular file.";
    }
    return "An unspecified error occurred.";
}

EFileCause FileCauseFromErrno(int osError) {
    switch (osError) {
        case 0:
            return EFileCause::None;
        case ENOENT:
            return EFileCause::NotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return EFileCause::BadPath;
        case EMFILE:
        case ENFILE:
            return EFileCause::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return EFileCause::AccessDenied;
        case ESPIPE:
        case EOVERFLOW:
            return EFileCause::BadSeek;
        case EIO:
            return EFileCause::HardIo;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return EFileCause::DiskFull;
        default:
            return EFileCause::Generic;
    }
}

std::string ShortReasonFor(const FileError& error, const std::string& strFile,
                           const std::string& strInvalid) {
    switch (error.Cause()) {
        case EFileCause::NotFound:
            return "File not found.";
        case EFileCause::InvalidFile:
            return strInvalid;
        default:
            return error.ReasonFor(strFile);
    }
}

std::string FileError::MessageFor(const std::string& strFile) const {
    return strFile + "\r" + ReasonFor(strFile);
}

std::string FileError::ReasonFor(const std::string& strFile) const {
    return m_strPath == strFile ? m_strDescription : m_strPath + ": " + m_strDescription;
}

FileError FileError::FromErrno(int osError, const std::string& strPath) {
    return FileError(FileCauseFromErrno(osError), osError, strPath, std::strerror(osError));
}

FileError FileError::FromLibrary(EFileCause cause, int osError, const std::string& strPath,
                                 const std::string& strDescription) {
    return FileError(cause, osError, strPath, strDescription);
}

FileError::FileError(EFileCause cause, const std::string& strPath)
    : FileError(cause, 0, strPath, DescribeFileCause(cause)) {}

FileError::FileError(EFileCause cause, const std::string& strPath,
                     const std::string& strDescription)
    : FileError(cause, 0, strPath, strDescription) {}

FileError::FileError(EFileCause cause, int osError, const std::string& strPath,
                     const std::string& strDescription)
    : std::runtime_error(strPath + ": " + strDescription),
      m_cause(cause),
      m_nOsError(osError),
      m_strPath(strPath),
      m_strDescription(strDescription) {}

}  // namespace sulvan
