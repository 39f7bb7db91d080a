#include "NcContent.hpp"

#include <netcdf.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace sulvan::test {
namespace {

// Global attributes that tell of the run or of the damage rather than of the samples, so that
// a damaged recording and its survivors rightly give them different values.
constexpr std::string_view kRunAttributes[] = {
    "date_created",  // the time of the run
    "history",       // the time of the run and its command line
    "source",        // the input's name and size, which the damaged bytes add to
};
constexpr std::string_view kRunAttributePrefix = "damage_";  // what the walk passed over

// The flag bit of a sample right after bytes the walk slid over: the survivors have no such
// bytes. Only that bit of the flag variables that name it is left out of their values. The
// times themselves are compared: they come from the intact records alone (an anchor's clock
// and the samples counted since it), so a sample lost to damage shifts the count after it in
// the survivors' file as well, and that flag tells where.
constexpr std::string_view kDamageFlag = "damaged_bytes_before_sample";

bool IsRunAttribute(std::string_view strName) {
    return std::find(std::begin(kRunAttributes), std::end(kRunAttributes), strName) !=
               std::end(kRunAttributes) ||
           strName.starts_with(kRunAttributePrefix);
}

// The values of an attribute or a variable: bytes as the file's type holds them, or strings.
struct SValues {
    nc_type type = NC_NAT;
    std::size_t nElementSize = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> strings;
};

// A netCDF file open for reading; a failing call of the library throws its message.
class CNcReader {
  public:
    explicit CNcReader(const std::string& strPath) : m_strPath(strPath) {
        Check(nc_open(strPath.c_str(), NC_NOWRITE, &m_nId), "open");
    }
    ~CNcReader() { nc_close(m_nId); }
    CNcReader(const CNcReader&) = delete;
    CNcReader& operator=(const CNcReader&) = delete;

    void Check(int nStatus, const std::string& strWhat) const {
        if (nStatus != NC_NOERR) {
            throw std::runtime_error(m_strPath + ": " + strWhat + ": " + nc_strerror(nStatus));
        }
    }

    std::vector<int> Dimensions() const {
        int nCount = 0;
        Check(nc_inq_dimids(m_nId, &nCount, nullptr, 0), "dimensions");
        std::vector<int> ids(static_cast<std::size_t>(nCount));
        Check(nc_inq_dimids(m_nId, &nCount, ids.data(), 0), "dimensions");
        return ids;
    }
    std::string DimensionName(int nDimension) const {
        char name[NC_MAX_NAME + 1] = {};
        Check(nc_inq_dimname(m_nId, nDimension, name), "dimension name");
        return name;
    }
    // The length of the dimension of that name; empty when there is none.
    std::optional<std::size_t> DimensionLength(const std::string& strName) const {
        int nDimension = 0;
        if (nc_inq_dimid(m_nId, strName.c_str(), &nDimension) != NC_NOERR) {
            return std::nullopt;
        }
        std::size_t nLength = 0;
        Check(nc_inq_dimlen(m_nId, nDimension, &nLength), "dimension " + strName);
        return nLength;
    }

    std::vector<std::string> Variables() const {
        int nCount = 0;
        Check(nc_inq_nvars(m_nId, &nCount), "variables");
        std::vector<std::string> names;
        for (int i = 0; i < nCount; ++i) {
            char name[NC_MAX_NAME + 1] = {};
            Check(nc_inq_varname(m_nId, i, name), "variable name");
            names.emplace_back(name);
        }
        return names;
    }
    int Variable(const std::string& strName) const {
        int nVariable = 0;
        Check(nc_inq_varid(m_nId, strName.c_str(), &nVariable), "variable " + strName);
        return nVariable;
    }
    // The type and the names of the dimensions of a variable.
    std::string Shape(int nVariable) const {
        nc_type type = NC_NAT;
        int nDimensions = 0;
        int dimensions[NC_MAX_VAR_DIMS] = {};
        Check(nc_inq_var(m_nId, nVariable, nullptr, &type, &nDimensions, dimensions, nullptr),
              "variable");
        std::string strShape = "type " + std::to_string(type) + " (";
        for (int i = 0; i < nDimensions; ++i) {
            strShape += (i == 0 ? "" : ", ") + DimensionName(dimensions[i]);
        }
        return strShape + ")";
    }

