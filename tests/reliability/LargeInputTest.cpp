// A recording larger than 4 GiB: a sparse file with islands of records at every gibibyte, one
// record straddling the 4 GiB mark. Every record comes out, and the progress told at each record
// is its share of the file. The file takes no space, but each conversion reads 4 GiB of zeros:
// from memory (/dev/shm, where there is one) a third of a second, from a disk some seconds.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "app/ConversionTable.hpp"
#include "config/CInsConf.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr int kSamplesPerIsland = 50;

// Islands at 0 (after the configuration block), 1, 2 and 3 GiB, and one starting 10 bytes
// before 4 GiB: each a system sample and its velocity samples. Returns the records' offsets.
std::vector<std::uint64_t> WriteSparseRecording(const std::string& strPath) {
    CBinaryFile file;
    file.Open(strPath, CBinaryFile::EOpenMode::Create);
    file.Write(StandardConfiguration().data(), CInsConf::kBlockSize);
    const Bytes system = SystemSample().Build();
    const Bytes velocity = VelocitySample().Build();
    std::vector<std::uint64_t> records;
    for (const std::uint64_t nIsland :
         {std::uint64_t{CInsConf::kBlockSize}, kGiB, 2 * kGiB, 3 * kGiB, 4 * kGiB - 10}) {
        file.Seek(static_cast<std::int64_t>(nIsland), CBinaryFile::ESeekOrigin::Begin);
        records.push_back(nIsland);
        file.Write(system.data(), system.size());
        for (int i = 0; i < kSamplesPerIsland; ++i) {
            records.push_back(file.GetPosition());
            file.Write(velocity.data(), velocity.size());
        }
    }
    file.Close();
    return records;
}

TEST(LargeInput, ARecordingBeyondFourGibibytesConvertsWithEveryRecordAndItsProgress) {
    const CTempDir dir = CTempDir::InMemory();
    const std::string strInput = dir.Path("large.trs");
    const std::vector<std::uint64_t> records = WriteSparseRecording(strInput);
    const std::uint64_t nLength = std::filesystem::file_size(strInput);
    ASSERT_GT(nLength, 4 * kGiB);
    const std::uint64_t nRecordBytes =
        (records.size() - kSamplesPerIsland * 5) * 28 + kSamplesPerIsland * 5 * std::uint64_t{24};

    CScriptedUserInterface ui;
    CSulvanFileDlg dialog(ui);
    dialog.AddFiles({strInput});
    const auto start = std::chrono::steady_clock::now();
    for (const EConversion conversion : {EConversion::TrsToAdv, EConversion::ToWpr}) {
        dialog.m_nConversionType = PositionOf(conversion);
        dialog.ConvertSelectedFiles();
        ASSERT_EQ(dialog.m_outcomes.size(), 1u);
        const SFileOutcome& outcome = dialog.m_outcomes[0];
        ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.at(0).strReason;
        // .adv: a sample record per velocity sample; .wpr: a wave sample each (the system
        // samples only feed burst headers).
        EXPECT_EQ(outcome.DataRecords(), 5 * kSamplesPerIsland);
        // The zeros between the islands are all the walk slides over.
        EXPECT_EQ(outcome.damage.nSkippedBytes, nLength - CInsConf::kBlockSize - nRecordBytes);
        EXPECT_EQ(outcome.damage.nSkippedSpans, 4u);
    }
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(dSeconds));
    std::cout << "two conversions of " << nLength << " bytes took " << dSeconds << " s\n";
    // The wave conversion tells each record's share of the file as it reaches it.
    std::vector<int> expected = {0};
    for (const std::uint64_t nOffset : records) {
        const auto nPercent = static_cast<int>(nOffset * 100 / nLength);
        if (nPercent != expected.back()) {
            expected.push_back(nPercent);
        }
    }
    expected.push_back(100);
    std::vector<int> steps = ui.ProgressSteps();
    steps.erase(steps.begin(), std::find(steps.rbegin(), steps.rend(), 0).base() - 1);
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    EXPECT_EQ(steps, expected);
}

}  // namespace
}  // namespace sulvan
