// sulvan-convert as a process: its exit status, what it writes to standard output and error,
// and the files it leaves, on recordings that sulvan-synth writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CTempDir.hpp"
#include "ProcessRun.hpp"
#include "RecordBuilder.hpp"

namespace sulvan {
namespace {

using namespace test;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kRepairQuestion = "Burst headers missing in file.\n\nRepair file?\n";
const std::string kNoTerminal =
    "(answered No: there is no terminal to ask on; use -y or -n to answer)\n\n";

// What sulvan-synth is asked to write, and what that gives in the .adv layout.
struct SSynthRecording {
    int nSamples = 100;
    bool bCompass = false;
    int nBurstSamples = 0;  // 0: continuous sampling
    std::string strFirmware = "1.08";
    std::size_t nTruncateBytes = 0;  // less than one velocity sample (24 bytes with 3 beams)

    std::vector<std::string> Args() const {
        std::vector<std::string> args = {"--samples", std::to_string(nSamples), "--firmware",
                                         strFirmware};
        if (bCompass) {
            args.push_back("--compass");
        }
        if (nBurstSamples != 0) {
            args.insert(args.end(), {"--kind", "tarsis-burst", "--burst-samples",
                                     std::to_string(nBurstSamples)});
        }
        if (nTruncateBytes != 0) {
            args.insert(args.end(), {"--truncate", std::to_string(nTruncateBytes)});
        }
        return args;
    }

    // Every velocity sample follows the first system sample; a cut one is not converted.
    int ConvertedSamples() const { return nSamples - (nTruncateBytes != 0 ? 1 : 0); }
    int Bursts() const { return nBurstSamples == 0 ? 0 : nSamples / nBurstSamples; }
    // File header and instrument block, then each sample with attitude when there is a compass.
    std::uintmax_t AdvBytes(int nConverted) const {
        return 300 + 254 + (bCompass ? 28u : 20u) * static_cast<std::uintmax_t>(nConverted);
    }
};

Names FilesIn(const std::string& strFolder) {
    Names names;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ConvertCommandLineTest : public ::testing::Test {
  protected:
    SProcessResult Convert(const std::vector<std::string>& args) const {
        return RunProcess(SULVAN_CONVERT_PROGRAM, args, m_dir.Path());
    }

    // Writes a recording into the test's folder (a relative name) and returns its path.
    std::string Synth(const std::string& strName, const SSynthRecording& recording = {}) const {
        fs::create_directories(fs::path(m_dir.Path(strName)).parent_path());
        std::vector<std::string> args = recording.Args();
        args.push_back(m_dir.Path(strName));
        const SProcessResult result = RunProcess(SULVAN_SYNTH_PROGRAM, args, m_dir.Path());
        EXPECT_EQ(result.nStatus, 0) << result.strErr;
        return m_dir.Path(strName);
    }

    std::uintmax_t SizeOf(const std::string& strName) const {
        return fs::file_size(m_dir.Path(strName));
    }

    CTempDir m_dir;
};

bool Contains(const std::string& strText, const std::string& strPart) {
    return strText.find(strPart) != std::string::npos;
}

TEST_F(ConvertCommandLineTest, VersionAndHelpEndWithStatus0) {
    SProcessResult result = Convert({"--version"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "Sulvan File Converter v1.03\n");
    EXPECT_EQ(result.strErr, "");

    for (const char* pHelp : {"-h", "--help"}) {
        result = Convert({pHelp});
        EXPECT_EQ(result.nStatus, 0) << pHelp;
        EXPECT_EQ(result.strErr, "") << pHelp;
        for (const char* pName :
             {"FILE", "-t", "--type", "-d", "--dest", "--burst-files", "--no-checksum", "-y",
              "--yes", "-n", "--no", "-q", "--quiet", "--version", "mrv-adv", "trs-adv", "wpr"}) {
            EXPECT_TRUE(Contains(result.strOut, pName)) << pHelp << ": " << pName;
        }
    }
}

TEST_F(ConvertCommandLineTest, UsageErrorsEndWithStatus2AndWriteNothing) {
    for (const char* pName : {"run1.trs", "site.pld", "data.dat", "README"}) {
        Synth(pName);
    }
    const Names before = FilesIn(m_dir.Path());
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"-t", "adv", "run1.trs"},
        {"--type", "TRS-ADV", "run1.trs"},
        {"-y", "-n", "run1.trs"},
        {"--yes", "--no", "run1.trs"},
        {"--frobnicate", "run1.trs"},
        {"run1.trs", "-d"},
        {"data.dat"},
        {"README"},
        {"run1.trs", "site.pld"},
        {"-t", "trs-adv", "run1.trs", "site.pld"},
        {"-t", "wpr", "README", "run1.trs", "site.pld"},
    };
    for (const std::vector<std::string>& args : cases) {
        const std::string strArgs = ::testing::PrintToString(args);
        const SProcessResult result = Convert(args);
        EXPECT_EQ(result.nStatus, 2) << strArgs;
        EXPECT_EQ(result.strOut, "") << strArgs;
        EXPECT_NE(result.strErr, "") << strArgs;
        EXPECT_EQ(FilesIn(m_dir.Path()), before) << strArgs;
    }
}

TEST_F(ConvertCommandLineTest, AnUnknownExtensionAsksForATypeAndNamesTheChoices) {
    Synth("data.dat");
    Synth("run1.trs");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"data.dat"}, {"run1.trs", "data.dat"}}) {
        const SProcessResult result = Convert(args);
        EXPECT_EQ(result.nStatus, 2);
        for (const char* pChoice : {"--type", "mrv-adv", "trs-adv", "wpr"}) {
            EXPECT_TRUE(Contains(result.strErr, pChoice)) << result.strErr;
        }
    }
}

