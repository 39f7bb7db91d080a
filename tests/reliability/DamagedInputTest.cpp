// Damaged recordings through every conversion and repair: garbage between records, bytes
// flipped inside records, a cut anywhere. Every record the damage left intact must come out
// exactly as it comes out of the same recording holding only those records, and the outcome's
// damage report must count the bytes passed over. Seeded; SULVAN_PROPERTY_CASES sets the cases
// per conversion (200 by default).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "CPseudoRandom.hpp"
#include "CTempDir.hpp"
#include "ConversionRuns.hpp"
#include "Golden.hpp"
#include "NcContent.hpp"
#include "convert/CCorvaneFile.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

using namespace test;
using records::Bytes;
namespace fs = std::filesystem;

constexpr std::size_t kChunkHeaderSize = 12;
// Late time stamps a Corvane conversion passes over per probe before it takes them for the end.
constexpr std::size_t kLateStampsPerProbe = 2;

std::size_t CasesPerConversion() {
    const char* pCases = std::getenv("SULVAN_PROPERTY_CASES");
    return pCases != nullptr ? std::strtoull(pCases, nullptr, 10) : 200;
}

struct SSpan {
    std::size_t nStart = 0;
    std::size_t nEnd = 0;
};

// What a conversion needs to know of a clean recording to damage it soundly.
struct SCleanRecording {
    SSyntheticRecording synthetic;
    std::vector<SSpan> records;  // tiling the data area
    SRecordGeometry geometry;    // as the conversion's reader has it
    std::size_t nProbes = 0;     // of a Corvane recording
};

SCleanRecording Split(const SConversionRun& run, SSyntheticRecording synthetic,
                      const CTempDir& dir) {
    SCleanRecording clean{std::move(synthetic), {}, {}, 0};
    const std::string strPath = dir.Write(run.pInput, clean.synthetic.bytes);
    if (run.bFramedRecords) {
        CInsFile converting;
        CAnsweringUserInterface ui(run.bYes);
        std::string strName = strPath;
        SFileOutcome opened;
        EXPECT_EQ(converting.Open(strName, true, &ui, opened), 1);
        clean.geometry = converting.Geometry();
        CInsFile reader;
        strName = strPath;
        EXPECT_EQ(reader.Open(strName, true, nullptr, opened), 1);
        reader.File().Seek(static_cast<std::int64_t>(clean.synthetic.nDataStart),
                           CBinaryFile::ESeekOrigin::Begin);
        CRecordWalk walk(reader.File(), reader.Geometry());
        for (SRecordView record; walk.Next(record);) {
            clean.records.push_back({record.nOffset, record.nOffset + record.Size()});
        }
    } else {
        CCorvaneFile reader;
        EXPECT_TRUE(reader.Open(strPath));
        clean.nProbes = reader.Config().probes.size();
        do {
            clean.records.push_back({reader.ChunkStart(),
                                     reader.ChunkStart() + kChunkHeaderSize + 2 * reader.Length()});
        } while (reader.Next());
    }
    std::size_t nExpected = clean.synthetic.nDataStart;
    for (const SSpan& record : clean.records) {
        EXPECT_EQ(record.nStart, nExpected) << "the records tile the data area";
        nExpected = record.nEnd;
    }
    EXPECT_EQ(nExpected, clean.synthetic.bytes.size());
    return clean;
}

struct SDamagedRecording {
    Bytes image;      // the recording with its damage
    Bytes survivors;  // the same recording holding only the records the damage left intact
    std::size_t nSurvivors = 0;
    SDamageReport damage;
};

// Builds one damaged recording. Garbage never holds the sync byte, a flipped record holds no
// sync byte but its first, and a flip of its identifier or size is kept only when the size
// check rejects the header it makes. So no damaged span can hold a record that passes, and the
// walk must find exactly the intact records.
class CDamager {
  public:
    CDamager(const SConversionRun& run, const SCleanRecording& clean, std::uint64_t nSeed)
        : m_run(run), m_clean(clean), m_random(nSeed) {}

