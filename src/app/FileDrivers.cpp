#include "app/FileDrivers.hpp"

#include "app/CQuestionLog.hpp"
#include "app/ProgressTarget.hpp"
#include "convert/BurstHeaderRepair.hpp"
#include "convert/ConvertToWpr.hpp"
#include "convert/MrvToAdv.hpp"
#include "convert/OutputSafety.hpp"
#include "convert/TrsToAdv.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr const char* kRepairQuestion = "Burst headers missing in file.\r\rRepair file?";
constexpr const char* kRepairedSuffix = "_new.trs";

// The copy a repair writes is named after the conversion's output: the extension at the end
// of the name becomes "_new.trs"; the same text elsewhere in the path stays.
std::string RepairedCopyName(const std::string& strOutput, std::string_view strExtension) {
    if (!strOutput.ends_with(strExtension)) {
        return strOutput;
    }
    return strOutput.substr(0, strOutput.size() - strExtension.size()) + kRepairedSuffix;
}

// Adds what the conversion (or repair) did to the file's outcome. The dialog lists the last file
// written, or the output asked for, unless the conversion failed on an error. A conversion that
// wrote no data record failed, and what it wrote is incomplete.
void TakeConversion(SFileOutcome& outcome, SFileOutcome&& conversion,
                    const std::string& strOutput) {
    if (!conversion.IsFailed()) {
        outcome.strListedName =
            FileNameOf(conversion.written.empty() ? strOutput : conversion.written.back().strPath);
    }
    if (conversion.fate == EFileFate::Converted && conversion.DataRecords() == 0) {
        for (SWrittenFile& file : conversion.written) {
            conversion.incomplete.push_back(std::move(file.strPath));
        }
        conversion.written.clear();
        conversion.Fail(std::string(), "no data records found");
    }
    outcome.Append(std::move(conversion));
}

}  // namespace

SFileOutcome ConvertWithReader(const SFileJob& job, const SReaderConversion& conversion) {
    SFileOutcome outcome;
    outcome.strInput = job.strInput;
    if (RefusesToReplaceInput(job.strInput, job.strOutput, outcome)) {
        return outcome;
    }
    CQuestionLog ui(job.ui, outcome);
    CWaitCursor wait(ui);
    CInsFile reader;
    std::string strName = job.strInput;
    if (reader.Open(strName, job.bChecksum, &ui, outcome) == 0) {
        // Restates for the dialog what the reader has said.
        outcome.Fail("Invalid file.\r\r" + job.strInput, std::string());
        return outcome;
    }
    std::string strOutput = job.strOutput;
    const bool bRepair = LacksBurstHeaders(reader);
    if (bRepair) {
        if (!ui.AskYesNo(kRepairQuestion)) {
            outcome.Decline(kRepairQuestion, std::string(),
                            "burst headers missing, not repaired (answered No)");
            outcome.strListedName = FileNameOf(strOutput);
            return outcome;
        }
        strOutput = RepairedCopyName(strOutput, conversion.pExtension);
    }
    const std::string strFirst =
        bRepair || !conversion.firstOutput ? strOutput : conversion.firstOutput(reader, strOutput);
    if (!ConfirmsReplacing(ui, strFirst, outcome)) {
        outcome.strListedName = FileNameOf(strOutput);
        return outcome;
    }
    TakeConversion(outcome,
                   bRepair ? RepairBurstHeaders(reader, strOutput, reader.Config().m_nBurstSamples)
                           : conversion.convert(ui, reader, strOutput),
                   strOutput);
    return outcome;
}

SFileOutcome ConvertFileToAdv(const SFileJob& job) {
    return ConvertWithReader(
        job, {".adv",
              // Burst files are named after the output; the first of them stands for the set.
              [&](const CInsFile& reader, const std::string& strOutput) {
                  return WritesBurstFiles(reader, job.bBurstFiles) ? BurstFileName(strOutput, 1)
                                                                   : strOutput;
              },
              [&](CUserInterface&, CInsFile& reader, const std::string& strOutput) {
                  return TrsToAdv(reader, strOutput, job.bBurstFiles);
              }});
}

SFileOutcome ConvertFileToWpr(const SFileJob& job) {
    return ConvertWithReader(
        job,
        {".wpr", nullptr, [&](CUserInterface& ui, CInsFile& reader, const std::string& strOutput) {
             SWprOptions options;
             options.bChecksumControl = job.bChecksum;
             options.progress = SetProgress;
             return ConvertToWpr(ui, reader, strOutput, options);
         }});
}

SFileOutcome ConvertWithOwnReader(const SFileJob& job,
                                  const std::function<SFileOutcome(CUserInterface& ui)>& convert) {
    SFileOutcome outcome;
    outcome.strInput = job.strInput;
    if (RefusesToReplaceInput(job.strInput, job.strOutput, outcome)) {
        return outcome;
    }
    CQuestionLog ui(job.ui, outcome);
    TakeConversion(outcome, convert(ui), job.strOutput);
    return outcome;
}

SFileOutcome ConvertMrvToAdv(const SFileJob& job) {
    return ConvertWithOwnReader(job, [&](CUserInterface& ui) {
        return MrvToAdv(ui, job.strInput, job.strOutput, SetProgress);
    });
}

}  // namespace sulvan