TEST_F(ConvertCommandLineTest, DifferentExtensionsAreAUsageErrorThatSaysSo) {
    Synth("run1.trs");
    Synth("site.pld");
    const SProcessResult result = Convert({"-t", "trs-adv", "site.pld", "run1.trs"});
    EXPECT_EQ(result.nStatus, 2);
    EXPECT_TRUE(Contains(result.strErr, "different extensions (.pld, .trs)")) << result.strErr;
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"run1.trs", "site.pld"}));
}

TEST_F(ConvertCommandLineTest, TheTypeComesFromTheOptionOrTheSharedExtension) {
    struct SCase {
        std::vector<std::string> args;
        int nStatus;
        const char* pOut;
        const char* pMessage;  // a part of standard error; null: nothing there
    };
    const char* kNotAvailable = "\n\nThis conversion is not available in this version.\n\n";
    const SCase cases[] = {
        {{"run1.trs"}, 0, "run1.adv\n", nullptr},
        {{"RUN2.TRS"}, 0, "RUN2.adv\n", nullptr},
        {{"run1.trs", "RUN2.TRS"}, 0, "run1.adv\nRUN2.adv\n", nullptr},
        {{"-t", "trs-adv", "run1.trs"}, 0, "run1.adv\n", nullptr},
        {{"--type", "trs-adv", "run1.trs"}, 0, "run1.adv\n", nullptr},
        {{"probes.mrv"}, 1, "", kNotAvailable},
        {{"-t", "mrv-adv", "run1.trs"}, 1, "", kNotAvailable},
        {{"site.pld"}, 1, "", kNotAvailable},
        {{"--type", "wpr", "run1.trs"}, 1, "", kNotAvailable},
        {{"-t", "wpr", "profile.wpr"},
         1,
         "",
         "profile.wpr\n\nThe output would replace the input file.\nThe file was not converted.\n"},
    };
    for (const SCase& c : cases) {
        const std::string strArgs = ::testing::PrintToString(c.args);
        for (const char* pName :
             {"run1.trs", "RUN2.TRS", "probes.mrv", "site.pld", "profile.wpr"}) {
            Synth(pName);
        }
        const std::uintmax_t nProfileSize = SizeOf("profile.wpr");
        const SProcessResult result = Convert(c.args);
        EXPECT_EQ(result.nStatus, c.nStatus) << strArgs << result.strErr;
        EXPECT_EQ(result.strOut, c.pOut) << strArgs;
        if (c.pMessage == nullptr) {
            EXPECT_EQ(result.strErr, "") << strArgs;
        } else {
            EXPECT_TRUE(Contains(result.strErr, c.pMessage)) << strArgs << ": " << result.strErr;
        }
        EXPECT_EQ(SizeOf("profile.wpr"), nProfileSize) << strArgs;
        for (const std::string& strName : FilesIn(m_dir.Path())) {
            fs::remove(m_dir.Path(strName));
        }
    }
}

