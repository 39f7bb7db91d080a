// sulvan-convert as a process: what the command line adds to the batch driver (its options and
// their errors, exit statuses, the split of standard output and error, the question policy), on
// recordings that sulvan-synth writes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "CTempDir.hpp"
#include "ProcessRun.hpp"
#include "RecordBuilder.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using Names = std::vector<std::string>;
using Args = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kRepairQuestion = "Burst headers missing in file.\n\nRepair file?\n";
const std::string kNotCorvane = "Invalid file or conversion.\n\n";

// The .adv of a recording without compass: file header, instrument block, 20 bytes a sample.
std::uintmax_t AdvSize(int nSamples) {
    return 300 + 254 + 20 * static_cast<std::uintmax_t>(nSamples);
}

Names FilesIn(const std::string& strFolder) {
    Names names;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Contains(const std::string& strText, const std::string& strPart) {
    return strText.find(strPart) != std::string::npos;
}

class ConvertCommandLineTest : public ::testing::Test {
  protected:
    SProcessResult Convert(const Args& args) const {
        return RunProcess(SULVAN_CONVERT_PROGRAM, args, m_dir.Path());
    }

    // Writes a recording into the test's folder (a relative name).
    void Synth(const std::string& strName, Args args = {"--samples", "10"}) const {
        fs::create_directories(fs::path(m_dir.Path(strName)).parent_path());
        args.push_back(m_dir.Path(strName));
        const SProcessResult result = RunProcess(SULVAN_SYNTH_PROGRAM, args, m_dir.Path());
        ASSERT_EQ(result.nStatus, 0) << result.strErr;
    }

    // As a user without privileges, who cannot read what a mode forbids (root reads anything).
    // That user runs a copy in the test's folder: the build tree may be closed to it.
    SProcessResult ConvertUnprivileged(const Args& args) const {
        if (::geteuid() != 0) {
            return Convert(args);
        }
        fs::permissions(m_dir.Path(), fs::perms::all);
        const std::string strProgram = m_dir.Path("sulvan-convert");
        fs::copy_file(SULVAN_CONVERT_PROGRAM, strProgram);
        Args command = {"--reuid=65534", "--regid=65534", "--clear-groups", strProgram};
        command.insert(command.end(), args.begin(), args.end());
        return RunProcess("/usr/bin/setpriv", command, m_dir.Path());
    }

    CTempDir m_dir;
};

TEST_F(ConvertCommandLineTest, VersionAndHelpEndWithStatus0) {
    SProcessResult result = Convert({"--version"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "Sulvan File Converter v1.03\n");
    EXPECT_EQ(result.strErr, "");
    for (const char* pHelp : {"-h", "--help"}) {
        SCOPED_TRACE(pHelp);
        result = Convert({pHelp});
        EXPECT_EQ(result.nStatus, 0);
        EXPECT_TRUE(Contains(result.strOut, "Usage: sulvan-convert [OPTIONS] FILE...\n"));
        EXPECT_EQ(result.strErr, "");
    }
}

TEST_F(ConvertCommandLineTest, UsageErrorsEndWithStatus2AndWriteNothing) {
    for (const char* pName : {"run1.trs", "site.pld", "data.dat", "README"}) {
        Synth(pName);
    }
    const Names before = FilesIn(m_dir.Path());
    const std::string strNoType =
        "sulvan-convert: cannot tell the conversion type from the files' extensions; choose one "
        "with --type: mrv-adv, trs-adv or wpr\n";
    const std::string strMixed =
        "sulvan-convert: the files have different extensions (.pld, .trs); convert each kind in a "
        "run of its own\n";
    struct SCase {
        Args args;
        std::string strErr;  // empty: any message of the option parser
    };
    const SCase cases[] = {
        {{}, ""},
        {{"-t", "adv", "run1.trs"}, ""},
        {{"-y", "--no", "run1.trs"}, ""},
        {{"--frobnicate", "run1.trs"}, ""},
        {{"run1.trs", "-d"}, ""},
        {{"data.dat"}, strNoType},
        {{"run1.trs", "site.pld"}, strNoType},
        {{"-t", "trs-adv", "site.pld", "run1.trs"}, strMixed},
        {{"-t", "wpr", "README", "run1.trs", "site.pld"}, strMixed},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const SProcessResult result = Convert(c.args);
        EXPECT_EQ(result.nStatus, 2);
        EXPECT_EQ(result.strOut, "");
        EXPECT_NE(result.strErr, "");
        if (!c.strErr.empty()) {
            EXPECT_EQ(result.strErr, c.strErr);
        }
        EXPECT_EQ(FilesIn(m_dir.Path()), before);
    }
}

TEST_F(ConvertCommandLineTest, TheTypeComesFromTheOptionOrTheSharedExtension) {
    for (const char* pName : {"run1.trs", "RUN2.TRS", "probes.mrv", "site.pld"}) {
        Synth(pName);
    }
    struct SCase {
        Args args;
        const char* pOut;  // empty: the file is no Corvane recording and the status is 1
    };
    const SCase cases[] = {
        {{"run1.trs", "RUN2.TRS"}, "run1.adv\nRUN2.adv\n"},
        // The reader names the instrument that does not match the extension, and converts.
        {{"-t", "trs-adv", "site.pld"}, "site.adv\n"},
        {{"probes.mrv"}, ""},
        {{"site.pld"}, "site.wpr\n"},
        {{"-t", "mrv-adv", "run1.trs"}, ""},
        {{"--type", "wpr", "run1.trs"}, "run1.wpr\n"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const SProcessResult result = Convert(c.args);
        EXPECT_EQ(result.strOut, c.pOut);
        EXPECT_EQ(result.nStatus, *c.pOut != '\0' ? 0 : 1);
        EXPECT_EQ(Contains(result.strErr, kNotCorvane), *c.pOut == '\0');
    }
}

TEST_F(ConvertCommandLineTest, OutputsGoToTheDestinationOrTheFirstFilesFolder) {
    Synth("a/x.trs");
    Synth("b/y.trs");
    // The folder of the first file named, as the path stands once made full.
    SProcessResult result = Convert({"./a/../b/y.trs", "a/x.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "y.adv\nx.adv\n");
    EXPECT_EQ(FilesIn(m_dir.Path("b")), (Names{"x.adv", "y.adv", "y.trs"}));

    for (const char* pOption : {"-d", "--dest"}) {
        SCOPED_TRACE(pOption);
        fs::remove_all(m_dir.Path("out"));
        fs::create_directory(m_dir.Path("out"));
        result = Convert({pOption, "out", "a/x.trs", "b/y.trs"});
        EXPECT_EQ(result.nStatus, 0) << result.strErr;
        EXPECT_EQ(result.strOut, "x.adv\ny.adv\n");
        EXPECT_EQ(FilesIn(m_dir.Path("out")), (Names{"x.adv", "y.adv"}));
    }
}

TEST_F(ConvertCommandLineTest, QuestionsAreAnsweredByOptionOrNoWithoutATerminal) {
    struct SCase {
        Args args;
        bool bYes;
        std::string strErr;
    };
    const std::string strYes = kRepairQuestion + "(answered Yes)\n\n";
    const std::string strNo = kRepairQuestion + "(answered No)\n\n";
    const SCase cases[] = {
        {{"-y"}, true, strYes},
        {{"--yes"}, true, strYes},
        {{"-n"}, false, strNo},
        {{"--no"}, false, strNo},
        {{},
         false,
         kRepairQuestion +
             "(answered No: there is no terminal to ask on; use -y or -n to answer)\n\n"},
        {{"-q"}, false, ""},
        {{"--quiet", "-y"}, true, ""},
    };
    Synth("old.trs", {"--samples", "10", "--firmware", "1.07"});
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove(m_dir.Path("old_new.trs"));
        Args args = c.args;
        args.push_back("old.trs");
        const SProcessResult result = Convert(args);
        EXPECT_EQ(result.nStatus, 0);
        EXPECT_EQ(result.strOut, c.bYes ? "old_new.trs\n" : "old.adv\n");
        EXPECT_EQ(result.strErr, c.strErr);
        EXPECT_EQ(FilesIn(m_dir.Path()),
                  c.bYes ? (Names{"old.trs", "old_new.trs"}) : Names{"old.trs"});
    }
}

TEST_F(ConvertCommandLineTest, NoChecksumTakesAUserRecordWithAWrongChecksum) {
    m_dir.Write("run1.trs", CRecordingBuilder()
                                .Add(HardwareConfig())
                                .Add(HeadConfig())
                                .Add(UserConfig().CorruptChecksum())
                                .Add(SystemSample())
                                .Add(VelocitySample())
                                .Image());
    SProcessResult result = Convert({"--no-checksum", "run1.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(result.strErr, "");
    EXPECT_EQ(fs::file_size(m_dir.Path("run1.adv")), AdvSize(1));

    result = Convert({"-n", "run1.trs"});
    EXPECT_TRUE(Contains(result.strErr, "run1.trs\nInvalid or missing user configuration.\n"))
        << result.strErr;
}

TEST_F(ConvertCommandLineTest, ADuplicateNameIsSkippedWithAWarning) {
    Synth("a/run1.trs");
    Synth("b/RUN1.trs");
    SProcessResult result = Convert({"a/run1.trs", "b/../b/RUN1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(result.strErr, "sulvan-convert: skipping " + m_dir.Path("b/RUN1.trs") +
                                 ": a file of that name is listed already\n");
    EXPECT_EQ(FilesIn(m_dir.Path("a")), (Names{"run1.adv", "run1.trs"}));
    EXPECT_EQ(FilesIn(m_dir.Path("b")), Names{"RUN1.trs"});

    result = Convert({"-q", "-y", "a/run1.trs", "b/RUN1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strErr, "");
}

TEST_F(ConvertCommandLineTest, StandardOutputListsExactlyTheConvertedFilesAndStatus1TheRest) {
    Synth("first.trs");
    m_dir.Write("empty.trs", Bytes{});
    Synth("last.trs");
    const std::string strEmpty = m_dir.Path("empty.trs");
    const std::string strErrors = "sulvan-convert: nothere.trs: no such file\n";
    const std::string strNotConverted = "sulvan-convert: " + strEmpty + ": not converted\n";
    SProcessResult result = Convert({"first.trs", "empty.trs", "nothere.trs", "last.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "first.adv\nlast.adv\n");
    // The library's "\r" line breaks arrive as new lines.
    EXPECT_EQ(result.strErr, strErrors + strEmpty + "\nInvalid file type.\n\nInvalid file.\n\n" +
                                 strEmpty + "\n\n" + strNotConverted);
    EXPECT_EQ(FilesIn(m_dir.Path()),
              (Names{"empty.trs", "first.adv", "first.trs", "last.adv", "last.trs"}));

    // Quiet hides the messages, not the errors.
    result = Convert({"-q", "-y", "empty.trs", "nothere.trs", "last.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "last.adv\n");
    EXPECT_EQ(result.strErr, strErrors + strNotConverted);
}

TEST_F(ConvertCommandLineTest, ASynthesisedBurstRecordingConvertsToItsComputedSize) {
    Synth("rec.trs", {"--kind", "tarsis-burst", "--burst-samples", "32", "--samples", "96"});
    SProcessResult result = Convert({"rec.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "rec.adv\n");
    EXPECT_EQ(fs::file_size(m_dir.Path("rec.adv")), AdvSize(96));

    fs::remove(m_dir.Path("rec.adv"));
    result = Convert({"--burst-files", "rec.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"rec.trs", "rec_1.adv", "rec_2.adv", "rec_3.adv"}));
}

TEST_F(ConvertCommandLineTest, ARepairedCopyConvertsEverySampleAndOpensWithoutQuestions) {
    // Opening reads a 200 kHz head as 190: the copy must carry the checksum of what it holds.
    SHeadOptions head;
    head.nFrequencyKhz = 200;
    SUserOptions user;
    user.nBurstSamples = 4;
    CRecordingBuilder input;
    input.Add(StandardConfiguration("TRS 1001", "1.07", head, user));
    for (int n = 0; n < 10; ++n) {
        if (n % 3 == 0) {
            input.Add(SystemSample());
        }
        input.Add(VelocitySample());
    }
    m_dir.Write("run1.trs", input.Image());
    SProcessResult result = Convert({"-y", "run1.trs"});
    ASSERT_EQ(result.strOut, "run1_new.trs\n") << result.strErr;

    result = Convert({"run1_new.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "run1_new.adv\n");
    EXPECT_EQ(result.strErr, "");
    EXPECT_EQ(fs::file_size(m_dir.Path("run1_new.adv")), AdvSize(10));

    result = Convert({"--burst-files", "run1_new.trs"});
    EXPECT_EQ(result.strErr, "");
    for (const auto& [pName, nSamples] :
         {std::pair{"run1_new_1.adv", 4}, {"run1_new_2.adv", 4}, {"run1_new_3.adv", 2}}) {
        EXPECT_EQ(fs::file_size(m_dir.Path(pName)), AdvSize(nSamples)) << pName;
    }
}

TEST_F(ConvertCommandLineTest, AFileThatCannotBeReadIsReportedWithTheReason) {
    Synth("locked.trs");
    Synth("good.trs");
    fs::create_directory(m_dir.Path("folder.trs"));
    fs::permissions(m_dir.Path("locked.trs"), fs::perms::none);
    const SProcessResult result = ConvertUnprivileged({"locked.trs", "folder.trs", "good.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "good.adv\n");
    EXPECT_TRUE(Contains(result.strErr, m_dir.Path("locked.trs") + "\nPermission denied\n"))
        << result.strErr;
    EXPECT_TRUE(Contains(result.strErr, m_dir.Path("folder.trs") + "\nIs a directory\n"))
        << result.strErr;
    EXPECT_FALSE(Contains(result.strErr, "File not found"));
}

TEST_F(ConvertCommandLineTest, BurstFilesAreReplacedOnlyWhenTheQuestionAboutTheFirstSaysYes) {
    Synth("rec.trs", {"--kind", "tarsis-burst", "--burst-samples", "32", "--samples", "64"});
    const Bytes kept = {1, 2, 3};
    m_dir.Write("rec_1.adv", kept);
    SProcessResult result = Convert({"-n", "--burst-files", "rec.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_TRUE(Contains(result.strErr, m_dir.Path("rec_1.adv") + " already exists.\n"));
    EXPECT_EQ(ReadFileBytes(m_dir.Path("rec_1.adv")), kept);
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"rec.trs", "rec_1.adv"}));

    result = Convert({"-y", "--burst-files", "rec.trs"});
    EXPECT_EQ(result.strOut, "rec_2.adv\n");
    EXPECT_EQ(fs::file_size(m_dir.Path("rec_1.adv")), AdvSize(32));
}

// A .wpr holds the configuration block, then per burst a profile and a burst header (130 + 60
// bytes) and a 24-byte wave sample per velocity or wave sample.
TEST_F(ConvertCommandLineTest, WaveConversionOfTarsisAndPeloraRecordings) {
    Synth("rec.trs", {"--kind", "tarsis-burst", "--burst-samples", "32", "--samples", "64"});
    Synth("site.pld", {"--kind", "pelora", "--samples", "2050"});
    for (const auto& [pName, nSize] : {std::pair{"rec.trs", 784u + 2 * (130 + 60) + 64 * 24},
                                       {"site.pld", 784u + 2 * (130 + 60) + 2048 * 24}}) {
        const SProcessResult result = Convert({"-t", "wpr", pName});
        EXPECT_EQ(result.nStatus, 0);
        EXPECT_EQ(result.strOut, fs::path(pName).replace_extension(".wpr").string() + "\n");
        EXPECT_EQ(result.strErr, "");
        EXPECT_EQ(fs::file_size(m_dir.Path(fs::path(pName).replace_extension(".wpr"))), nSize);
    }
}

TEST_F(ConvertCommandLineTest, CorvaneConversionShowsItsSummary) {
    Synth("probes.mrv", {"--kind", "corvane", "--probes", "2", "--samples", "50"});
    SProcessResult result = Convert({"probes.mrv"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "probes.adv\n");
    EXPECT_EQ(result.strErr, "Total samples:\t100\n\n\n\n");
    EXPECT_EQ(fs::file_size(m_dir.Path("probes.adv")), 300u + 2 * 254 + 50 * (2 * 18 + 2));

    // A recording without a velocity record converts to nothing: not listed, status 1.
    Synth("empty.mrv",
          {"--kind", "corvane", "--probes", "2", "--samples", "1", "--skip-records-every", "1",
           "--missing-probe", "1", "--missing-every", "1"});
    result = Convert({"-q", "empty.mrv"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "");
}

TEST_F(ConvertCommandLineTest, APeloraDumpIsRepairedOnYesAndConvertedAsItIsOnNo) {
    SPeloraSample sample;
    sample.velocities = {1, 2, 3};
    sample.amplitudes = {4, 5, 6};
    const CRecordBuilder record = PeloraRecord(RecordId::SinglePointVelocity, sample);
    SHeadOptions head;
    head.strSerial = "PLD 2001";
    // The configuration comes after the first records, as in a recorder's memory.
    m_dir.Write("dump.pld", CRecordingBuilder()
                                .Add(record)
                                .Add(record)
                                .Add(StandardConfiguration("PLD 1001", "3.30", head))
                                .Add(record)
                                .Image());
    SProcessResult result = Convert({"-t", "wpr", "-y", "dump.pld"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "dump.wpr\n");
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"dump.pld", "dump.wpr", "dump_rep.pld"}));
    // The copy starts with the block and holds the whole dump: the configuration met again in
    // it is passed over, the three records are converted.
    const std::uintmax_t nThreeRecords = 784 + 3 * (130 + 60);
    EXPECT_EQ(fs::file_size(m_dir.Path("dump.wpr")), nThreeRecords);

    fs::remove(m_dir.Path("dump_rep.pld"));
    result = Convert({"-t", "wpr", "-n", "dump.pld"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"dump.pld", "dump.wpr"}));
    EXPECT_EQ(fs::file_size(m_dir.Path("dump.wpr")), nThreeRecords);
}

}  // namespace
}  // namespace sulvan
