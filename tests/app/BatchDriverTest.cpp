#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "app/ConversionTable.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using Names = std::vector<std::string>;
using Steps = std::vector<int>;
namespace fs = std::filesystem;

const std::string kRepairQuestion = "Burst headers missing in file.\r\rRepair file?";

std::string ReplaceQuestion(const std::string& strOutput) {
    return strOutput + " already exists.\rDo you want to replace it?";
}

// The configuration block, a system sample, then nSamples velocity samples; with nBurstSamples
// a velocity sample header opens every burst of that many.
Bytes TarsisRecording(int nSamples, std::string_view strFirmware = "1.08",
                      std::uint16_t nBurstSamples = 0) {
    SUserOptions user;
    user.nBurstSamples = nBurstSamples;
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration("TRS 1001", strFirmware, {}, user)).Add(SystemSample());
    for (int i = 0; i < nSamples; ++i) {
        if (nBurstSamples != 0 && i % nBurstSamples == 0) {
            recording.Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), nBurstSamples));
        }
        recording.Add(VelocitySample());
    }
    return recording.Image();
}

// The .adv of a recording without compass: file header, instrument block, 20 bytes a sample.
std::uintmax_t AdvSize(int nSamples) {
    return 300 + 254 + 20 * static_cast<std::uintmax_t>(nSamples);
}