TEST_F(ConvertCommandLineTest, OutputsGoToTheDestinationOrTheFirstFilesFolder) {
    Synth("a/x.trs", {.nSamples = 3});
    Synth("b/y.trs", {.nSamples = 4});
    fs::create_directory(m_dir.Path("out"));

    // The folder of the first file named, as the path stands once made full.
    SProcessResult result = Convert({"./a/../b/y.trs", "a/x.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "y.adv\nx.adv\n");
    EXPECT_EQ(FilesIn(m_dir.Path("a")), Names{"x.trs"});
    EXPECT_EQ(FilesIn(m_dir.Path("b")), (Names{"x.adv", "y.adv", "y.trs"}));
    EXPECT_EQ(SizeOf("b/x.adv"), SSynthRecording{}.AdvBytes(3));
    EXPECT_EQ(SizeOf("b/y.adv"), SSynthRecording{}.AdvBytes(4));

    for (const std::string& strDest : {std::string("out"), m_dir.Path("out") + "/"}) {
        for (const char* pOption : {"-d", "--dest"}) {
            fs::remove_all(m_dir.Path("out"));
            fs::create_directory(m_dir.Path("out"));
            result = Convert({pOption, strDest, "a/x.trs", "b/y.trs"});
            EXPECT_EQ(result.nStatus, 0) << strDest << result.strErr;
            EXPECT_EQ(result.strOut, "x.adv\ny.adv\n") << strDest;
            EXPECT_EQ(FilesIn(m_dir.Path("out")), (Names{"x.adv", "y.adv"})) << strDest;
        }
    }
}

TEST_F(ConvertCommandLineTest, ADestinationThatCannotBeWrittenFailsTheFile) {
    Synth("run1.trs");
    const SProcessResult result = Convert({"-d", "no/such/folder", "run1.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "");
    EXPECT_TRUE(Contains(result.strErr, m_dir.Path("no/such/folder/run1.adv"))) << result.strErr;
    EXPECT_EQ(FilesIn(m_dir.Path()), Names{"run1.trs"});
}

TEST_F(ConvertCommandLineTest, QuestionsAreAnsweredByOptionOrNoWithoutATerminal) {
    struct SCase {
        std::vector<std::string> args;
        const char* pOut;
        std::string strErr;
        Names files;
    };
    const Names kRepaired = {"old.trs", "old_new.trs"};
    const Names kUntouched = {"old.trs"};
    const SCase cases[] = {
        {{"-y"}, "old_new.trs\n", kRepairQuestion + "(answered Yes)\n\n", kRepaired},
        {{"--yes"}, "old_new.trs\n", kRepairQuestion + "(answered Yes)\n\n", kRepaired},
        {{"-n"}, "old.adv\n", kRepairQuestion + "(answered No)\n\n", kUntouched},
        {{"--no"}, "old.adv\n", kRepairQuestion + "(answered No)\n\n", kUntouched},
        {{}, "old.adv\n", kRepairQuestion + kNoTerminal, kUntouched},
        {{"-q"}, "old.adv\n", "", kUntouched},
        {{"--quiet", "-y"}, "old_new.trs\n", "", kRepaired},
    };
    for (const SCase& c : cases) {
        const std::string strArgs = ::testing::PrintToString(c.args);
        for (const std::string& strName : FilesIn(m_dir.Path())) {
            fs::remove(m_dir.Path(strName));
        }
        Synth("old.trs", {.nSamples = 10, .strFirmware = "1.07"});
        std::vector<std::string> args = c.args;
        args.push_back("old.trs");
        const SProcessResult result = Convert(args);
        EXPECT_EQ(result.nStatus, 0) << strArgs;
        EXPECT_EQ(result.strOut, c.pOut) << strArgs;
        EXPECT_EQ(result.strErr, c.strErr) << strArgs;
        EXPECT_EQ(FilesIn(m_dir.Path()), c.files) << strArgs;
    }
}

TEST_F(ConvertCommandLineTest, AnExistingOutputIsReplacedOnlyWhenAnsweredYes) {
    Synth("run1.trs", {.nSamples = 6});
    const Bytes kept = {1, 2, 3};
    const std::string strOutput = m_dir.Write("run1.adv", kept);
    const std::string strQuestion = strOutput + " already exists.\nDo you want to replace it?\n";
    SProcessResult result = Convert({"run1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(result.strErr, strQuestion + kNoTerminal);
    result = Convert({"-n", "run1.trs"});
    EXPECT_EQ(result.strErr, strQuestion + "(answered No)\n\n");
    EXPECT_EQ(ReadFileBytes(strOutput), kept);

    result = Convert({"-y", "run1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(SizeOf("run1.adv"), SSynthRecording{}.AdvBytes(6));
}

TEST_F(ConvertCommandLineTest, NoChecksumTakesAUserRecordWithAWrongChecksum) {
    const Bytes image = CRecordingBuilder()
                            .Add(HardwareConfig())
                            .Add(HeadConfig())
                            .Add(UserConfig().CorruptChecksum())
                            .Add(SystemSample())
                            .Add(VelocitySample())
                            .Image();
    m_dir.Write("run1.trs", image);
    SProcessResult result = Convert({"--no-checksum", "run1.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(result.strErr, "");
    EXPECT_EQ(SizeOf("run1.adv"), SSynthRecording{}.AdvBytes(1));

    result = Convert({"-n", "run1.trs"});
    EXPECT_TRUE(Contains(result.strErr, "run1.trs\nInvalid or missing user configuration.\n"))
        << result.strErr;
    EXPECT_TRUE(Contains(result.strErr, "Press OK to create a repaired copy.\n")) << result.strErr;
}

TEST_F(ConvertCommandLineTest, AMissingFileFailsAndTheOthersAreStillConverted) {
    Synth("good.trs");
    SProcessResult result = Convert({"nothere.trs", "good.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "good.adv\n");
    EXPECT_EQ(result.strErr, "sulvan-convert: nothere.trs: no such file\n");
    EXPECT_EQ(FilesIn(m_dir.Path()), (Names{"good.adv", "good.trs"}));

    // Quiet hides messages, not errors.
    result = Convert({"-q", "-y", "good.trs", "nothere.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "good.adv\n");
    EXPECT_EQ(result.strErr, "sulvan-convert: nothere.trs: no such file\n");
}

TEST_F(ConvertCommandLineTest, ADuplicateNameIsSkippedWithAWarning) {
    Synth("a/run1.trs", {.nSamples = 2});
    Synth("b/RUN1.trs", {.nSamples = 3});
    SProcessResult result = Convert({"a/run1.trs", "b/../b/RUN1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strOut, "run1.adv\n");
    EXPECT_EQ(result.strErr, "sulvan-convert: skipping " + m_dir.Path("b/RUN1.trs") +
                                 ": a file of that name is listed already\n");
    EXPECT_EQ(SizeOf("a/run1.adv"), SSynthRecording{}.AdvBytes(2));
    EXPECT_EQ(FilesIn(m_dir.Path("b")), Names{"RUN1.trs"});

    result = Convert({"-q", "-y", "a/run1.trs", "b/RUN1.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strErr, "");
}

TEST_F(ConvertCommandLineTest, StandardOutputListsExactlyTheConvertedFiles) {
    Synth("first.trs");
    m_dir.Write("empty.trs", Bytes{});
    Synth("last.trs");
    const std::string strEmpty = m_dir.Path("empty.trs");
    SProcessResult result = Convert({"first.trs", "empty.trs", "last.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "first.adv\nlast.adv\n");
    // The library's "\r" line breaks arrive as new lines.
    EXPECT_EQ(result.strErr, strEmpty + "\nInvalid file type.\n\n" + "Invalid file.\n\n" +
                                 strEmpty + "\n\n" + "sulvan-convert: " + strEmpty +
                                 ": not converted\n");

    // Quiet hides the messages but still names the file that was not converted.
    result = Convert({"-q", "empty.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "");
    EXPECT_EQ(result.strErr, "sulvan-convert: " + strEmpty + ": not converted\n");
}

TEST_F(ConvertCommandLineTest, ConvertsSynthesisedRecordingsToTheirComputedSize) {
    struct SCase {
        const char* pWhat;
        SSynthRecording recording;
        bool bBurstFiles;
    };
    const SCase cases[] = {
        {"continuous", {.nSamples = 200}, false},
        {"compass", {.nSamples = 150, .bCompass = true}, false},
        {"bursts in one file", {.nSamples = 96, .nBurstSamples = 32}, false},
        {"burst files", {.nSamples = 96, .nBurstSamples = 32}, true},
        {"burst files with compass", {.nSamples = 60, .bCompass = true, .nBurstSamples = 20}, true},
        {"truncated", {.nSamples = 100, .nTruncateBytes = 7}, false},
    };
    for (const SCase& c : cases) {
        Synth("rec.trs", c.recording);
        std::vector<std::string> args = {"rec.trs"};
        if (c.bBurstFiles) {
            args.insert(args.begin(), "--burst-files");
        }
        const SProcessResult result = Convert(args);
        EXPECT_EQ(result.nStatus, 0) << c.pWhat << ": " << result.strErr;
        Names expectedFiles = {"rec.trs"};
        if (c.bBurstFiles) {
            const int nBursts = c.recording.Bursts();
            EXPECT_EQ(result.strOut, "rec_" + std::to_string(nBursts) + ".adv\n") << c.pWhat;
            for (int n = 1; n <= nBursts; ++n) {
                const std::string strName = "rec_" + std::to_string(n) + ".adv";
                expectedFiles.push_back(strName);
                EXPECT_EQ(SizeOf(strName), c.recording.AdvBytes(c.recording.nBurstSamples))
                    << c.pWhat << ": " << strName;
            }
        } else {
            EXPECT_EQ(result.strOut, "rec.adv\n") << c.pWhat;
            expectedFiles.push_back("rec.adv");
            EXPECT_EQ(SizeOf("rec.adv"), c.recording.AdvBytes(c.recording.ConvertedSamples()))
                << c.pWhat;
        }
        std::sort(expectedFiles.begin(), expectedFiles.end());
        EXPECT_EQ(FilesIn(m_dir.Path()), expectedFiles) << c.pWhat;
        for (const std::string& strName : expectedFiles) {
            fs::remove(m_dir.Path(strName));
        }
    }
}

TEST_F(ConvertCommandLineTest, AnOldFirmwareRecordingIsRepairedAndTheCopyConverts) {
    const SSynthRecording old = {.nSamples = 96, .nBurstSamples = 32, .strFirmware = "1.07"};
    Synth("old.trs", old);
    SProcessResult result = Convert({"-y", "old.trs"});
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "old_new.trs\n");
    // A 42-byte velocity sample header is built in front of every burst; the system sample
    // ahead of the first velocity sample is not copied.
    EXPECT_EQ(SizeOf("old_new.trs"), SizeOf("old.trs") + 42u * old.Bursts() - 28u);

    // The copy reads firmware 1.08: it converts without the question.
    result = Convert({"old_new.trs"});
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_EQ(result.strErr, "");
    EXPECT_EQ(result.strOut, "old_new.adv\n");
}

}  // namespace
}  // namespace sulvan
