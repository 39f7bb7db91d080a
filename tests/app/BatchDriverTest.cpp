#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "app/CSulvanFileDlg.hpp"

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

// The repaired copy of a continuous recording: one 42-byte burst header is built in front of the
// data; the system sample ahead of the first velocity sample lends it its clock and follows it.
std::uintmax_t RepairedSize(const std::string& strInput) {
    return fs::file_size(strInput) + 42;
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
    SBatch() { m_dialog.m_nConversionType = ConversionType::TrsToAdv; }

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

TEST(BatchDriver, WritesBesideEachInputOrIntoTheDestination) {
    struct SCase {
        const char* pDestination;  // inside the temporary folder; null: none
        const char* pFirstOutput;
        const char* pSecondOutput;
    };
    const SCase cases[] = {
        {nullptr, "a/run1.adv", "b/run2.adv"},
        {"out", "out/run1.adv", "out/run2.adv"},
        // A trailing separator doubles in the output path, which names the same file.
        {"out/", "out/run1.adv", "out/run2.adv"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pDestination != nullptr ? c.pDestination : "none");
        SBatch batch;
        for (const char* pFolder : {"a", "b", "out"}) {
            batch.Folder(pFolder);
        }
        batch.m_dialog.AddFiles({batch.Write("a/run1.trs", TarsisRecording(2)),
                                 batch.Write("b/run2.trs", TarsisRecording(3))});
        batch.m_dialog.m_strDestFolder =
            c.pDestination != nullptr ? batch.m_dir.Path(c.pDestination) : "";
        batch.m_dialog.ConvertSelectedFiles();

        EXPECT_EQ(batch.m_dialog.m_listConverted, (Names{"run1.adv", "run2.adv"}));
        EXPECT_EQ(fs::file_size(batch.m_dir.Path(c.pFirstOutput)), AdvSize(2));
        EXPECT_EQ(fs::file_size(batch.m_dir.Path(c.pSecondOutput)), AdvSize(3));
        EXPECT_TRUE(batch.m_ui.Messages().empty() && batch.m_ui.Questions().empty());
        EXPECT_EQ(batch.m_ui.ProgressSteps(), (Steps{0, 100, 0, 100}));
        EXPECT_EQ(batch.m_ui.WaitDepth(), 0);
    }
}

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

TEST(BatchDriver, AFileWithoutExtensionGoesToTheReaderAndIsNotListed) {
    SBatch batch;
    const std::string strReadme = batch.Write("README");
    EXPECT_EQ(batch.Convert({batch.Write("a.trs"), strReadme}), Names{"a.adv"});
    EXPECT_EQ(batch.m_ui.Messages(),
              (Names{strReadme + "\rInvalid file type.", "Invalid file.\r\r" + strReadme}));
    EXPECT_EQ(batch.m_ui.ProgressSteps(), (Steps{0, 100, 0}));
    EXPECT_EQ(FilesIn(batch.m_dir.Path()), (Names{"README", "a.adv", "a.trs"}));
}

TEST(BatchDriver, FirmwareBefore108IsRepairedOnYesAndListedUnderTheRepairedName) {
    struct SCase {
        const char* pFirmware;
        bool bAsked;
        bool bAnswer;
        const char* pListed;
        const char* pWritten;  // null: nothing
    };
    const SCase cases[] = {
        {"1.07", true, true, "run1_new.trs", "run1_new.trs"},
        {"1.07", true, false, "run1.adv", nullptr},
        {"1.08", false, false, "run1.adv", "run1.adv"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.pFirmware) + (c.bAnswer ? ", yes" : ", no"));
        SBatch batch;
        // A destination named like an output: only the name's own extension is replaced.
        batch.m_dialog.m_strDestFolder = batch.Folder("take.adv");
        const std::string strInput = batch.Write("run1.trs", TarsisRecording(5, c.pFirmware));
        if (c.bAsked) {
            batch.m_ui.Answer(c.bAnswer);
        }
        EXPECT_EQ(batch.Convert({strInput}), Names{c.pListed});
        EXPECT_EQ(batch.m_ui.Questions(), c.bAsked ? Names{kRepairQuestion} : Names{});
        const Names written = c.pWritten != nullptr ? Names{c.pWritten} : Names{};
        ASSERT_EQ(FilesIn(batch.m_dialog.m_strDestFolder), written);
        if (c.pWritten != nullptr) {
            EXPECT_EQ(fs::file_size(batch.m_dir.Path("take.adv/") + c.pWritten),
                      c.bAsked ? RepairedSize(strInput) : AdvSize(5));
        }
        EXPECT_EQ(batch.m_ui.ProgressSteps(), (Steps{0, 100}));
    }
}

