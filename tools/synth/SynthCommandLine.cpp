#include "SynthCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <utility>
#include <vector>

#include "ByteCount.hpp"
#include "CTarsisGenerator.hpp"
#include "platform/FileError.hpp"

namespace sulvan::synth {
namespace {

constexpr const char* kProgram = "sulvan-synth";
constexpr int kUsageError = 2;
constexpr int kFileError = 1;

enum class ERecordingKind { Tarsis, TarsisBurst };

// Option values by name, in the order --help lists them.
template <typename T>
using NameTable = std::vector<std::pair<std::string, T>>;

const NameTable<ERecordingKind> kKinds = {{"tarsis", ERecordingKind::Tarsis},
                                          {"tarsis-burst", ERecordingKind::TarsisBurst}};
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

void AddOptions(CLI::App& app, SSynthRequest& request, SNamedValues& named) {
    STarsisOptions& options = request.tarsis;
    app.add_option("OUTPUT", request.strOutput,
                   "The recording to write (an existing file is replaced)")
        ->required();
    app.add_option("--kind", named.strKind,
                   "tarsis: continuous sampling; tarsis-burst: sampling in bursts")
        ->check(OneOf(kKinds))
        ->capture_default_str();
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
    app.add_option("--beams", options.nBeams, "Beams per velocity sample, 1 to 3")
        ->capture_default_str();
    CLI::Option* pSize =
        app.add_option("--size", options.nSizeLimit,
                       "Length to fill with whole records, in bytes or with K, M or G (1024, "
                       "1024^2, 1024^3), e.g. 64K or 4G; at least 1K; the bytes --truncate "
                       "removes count in")
            ->transform(ByteCountTransform())
            ->default_str("1M");
    CLI::Option* pSamples = app.add_option(
        "--samples", options.nSamples, "A number of velocity samples to write instead of a size");
    pSize->excludes(pSamples);
    app.add_option("--rate-divisor", options.nRateDivisor,
                   "Sampling rate divisor N, 1 to 65535: the instrument samples at 512/N Hz and "
                   "writes a system sample about once a second")
        ->capture_default_str();
    app.add_option("--seed", options.nSeed,
                   "Seed of the pseudo-random velocities, amplitudes, correlations and garbage; "
                   "the same seed writes the same recording")
        ->capture_default_str();
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
    app.footer(
        "Data records are the velocity samples, system samples and velocity sample headers, "
        "counted from 1 in file order.\nExit status: 0 written, 1 file error, 2 usage error.");
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
        "Writes a synthetic Tarsis velocimeter recording (.trs) for tests, benchmarks "
        "and examples.",
        kProgram);
    SNamedValues named;
    AddOptions(app, request, named);
    try {
        app.parse(nArgs, pArgs);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            out << app.help();
            return 0;
        }
        return ReportUsageError(err, error.what());
    }
    request.tarsis.bBurst = ValueOf(kKinds, named.strKind) == ERecordingKind::TarsisBurst;
    request.tarsis.configuration = ValueOf(kPlacements, named.strConfiguration);
    if (!request.tarsis.bBurst && app.count("--burst-samples") != 0) {
        return ReportUsageError(err, "--burst-samples needs --kind tarsis-burst");
    }
    const std::string strProblem = DescribeProblem(request.tarsis);
    if (!strProblem.empty()) {
        return ReportUsageError(err, strProblem);
    }
    return std::nullopt;
}

int WriteRecording(const SSynthRequest& request, std::ostream& out, std::ostream& err) {
    try {
        const SSynthSummary summary = CTarsisGenerator(request.tarsis).Write(request.strOutput);
        out << request.strOutput << ": " << summary.nBytes << " bytes, " << summary.nVelocitySamples
            << " velocity samples, " << summary.nSystemSamples << " system samples, "
            << summary.nBurstHeaders << " burst headers\n";
        return 0;
    } catch (const FileError& error) {
        err << kProgram << ": " << error.what() << '\n';
        return kFileError;
    }
}

}  // namespace sulvan::synth
