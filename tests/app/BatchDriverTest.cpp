#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AppTestSupport.hpp"
#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "app/CSulvanFileDlg.hpp"

namespace sulvan {
namespace {

using namespace test;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kRepairQuestion = "Burst headers missing in file.\r\rRepair file?";

std::string ReplaceQuestion(const std::string& strOutput) {
    return strOutput + " already exists.\rDo you want to replace it?";
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

class BatchDriverTest : public ::testing::Test {
  protected:
    BatchDriverTest() { m_dialog.m_nConversionType = ConversionType::TrsToAdv; }

    std::string Folder(const std::string& strName) const {
        fs::create_directories(m_dir.Path(strName));
        return m_dir.Path(strName);
    }

    // Adds the files as Add files does and presses Convert.
    Names Convert(const std::vector<std::string>& paths) {
        m_dialog.AddFiles(paths);
        m_dialog.ConvertSelectedFiles();
        return m_dialog.m_listConverted;
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CSulvanFileDlg m_dialog{m_ui};
};

TEST_F(BatchDriverTest, WritesBesideEachInputOrIntoTheDestination) {
    struct SCase {
        const char* pDestination;  // inside the temporary folder; null: none
        const char* pFirstFolder;
        const char* pSecondFolder;
    };
    const SCase cases[] = {
        {nullptr, "a", "b"},
        {"out", "out", "out"},
        // A trailing separator doubles in the output path, which names the same file.
        {"out/", "out", "out"},
    };
    for (const SCase& c : cases) {
        CTempDir dir;
        for (const char* pFolder : {"a", "b", "out"}) {
            fs::create_directory(dir.Path(pFolder));
        }
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = ConversionType::TrsToAdv;
        dialog.AddFiles({dir.Write("a/run1.trs", TarsisRecording(2)),
                         dir.Write("b/run2.trs", TarsisRecording(3))});
        ASSERT_EQ(dialog.m_strDestFolder, dir.Path("a"));
        dialog.m_strDestFolder = c.pDestination != nullptr ? dir.Path(c.pDestination) : "";
        dialog.ConvertSelectedFiles();

        const std::string strWhat = c.pDestination != nullptr ? c.pDestination : "none";
        EXPECT_EQ(dialog.m_listConverted, (Names{"run1.adv", "run2.adv"})) << strWhat;
        const std::string strFirst = dir.Path(std::string(c.pFirstFolder) + "/run1.adv");
        const std::string strSecond = dir.Path(std::string(c.pSecondFolder) + "/run2.adv");
        ASSERT_TRUE(fs::exists(strFirst) && fs::exists(strSecond)) << strWhat;
        EXPECT_EQ(fs::file_size(strFirst), AdvSize(2)) << strWhat;
        EXPECT_EQ(fs::file_size(strSecond), AdvSize(3)) << strWhat;
        EXPECT_EQ(FilesIn(dir.Path("a")).size() + FilesIn(dir.Path("b")).size() +
                      FilesIn(dir.Path("out")).size(),
                  4u)
            << strWhat;
        EXPECT_TRUE(ui.Messages().empty() && ui.Questions().empty()) << strWhat;
        EXPECT_EQ(ui.ProgressSteps(), (std::vector<int>{0, 100, 0, 100})) << strWhat;
        EXPECT_EQ(ui.WaitDepth(), 0);
        ASSERT_FALSE(ui.Events().empty());
        EXPECT_EQ(ui.Events().front().call, EUiCall::BeginWait);
    }
}

TEST_F(BatchDriverTest, ExtensionsAreComparedAmongTheSelectedNamesIgnoringCase) {
    struct SCase {
        std::vector<std::pair<const char*, bool>> entries;  // name, selected
        bool bShared;
    };
    const SCase cases[] = {
        {{}, true},
        {{{"a.trs", true}, {"b.TRS", true}}, true},
        {{{"a.trs", true}, {"b.pld", true}}, false},
        {{{"a.trs", true}, {"README", true}}, true},
        {{{"README", true}, {"b.pld", true}, {"c.trs", true}}, false},
        {{{"a.trs", true}, {"b.pld", false}}, true},
        {{{"a.tar.trs", true}, {"b.trs", true}}, true},
        {{{"a.trs", true}, {"b.trs.pld", true}}, false},
    };
    for (const SCase& c : cases) {
        m_dialog.m_listFiles.clear();
        std::string strWhat;
        for (const auto& [pName, bSelected] : c.entries) {
            m_dialog.m_listFiles.push_back({pName, m_dir.Path(pName), bSelected, 0.0});
            strWhat += std::string(pName) + (bSelected ? " " : "(not selected) ");
        }
        EXPECT_EQ(m_dialog.SelectedFilesShareExtension(), c.bShared) << strWhat;
    }
}

TEST_F(BatchDriverTest, MixedExtensionsConvertNothingAndEmptyTheList) {
    ASSERT_EQ(Convert({m_dir.Write("a.trs", TarsisRecording(1))}), Names{"a.adv"});
    fs::remove(m_dir.Path("a.adv"));
    const std::size_t nEvents = m_ui.Events().size();

    EXPECT_TRUE(Convert({m_dir.Write("b.pld", TarsisRecording(1))}).empty());
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"a.trs", "b.pld"}));
    EXPECT_EQ(m_ui.Events().size(), nEvents);
}

TEST_F(BatchDriverTest, AFileWithoutExtensionGoesToTheReaderAndIsNotListed) {
    const std::string strReadme = m_dir.Write("README", TarsisRecording(1));
    EXPECT_EQ(Convert({m_dir.Write("a.trs", TarsisRecording(1)), strReadme}), Names{"a.adv"});
    EXPECT_EQ(m_ui.Messages(),
              (Names{strReadme + "\rInvalid file type.", "Invalid file.\r\r" + strReadme}));
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"README", "a.adv", "a.trs"}));
}