    SDamagedRecording Build() {
        const Bytes& bytes = m_clean.synthetic.bytes;
        const Bytes head(bytes.begin(), bytes.begin() + Offset(m_clean.synthetic.nDataStart));
        SDamagedRecording damaged{head, head, 0, {}};
        // Garbage, and damage, before one record in 4 to 24 (as the case draws); a cut in one
        // case out of three.
        const int nOneIn = m_random.Between(4, 24);
        std::size_t nLateLeft = kLateStampsPerProbe * m_clean.nProbes;
        for (const SSpan& span : m_clean.records) {
            Bytes record(bytes.begin() + Offset(span.nStart), bytes.begin() + Offset(span.nEnd));
            if (m_random.Between(1, nOneIn) == 1) {
                AddInserted(damaged.image);
            }
            const bool bDamage = m_random.Between(1, nOneIn) == 1;
            if (bDamage && m_run.bFramedRecords && Flip(record)) {
                AddDamage(damaged.image, record, true);
            } else if (bDamage && !m_run.bFramedRecords && nLateLeft > 0) {
                --nLateLeft;
                WriteU64Le(record.data() + 2, kLateStamp);
                AddDamage(damaged.image, record, false);
            } else {
                m_intact.push_back({damaged.image.size(), damaged.image.size() + record.size()});
                damaged.image.insert(damaged.image.end(), record.begin(), record.end());
            }
        }
        if (m_random.Between(1, 3) == 1 && damaged.image.size() > head.size()) {
            Cut(damaged.image);
        }
        damaged.nSurvivors = m_intact.size();
        for (const SSpan& span : m_intact) {
            damaged.survivors.insert(damaged.survivors.end(),
                                     damaged.image.begin() + Offset(span.nStart),
                                     damaged.image.begin() + Offset(span.nEnd));
        }
        for (const SSpan& span : m_damage) {
            damaged.damage.AddSpan(span.nEnd - span.nStart);
        }
        damaged.damage.nChecksumErrors = static_cast<std::uint64_t>(
            std::count(m_flippedChecksums.begin(), m_flippedChecksums.end(), true));
        return damaged;
    }

  private:
    static constexpr std::uint64_t kLateStamp = 0xFFFF'FFFF'FFFF'FFFF;

    static std::ptrdiff_t Offset(std::size_t nOffset) {
        return static_cast<std::ptrdiff_t>(nOffset);
    }

    // Framed recordings get garbage; Corvane recordings a chunk of a kind nothing reads, which
    // is no damage (the conversion ignores it) but must change nothing either.
    void AddInserted(Bytes& image) {
        Bytes inserted(static_cast<std::size_t>(m_random.Between(1, 24)) * 2);
        for (std::uint8_t& byte : inserted) {
            const int nByte = m_random.Between(0, 254);
            byte = static_cast<std::uint8_t>(nByte < kSyncByte ? nByte : nByte + 1);
        }
        if (m_run.bFramedRecords) {
            AddDamage(image, inserted, false);
            return;
        }
        Bytes chunk(kChunkHeaderSize);
        WriteU16Le(chunk.data(), static_cast<std::uint16_t>(m_random.Between(0, 7)));
        WriteU16Le(chunk.data() + 10, static_cast<std::uint16_t>(inserted.size() / 2));
        inserted[0] = 0x42;  // an identifier the conversion ignores
        chunk.insert(chunk.end(), inserted.begin(), inserted.end());
        m_ignored.push_back({image.size(), image.size() + chunk.size()});
        image.insert(image.end(), chunk.begin(), chunk.end());
    }

    void AddDamage(Bytes& image, const Bytes& bytes, bool bFlipped) {
        if (!m_damage.empty() && m_damage.back().nEnd == image.size()) {
            m_damage.back().nEnd += bytes.size();
        } else {
            m_damage.push_back({image.size(), image.size() + bytes.size()});
        }
        if (bFlipped) {
            m_flipped.push_back({image.size(), image.size() + bytes.size()});
        }
        image.insert(image.end(), bytes.begin(), bytes.end());
    }

