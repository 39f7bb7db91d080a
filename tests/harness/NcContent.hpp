#pragma once
// Two netCDF files compared by what they hold, read back through the netCDF C library: a
// netCDF-4 file is not byte-stable (the HDF5 layer places its objects as it likes), so the
// damaged-input test compares the .nc of a damaged recording with that of its survivors this
// way. What describes the damage or the run itself is left out (see kRunAttributes and
// kDamageFlag in NcContent.cpp).

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sulvan::test {

// The first difference between the two files' dimensions, variables (type, shape, attributes
// and every value) and global attributes but those of otherGlobals; empty when they hold the
// same.
std::optional<std::string> FirstNcContentDifference(
    const std::string& strPathA, const std::string& strPathB,
    std::span<const std::string_view> otherGlobals = {});

}  // namespace sulvan::test
