#include "SynthCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <utility>
#include <vector>

#include "ByteCount.hpp"
#include "CCorvaneGenerator.hpp"
#include "CPeloraGenerator.hpp"
#include "CTarsisGenerator.hpp"
#include "platform/FileError.hpp"

namespace sulvan::synth {
namespace {

constexpr const char* kProgram = "sulvan-synth";
constexpr int kUsageError = 2;
constexpr int kFileError = 1;

// Option values by name, in the order --help lists them.
template <typename T>
using NameTable = std::vector<std::pair<std::string, T>>;

const NameTable<ERecordingKind> kKinds = {{"tarsis", ERecordingKind::Tarsis},
                                          {"tarsis-burst", ERecordingKind::TarsisBurst},
                                          {"pelora", ERecordingKind::Pelora},
                                          {"corvane", ERecordingKind::Corvane}};
const NameTable<EConfigPlacement> kPlacements = {{"standard", EConfigPlacement::Standard},
                                                 {"missing", EConfigPlacement::Missing},
                                                 {"misplaced", EConfigPlacement::Misplaced},
                                                 {"no-user", EConfigPlacement::NoUser}};

template <typename T>
CLI::Validator OneOf(const NameTable<T>& table) {
    std::vector<std::string> names;
    for (const auto& [strName, value] : table) {
        names.push_back(strName);
    }
    return CLI::IsMember(names);
}

// The name has passed OneOf.
template <typename T>
T ValueOf(const NameTable<T>& table, const std::string& strName) {
    return std::find_if(table.begin(), table.end(),
                        [&](const auto& entry) { return entry.first == strName; })
        ->second;
}

// Option values that CLI11 holds as names until they are looked up.
struct SNamedValues {
    std::string strKind = "tarsis";
    std::string strConfiguration = "standard";
};

// Replaces a byte count with K, M or G by its plain number, which CLI11 then converts.
CLI::Validator ByteCountTransform() {
    return CLI::Validator(
        [](std::string& strValue) {
            const std::optional<std::uint64_t> nCount = ParseByteCount(strValue);
            if (!nCount) {
                return "'" + strValue + "' is no byte count (digits, then K, M or G)";
            }
            strValue = std::to_string(*nCount);
            return std::string();
        },
        "BYTES");
}

void AddCommonOptions(CLI::App& app, SSynthRequest& request, SNamedValues& named) {
    STarsisOptions& options = request.tarsis;
    app.add_option("OUTPUT", request.strOutput,
                   "The recording to write (an existing file is replaced)")
        ->required();
    app.add_option("--kind", named.strKind,
                   "tarsis: continuous sampling; tarsis-burst: sampling in bursts; pelora: a "
                   "current meter (.pld) with wave bursts; corvane: a multi-probe recording (.mrv)")
        ->check(OneOf(kKinds))
        ->capture_default_str();
    app.add_option("--beams", options.nBeams, "Beams per velocity sample, 1 to 3 (corvane: 1 to 4)")
        ->capture_default_str();
    CLI::Option* pSize =
        app.add_option("--size", options.nSizeLimit,
                       "Length to fill with whole records, in bytes or with K, M or G (1024, "
                       "1024^2, 1024^3), e.g. 64K or 4G; at least 1K; the bytes --truncate "
                       "removes count in")
            ->transform(ByteCountTransform())
            ->default_str("1M");
    CLI::Option* pSamples = app.add_option(
        "--samples", options.nSamples,
        "A number of velocity samples to write instead of a size (pelora: velocity records and "
        "wave samples together; corvane: per probe)");
    pSize->excludes(pSamples);
    app.add_option("--seed", options.nSeed,
                   "Seed of the pseudo-random values and garbage; the same seed writes the same "
                   "recording")
        ->capture_default_str();
}

void AddFramedOptions(CLI::App& app, SSynthRequest& request, SNamedValues& named) {
    STarsisOptions& options = request.tarsis;
    app.add_option("--garbage-every", options.nGarbageEvery,
                   "Damage: a run of garbage bytes (never the sync byte) after every Nth data "
                   "record; 0 for none")
        ->capture_default_str();
    app.add_option("--garbage-bytes", options.nGarbageBytes, "Bytes in each garbage run, 1 to 4096")
        ->capture_default_str();
    app.add_option("--bad-checksum-every", options.nBadChecksumEvery,
                   "Damage: a wrong checksum in every Nth data record; 0 for none")
        ->capture_default_str();
    app.add_option("--truncate", options.nTruncateBytes,
                   "Damage: the last N bytes of the recording are not written, as when a "
                   "recorder ran full; bytes or with K or M, at most 16M")
        ->transform(ByteCountTransform())
        ->capture_default_str();
    app.add_option("--configuration", named.strConfiguration,
                   "standard: hardware, head and user configuration at 0, 48 and 272; missing: "
                   "no configuration records; misplaced: the three records after the first 8 "
                   "data records, as in a raw recorder dump; no-user: hardware and head only")
        ->check(OneOf(kPlacements))
        ->capture_default_str();
}

void AddTarsisOptions(CLI::App& app, STarsisOptions& options) {
    app.add_option("--burst-samples", options.nBurstSamples,
                   "Velocity samples per burst, 1 to 32767 (tarsis-burst only)")
        ->capture_default_str();
    app.add_flag("--compass,!--no-compass", options.bCompass,
                 "The head has a compass: system samples carry heading, pitch and roll, and the "
                 "user configuration selects earth coordinates (default: no compass)");
    app.add_option("--firmware", options.strFirmware,
                   "Firmware version text, at most 4 characters; with a version below 1.08 "
                   "bursts have no velocity sample headers (0x12)")
        ->capture_default_str();
    app.add_option("--rate-divisor", options.nRateDivisor,
                   "Sampling rate divisor N, 1 to 65535: the instrument samples at 512/N Hz and "
                   "writes a system sample about once a second")
        ->capture_default_str();
}

void AddPeloraOptions(CLI::App& app, SPeloraOptions& options) {
    app.add_flag("--wave-mode", options.bWaveMode,
                 "pelora: the configuration's wave-mode flag is set (velocity records stand "
                 "apart from the wave bursts)");
    app.add_option("--wave-samples", options.nWaveSamples,
                   "pelora: wave samples (0x80) after each velocity record, 0 to 65534")
        ->capture_default_str();
    app.add_option("--extended-every", options.nExtendedEvery,
                   "pelora: every Nth velocity record is an extended one (0x70); 0 for none")
        ->capture_default_str();
}

void AddCorvaneOptions(CLI::App& app, SCorvaneOptions& options) {
    app.add_option("--probes", options.nProbes, "corvane: probes, 1 to 16")->capture_default_str();
    app.add_option("--cells", options.nCells, "corvane: cells per beam, 1 to 8")
        ->capture_default_str();
    app.add_option("--rate", options.nSamplingRate, "corvane: samples per second, 1 to 100")
        ->capture_default_str();
    app.add_flag("--wide-text", options.bWideText, "corvane: the text blocks in 16-bit characters");
    app.add_option("--lagging-probe", options.nLaggingProbe,
                   "corvane: this probe's records come --lag samples after the others'");
    app.add_option("--lag", options.nLag, "corvane: samples the lagging probe lags, to 10000")
        ->capture_default_str();
    app.add_option("--missing-probe", options.nMissingProbe,
                   "corvane: the probe that misses samples (see --missing-every)")
        ->capture_default_str();
    app.add_option("--missing-every", options.nMissingEvery,
                   "corvane: the missing probe records no sample every Nth sample; 0 for never")
        ->capture_default_str();
    app.add_option("--skip-records-every", options.nSkipRecordsEvery,
                   "corvane: probe 0's every Nth sample is a 0x81 or 0x91 record, which takes "
                   "a sample number without a sample; 0 for none")
        ->capture_default_str();
    app.add_option("--time-marks-every", options.nTimeMarksEvery,
                   "corvane: a time mark (0x0F) after every Nth sample number; 0 for none")
        ->capture_default_str();
    app.add_option("--late-stamps", options.nLateStamps,
                   "corvane: this many chunks stamped after 2999, one per 100 sample numbers")
        ->capture_default_str();
    app.add_option("--damaged-chunk-at", options.nDamagedChunkAt,
                   "corvane: the Nth chunk (from 1) announces 65535 words; 0 for none")
        ->capture_default_str();
}

// The options given that the kind does not take, as the first one's name; empty when none.
std::string MisplacedOption(const CLI::App& app, ERecordingKind kind) {
    const std::vector<std::pair<std::vector<std::string>, bool>> groups = {
        {{"--burst-samples"}, kind == ERecordingKind::TarsisBurst},
        {{"--compass", "--no-compass", "--firmware", "--rate-divisor"},
         kind == ERecordingKind::Tarsis || kind == ERecordingKind::TarsisBurst},
        {{"--wave-mode", "--wave-samples", "--extended-every"}, kind == ERecordingKind::Pelora},
        {{"--probes", "--cells", "--rate", "--wide-text", "--lagging-probe", "--lag",
          "--missing-probe", "--missing-every", "--skip-records-every", "--time-marks-every",
          "--late-stamps", "--damaged-chunk-at"},
         kind == ERecordingKind::Corvane},
        {{"--garbage-every", "--garbage-bytes", "--bad-checksum-every", "--truncate",
          "--configuration"},
         kind != ERecordingKind::Corvane},
    };
    for (const auto& [names, bApplies] : groups) {
        for (const std::string& strName : names) {
            if (!bApplies && app.count(strName) != 0) {
                return strName;
            }
        }
    }
    return {};
}

int ReportUsageError(std::ostream& err, std::string strMessage) {
    std::replace(strMessage.begin(), strMessage.end(), '\n', ' ');
    err << kProgram << ": " << strMessage << '\n';
    return kUsageError;
}

}  // namespace

std::optional<int> ParseCommandLine(int nArgs, const char* const* pArgs, SSynthRequest& request,
                                    std::ostream& out, std::ostream& err) {
    CLI::App app(
        "Writes a synthetic recording for tests, benchmarks and examples: a Tarsis velocimeter "
        "recording (.trs), a Pelora current-meter recording (.pld) or a Corvane multi-probe "
        "recording (.mrv).",
        kProgram);
    SNamedValues named;
    AddCommonOptions(app, request, named);
    AddFramedOptions(app, request, named);
    AddTarsisOptions(app, request.tarsis);
    AddPeloraOptions(app, request.pelora);
    AddCorvaneOptions(app, request.corvane);
    app.footer(
        "Data records are the velocity samples, system samples, velocity sample headers and "
        "Pelora records, counted from 1 in file order.\nExit status: 0 written, 1 file error, "
        "2 usage error.");
    try {
        app.parse(nArgs, pArgs);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            out << app.help();
            return 0;
        }
        return ReportUsageError(err, error.what());
    }
    request.kind = ValueOf(kKinds, named.strKind);
    if (const std::string strOption = MisplacedOption(app, request.kind); !strOption.empty()) {
        return ReportUsageError(err, strOption + " does not apply to --kind " + named.strKind);
    }
    STarsisOptions& tarsis = request.tarsis;
    tarsis.bBurst = request.kind == ERecordingKind::TarsisBurst;
    tarsis.configuration = ValueOf(kPlacements, named.strConfiguration);
    // The options every kind has were read into the Tarsis options.
    static_cast<SRecordingOptions&>(request.pelora) = tarsis;
    request.corvane.nBeams = tarsis.nBeams;
    request.corvane.nSizeLimit = tarsis.nSizeLimit;
    request.corvane.nSamples = tarsis.nSamples;
    request.corvane.nSeed = tarsis.nSeed;
    std::string strProblem;
    switch (request.kind) {
        case ERecordingKind::Tarsis:
        case ERecordingKind::TarsisBurst:
            strProblem = DescribeProblem(tarsis);
            break;
        case ERecordingKind::Pelora:
            strProblem = DescribeProblem(request.pelora);
            break;
        case ERecordingKind::Corvane:
            strProblem = DescribeProblem(request.corvane);
            break;
    }
    if (!strProblem.empty()) {
        return ReportUsageError(err, strProblem);
    }
    return std::nullopt;
}