    // Flips a byte of the record; false when the record is not one the walk must recover from
    // with certainty (it holds another sync byte).
    bool Flip(Bytes& record) {
        if (std::find(record.begin() + 1, record.end(), kSyncByte) != record.end()) {
            return false;
        }
        const auto nAt =
            static_cast<std::size_t>(m_random.Between(0, static_cast<int>(record.size()) - 1));
        const std::uint8_t nOriginal = record[nAt];
        while (record[nAt] == nOriginal || record[nAt] == kSyncByte) {
            record[nAt] = static_cast<std::uint8_t>(m_random.Between(0, 255));
        }
        if (nAt == 0) {
            m_flippedChecksums.push_back(false);
            return true;
        }
        SRecordGeometry geometry = m_clean.geometry;
        const bool bAccepted =
            geometry.CheckRecordSize(std::span<const std::uint8_t, 4>(record.data(), 4)).bAccepted;
        if (nAt < kRecordHeaderSize && bAccepted) {
            record[nAt] = nOriginal;
            return false;
        }
        m_flippedChecksums.push_back(bAccepted);
        return true;
    }

    // Ends the recording anywhere in its data area: the record it cuts is damage, and what lies
    // after the cut is gone. A framed record with a sync byte inside is cut at its start instead,
    // so that its remains cannot pass for a record.
    void Cut(Bytes& image) {
        std::size_t nCut = static_cast<std::size_t>(m_random.Between(
            static_cast<int>(m_clean.synthetic.nDataStart), static_cast<int>(image.size()) - 1));
        std::size_t nCutFrom = nCut;
        for (const std::vector<SSpan>* pSpans : {&m_intact, &m_ignored}) {
            for (const SSpan& span : *pSpans) {
                if (span.nStart < nCut && span.nEnd > nCut) {
                    nCutFrom = span.nStart;
                }
            }
        }
        const auto itCutFrom = image.begin() + Offset(nCutFrom);
        if (m_run.bFramedRecords && std::find(itCutFrom + 1, image.begin() + Offset(nCut),
                                              kSyncByte) != image.begin() + Offset(nCut)) {
            nCut = nCutFrom;
        }
        image.resize(nCut);
        std::erase_if(m_intact, [&](const SSpan& span) { return span.nEnd > nCut; });
        std::erase_if(m_damage, [&](const SSpan& span) { return span.nStart >= nCut; });
        for (SSpan& span : m_damage) {
            span.nEnd = std::min(span.nEnd, nCut);
        }
        if (nCutFrom < nCut) {
            if (!m_damage.empty() && m_damage.back().nEnd == nCutFrom) {
                m_damage.back().nEnd = nCut;
            } else {
                m_damage.push_back({nCutFrom, nCut});
            }
        }
        // A flipped record the cut reaches is slid over without a checksum.
        for (std::size_t i = 0; i < m_flipped.size(); ++i) {
            if (m_flipped[i].nEnd > nCut) {
                m_flippedChecksums[i] = false;
            }
        }
    }

    const SConversionRun& m_run;
    const SCleanRecording& m_clean;
    synth::CPseudoRandom m_random;
    // Spans of the image: records left intact, chunks nothing reads, damage, flipped records
    // with whether the walk meets their checksum (their header still passes).
    std::vector<SSpan> m_intact;
    std::vector<SSpan> m_ignored;
    std::vector<SSpan> m_damage;
    std::vector<SSpan> m_flipped;
    std::vector<bool> m_flippedChecksums;
};

// The files a conversion wrote into its folder, by name, with their bytes.
std::map<std::string, Bytes> FilesIn(const std::string& strFolder) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder)) {
        files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
    }
    return files;
}

// The first difference of an output of the damaged recording from that of its survivors: a .nc
// by what it holds (netCDF-4 files are not byte-stable), any other file byte for byte.
std::optional<std::string> Differs([[maybe_unused]] const std::string& strName,
                                   const Bytes& damaged, const Bytes& survivors,
                                   [[maybe_unused]] const CTempDir& dir) {
#ifdef SULVAN_WITH_NETCDF
    if (strName.ends_with(".nc")) {
        return FirstNcContentDifference(JoinPath(dir.Path("damaged"), strName),
                                        JoinPath(dir.Path("survivors"), strName));
    }
#endif
    return FirstDifference(damaged, survivors);
}

