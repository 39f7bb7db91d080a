#include "ConversionRuns.hpp"

#include <algorithm>
#include <stdexcept>

#include "CCorvaneGenerator.hpp"
#include "CPeloraGenerator.hpp"
#include "CTarsisGenerator.hpp"
#include "CTempDir.hpp"
#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "format/BcdClock.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/Path.hpp"

namespace sulvan::test {
namespace {

using synth::EConfigPlacement;

// A Corvane header: 28 bytes, then two text blocks of a width code and a length in words.
std::size_t CorvaneDataStart(const records::Bytes& bytes) {
    std::size_t nOffset = 28;
    for (int nBlock = 0; nBlock < 2; ++nBlock) {
        nOffset += 6 + 2 * std::size_t{ReadU32Le(bytes.data() + nOffset + 2)};
    }
    return nOffset;
}

std::size_t DataStartOf(EConfigPlacement placement) {
    switch (placement) {
        case EConfigPlacement::Missing:
            return 0;
        case EConfigPlacement::NoUser:
            return CInsConf::kHardwareSize + CInsConf::kHeadSize;
        case EConfigPlacement::Standard:
        case EConfigPlacement::Misplaced:
            break;
    }
    return CInsConf::kBlockSize;
}

template <class TGenerator, class TOptions>
SSyntheticRecording Written(const TOptions& options, const std::string& strFolder,
                            std::size_t nDataStart) {
    const std::string strPath = JoinPath(strFolder, "synthetic.rec");
    TGenerator(options).Write(strPath);
    return {ReadFileBytes(strPath), nDataStart};
}

// Four samples a second, so that a system sample comes every four velocity samples.
std::uint64_t SamplesOf(std::uint64_t nSeed, std::uint64_t nSamples, std::uint64_t nSmall) {
    return nSamples != 0 ? nSamples : nSmall + nSeed % nSmall;
}

synth::STarsisOptions TarsisOptions(std::uint64_t nSeed, std::uint64_t nSamples) {
    synth::STarsisOptions options;
    options.nSeed = nSeed;
    options.nBeams = 1 + static_cast<int>(nSeed % 3);
    options.bCompass = nSeed % 2 == 1;
    options.nSamples = SamplesOf(nSeed, nSamples, 40);
    options.nRateDivisor = 128;
    return options;
}

synth::STarsisOptions TarsisBurstOptions(std::uint64_t nSeed, std::uint64_t nSamples) {
    synth::STarsisOptions options = TarsisOptions(nSeed, nSamples);
    options.bBurst = true;
    options.nBurstSamples = 6 + static_cast<int>(nSeed % 7);
    return options;
}

SSyntheticRecording Tarsis(const synth::STarsisOptions& options, const std::string& strFolder) {
    return Written<synth::CTarsisGenerator>(options, strFolder, DataStartOf(options.configuration));
}

SSyntheticRecording TarsisContinuous(std::uint64_t nSeed, std::uint64_t nSamples,
                                     const std::string& strFolder) {
    return Tarsis(TarsisOptions(nSeed, nSamples), strFolder);
}

SSyntheticRecording TarsisBursts(std::uint64_t nSeed, std::uint64_t nSamples,
                                 const std::string& strFolder) {
    return Tarsis(TarsisBurstOptions(nSeed, nSamples), strFolder);
}

// Continuous and burst recordings by turns, each with and without a compass: their samples are
// timed from different anchors.
SSyntheticRecording TarsisEitherMode(std::uint64_t nSeed, std::uint64_t nSamples,
                                     const std::string& strFolder) {
    return nSeed / 2 % 2 == 0 ? TarsisContinuous(nSeed, nSamples, strFolder)
                              : TarsisBursts(nSeed, nSamples, strFolder);
}

SSyntheticRecording TarsisOldFirmware(std::uint64_t nSeed, std::uint64_t nSamples,
                                      const std::string& strFolder) {
    synth::STarsisOptions options = TarsisBurstOptions(nSeed, nSamples);
    options.strFirmware = "1.07";
    return Tarsis(options, strFolder);
}

// A recorder dump with the user record missing, or no configuration at all: three beams, as the
// default configuration the repair writes has.
SSyntheticRecording TarsisDump(std::uint64_t nSeed, std::uint64_t nSamples,
                               const std::string& strFolder) {
    synth::STarsisOptions options = TarsisOptions(nSeed, nSamples);
    options.nBeams = 3;
    options.configuration = nSeed % 2 == 0 ? EConfigPlacement::NoUser : EConfigPlacement::Missing;
    return Tarsis(options, strFolder);
}

SSyntheticRecording Pelora(std::uint64_t nSeed, std::uint64_t nSamples,
                           const std::string& strFolder) {
    synth::SPeloraOptions options;
    options.nSeed = nSeed;
    options.nBeams = 1 + static_cast<int>(nSeed % 3);
    options.bWaveMode = nSeed % 2 == 1;
    options.nWaveSamples = 3 + static_cast<int>(nSeed % 9);
    options.nExtendedEvery = 3;
    options.nSamples = SamplesOf(nSeed, nSamples, 40);
    return Written<synth::CPeloraGenerator>(options, strFolder, CInsConf::kBlockSize);
}

SSyntheticRecording Corvane(std::uint64_t nSeed, std::uint64_t nSamples,
                            const std::string& strFolder) {
    synth::SCorvaneOptions options;
    options.nSeed = nSeed;
    options.nProbes = 1 + static_cast<int>(nSeed % 4);
    options.nBeams = 1 + static_cast<int>(nSeed % 3);
    options.nSamples = SamplesOf(nSeed, nSamples, 20);
    options.nTimeMarksEvery = 7;
    options.nSkipRecordsEvery = 11;
    const std::string strPath = JoinPath(strFolder, "synthetic.rec");
    synth::CCorvaneGenerator(options).Write(strPath);
    records::Bytes bytes = ReadFileBytes(strPath);
    const std::size_t nDataStart = CorvaneDataStart(bytes);
    return {std::move(bytes), nDataStart};
}

constexpr SConversionRun kRuns[] = {
    {"trs_adv", "run.trs", EConversion::TrsToAdv, false, false, "run.adv", "run.adv", true,
     TarsisContinuous},
    {"trs_adv_burst_files", "run.trs", EConversion::TrsToAdv, true, false, "run_1.adv", "run_1.adv",
     true, TarsisBursts},
    {"pld_wpr", "run.pld", EConversion::ToWpr, false, false, "run.wpr", "run.wpr", true, Pelora},
    {"trs_wpr", "run.trs", EConversion::ToWpr, false, false, "run.wpr", "run.wpr", true,
     TarsisBursts},
    {"burst_header_repair", "run.trs", EConversion::TrsToAdv, false, true, "run_new.trs",
     "run_new.trs", true, TarsisOldFirmware},
    {"dump_repair", "run.trs", EConversion::TrsToAdv, false, true, "run_rep.trs", "run.adv", true,
     TarsisDump},
    {"mrv_adv", "run.mrv", EConversion::MrvToAdv, false, false, "run.adv", "run.adv", false,
     Corvane},
#ifdef SULVAN_WITH_NETCDF
    {"trs_nc", "run.trs", EConversion::ToNc, false, false, "run.nc", "run.nc", true,
     TarsisEitherMode},
    {"pld_nc", "run.pld", EConversion::ToNc, false, false, "run.nc", "run.nc", true, Pelora},
    {"mrv_nc", "run.mrv", EConversion::ToNc, false, false, "run.nc", "run.nc", false, Corvane},
#endif
};

}  // namespace

std::span<const SConversionRun> ConversionRuns() {
    return kRuns;
}

const SConversionRun& ConversionRunNamed(std::string_view strName) {
    const auto* pRun =
        std::find_if(std::begin(kRuns), std::end(kRuns),
                     [&](const SConversionRun& run) { return strName == run.pName; });
    if (pRun == std::end(kRuns)) {
        throw std::out_of_range("no conversion run named " + std::string(strName));
    }
    return *pRun;
}

SFileOutcome RunConversion(const SConversionRun& run, CUserInterface& ui,
                           const std::string& strInput, const std::string& strFolder) {
    const SConversion& conversion = *ConversionAt(PositionOf(run.conversion));
    const std::string strOutput =
        JoinPath(strFolder, WithoutExtension(FileNameOf(strInput))) + conversion.pOutputExtension;
    return conversion.convert({ui, strInput, strOutput, true, run.bBurstFiles});
}

std::vector<std::string> CommandLineOf(const SConversionRun& run) {
    std::vector<std::string> args = {"-t", ConversionAt(PositionOf(run.conversion))->pName,
                                     run.bYes ? "-y" : "-n"};
    if (run.bBurstFiles) {
        args.push_back("--burst-files");
    }
    return args;
}

records::Bytes WithoutRunTime(const std::string& strName, records::Bytes bytes) {
    constexpr std::size_t kUserRecord = CInsConf::kHardwareSize + CInsConf::kHeadSize;
    constexpr std::size_t kStartClock = kUserRecord + UserField::DeploymentStart;
    if (strName.find("_rep.") != std::string::npos && bytes.size() >= CInsConf::kBlockSize) {
        std::fill_n(bytes.begin() + kStartClock, kClockSize, 0);
        std::fill_n(bytes.begin() + CInsConf::kBlockSize - 2, 2, 0);
    }
    return bytes;
}

}  // namespace sulvan::test
