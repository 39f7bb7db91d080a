#pragma once
// Tarsis velocimeter recordings to the KVT "ADV 3.0" layout.

#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CInsFile;

// Converts an opened Tarsis recording from its position to the end. The output path ends in
// ".adv"; with bBurstFiles set on a recording made in bursts, every burst goes to a file of its
// own named with "_1.adv", "_2.adv", ..., listed in that order. Fails on a file error; what was
// written stays on disk.
SFileOutcome TrsToAdv(CInsFile& reader, const std::string& strOutputPath, bool bBurstFiles);

// Whether TrsToAdv writes a file per burst: asked for, and the recording is made in bursts.
bool WritesBurstFiles(const CInsFile& reader, bool bBurstFiles);

// The name of burst file nBurst (from 1) for an output path ending in ".adv".
std::string BurstFileName(const std::string& strOutputPath, int nBurst);

}  // namespace sulvan
