#include "platform/CBinaryFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <exception>

#include "platform/FileError.hpp"
#include "platform/FileFaults.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

// A file of another kind than a regular one, by what it is; empty for a regular file.
const char* DescribeIrregularFile(mode_t mode) {
    if (S_ISREG(mode)) {
        return "";
    }
    if (S_ISFIFO(mode)) {
        return "Is a named pipe, not a regular file";
    }
    if (S_ISCHR(mode)) {
        return "Is a character device, not a regular file";
    }
    if (S_ISBLK(mode)) {
        return "Is a block device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "Is a socket, not a regular file";
    }
    return "Is not a regular file";
}

// pread and pwrite on a file a test has given a fault.
ssize_t ReadWithFault(const SFileFault& fault, int descriptor, std::uint8_t* pDestination,
                      std::size_t nCount, std::uint64_t nPosition) {
    if (fault.kind == SFileFault::EKind::FailReads && nPosition < fault.nOffset + fault.nLength &&
        nPosition + nCount > fault.nOffset) {
        errno = fault.nOsError;
        return -1;
    }
    return ::pread(descriptor, pDestination, nCount, static_cast<off_t>(nPosition));
}

ssize_t WriteWithFault(const SFileFault& fault, int descriptor, const std::uint8_t* pSource,
                       std::size_t nCount, std::uint64_t nPosition) {
    if (fault.kind == SFileFault::EKind::FailWritesFrom) {
        if (nPosition >= fault.nOffset) {
            errno = fault.nOsError;
            return -1;
        }
        nCount =
            static_cast<std::size_t>(std::min<std::uint64_t>(nCount, fault.nOffset - nPosition));
    } else if (fault.kind == SFileFault::EKind::ShortWrites) {
        nCount = static_cast<std::size_t>(std::min<std::uint64_t>(nCount, fault.nOffset));
    }
    return ::pwrite(descriptor, pSource, nCount, static_cast<off_t>(nPosition));
}

}  // namespace

CBinaryFile::CBinaryFile() : m_pWindow(std::make_unique<std::uint8_t[]>(kWindowSize)) {}

CBinaryFile::~CBinaryFile() {
    try {
        Close();
    } catch (const FileError&) {
        assert(std::uncaught_exceptions() > 0 && "Close() a written file to learn of its errors");
    }
}

void CBinaryFile::Open(const std::string& strPath, EOpenMode mode) {
    Close();
    std::string strFullPath = MakeFullPath(strPath);
    const SFileFault* pFault = CFileFaults::For(strFullPath);
    if (pFault != nullptr && pFault->kind == SFileFault::EKind::RefuseOpen) {
        throw FileError::FromErrno(pFault->nOsError, strPath);
    }
    // Opening never waits: a named pipe without a writer would hold a reader here for ever.
    // For regular files O_NONBLOCK changes nothing.
    const int flags = (mode == EOpenMode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC) |
                      O_CLOEXEC | O_NONBLOCK;
    const int descriptor = ::open(strPath.c_str(), flags, 0666);
    if (descriptor < 0) {
        throw FileError::FromErrno(errno, strPath);
    }
    // A created file is empty, and a folder cannot be opened for writing; a file opened for
    // reading may be a folder, a pipe or a device, which only its status tells. Burst files are
    // created by the thousand, so they are spared the call.
    struct stat status {};
    if (mode == EOpenMode::Read) {
        if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
            const int osError = S_ISDIR(status.st_mode) ? EISDIR : errno;
            ::close(descriptor);
            throw FileError::FromErrno(osError, strPath);
        }
        if (!S_ISREG(status.st_mode)) {
            ::close(descriptor);
            throw FileError(EFileCause::NotRegularFile, strPath,
                            DescribeIrregularFile(status.st_mode));
        }
    }
    m_nDescriptor = descriptor;
    m_mode = mode;
    m_strFilePath = std::move(strFullPath);
    m_pFault = pFault;
    m_nWindowPos = 0;
    m_nWindowLength = 0;
    m_nWindowIndex = 0;
    m_bWindowReachesEnd = false;
    m_nLength = static_cast<std::uint64_t>(status.st_size);
    m_nSystemCalls = 0;
}