    // The attributes of a variable (NC_GLOBAL: the file's) but those of skipped.
    std::vector<std::string> Attributes(int nVariable,
                                        std::span<const std::string_view> skipped) const {
        int nCount = 0;
        Check(nc_inq_varnatts(m_nId, nVariable, &nCount), "attributes");
        std::vector<std::string> names;
        for (int i = 0; i < nCount; ++i) {
            char name[NC_MAX_NAME + 1] = {};
            Check(nc_inq_attname(m_nId, nVariable, i, name), "attribute name");
            if (nVariable != NC_GLOBAL ||
                (!IsRunAttribute(name) &&
                 std::find(skipped.begin(), skipped.end(), name) == skipped.end())) {
                names.emplace_back(name);
            }
        }
        return names;
    }
    bool HasAttribute(int nVariable, const char* pName) const {
        return nc_inq_attid(m_nId, nVariable, pName, nullptr) == NC_NOERR;
    }
    SValues Attribute(int nVariable, const std::string& strName) const {
        nc_type type = NC_NAT;
        std::size_t nLength = 0;
        Check(nc_inq_att(m_nId, nVariable, strName.c_str(), &type, &nLength), strName);
        SValues values = Sized(type, nLength);
        if (type == NC_STRING) {
            std::vector<char*> strings(nLength);
            Check(nc_get_att_string(m_nId, nVariable, strName.c_str(), strings.data()), strName);
            TakeStrings(values, strings);
        } else {
            Check(nc_get_att(m_nId, nVariable, strName.c_str(), values.bytes.data()), strName);
        }
        return values;
    }

    SValues Values(int nVariable) const {
        nc_type type = NC_NAT;
        int nDimensions = 0;
        int dimensions[NC_MAX_VAR_DIMS] = {};
        Check(nc_inq_var(m_nId, nVariable, nullptr, &type, &nDimensions, dimensions, nullptr),
              "variable");
        std::size_t nCount = 1;
        for (int i = 0; i < nDimensions; ++i) {
            std::size_t nLength = 0;
            Check(nc_inq_dimlen(m_nId, dimensions[i], &nLength), "dimension");
            nCount *= nLength;
        }
        SValues values = Sized(type, nCount);
        if (nCount == 0) {
            return values;
        }
        if (type == NC_STRING) {
            std::vector<char*> strings(nCount);
            Check(nc_get_var_string(m_nId, nVariable, strings.data()), "values");
            TakeStrings(values, strings);
        } else {
            Check(nc_get_var(m_nId, nVariable, values.bytes.data()), "values");
        }
        return values;
    }

  private:
    SValues Sized(nc_type type, std::size_t nCount) const {
        SValues values;
        values.type = type;
        Check(nc_inq_type(m_nId, type, nullptr, &values.nElementSize), "type");
        // One byte more, so that even no value has somewhere to go.
        values.bytes.resize(type == NC_STRING ? 1 : nCount * values.nElementSize + 1);
        return values;
    }
    static void TakeStrings(SValues& values, std::vector<char*>& strings) {
        for (const char* pString : strings) {
            values.strings.emplace_back(pString != nullptr ? pString : "");
        }
        nc_free_string(strings.size(), strings.data());
    }

