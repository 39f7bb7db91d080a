#pragma once
// A netCDF-4 file being written, over the netCDF C library: the file, its dimensions, variables
// and attributes, and block writes. Every call is checked; a failure is a FileError naming the
// file with the library's own reason. The library's ids and types stay behind this class.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sulvan {

enum class ENcType { Byte, Short, Int, Int64, Double, String };

struct SNcDimension {
    int nId = -1;
};

struct SNcVariable {
    int nId = -1;
};

// Where a variable's values lie on disk: chunks along each dimension, shuffled and deflated.
struct SNcStorage {
    std::span<const std::size_t> chunk;  // one length per dimension; empty: contiguous
    int nDeflateLevel = 0;               // 0: not compressed
    bool bShuffle = false;
    // Bytes of chunks the library keeps in memory for the variable. Less than a chunk (the
    // library takes 0 for its default of 16 MiB) when every write covers whole chunks: each is
    // then compressed and written at once, and memory does not grow with the variables.
    std::size_t nChunkCache = 1;
};

class CNcFile {
  public:
    // The variable that holds the global attributes.
    static constexpr SNcVariable kGlobal{-1};
    static constexpr std::size_t kUnlimited = 0;

    CNcFile() = default;
    // Closes a file still open, as after an error.
    ~CNcFile();
    CNcFile(const CNcFile&) = delete;
    CNcFile& operator=(const CNcFile&) = delete;

    // Creates (or replaces) a netCDF-4 file and leaves it in define mode.
    void Create(const std::string& strPath);
    // Writes what the library holds and closes; the file is closed even when this throws.
    void Close();
    // Closes after a failure being reported already; a second failure is dropped.
    void CloseAfterError() noexcept;
    bool IsOpen() const { return m_nId >= 0; }
    // Whether Create made the file on disk, even when the library failed after: what is there
    // is incomplete.
    bool HasCreatedFile() const { return m_bCreatedFile; }
    const std::string& Path() const { return m_strPath; }

    // ---- Define mode.
    SNcDimension DefineDimension(std::string_view strName, std::size_t nLength);
    SNcVariable DefineVariable(std::string_view strName, ENcType type,
                               std::span<const SNcDimension> dimensions,
                               const SNcStorage& storage = {});
    // Values never written read as this one; a variable without it is not pre-filled.
    void DefineFill(SNcVariable variable, std::int16_t nFill);
    void DefineFill(SNcVariable variable, double dFill);

    void PutAttribute(SNcVariable variable, std::string_view strName, std::string_view strText);
    void PutAttribute(SNcVariable variable, std::string_view strName, double dValue);
    void PutAttribute(SNcVariable variable, std::string_view strName, std::int64_t nValue);
    // Bytes, as the flag attributes of a byte variable must be.
    void PutAttribute(SNcVariable variable, std::string_view strName,
                      std::span<const std::int8_t> values);
    void PutAttribute(SNcVariable variable, std::string_view strName,
                      std::span<const std::int64_t> values);

    // Leaves define mode; the variables can then be written.
    void EndDefinitions();

    // ---- Data mode: a block of values at start, count long along each dimension, laid out
    // with the last dimension varying fastest.
    void Write(SNcVariable variable, std::span<const std::size_t> start,
               std::span<const std::size_t> count, const std::int8_t* pValues);
    void Write(SNcVariable variable, std::span<const std::size_t> start,
               std::span<const std::size_t> count, const std::int16_t* pValues);
    void Write(SNcVariable variable, std::span<const std::size_t> start,
               std::span<const std::size_t> count, const std::int32_t* pValues);
    void Write(SNcVariable variable, std::span<const std::size_t> start,
               std::span<const std::size_t> count, const double* pValues);
    // A scalar string variable.
    void Write(SNcVariable variable, const std::string& strValue);
    // A string variable of one dimension, from its start.
    void Write(SNcVariable variable, std::span<const std::string> values);

  private:
    // Runs one library call and throws its failure.
    template <typename Call>
    void Run(Call call) const;

    int m_nId = -1;
    std::string m_strPath;
    bool m_bCreatedFile = false;
};

}  // namespace sulvan
