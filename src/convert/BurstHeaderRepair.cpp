#include "convert/BurstHeaderRepair.hpp"

#include <algorithm>
#include <array>

#include "convert/ConfigurationOutput.hpp"
#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/FileError.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr const char* kRepairedFirmware = "1.08";

std::array<std::uint8_t, VelocityHeaderField::Size> BuildVelocityHeader(
    const ClockBytes& clock, std::uint16_t nSamplesPerBurst) {
    std::array<std::uint8_t, VelocityHeaderField::Size> header{};
    header[0] = kSyncByte;
    header[1] = RecordId::VelocityHeader;
    WriteU16Le(header.data() + 2, VelocityHeaderField::Size / 2);
    std::copy(clock.begin(), clock.end(), header.begin() + kRecordClockOffset);
    WriteU16Le(header.data() + VelocityHeaderField::Samples, nSamplesPerBurst);
    SealRecord(header);
    return header;
}

// Velocity samples and the system samples among them, with a header in front of every burst.
// Before the first intact system sample there is no clock to give a header: it gets the
// invalid clock. The system sample read before the first header follows that header, so that
// a conversion of the copy, which drops samples until it has seen a system sample, keeps the
// first burst. Returns the number of samples copied; damage receives what the walk passed over.
std::uint64_t CopyWithHeaders(CBinaryFile& output, CInsFile& reader, std::uint16_t nSamplesPerBurst,
                              SDamageReport& damage) {
    ClockBytes clock = kInvalidClock;
    std::array<std::uint8_t, SystemSampleField::Size> latestSystem{};
    bool bSystemSeen = false;
    bool bHeaderWritten = false;
    std::uint32_t nSamplesSinceHeader = 0;
    std::uint64_t nCopied = 0;
    CRecordWalk walk(reader.File(), reader.Geometry(),
                     SWalkOptions{.nRecordSizeLimit = kConverterRecordSizeLimit});
    SRecordView record;
    while (walk.Next(record)) {
        switch (record.Id()) {
            case RecordId::SystemSample:
                std::copy_n(record.Data() + kRecordClockOffset, kClockSize, clock.begin());
                if (bHeaderWritten) {
                    output.Write(record.Data(), record.Size());
                    ++nCopied;
                } else {
                    std::copy_n(record.Data(), latestSystem.size(), latestSystem.begin());
                    bSystemSeen = true;
                }
                break;
            case RecordId::VelocitySample:
                if (!bHeaderWritten || nSamplesSinceHeader == nSamplesPerBurst) {
                    const auto header = BuildVelocityHeader(clock, nSamplesPerBurst);
                    output.Write(header.data(), header.size());
                    if (!bHeaderWritten && bSystemSeen) {
                        output.Write(latestSystem.data(), latestSystem.size());
                        ++nCopied;
                    }
                    nSamplesSinceHeader = 0;
                    bHeaderWritten = true;
                }
                // Each sample at its own size: the copy loses nothing whatever the beam count.
                output.Write(record.Data(), record.Size());
                ++nSamplesSinceHeader;
                ++nCopied;
                break;
            default:
                break;
        }
    }
    damage = walk.Damage();
    return nCopied;
}

}  // namespace

bool LacksBurstHeaders(const CInsFile& reader) {
    const double dVersion = reader.Conf().GetFirmwareVersion();
    return reader.GetFamily() == Family::Tarsis && dVersion > 0.0 &&
           dVersion < kFirstFirmwareWithBurstHeaders;
}

SFileOutcome RepairBurstHeaders(CInsFile& reader, const std::string& strOutputPath,
                                std::uint16_t nSamplesPerBurst) {
    SFileOutcome outcome;
    CBinaryFile output;
    try {
        output.Open(strOutputPath, CBinaryFile::EOpenMode::Create);
    } catch (const FileError& error) {
        outcome.Fail("Unable to open output file!", error.what());
        return outcome;
    }
    try {
        reader.Conf().SetFirmwareText(kRepairedFirmware);
        WriteConfigurationBlock(output, reader.Conf());
        const std::uint64_t nCopied =
            CopyWithHeaders(output, reader, nSamplesPerBurst, outcome.damage);
        output.Close();
        outcome.written.push_back({strOutputPath, nCopied});
    } catch (const FileError& error) {
        output.CloseAfterError();
        outcome.Append(FailedWriting(error, strOutputPath, true));
    }
    return outcome;
}

}  // namespace sulvan