TEST_F(BatchDriverTest, FirmwareBefore108IsRepairedAndListedUnderTheRepairedName) {
    struct SCase {
        const char* pFirmware;
        bool bRepaired;
    };
    // The version is the text with its second character read as the decimal point.
    const SCase cases[] = {{"1.07", true},  {"1 07", true},  {"0.99", true},
                           {"1.08", false}, {"1x08", false}, {"2.00", false}};
    for (const SCase& c : cases) {
        CTempDir dir;
        // A destination named like an output: only the name's own extension is replaced.
        const std::string strDest = dir.Path("take.adv");
        fs::create_directory(strDest);
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = ConversionType::TrsToAdv;
        dialog.m_strDestFolder = strDest;
        const std::string strInput = dir.Write("run1.trs", TarsisRecording(5, c.pFirmware));
        if (c.bRepaired) {
            ui.Answer(true);
        }
        dialog.AddFiles({strInput});
        dialog.ConvertSelectedFiles();

        if (c.bRepaired) {
            EXPECT_EQ(ui.Questions(), Names{kRepairQuestion}) << c.pFirmware;
            EXPECT_EQ(dialog.m_listConverted, Names{"run1_new.trs"}) << c.pFirmware;
            EXPECT_EQ(FilesIn(strDest), Names{"run1_new.trs"}) << c.pFirmware;
            // One burst header built in front of the data of a continuous recording; the
            // system sample ahead of the first velocity sample lends the header its clock and
            // is not copied.
            EXPECT_EQ(fs::file_size(strDest + "/run1_new.trs"), fs::file_size(strInput) + 42 - 28)
                << c.pFirmware;
        } else {
            EXPECT_TRUE(ui.Questions().empty()) << c.pFirmware;
            EXPECT_EQ(dialog.m_listConverted, Names{"run1.adv"}) << c.pFirmware;
            EXPECT_EQ(FilesIn(strDest), Names{"run1.adv"}) << c.pFirmware;
            EXPECT_EQ(fs::file_size(strDest + "/run1.adv"), AdvSize(5)) << c.pFirmware;
        }
        EXPECT_EQ(ui.ProgressSteps(), (std::vector<int>{0, 100})) << c.pFirmware;
    }
}

TEST_F(BatchDriverTest, RepairAnsweredNoWritesNothingAndListsTheConversionName) {
    m_ui.Answer(false);
    EXPECT_EQ(Convert({m_dir.Write("run1.trs", TarsisRecording(3, "1.07"))}), Names{"run1.adv"});
    EXPECT_EQ(m_ui.Questions(), Names{kRepairQuestion});
    EXPECT_EQ(FilesIn(m_dir.Path()), Names{"run1.trs"});
    EXPECT_EQ(m_ui.ProgressSteps(), (std::vector<int>{0, 100}));
}

TEST_F(BatchDriverTest, AnExistingRepairedCopyIsReplacedOnlyOnYes) {
    const Bytes kept = {1, 2, 3};
    const std::string strCopy = m_dir.Write("run1_new.trs", kept);
    m_ui.Answer(true).Answer(false);
    EXPECT_EQ(Convert({m_dir.Write("run1.trs", TarsisRecording(3, "1.07"))}),
              Names{"run1_new.trs"});
    EXPECT_EQ(m_ui.Questions(), (Names{kRepairQuestion, ReplaceQuestion(strCopy)}));
    EXPECT_EQ(ReadFileBytes(strCopy), kept);
}

