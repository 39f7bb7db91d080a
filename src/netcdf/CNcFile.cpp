#include "netcdf/CNcFile.hpp"

#include <hdf5.h>
#include <netcdf.h>

#include <cerrno>
#include <mutex>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "netcdf/NcStatus.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {
namespace {

nc_type LibraryType(ENcType type) {
    switch (type) {
        case ENcType::Byte:
            return NC_BYTE;
        case ENcType::Short:
            return NC_SHORT;
        case ENcType::Int:
            return NC_INT;
        case ENcType::Int64:
            return NC_INT64;
        case ENcType::Double:
            return NC_DOUBLE;
        case ENcType::String:
            return NC_STRING;
    }
    return NC_NAT;
}

// HDF5 allocates a buffer for every chunk it compresses and frees it after the write. With
// glibc's default thresholds each free above 128 KiB hands the memory back to the OS and the
// next chunk faults it in again: measured, that made a deflated file take 14 times as long, most
// of it system time. Freed memory is kept for reuse instead; what is kept stays bounded by the
// chunks being written at once.
void KeepChunkBuffersForReuse() {
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kKeptBytes = 64 * 1024 * 1024;
        constexpr int kLargestHeapBlock = 16 * 1024 * 1024;
        mallopt(M_TRIM_THRESHOLD, kKeptBytes);
        mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    });
#endif
}

// HDF5 1.10 frees a file whose close failed (on a full disk) but keeps its id, and the cleanup it
// installs for the program's exit closes that id once more and crashes. This program closes
// every file it creates, so that cleanup has nothing to do and is not installed; it must be
// said before the library's first call, which the first file's creation makes.
void SkipExitCleanupOfHdf5() {
    static std::once_flag once;
    std::call_once(once, [] { H5dont_atexit(); });
}

}  // namespace

template <typename Call>
void CNcFile::Run(Call call) const {
    CallNetcdf(m_strPath, call);
}

CNcFile::~CNcFile() {
    CloseAfterError();
}

void CNcFile::Create(const std::string& strPath) {
    CloseAfterError();
    KeepChunkBuffersForReuse();
    SkipExitCleanupOfHdf5();
    m_strPath = strPath;
    m_bCreatedFile = false;
    // The library reports every file it cannot create as "Permission denied" (EACCES), a
    // missing folder too; the file layer creates it first and tells the real reason.
    CBinaryFile probe;
    probe.Open(strPath, CBinaryFile::EOpenMode::Create);
    probe.Close();
    m_bCreatedFile = true;
    int nId = -1;
    errno = 0;
    const int nStatus = nc_create(strPath.c_str(), NC_NETCDF4 | NC_CLOBBER, &nId);
    // Now that the file could be created, that stand-in hides what the OS refused when the
    // library wrote its first bytes (a full disk), which errno still holds.
    if (nStatus == EACCES && errno != 0 && errno != EACCES) {
        throw NcFileError(NC_EHDFERR, errno, strPath);
    }
    Run([&] { return nStatus; });
    m_nId = nId;
}

void CNcFile::Close() {
    if (!IsOpen()) {
        return;
    }
    const int nId = m_nId;
    // The id is spent whatever the library answers: a second close must not reach it.
    m_nId = -1;
    Run([&] { return nc_close(nId); });
}

// nc_abort would delete a file created in this run while it is still in define mode; what was
// written is kept on disk instead, closed as far as the library can.
void CNcFile::CloseAfterError() noexcept {
    if (IsOpen()) {
        nc_close(m_nId);
        m_nId = -1;
    }
}

SNcDimension CNcFile::DefineDimension(std::string_view strName, std::size_t nLength) {
    SNcDimension dimension;
    const std::string strNameZ(strName);
    Run([&] {
        return nc_def_dim(m_nId, strNameZ.c_str(), nLength == kUnlimited ? NC_UNLIMITED : nLength,
                          &dimension.nId);
    });
    return dimension;
}

SNcVariable CNcFile::DefineVariable(std::string_view strName, ENcType type,
                                    std::span<const SNcDimension> dimensions,
                                    const SNcStorage& storage) {
    std::vector<int> ids;
    for (const SNcDimension& dimension : dimensions) {
        ids.push_back(dimension.nId);
    }
    SNcVariable variable;
    const std::string strNameZ(strName);
    Run([&] {
        return nc_def_var(m_nId, strNameZ.c_str(), LibraryType(type), static_cast<int>(ids.size()),
                          ids.data(), &variable.nId);
    });
    if (type != ENcType::String) {
        Run([&] { return nc_def_var_fill(m_nId, variable.nId, NC_NOFILL, nullptr); });
    }
    if (!storage.chunk.empty()) {
        Run([&] {
            return nc_def_var_chunking(m_nId, variable.nId, NC_CHUNKED, storage.chunk.data());
        });
        Run([&] {
            return nc_set_var_chunk_cache(m_nId, variable.nId, storage.nChunkCache, 1, 1.0F);
        });
    }
    if (storage.nDeflateLevel > 0 || storage.bShuffle) {
        Run([&] {
            return nc_def_var_deflate(m_nId, variable.nId, storage.bShuffle ? 1 : 0,
                                      storage.nDeflateLevel > 0 ? 1 : 0, storage.nDeflateLevel);
        });
    }
    return variable;
}

