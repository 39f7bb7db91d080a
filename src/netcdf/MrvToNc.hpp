#pragma once
// Corvane multi-probe recordings to CF-1.8 / ACDD-1.3 netCDF-4: every probe of the probe
// configuration as a time series of its own, aligned by sample number like the .adv conversion
// but without padding, written in memory that does not grow with the recording.
//
// Samples are held in a window of two blocks of samples: when a probe takes a sample number
// beyond it, the oldest block is written. A probe may therefore lag behind the others by at
// least a block (32768 samples for up to eight probes) without losing a sample; a sample that
// comes later than that finds its block written, is left out (its slot stays missing) and is
// counted in the attribute damage_samples_after_window.

#include <string>

#include "netcdf/NcOptions.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

// Converts the Corvane recording at strInput into strOutput, asking before it replaces an
// existing file: the file with the number of samples written (none when no probe had a sample).
// Failed when the input is no Corvane recording ("Invalid file or conversion."), names no probe,
// or the metadata give a position for a probe it does not hold; declined when the user keeps an
// existing output; failed on a file error (the file is left incomplete).
SFileOutcome MrvToNc(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                     const SNcOptions& options);

}  // namespace sulvan