TEST_F(BatchDriverTest, ReplaceAnsweredNoLeavesTheFileUntouchedAndListsIt) {
    const Bytes kept = {1, 2, 3};
    const std::string strOutput = m_dir.Write("run1.adv", kept);
    const std::string strInput = m_dir.Write("run1.trs", TarsisRecording(4));
    m_ui.Answer(false);
    EXPECT_EQ(Convert({strInput}), Names{"run1.adv"});
    EXPECT_EQ(m_ui.Questions(), Names{ReplaceQuestion(strOutput)});
    EXPECT_EQ(ReadFileBytes(strOutput), kept);
    EXPECT_EQ(m_ui.ProgressSteps(), (std::vector<int>{0, 100}));

    m_ui.Answer(true);
    m_dialog.ConvertSelectedFiles();
    EXPECT_EQ(m_dialog.m_listConverted, Names{"run1.adv"});
    EXPECT_EQ(fs::file_size(strOutput), AdvSize(4));
}

TEST_F(BatchDriverTest, AConversionStoppedByAnErrorIsNotListed) {
    // A folder stands where the output would go: asked about, then it cannot be written.
    const std::string strOutput = Folder("run1.adv");
    m_ui.Answer(true);
    EXPECT_TRUE(Convert({m_dir.Write("run1.trs", TarsisRecording(2))}).empty());
    EXPECT_EQ(m_ui.Questions(), Names{ReplaceQuestion(strOutput)});
    EXPECT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_TRUE(FilesIn(strOutput).empty());
    EXPECT_EQ(m_ui.ProgressSteps(), std::vector<int>{0});
}

TEST_F(BatchDriverTest, BurstFilesListTheLastBurstFileWritten) {
    SUserOptions burst;
    burst.nBurstSamples = 4;
    for (const bool bBurstFiles : {true, false}) {
        CTempDir dir;
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = ConversionType::TrsToAdv;
        dialog.m_bBurstFiles = bBurstFiles;
        dialog.AddFiles({dir.Write("run1.trs", TarsisRecording(12, "1.08", burst, 4))});
        dialog.ConvertSelectedFiles();
        EXPECT_TRUE(ui.Messages().empty() && ui.Questions().empty());
        if (bBurstFiles) {
            EXPECT_EQ(dialog.m_listConverted, Names{"run1_3.adv"});
            EXPECT_EQ(FilesIn(dir.Path()),
                      (Names{"run1.trs", "run1_1.adv", "run1_2.adv", "run1_3.adv"}));
            for (const char* pName : {"run1_1.adv", "run1_2.adv", "run1_3.adv"}) {
                EXPECT_EQ(fs::file_size(dir.Path(pName)), AdvSize(4)) << pName;
            }
        } else {
            EXPECT_EQ(dialog.m_listConverted, Names{"run1.adv"});
            EXPECT_EQ(fs::file_size(dir.Path("run1.adv")), AdvSize(12));
        }
    }
}

TEST_F(BatchDriverTest, AnOutputThatNamesItsInputIsRefusedBeforeTheInputIsOpened) {
    struct SCase {
        int nType;
        const char* pInput;
        const char* pDestination;  // inside the temporary folder; empty: beside the input
    };
    const SCase cases[] = {
        {ConversionType::TrsToAdv, "run.trs.adv", ""},
        {ConversionType::ToWpr, "run.wpr", ""},
        {ConversionType::MrvToAdv, "run.adv", ""},
        // Another name of the input's own folder.
        {ConversionType::ToWpr, "run.wpr", "alias"},
    };
    // A raw recorder dump: opening it would offer to write a repaired "_rep" copy.
    const Bytes dump = CRecordingBuilder()
                           .Add(SystemSample())
                           .Add(VelocitySample())
                           .Add(StandardConfiguration())
                           .Image();
    for (const SCase& c : cases) {
        CTempDir dir;
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = c.nType;
        const std::string strInput = dir.Write(c.pInput, dump);
        fs::create_directory_symlink(dir.Path(), dir.Path("alias"));
        dialog.AddFiles({strInput});
        const std::string strDestination = *c.pDestination != '\0' ? dir.Path(c.pDestination) : "";
        dialog.m_strDestFolder = strDestination;
        dialog.ConvertSelectedFiles();

        const std::string strOutput =
            (strDestination.empty() ? dir.Path() : strDestination) + "/" + c.pInput;
        EXPECT_EQ(ui.Messages(), Names{strOutput + "\r\rThe output would replace the input file.\r"
                                                   "The file was not converted."})
            << c.pInput;
        EXPECT_TRUE(ui.Questions().empty()) << c.pInput;
        EXPECT_TRUE(dialog.m_listConverted.empty()) << c.pInput;
        EXPECT_EQ(FilesIn(dir.Path()), (Names{"alias", c.pInput})) << c.pInput;
        EXPECT_EQ(ReadFileBytes(strInput), dump) << c.pInput;
        EXPECT_EQ(ui.ProgressSteps(), std::vector<int>{0}) << c.pInput;
    }
}