void CBinaryFile::Close() {
    if (!IsOpen()) {
        return;
    }
    const int descriptor = m_nDescriptor;
    try {
        if (IsWriting()) {
            FlushWrites();
        }
    } catch (...) {
        m_nDescriptor = -1;
        ::close(descriptor);
        throw;
    }
    m_nDescriptor = -1;
    if (::close(descriptor) != 0 && IsWriting()) {
        throw FileError::FromErrno(errno, m_strFilePath);
    }
}

void CBinaryFile::CloseAfterError() noexcept {
    try {
        Close();
    } catch (const FileError&) {
        // The failure being reported is the one that counts; this file is closed either way.
    }
}

std::size_t CBinaryFile::Read(void* pDestination, std::size_t nCount) {
    assert(IsOpen() && !IsWriting());
    auto* pOut = static_cast<std::uint8_t*>(pDestination);
    std::size_t nDone = 0;
    while (nDone < nCount) {
        if (BufferedAhead() == 0) {
            if (m_bWindowReachesEnd) {
                break;
            }
            const std::size_t nLeft = nCount - nDone;
            if (nLeft >= kWindowSize) {
                // A large read goes straight to the caller; the window would only be copied.
                const std::uint64_t nPosition = GetPosition();
                const std::uint64_t nInFile = nPosition < m_nLength ? m_nLength - nPosition : 0;
                const auto nWanted =
                    static_cast<std::size_t>(std::min<std::uint64_t>(nLeft, nInFile));
                const std::size_t nGot =
                    nWanted == 0 ? 0 : ReadAt(nPosition, pOut + nDone, nWanted);
                m_nWindowPos = nPosition + nGot;
                m_nWindowLength = 0;
                m_nWindowIndex = 0;
                m_bWindowReachesEnd = nGot < nLeft;
                nDone += nGot;
                if (nGot < nLeft) {
                    break;
                }
                continue;
            }
            FillWindow(GetPosition());
            if (BufferedAhead() == 0) {
                break;
            }
        }
        const std::size_t nChunk = std::min(BufferedAhead(), nCount - nDone);
        std::memcpy(pOut + nDone, m_pWindow.get() + m_nWindowIndex, nChunk);
        m_nWindowIndex += nChunk;
        nDone += nChunk;
    }
    return nDone;
}

std::span<const std::uint8_t> CBinaryFile::Peek(std::size_t nCount) {
    assert(IsOpen() && !IsWriting() && nCount <= kWindowSize);
    if (BufferedAhead() < nCount && !m_bWindowReachesEnd) {
        FillWindow(GetPosition());
    }
    return {m_pWindow.get() + m_nWindowIndex, std::min(nCount, BufferedAhead())};
}

void CBinaryFile::Write(const void* pSource, std::size_t nCount) {
    assert(IsOpen() && IsWriting());
    const auto* pIn = static_cast<const std::uint8_t*>(pSource);
    if (m_nWindowLength + nCount > kWindowSize) {
        FlushWrites();
        if (nCount >= kWindowSize) {
            WriteAt(m_nWindowPos, pIn, nCount);
            m_nWindowPos += nCount;
            return;
        }
    }
    std::memcpy(m_pWindow.get() + m_nWindowLength, pIn, nCount);
    m_nWindowLength += nCount;
}

std::uint64_t CBinaryFile::Seek(std::int64_t nOffset, ESeekOrigin origin) {
    assert(IsOpen());
    std::int64_t nBase = 0;
    switch (origin) {
        case ESeekOrigin::Begin:
            break;
        case ESeekOrigin::Current:
            nBase = static_cast<std::int64_t>(GetPosition());
            break;
        case ESeekOrigin::End:
            nBase = static_cast<std::int64_t>(GetLength());
            break;
    }
    const std::int64_t nTarget = nBase + nOffset;
    if (nTarget < 0) {
        throw FileError(EFileCause::BadSeek, m_strFilePath);
    }
    const auto nPosition = static_cast<std::uint64_t>(nTarget);
    if (IsWriting()) {
        FlushWrites();
        m_nWindowPos = nPosition;
    } else if (nPosition >= m_nWindowPos && nPosition <= m_nWindowPos + m_nWindowLength) {
        m_nWindowIndex = static_cast<std::size_t>(nPosition - m_nWindowPos);
    } else {
        // Read lazily: the next read fills the window where it is needed.
        m_nWindowPos = nPosition;
        m_nWindowLength = 0;
        m_nWindowIndex = 0;
        m_bWindowReachesEnd = false;
    }
    return nPosition;
}

