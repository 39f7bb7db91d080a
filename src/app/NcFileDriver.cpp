// The per-file operation of the netCDF export: the metadata file is read and checked first; then
// a Corvane recording takes the road of the conversions that open their input themselves, and
// the others the shared road of the conversions that read through CInsFile, by the family of the
// opened recording.

#include "app/FileDrivers.hpp"
#include "app/ProgressTarget.hpp"
#include "config/CInsConf.hpp"
#include "netcdf/MrvToNc.hpp"
#include "netcdf/PldToNc.hpp"
#include "netcdf/TrsToNc.hpp"
#include "reader/CInsFile.hpp"
#include "reader/FileFamily.hpp"

namespace sulvan {
namespace {

constexpr const char* kOtherFamily =
    "The netCDF export takes Tarsis (.trs), Pelora (.pld) and Corvane (.mrv) recordings.";

SFileOutcome Failed(const std::string& strInput, const SFileMessage& message) {
    SFileOutcome outcome;
    outcome.strInput = strInput;
    outcome.Fail(message.strText, message.strReason);
    return outcome;
}

}  // namespace

SFileOutcome ConvertFileToNc(const SFileJob& job) {
    // Before anything is written: a refused metadata file leaves no file behind.
    SNcMetadataRead metadata = ReadNcMetadata(job.strInput, job.strMetadataFile);
    if (metadata.refusal) {
        return Failed(job.strInput, *metadata.refusal);
    }
    const bool bCorvane = FamilyFromFileName(job.strInput) == Family::Corvane;
    if (!bCorvane && !metadata.metadata.probes.empty()) {
        return Failed(job.strInput,
                      MetadataRefusal(metadata.strFile,
                                      "the key \"probes\" gives positions by probe serial "
                                      "number, which only a Corvane recording (.mrv) has"));
    }
    SNcOptions options;
    options.nDeflateLevel = job.nDeflateLevel;
    options.metadata = std::move(metadata.metadata);
    options.strMetadataFile = metadata.strFile;
    options.strCommandLine = job.strCommandLine;
    options.progress = SetProgress;
    if (bCorvane) {
        return ConvertWithOwnReader(job, [&](CUserInterface& ui) {
            return MrvToNc(ui, job.strInput, job.strOutput, options);
        });
    }
    return ConvertWithReader(
        job, {".nc", nullptr, [&](CUserInterface&, CInsFile& reader, const std::string& strOutput) {
                  switch (reader.GetFamily()) {
                      case Family::Pelora:
                          return PldToNc(reader, strOutput, options);
                      case Family::Tarsis:
                          return TrsToNc(reader, strOutput, options);
                      default: {
                          SFileOutcome outcome;
                          outcome.Fail(job.strInput + "\r\r" + kOtherFamily, kOtherFamily);
                          return outcome;
                      }
                  }
              }});
}

}  // namespace sulvan
