#include "CTempDir.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sulvan::test {

CTempDir::CTempDir()
    : CTempDir(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") {}

CTempDir::CTempDir(const std::string& strBase) {
    std::string strTemplate = strBase + "/sulvan-test-XXXXXX";
    if (mkdtemp(strTemplate.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + strTemplate);
    }
    m_strPath = strTemplate;
}

CTempDir CTempDir::InMemory() {
    constexpr const char* kMemory = "/dev/shm";
    return std::filesystem::is_directory(kMemory) ? CTempDir(kMemory) : CTempDir();
}

CTempDir::~CTempDir() {
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

std::string CTempDir::Path(const std::string& strName) const {
    return m_strPath + "/" + strName;
}

std::string CTempDir::Write(const std::string& strName, std::span<const std::uint8_t> bytes) const {
    const std::string strPath = Path(strName);
    WriteFileBytes(strPath, bytes);
    return strPath;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + strPath);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& strPath, std::span<const std::uint8_t> bytes) {
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + strPath);
    }
}

}  // namespace sulvan::test
