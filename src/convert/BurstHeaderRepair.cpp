#include "convert/BurstHeaderRepair.hpp"

#include <algorithm>
#include <array>

#include "convert/ConfigurationOutput.hpp"
#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/FileError.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr const char* kRepairedFirmware = "1.08";
constexpr std::size_t kHeaderSize = 42;
constexpr std::size_t kHeaderSamples = 10;
constexpr std::size_t kSystemSampleSize = 28;

std::array<std::uint8_t, kHeaderSize> BuildVelocityHeader(const ClockBytes& clock,
                                                          std::uint16_t nSamplesPerBurst) {
    std::array<std::uint8_t, kHeaderSize> header{};
    header[0] = kSyncByte;
    header[1] = RecordId::VelocityHeader;
    WriteU16Le(header.data() + 2, kHeaderSize / 2);
    std::copy(clock.begin(), clock.end(), header.begin() + kRecordClockOffset);
    WriteU16Le(header.data() + kHeaderSamples, nSamplesPerBurst);
    SealRecord(header);
    return header;
}

// Velocity samples and the system samples among them, with a header in front of every burst.
// Before the first intact system sample there is no clock to give a header: it gets the
// invalid clock. The system sample read before the first header follows that header, so that
// a conversion of the copy, which drops samples until it has seen a system sample, keeps the
// first burst.
void CopyWithHeaders(CBinaryFile& output, CInsFile& reader, std::uint16_t nSamplesPerBurst) {
    ClockBytes clock = kInvalidClock;
    std::array<std::uint8_t, kSystemSampleSize> latestSystem{};
    bool bSystemSeen = false;
    bool bHeaderWritten = false;
    std::uint32_t nSamplesSinceHeader = 0;
    CRecordWalk walk(reader, reader.Geometry(),
                     SWalkOptions{.nRecordSizeLimit = kConverterRecordSizeLimit});
    SRecordView record;
    while (walk.Next(record)) {
        switch (record.Id()) {
            case RecordId::SystemSample:
                std::copy_n(record.Data() + kRecordClockOffset, kClockSize, clock.begin());
                if (bHeaderWritten) {
                    output.Write(record.Data(), record.Size());
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
                    }
                    nSamplesSinceHeader = 0;
                    bHeaderWritten = true;
                }
                // Each sample at its own size: the copy loses nothing whatever the beam count.
                output.Write(record.Data(), record.Size());
                ++nSamplesSinceHeader;
                break;
            default:
                break;
        }
    }
}

}  // namespace

bool RepairBurstHeaders(CUserInterface& ui, CInsFile& reader, const std::string& strOutputPath,
                        std::uint16_t nSamplesPerBurst) {
    CBinaryFile output;
    try {
        output.Open(strOutputPath, CBinaryFile::EOpenMode::Create);
    } catch (const FileError&) {
        ui.ShowMessage("Unable to open output file!");
        return false;
    }
    try {
        reader.Conf().SetFirmwareText(kRepairedFirmware);
        WriteConfigurationBlock(output, reader.Conf());
        CopyWithHeaders(output, reader, nSamplesPerBurst);
        output.Close();
        return true;
    } catch (const FileError& error) {
        output.CloseAfterError();
        ui.ShowMessage(error.MessageFor(strOutputPath) + "\r\rThe output file is incomplete.");
        return false;
    }
}

}  // namespace sulvan
