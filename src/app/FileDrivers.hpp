#pragma once
// The per-file operations behind the conversion types: they open the input, ask the questions
// of their conversion, convert, and return what happened. Each leaves the dialog's listed name
// in the outcome: the output's name, also when a question was answered No.

#include <functional>
#include <string>

#include "app/ConversionTable.hpp"

namespace sulvan {

class CInsFile;

// A Tarsis recording to .adv, or the burst-header repair of one recorded without burst headers.
SFileOutcome ConvertFileToAdv(const SFileJob& job);
// A Pelora or Tarsis recording to .wpr, or the burst-header repair as above.
SFileOutcome ConvertFileToWpr(const SFileJob& job);
// A Corvane recording to .adv.
SFileOutcome ConvertMrvToAdv(const SFileJob& job);
#ifdef SULVAN_WITH_NETCDF
// A Tarsis, Pelora or Corvane recording to netCDF, or the burst-header repair as above; the
// metadata file is read and checked before anything is written.
SFileOutcome ConvertFileToNc(const SFileJob& job);
#endif

// How a conversion that reads through CInsFile differs from the others on the road they share:
// the output's extension, the first file it writes (the one the replace question names; empty:
// the output itself), and the conversion.
struct SReaderConversion {
    const char* pExtension;
    std::function<std::string(const CInsFile& reader, const std::string& strOutput)> firstOutput;
    std::function<SFileOutcome(CUserInterface& ui, CInsFile& reader, const std::string& strOutput)>
        convert;
};

// The road of the conversions that open their input themselves (Corvane recordings): the input
// must not be the output; convert (the conversion asks before it replaces a file). A conversion
// that wrote no data record has failed.
SFileOutcome ConvertWithOwnReader(const SFileJob& job,
                                  const std::function<SFileOutcome(CUserInterface& ui)>& convert);

// The road: the input must not be the output; open it (the recorder dump repair offered);
// repair a recording without burst headers instead, if the user agrees; ask before replacing;
// convert. A conversion that wrote no data record has failed.
SFileOutcome ConvertWithReader(const SFileJob& job, const SReaderConversion& conversion);

}  // namespace sulvan