    std::string m_strPath;
    int m_nId = -1;
};

// The bit of a flag variable that marks damage before its sample; 0 when it has none.
std::uint8_t DamageFlagMask(const CNcReader& file, int nVariable) {
    if (!file.HasAttribute(nVariable, "flag_meanings") ||
        !file.HasAttribute(nVariable, "flag_masks")) {
        return 0;
    }
    const SValues meanings = file.Attribute(nVariable, "flag_meanings");
    const SValues masks = file.Attribute(nVariable, "flag_masks");
    std::istringstream words(std::string(meanings.bytes.begin(), meanings.bytes.end() - 1));
    std::size_t nIndex = 0;
    for (std::string strWord; words >> strWord; ++nIndex) {
        if (strWord == kDamageFlag && masks.nElementSize == 1 && nIndex < masks.bytes.size() - 1) {
            return masks.bytes[nIndex];
        }
    }
    return 0;
}

// The first element in which the values differ, the bits of nIgnored left out of each byte.
std::optional<std::string> FirstDifference(const SValues& a, const SValues& b,
                                           std::uint8_t nIgnored = 0) {
    if (a.type != b.type || a.bytes.size() != b.bytes.size() ||
        a.strings.size() != b.strings.size()) {
        return "type or length";
    }
    for (std::size_t i = 0; i < a.strings.size(); ++i) {
        if (a.strings[i] != b.strings[i]) {
            return "element " + std::to_string(i) + " (\"" + a.strings[i] + "\", \"" +
                   b.strings[i] + "\")";
        }
    }
    const auto nKept = static_cast<std::uint8_t>(~nIgnored);
    for (std::size_t i = 0; i + 1 < a.bytes.size(); ++i) {
        if ((a.bytes[i] & nKept) != (b.bytes[i] & nKept)) {
            return "element " + std::to_string(i / a.nElementSize);
        }
    }
    return std::nullopt;
}

std::optional<std::string> FirstAttributeDifference(const CNcReader& a, int nVariableA,
                                                    const CNcReader& b, int nVariableB,
                                                    const std::string& strWhere,
                                                    std::span<const std::string_view> skipped) {
    const std::vector<std::string> names = a.Attributes(nVariableA, skipped);
    if (names != b.Attributes(nVariableB, skipped)) {
        return strWhere + ": the attributes differ";
    }
    for (const std::string& strName : names) {
        if (auto difference = FirstDifference(a.Attribute(nVariableA, strName),
                                              b.Attribute(nVariableB, strName))) {
            return strWhere + " attribute " + strName + ": " + *difference;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FirstDifference(const CNcReader& a, const CNcReader& b,
                                           std::span<const std::string_view> otherGlobals) {
    const std::vector<int> dimensions = a.Dimensions();
    if (dimensions.size() != b.Dimensions().size()) {
        return "the number of dimensions";
    }
    for (int nDimension : dimensions) {
        const std::string strName = a.DimensionName(nDimension);
        if (a.DimensionLength(strName) != b.DimensionLength(strName)) {
            return "the length of dimension " + strName;
        }
    }
    if (auto difference =
            FirstAttributeDifference(a, NC_GLOBAL, b, NC_GLOBAL, "global", otherGlobals)) {
        return difference;
    }
    const std::vector<std::string> variables = a.Variables();
    if (variables != b.Variables()) {
        return "the variables";
    }
    for (const std::string& strName : variables) {
        const int nA = a.Variable(strName);
        const int nB = b.Variable(strName);
        if (a.Shape(nA) != b.Shape(nB)) {
            return "variable " + strName + ": " + a.Shape(nA) + ", " + b.Shape(nB);
        }
        if (auto difference = FirstAttributeDifference(a, nA, b, nB, "variable " + strName, {})) {
            return difference;
        }
        if (auto difference = FirstDifference(a.Values(nA), b.Values(nB), DamageFlagMask(a, nA))) {
            return "variable " + strName + ": " + *difference;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FirstNcContentDifference(
    const std::string& strPathA, const std::string& strPathB,
    std::span<const std::string_view> otherGlobals) {
    try {
        const CNcReader a(strPathA);
        const CNcReader b(strPathB);
        return FirstDifference(a, b, otherGlobals);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

}  // namespace sulvan::test