// The names in a folder, sorted.
Names FilesIn(const std::string& strFolder) {
    Names names;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A dialog over a folder of its own, set to convert Tarsis recordings.
struct SBatch {
    SBatch() { m_dialog.m_nConversionType = PositionOf(EConversion::TrsToAdv); }

    std::string Write(const std::string& strName, const Bytes& bytes = TarsisRecording(1)) const {
        return m_dir.Write(strName, bytes);
    }
    std::string Folder(const std::string& strName) const {
        fs::create_directories(m_dir.Path(strName));
        return m_dir.Path(strName);
    }
    // Adds the files as Add files does and presses Convert.
    Names Convert(const Names& paths) {
        m_dialog.AddFiles(paths);
        m_dialog.ConvertSelectedFiles();
        return m_dialog.m_listConverted;
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CSulvanFileDlg m_dialog{m_ui};
};

TEST(BatchDriver, ConvertsTheSelectedFilesAndNothingWhenTheirExtensionsDiffer) {
    SBatch batch;
    batch.m_dialog.AddFiles({batch.Write("a.v2.trs"), batch.Write("B.TRS"), batch.Write("c.pld")});
    // An entry not selected is neither compared nor converted.
    batch.m_dialog.m_listFiles[2].bSelected = false;
    batch.m_dialog.ConvertSelectedFiles();
    EXPECT_EQ(batch.m_dialog.m_listConverted, (Names{"a.v2.adv", "B.adv"}));
    const Names files = {"B.TRS", "B.adv", "a.v2.adv", "a.v2.trs", "c.pld"};
    EXPECT_EQ(FilesIn(batch.m_dir.Path()), files);

    // Adding selects every entry again: the .pld stops the whole run, silently.
    const std::size_t nEvents = batch.m_ui.Events().size();
    EXPECT_TRUE(batch.Convert({batch.Write("d.trs")}).empty());
    EXPECT_EQ(FilesIn(batch.m_dir.Path()).size(), files.size() + 1);
    EXPECT_EQ(batch.m_ui.Events().size(), nEvents);
}

TEST(BatchDriver, TheReplaceQuestionOfBurstFilesNamesTheFirstBurstFile) {
    for (const bool bReplace : {false, true}) {
        SCOPED_TRACE(bReplace ? "Yes" : "No");
        SBatch batch;
        batch.m_dialog.m_bBurstFiles = true;
        const Bytes kept = {1, 2, 3};
        const std::string strFirst = batch.Write("run1_1.adv", kept);
        batch.m_ui.Answer(bReplace);
        batch.Convert({batch.Write("run1.trs", TarsisRecording(8, "1.08", 4))});
        EXPECT_EQ(batch.m_ui.Questions(), Names{ReplaceQuestion(strFirst)});
        if (bReplace) {
            EXPECT_EQ(fs::file_size(strFirst), AdvSize(4));
        } else {
            EXPECT_EQ(ReadFileBytes(strFirst), kept);
            EXPECT_EQ(FilesIn(batch.m_dir.Path()), (Names{"run1.trs", "run1_1.adv"}));
        }
    }
}

TEST(BatchDriver, AnOutputThatNamesItsInputIsRefusedBeforeAnyQuestion) {
    struct SCase {
        int nType;
        const char* pInput;
        const char* pDestination;  // inside the temporary folder
    };
    const SCase cases[] = {
        {PositionOf(EConversion::TrsToAdv), "run.trs.adv", "."},
        {PositionOf(EConversion::ToWpr), "run.wpr", "."},
        {PositionOf(EConversion::MrvToAdv), "run.adv", "."},
        // Another name of the input's own folder.
        {PositionOf(EConversion::ToWpr), "run.wpr", "alias"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.pDestination) + "/" + c.pInput);
        SBatch batch;
        batch.m_dialog.m_nConversionType = c.nType;
        const std::string strInput = batch.Write(c.pInput);
        fs::create_directory_symlink(batch.m_dir.Path(), batch.m_dir.Path("alias"));
        batch.m_dialog.AddFiles({strInput});
        batch.m_dialog.m_strDestFolder = batch.m_dir.Path(c.pDestination);
        batch.m_dialog.ConvertSelectedFiles();

        const std::string strOutput = batch.m_dialog.m_strDestFolder + "/" + c.pInput;
        EXPECT_EQ(batch.m_ui.Messages(),
                  Names{strOutput + "\r\rThe output would replace the input file.\r"
                                    "The file was not converted."});
        EXPECT_TRUE(batch.m_ui.Questions().empty());
        EXPECT_TRUE(batch.m_dialog.m_listConverted.empty());
        EXPECT_EQ(ReadFileBytes(strInput), TarsisRecording(1));
        EXPECT_EQ(batch.m_ui.ProgressSteps(), Steps{0});
    }
}

// The dialog lists what it always listed, a file whose question was answered No included, and
// shows each failure's messages in the order the reader and the driver give them.
TEST(BatchDriver, WhatTheDialogListsAndShowsFollowsTheOutcomes) {
    struct SCase {
        const char* pName;
        Bytes input;
        std::vector<bool> answers;
        EFileFate fate;
        Names listed;
        Names written;     // file names
        Names incomplete;  // file names
        std::size_t nMessages;
    };
    const SCase cases[] = {
        {"cannot be opened", {}, {}, EFileFate::Failed, {}, {}, {}, 2},
        {"old firmware, No",
         TarsisRecording(2, "1.07"),
         {false},
         EFileFate::Declined,
         {"run.adv"},
         {},
         {},
         0},
        {"old firmware, Yes",
         TarsisRecording(2, "1.07"),
         {true},
         EFileFate::Converted,
         {"run_new.trs"},
         {"run_new.trs"},
         {},
         0},
        // A version that reads as 0 is unknown, not old: converted without a question.
        {"unknown firmware",
         TarsisRecording(2, ""),
         {},
         EFileFate::Converted,
         {"run.adv"},
         {"run.adv"},
         {},
         0},
        // Only headers: failed, yet listed as it always was, without a message box.
        {"no data records",
         TarsisRecording(0),
         {},
         EFileFate::Failed,
         {"run.adv"},
         {},
         {"run.adv"},
         0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pName);
        SBatch batch;
        for (const bool bAnswer : c.answers) {
            batch.m_ui.Answer(bAnswer);
        }
        EXPECT_EQ(batch.Convert({batch.Write("run.trs", c.input)}), c.listed);
        ASSERT_EQ(batch.m_dialog.m_outcomes.size(), 1u);
        const SFileOutcome& outcome = batch.m_dialog.m_outcomes[0];
        EXPECT_EQ(outcome.fate, c.fate);
        Names written, incomplete;
        for (const SWrittenFile& file : outcome.written) {
            written.push_back(fs::path(file.strPath).filename().string());
        }
        for (const std::string& strPath : outcome.incomplete) {
            incomplete.push_back(fs::path(strPath).filename().string());
        }
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(incomplete, c.incomplete);
        EXPECT_EQ(batch.m_ui.Messages().size(), c.nMessages);
        EXPECT_EQ(batch.m_ui.Questions().size(), c.answers.size());
    }
}

}  // namespace
}  // namespace sulvan
