// The per-file operation of the netCDF export: the shared road of the conversions that read
// through CInsFile, after the metadata file has been read and checked.

#include "app/FileDrivers.hpp"
#include "app/ProgressTarget.hpp"
#include "netcdf/TrsToNc.hpp"

namespace sulvan {

SFileOutcome ConvertFileToNc(const SFileJob& job) {
    // Before anything is written: a refused metadata file leaves no file behind.
    SNcMetadataRead metadata = ReadNcMetadata(job.strInput, job.strMetadataFile);
    if (metadata.refusal) {
        SFileOutcome outcome;
        outcome.strInput = job.strInput;
        outcome.Fail(metadata.refusal->strText, metadata.refusal->strReason);
        return outcome;
    }
    SNcOptions options;
    options.nDeflateLevel = job.nDeflateLevel;
    options.metadata = std::move(metadata.metadata);
    options.strCommandLine = job.strCommandLine;
    options.progress = SetProgress;
    return ConvertWithReader(
        job, {".nc", nullptr, [&](CUserInterface&, CInsFile& reader, const std::string& strOutput) {
                  return TrsToNc(reader, strOutput, options);
              }});
}

}  // namespace sulvan
