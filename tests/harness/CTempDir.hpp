#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sulvan::test {

class CTempDir {
  public:
    // In TMPDIR (or /tmp), or in strBase.
    CTempDir();
    explicit CTempDir(const std::string& strBase);
    // In memory (/dev/shm) where the machine has it, for tests that write many files or large
    // sparse ones; else as CTempDir().
    static CTempDir InMemory();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    // The path of a file or folder inside it.
    std::string Path(const std::string& strName) const;
    // Writes a file inside it and returns its path.
    std::string Write(const std::string& strName, std::span<const std::uint8_t> bytes) const;

  private:
    std::string m_strPath;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& strPath);
void WriteFileBytes(const std::string& strPath, std::span<const std::uint8_t> bytes);

}  // namespace sulvan::test