TEST_F(BatchDriverTest, ConversionsNotBuiltYetSaySoAndAreNotListed) {
    const std::string strOut = Folder("out");
    for (const auto& [nType, pName] : {std::pair{ConversionType::MrvToAdv, "probes.mrv"},
                                       std::pair{ConversionType::ToWpr, "run1.trs"}}) {
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = nType;
        dialog.m_strDestFolder = strOut;
        const std::string strInput = m_dir.Write(pName, TarsisRecording(1));
        dialog.AddFiles({strInput});
        dialog.ConvertSelectedFiles();
        EXPECT_EQ(ui.Messages(),
                  Names{strInput + "\r\rThis conversion is not available in this version."});
        EXPECT_TRUE(dialog.m_listConverted.empty());
        EXPECT_EQ(ui.ProgressSteps(), std::vector<int>{0});
    }
    EXPECT_TRUE(FilesIn(strOut).empty());
}

TEST_F(BatchDriverTest, AFileThatCannotBeOpenedIsNotListedAndLeavesTheProgress) {
    const std::string strMissing = m_dir.Write("gone.trs", TarsisRecording(1));
    const std::string strEmpty = m_dir.Write("empty.trs", Bytes{});
    const std::string strGood = m_dir.Write("good.trs", TarsisRecording(1));
    m_dialog.AddFiles({strMissing, strEmpty, strGood});
    fs::remove(strMissing);
    m_dialog.ConvertSelectedFiles();
    EXPECT_EQ(m_dialog.m_listConverted, Names{"good.adv"});
    EXPECT_EQ(m_ui.Messages(),
              (Names{strMissing + "\rFile not found.", "Invalid file.\r\r" + strMissing,
                     strEmpty + "\rInvalid file type.", "Invalid file.\r\r" + strEmpty}));
    EXPECT_EQ(m_ui.ProgressSteps(), (std::vector<int>{0, 0, 0, 100}));
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"empty.trs", "good.adv", "good.trs"}));
}

TEST_F(BatchDriverTest, OnlySelectedFilesAreConvertedAndEachRunRefillsTheList) {
    m_dialog.AddFiles({m_dir.Write("a.trs", TarsisRecording(1)),
                       m_dir.Write("b.trs", TarsisRecording(1)),
                       m_dir.Write("c.trs", TarsisRecording(1))});
    m_dialog.m_listFiles[1].bSelected = false;
    m_dialog.ConvertSelectedFiles();
    EXPECT_EQ(m_dialog.m_listConverted, (Names{"a.adv", "c.adv"}));
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"a.adv", "a.trs", "b.trs", "c.adv", "c.trs"}));
    EXPECT_EQ(m_dialog.FileCount(), 3u);

    for (SFileEntry& entry : m_dialog.m_listFiles) {
        entry.bSelected = false;
    }
    m_dialog.ConvertSelectedFiles();
    EXPECT_TRUE(m_dialog.m_listConverted.empty());
}

TEST_F(BatchDriverTest, ChecksumControlDecidesWhetherABadUserRecordCounts) {
    const Bytes image = CRecordingBuilder()
                            .Add(HardwareConfig())
                            .Add(HeadConfig())
                            .Add(UserConfig().CorruptChecksum())
                            .Add(SystemSample())
                            .Add(VelocitySample())
                            .Image();
    for (const bool bChecksum : {false, true}) {
        CTempDir dir;
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = ConversionType::TrsToAdv;
        dialog.m_bChecksum = bChecksum;
        if (bChecksum) {
            ui.Answer(false);  // no repaired copy
        }
        dialog.AddFiles({dir.Write("run1.trs", image)});
        dialog.ConvertSelectedFiles();
        const Names questions = ui.Questions();
        if (bChecksum) {
            ASSERT_EQ(questions.size(), 1u);
            EXPECT_NE(questions[0].find("\rInvalid or missing user configuration."),
                      std::string::npos)
                << questions[0];
        } else {
            EXPECT_TRUE(questions.empty());
            EXPECT_TRUE(ui.Messages().empty());
            EXPECT_EQ(dialog.m_listConverted, Names{"run1.adv"});
            EXPECT_EQ(fs::file_size(dir.Path("run1.adv")), AdvSize(1));
        }
    }
}

TEST_F(BatchDriverTest, ATypeOutsideTheListConvertsNothing) {
    for (const int nType : {ConversionType::None, 3}) {
        CTempDir dir;
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.m_nConversionType = nType;
        dialog.AddFiles({dir.Write("run1.trs", TarsisRecording(1))});
        dialog.ConvertSelectedFiles();
        EXPECT_EQ(FilesIn(dir.Path()), Names{"run1.trs"}) << nType;
        EXPECT_TRUE(ui.Messages().empty() && ui.Questions().empty()) << nType;
    }
}

}  // namespace
}  // namespace sulvan
