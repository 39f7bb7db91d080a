#pragma once
// The per-file operations behind the conversion types: they open the input, ask the questions
// of their conversion, convert, and return what happened. Each leaves the dialog's listed name
// in the outcome: the output's name, also when a question was answered No.

#include "app/ConversionTable.hpp"

namespace sulvan {

// A Tarsis recording to .adv, or the burst-header repair of one recorded without burst headers.
SFileOutcome ConvertFileToAdv(const SFileJob& job);
// A Pelora or Tarsis recording to .wpr, or the burst-header repair as above.
SFileOutcome ConvertFileToWpr(const SFileJob& job);
// A Corvane recording to .adv.
SFileOutcome ConvertMrvToAdv(const SFileJob& job);

}  // namespace sulvan