void CNcFile::DefineFill(SNcVariable variable, std::int16_t nFill) {
    Run([&] { return nc_def_var_fill(m_nId, variable.nId, NC_FILL, &nFill); });
}

void CNcFile::DefineFill(SNcVariable variable, double dFill) {
    Run([&] { return nc_def_var_fill(m_nId, variable.nId, NC_FILL, &dFill); });
}

void CNcFile::PutAttribute(SNcVariable variable, std::string_view strName,
                           std::string_view strText) {
    const std::string strNameZ(strName);
    Run([&] {
        return nc_put_att_text(m_nId, variable.nId, strNameZ.c_str(), strText.size(),
                               strText.data());
    });
}

void CNcFile::PutAttribute(SNcVariable variable, std::string_view strName, double dValue) {
    const std::string strNameZ(strName);
    Run([&] {
        return nc_put_att_double(m_nId, variable.nId, strNameZ.c_str(), NC_DOUBLE, 1, &dValue);
    });
}

void CNcFile::PutAttribute(SNcVariable variable, std::string_view strName, std::int64_t nValue) {
    const std::string strNameZ(strName);
    const long long nLong = nValue;
    Run([&] {
        return nc_put_att_longlong(m_nId, variable.nId, strNameZ.c_str(), NC_INT64, 1, &nLong);
    });
}

void CNcFile::PutAttribute(SNcVariable variable, std::string_view strName,
                           std::span<const std::int8_t> values) {
    const std::string strNameZ(strName);
    Run([&] {
        return nc_put_att_schar(m_nId, variable.nId, strNameZ.c_str(), NC_BYTE, values.size(),
                                reinterpret_cast<const signed char*>(values.data()));
    });
}

void CNcFile::PutAttribute(SNcVariable variable, std::string_view strName,
                           std::span<const std::int64_t> values) {
    const std::string strNameZ(strName);
    const std::vector<long long> longs(values.begin(), values.end());
    Run([&] {
        return nc_put_att_longlong(m_nId, variable.nId, strNameZ.c_str(), NC_INT64, longs.size(),
                                   longs.data());
    });
}

void CNcFile::EndDefinitions() {
    Run([&] { return nc_enddef(m_nId); });
}

void CNcFile::Write(SNcVariable variable, std::span<const std::size_t> start,
                    std::span<const std::size_t> count, const std::int8_t* pValues) {
    Run([&] {
        return nc_put_vara_schar(m_nId, variable.nId, start.data(), count.data(),
                                 reinterpret_cast<const signed char*>(pValues));
    });
}

void CNcFile::Write(SNcVariable variable, std::span<const std::size_t> start,
                    std::span<const std::size_t> count, const std::int16_t* pValues) {
    Run([&] {
        return nc_put_vara_short(m_nId, variable.nId, start.data(), count.data(), pValues);
    });
}

void CNcFile::Write(SNcVariable variable, std::span<const std::size_t> start,
                    std::span<const std::size_t> count, const std::int32_t* pValues) {
    Run([&] { return nc_put_vara_int(m_nId, variable.nId, start.data(), count.data(), pValues); });
}

void CNcFile::Write(SNcVariable variable, std::span<const std::size_t> start,
                    std::span<const std::size_t> count, const double* pValues) {
    Run([&] {
        return nc_put_vara_double(m_nId, variable.nId, start.data(), count.data(), pValues);
    });
}

void CNcFile::Write(SNcVariable variable, const std::string& strValue) {
    const char* pText = strValue.c_str();
    Run([&] { return nc_put_var_string(m_nId, variable.nId, &pText); });
}

void CNcFile::Write(SNcVariable variable, std::span<const std::string> values) {
    std::vector<const char*> texts;
    for (const std::string& strValue : values) {
        texts.push_back(strValue.c_str());
    }
    const std::size_t start[] = {0};
    const std::size_t count[] = {texts.size()};
    Run([&] { return nc_put_vara_string(m_nId, variable.nId, start, count, texts.data()); });
}

}  // namespace sulvan
