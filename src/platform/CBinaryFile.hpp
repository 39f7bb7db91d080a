#pragma once
// Buffered binary file: the only code of the system that calls the OS for file contents.
//
// Reads go through a window of kWindowSize bytes; reads and seeks inside the window make no
// system call, so a record walk that reads four bytes, seeks back and reads the record costs
// one system call per window, not per record. Writes collect in the same buffer and reach the
// OS when it is full, on Seek and on Close.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace sulvan {

struct SFileFault;

class CBinaryFile {
  public:
    enum class EOpenMode {
        Read,    // an existing file, read only
        Create,  // created or truncated, write only
    };
    enum class ESeekOrigin { Begin, Current, End };

    static constexpr std::size_t kWindowSize = 256 * 1024;

    CBinaryFile();
    // Closes the file. Buffered writes are still written, but a failure here cannot be
    // reported: call Close() on every file written to, and let destruction close only the
    // files left open while another error is on its way.
    ~CBinaryFile();
    CBinaryFile(const CBinaryFile&) = delete;
    CBinaryFile& operator=(const CBinaryFile&) = delete;

    // Throws FileError. A file already open is closed first. Only a regular file is opened for
    // reading: a folder, a named pipe or a device is refused (without waiting for a pipe's
    // writer).
    void Open(const std::string& strPath, EOpenMode mode);
    // Writes what is buffered and closes; throws FileError when that fails (the file is
    // closed all the same). Closing a closed file does nothing.
    void Close();
    // Closes a file after a failure that is being reported already: what is buffered is
    // still written, and a second failure on the way is dropped in favour of the first.
    void CloseAfterError() noexcept;
    bool IsOpen() const { return m_nDescriptor >= 0; }

    // Reads up to nCount bytes at the position and returns how many were read; fewer than
    // asked means the end of the file. Throws FileError on an OS failure.
    std::size_t Read(void* pDestination, std::size_t nCount);
    // The next nCount bytes (at most kWindowSize) without moving the position; fewer at the
    // end of the file. Valid until the next operation on the file.
    std::span<const std::uint8_t> Peek(std::size_t nCount);
    void Write(const void* pSource, std::size_t nCount);
    // Room for the next nCount bytes (at most kWindowSize) of a file being written, straight in
    // its buffer: the caller fills all of them before the next operation on the file. Spares
    // a copy per record for writers that build records field by field.
    std::uint8_t* WriteInPlace(std::size_t nCount) {
        if (m_nWindowLength + nCount > kWindowSize) {
            FlushWrites();
        }
        std::uint8_t* pRoom = m_pWindow.get() + m_nWindowLength;
        m_nWindowLength += nCount;
        return pRoom;
    }
    // Returns the new position. Positions before the start of the file raise BadSeek.
    std::uint64_t Seek(std::int64_t nOffset, ESeekOrigin origin);
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;

    // The absolute, normalised path the file was opened with.
    const std::string& GetFilePath() const { return m_strFilePath; }

    // True when a file or folder exists at the path.
    static bool Exists(const std::string& strPath);
    // Reads the first bytes of a file into destination with one read and returns how many
    // were read; 0 when it cannot be opened or is no regular file. For looking at many files'
    // heads cheaply.
    static std::size_t ReadHead(const std::string& strPath, std::span<std::uint8_t> destination);

    // How many times the OS has been asked for file contents (reads and writes) since Open.
    // For tests and benchmarks that check the buffering.
    std::uint64_t GetSystemCallCount() const { return m_nSystemCalls; }

  private:
    bool IsWriting() const { return m_mode == EOpenMode::Create; }
    std::size_t BufferedAhead() const { return m_nWindowLength - m_nWindowIndex; }
    // Reads the window anew so that it starts at nPosition.
    void FillWindow(std::uint64_t nPosition);
    std::size_t ReadAt(std::uint64_t nPosition, std::uint8_t* pDestination, std::size_t nCount);
    void WriteAt(std::uint64_t nPosition, const std::uint8_t* pSource, std::size_t nCount);
    void FlushWrites();
    [[noreturn]] void ThrowOsError(int osError) const;

    int m_nDescriptor = -1;
    EOpenMode m_mode = EOpenMode::Read;
    std::string m_strFilePath;
    std::unique_ptr<std::uint8_t[]> m_pWindow;
    // File offset of the first window byte. When writing, the window holds unwritten bytes
    // that belong at this offset.
    std::uint64_t m_nWindowPos = 0;
    std::size_t m_nWindowLength = 0;
    std::size_t m_nWindowIndex = 0;
    // The window ends where the file ends; reading further would find nothing new.
    bool m_bWindowReachesEnd = false;
    std::uint64_t m_nLength = 0;
    std::uint64_t m_nSystemCalls = 0;
    // What a test makes the OS do to this file (see FileFaults.hpp); null otherwise.
    const SFileFault* m_pFault = nullptr;
};

}  // namespace sulvan