std::uint64_t CBinaryFile::GetPosition() const {
    return IsWriting() ? m_nWindowPos + m_nWindowLength : m_nWindowPos + m_nWindowIndex;
}

std::uint64_t CBinaryFile::GetLength() const {
    if (IsWriting()) {
        return std::max(m_nLength, GetPosition());
    }
    return m_nLength;
}

bool CBinaryFile::Exists(const std::string& strPath) {
    struct stat status {};
    return ::stat(strPath.c_str(), &status) == 0;
}

std::size_t CBinaryFile::ReadHead(const std::string& strPath, std::span<std::uint8_t> destination) {
    // As Open: a named pipe must not hold the caller, and only a regular file has a head.
    const int descriptor = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return 0;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return 0;
    }
    std::size_t nDone = 0;
    while (nDone < destination.size()) {
        const ssize_t nGot = ::pread(descriptor, destination.data() + nDone,
                                     destination.size() - nDone, static_cast<off_t>(nDone));
        if (nGot < 0 && errno == EINTR) {
            continue;
        }
        if (nGot <= 0) {
            break;
        }
        nDone += static_cast<std::size_t>(nGot);
    }
    ::close(descriptor);
    return nDone;
}

void CBinaryFile::FillWindow(std::uint64_t nPosition) {
    // Asking for no more than the file holds spares the call that would only report its end.
    const std::uint64_t nLeft = nPosition < m_nLength ? m_nLength - nPosition : 0;
    const auto nWanted = static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, nLeft));
    m_nWindowPos = nPosition;
    m_nWindowIndex = 0;
    m_nWindowLength = nWanted == 0 ? 0 : ReadAt(nPosition, m_pWindow.get(), nWanted);
    m_bWindowReachesEnd = m_nWindowLength < kWindowSize;
}

std::size_t CBinaryFile::ReadAt(std::uint64_t nPosition, std::uint8_t* pDestination,
                                std::size_t nCount) {
    std::size_t nDone = 0;
    while (nDone < nCount) {
        ++m_nSystemCalls;
        const ssize_t nGot = m_pFault == nullptr
                                 ? ::pread(m_nDescriptor, pDestination + nDone, nCount - nDone,
                                           static_cast<off_t>(nPosition + nDone))
                                 : ReadWithFault(*m_pFault, m_nDescriptor, pDestination + nDone,
                                                 nCount - nDone, nPosition + nDone);
        if (nGot < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowOsError(errno);
        }
        if (nGot == 0) {
            break;
        }
        nDone += static_cast<std::size_t>(nGot);
    }
    return nDone;
}

void CBinaryFile::WriteAt(std::uint64_t nPosition, const std::uint8_t* pSource,
                          std::size_t nCount) {
    std::size_t nDone = 0;
    while (nDone < nCount) {
        ++m_nSystemCalls;
        const ssize_t nPut = m_pFault == nullptr
                                 ? ::pwrite(m_nDescriptor, pSource + nDone, nCount - nDone,
                                            static_cast<off_t>(nPosition + nDone))
                                 : WriteWithFault(*m_pFault, m_nDescriptor, pSource + nDone,
                                                  nCount - nDone, nPosition + nDone);
        if (nPut < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowOsError(errno);
        }
        // A write that takes nothing would be asked again for ever.
        if (nPut == 0) {
            ThrowOsError(EIO);
        }
        nDone += static_cast<std::size_t>(nPut);
    }
    m_nLength = std::max(m_nLength, nPosition + nCount);
}

void CBinaryFile::FlushWrites() {
    if (m_nWindowLength == 0) {
        return;
    }
    const std::size_t nPending = m_nWindowLength;
    // The bytes leave the buffer whether or not the OS takes them, so a failed flush is
    // reported once and not again when the file is closed.
    m_nWindowLength = 0;
    WriteAt(m_nWindowPos, m_pWindow.get(), nPending);
    m_nWindowPos += nPending;
}

void CBinaryFile::ThrowOsError(int osError) const {
    throw FileError::FromErrno(osError, m_strFilePath);
}

}  // namespace sulvan