TEST(BatchDriver, AnExistingOutputIsReplacedOnlyOnYesAndListedEitherWay) {
    for (const bool bRepair : {false, true}) {
        SCOPED_TRACE(bRepair ? "repaired copy" : "conversion");
        SBatch batch;
        const Bytes kept = {1, 2, 3};
        const std::string strOutput = batch.Write(bRepair ? "run1_new.trs" : "run1.adv", kept);
        const std::string strInput =
            batch.Write("run1.trs", TarsisRecording(4, bRepair ? "1.07" : "1.08"));
        batch.m_dialog.AddFiles({strInput});
        for (const bool bReplace : {false, true}) {
            if (bRepair) {
                batch.m_ui.Answer(true);
            }
            batch.m_ui.Answer(bReplace);
            batch.m_dialog.ConvertSelectedFiles();
            EXPECT_EQ(batch.m_dialog.m_listConverted,
                      Names{fs::path(strOutput).filename().string()});
            if (!bReplace) {
                EXPECT_EQ(ReadFileBytes(strOutput), kept);
            }
        }
        const std::string strReplace = ReplaceQuestion(strOutput);
        EXPECT_EQ(batch.m_ui.Questions(),
                  bRepair ? (Names{kRepairQuestion, strReplace, kRepairQuestion, strReplace})
                          : (Names{strReplace, strReplace}));
        EXPECT_EQ(fs::file_size(strOutput), bRepair ? RepairedSize(strInput) : AdvSize(4));
    }
}

TEST(BatchDriver, AConversionStoppedByAnErrorIsNotListed) {
    // A folder stands where the output would go: asked about, then it cannot be written.
    SBatch batch;
    const std::string strOutput = batch.Folder("run1.adv");
    batch.m_ui.Answer(true);
    EXPECT_TRUE(batch.Convert({batch.Write("run1.trs")}).empty());
    EXPECT_EQ(batch.m_ui.Questions(), Names{ReplaceQuestion(strOutput)});
    EXPECT_EQ(batch.m_ui.Messages().size(), 1u);
    EXPECT_TRUE(fs::is_empty(strOutput));
    EXPECT_EQ(batch.m_ui.ProgressSteps(), Steps{0});
}

TEST(BatchDriver, BurstFilesListTheLastBurstFileWritten) {
    SBatch batch;
    batch.m_dialog.m_bBurstFiles = true;
    EXPECT_EQ(batch.Convert({batch.Write("run1.trs", TarsisRecording(12, "1.08", 4))}),
              Names{"run1_3.adv"});
    EXPECT_EQ(FilesIn(batch.m_dir.Path()),
              (Names{"run1.trs", "run1_1.adv", "run1_2.adv", "run1_3.adv"}));
    EXPECT_TRUE(batch.m_ui.Messages().empty() && batch.m_ui.Questions().empty());
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
        {ConversionType::TrsToAdv, "run.trs.adv", "."},
        {ConversionType::ToWpr, "run.wpr", "."},
        {ConversionType::MrvToAdv, "run.adv", "."},
        // Another name of the input's own folder.
        {ConversionType::ToWpr, "run.wpr", "alias"},
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

TEST(BatchDriver, ANonCorvaneInputIsRefusedAndATypeOutsideTheListDoesNothing) {
    struct SCase {
        int nType;
        bool bListed;  // true: nothing is done; false: refused, and not listed
    };
    const SCase cases[] = {{ConversionType::MrvToAdv, false},
                           {ConversionType::None, true},
                           {3, true}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.nType);
        SBatch batch;
        batch.m_dialog.m_nConversionType = c.nType;
        const std::string strInput = batch.Write("run1.trs");
        EXPECT_EQ(batch.Convert({strInput}), c.bListed ? Names{"run1"} : Names{});
        EXPECT_EQ(batch.m_ui.Messages(),
                  c.bListed
                      ? Names{}
                      : Names{"Invalid file or conversion.\r\r" + strInput});
        EXPECT_EQ(batch.m_ui.ProgressSteps(), c.bListed ? (Steps{0, 100}) : Steps{0});
        EXPECT_EQ(FilesIn(batch.m_dir.Path()), Names{"run1.trs"});
    }
}

}  // namespace
}  // namespace sulvan