int WriteRecording(const SSynthRequest& request, std::ostream& out, std::ostream& err) {
    try {
        out << request.strOutput << ": ";
        switch (request.kind) {
            case ERecordingKind::Tarsis:
            case ERecordingKind::TarsisBurst: {
                const SSynthSummary summary =
                    CTarsisGenerator(request.tarsis).Write(request.strOutput);
                out << summary.nBytes << " bytes, " << summary.nVelocitySamples
                    << " velocity samples, " << summary.nSystemSamples << " system samples, "
                    << summary.nBurstHeaders << " burst headers\n";
                break;
            }
            case ERecordingKind::Pelora: {
                const SSynthSummary summary =
                    CPeloraGenerator(request.pelora).Write(request.strOutput);
                out << summary.nBytes << " bytes, "
                    << summary.nVelocitySamples - summary.nWaveSamples << " velocity records, "
                    << summary.nWaveSamples << " wave samples\n";
                break;
            }
            case ERecordingKind::Corvane: {
                const SCorvaneSummary summary =
                    CCorvaneGenerator(request.corvane).Write(request.strOutput);
                out << summary.nBytes << " bytes, " << request.corvane.nProbes << " probes, "
                    << summary.nVelocityRecords << " velocity records, " << summary.nOtherRecords
                    << " other records\n";
                break;
            }
        }
        return 0;
    } catch (const FileError& error) {
        out << "not written\n";
        err << kProgram << ": " << error.what() << '\n';
        return kFileError;
    }
}

}  // namespace sulvan::synth
