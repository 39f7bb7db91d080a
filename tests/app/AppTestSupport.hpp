#pragma once
// What the dialog and batch tests share: files dated by the record at byte 784, and Tarsis
// recordings with the size of their .adv conversion.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "RecordBuilder.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan::test {

// The configuration block, then a record of the identifier and clock given at byte 784.
inline Bytes DatedRecording(const ClockBytes& clock, std::uint8_t nId = RecordId::CurrentProfile) {
    return CRecordingBuilder()
        .Add(StandardConfiguration())
        .Add(CRecordBuilder(nId, 40).Clock(clock))
        .Image();
}

// A Tarsis recording: the configuration block, a system sample, then nSamples velocity samples,
// with a velocity sample header in front of every nHeaderEvery of them (none when 0).
inline Bytes TarsisRecording(int nSamples, std::string_view strFirmware = "1.08",
                             const SUserOptions& user = {}, int nHeaderEvery = 0) {
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration("TRS 1001", strFirmware, {}, user)).Add(SystemSample());
    for (int i = 0; i < nSamples; ++i) {
        if (nHeaderEvery != 0 && i % nHeaderEvery == 0) {
            recording.Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0),
                                         static_cast<std::uint16_t>(nHeaderEvery)));
        }
        recording.Add(VelocitySample());
    }
    return recording.Image();
}

// The .adv of a recording without compass: file header, instrument block, 20 bytes a sample.
constexpr std::size_t AdvSize(int nSamples) {
    return 300 + 254 + 20 * static_cast<std::size_t>(nSamples);
}

inline std::vector<std::string> DisplayNames(const CSulvanFileDlg& dialog) {
    std::vector<std::string> names;
    for (const SFileEntry& entry : dialog.m_listFiles) {
        names.push_back(entry.strDisplayName);
    }
    return names;
}

}  // namespace sulvan::test
