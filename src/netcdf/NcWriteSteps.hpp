#pragma once
// How every netCDF export meets a failing disk or input: the same way, whatever it writes.

#include <optional>
#include <string>

#include "netcdf/CNcFile.hpp"
#include "platform/FileError.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

// Runs the steps that write file as strOutput. A file error closes the file and gives the failed
// outcome, naming what was created as incomplete; empty when the steps ran through.
template <class TSteps>
std::optional<SFileOutcome> FailureOfWriting(CNcFile& file, const std::string& strOutput,
                                             TSteps steps) {
    try {
        steps();
    } catch (const FileError& error) {
        file.CloseAfterError();
        return FailedWriting(error, strOutput, file.HasCreatedFile());
    }
    return std::nullopt;
}

}  // namespace sulvan