class DamagedInput : public ::testing::TestWithParam<SConversionRun> {};

TEST_P(DamagedInput, EveryIntactRecordComesOutAsWithoutTheDamage) {
    const SConversionRun& run = GetParam();
    const CTempDir dir = CTempDir::InMemory();
    constexpr std::uint64_t kRecordings = 8;
    std::vector<SCleanRecording> recordings;
    for (std::uint64_t nSeed = 0; nSeed < kRecordings; ++nSeed) {
        recordings.push_back(Split(run, run.synthesize(nSeed, 0, dir.Path()), dir));
    }
    const std::size_t nCases = CasesPerConversion();
    std::size_t nDamaged = 0;
    for (std::size_t nCase = 0; nCase < nCases; ++nCase) {
        SCOPED_TRACE("case " + std::to_string(nCase));
        const SCleanRecording& clean = recordings[nCase % kRecordings];
        const SDamagedRecording damaged = CDamager(run, clean, nCase).Build();
        nDamaged += damaged.damage.nSkippedBytes != 0 ? 1 : 0;
        SFileOutcome outcomes[2];
        std::map<std::string, Bytes> outputs[2];
        for (int i = 0; i < 2; ++i) {
            const std::string strFolder = dir.Path(i == 0 ? "damaged" : "survivors");
            fs::remove_all(strFolder);
            fs::create_directory(strFolder);
            const std::string strInput = JoinPath(strFolder, run.pInput);
            WriteFileBytes(strInput, i == 0 ? damaged.image : damaged.survivors);
            CAnsweringUserInterface ui(run.bYes);
            outcomes[i] = RunConversion(run, ui, strInput, strFolder);
            outputs[i] = FilesIn(strFolder);
        }
        // Nothing survived: there is no record to compare, and nothing may be converted (the
        // recording without records may even be refused where the damaged one is walked).
        if (damaged.nSurvivors == 0) {
            EXPECT_TRUE(outcomes[0].IsFailed());
            EXPECT_EQ(outcomes[0].DataRecords(), 0u);
            continue;
        }
        EXPECT_EQ(outcomes[0].fate, outcomes[1].fate);
        EXPECT_EQ(outcomes[0].DataRecords(), outcomes[1].DataRecords());
        ASSERT_EQ(outputs[0].size(), outputs[1].size());
        for (const auto& [strName, bytes] : outputs[0]) {
            ASSERT_TRUE(outputs[1].contains(strName)) << strName;
            if (strName == run.pInput) {
                EXPECT_EQ(bytes, damaged.image) << "the input is not changed";
            } else if (strName.ends_with("_rep.trs")) {
                // The copy of a dump is the dump behind a configuration block.
                ASSERT_GE(bytes.size(), damaged.image.size());
                EXPECT_TRUE(
                    std::equal(damaged.image.begin(), damaged.image.end(),
                               bytes.end() - static_cast<std::ptrdiff_t>(damaged.image.size())));
            } else {
                const std::optional<std::string> difference =
                    Differs(strName, bytes, outputs[1].at(strName), dir);
                EXPECT_FALSE(difference) << strName << ": " << difference.value_or("");
            }
        }
        // A recording refused when opened (a Corvane file cut inside its first chunk) is not
        // walked.
        if (outputs[0].size() > 1) {
            EXPECT_EQ(outcomes[0].damage.nSkippedBytes, damaged.damage.nSkippedBytes);
            EXPECT_EQ(outcomes[0].damage.nSkippedSpans, damaged.damage.nSkippedSpans);
            EXPECT_EQ(outcomes[0].damage.nChecksumErrors, damaged.damage.nChecksumErrors);
        }
        EXPECT_TRUE(outcomes[1].damage.IsClean());
        if (HasFailure()) {
            break;
        }
    }
    // Many cases must damage something, or the property would hold by default.
    EXPECT_GT(nDamaged, nCases / 4);
    RecordProperty("cases", static_cast<int>(nCases));
}

INSTANTIATE_TEST_SUITE_P(Conversions, DamagedInput, ::testing::ValuesIn(ConversionRuns()),
                         [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan
