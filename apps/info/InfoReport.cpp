#include "InfoReport.hpp"

#include <cstdio>
#include <sstream>

#include "CJsonWriter.hpp"
#include "platform/DateTime.hpp"
#include "reader/FileFamily.hpp"

namespace sulvan::info {
namespace {

std::string RecordName(int nId) {
    switch (nId) {
        case 0x01:
            return "velocity record";
        case 0x0F:
            return "time mark";
        case 0x10:
            return "velocity sample";
        case 0x11:
            return "system sample";
        case 0x12:
            return "velocity sample header";
        case 0x20:
            return "current profile";
        case 0x30:
            return "wave sample";
        case 0x31:
            return "wave burst header";
        case 0x51:
            return "probe velocity record";
        case 0x70:
            return "extended velocity record";
        case 0x80:
            return "wave sample";
        default:
            return "record";
    }
}

std::string Hex(int nId) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", nId);
    return text;
}

std::string TimeText(const std::optional<double>& time) {
    const std::optional<SDateTimeFields> fields = time ? FieldsFromDateTime(*time) : std::nullopt;
    if (!fields) {
        return "none";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields->nYear, fields->nMonth,
                  fields->nDay, fields->nHour, fields->nMinute, fields->nSecond);
    return text;
}

std::string FileTimeText(std::uint64_t nTicks) {
    const SDateTimeFields fields = FieldsFromFileTime(nTicks);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", fields.nYear,
                  fields.nMonth, fields.nDay, fields.nHour, fields.nMinute, fields.nSecond,
                  fields.nMillisecond);
    return text;
}

const char* YesNo(bool b) {
    return b ? "yes" : "no";
}

template <class Counts>
std::string CountsText(const Counts& counts) {
    std::string strText;
    for (std::size_t nId = 0; nId < counts.size(); ++nId) {
        if (counts[nId] != 0) {
            strText += (strText.empty() ? "" : ", ") + Hex(static_cast<int>(nId)) + " " +
                       RecordName(static_cast<int>(nId)) + ": " + std::to_string(counts[nId]);
        }
    }
    return strText.empty() ? "none" : strText;
}

void Line(std::ostream& out, const char* pLabel, const std::string& strText) {
    char label[24];
    std::snprintf(label, sizeof label, "  %-16s", pLabel);
    out << label << strText << '\n';
}

void WriteFramedText(const SFramedInfo& framed, std::ostream& out) {
    std::ostringstream text;
    text << "hardware " << (framed.bHardwareValid ? "valid" : "missing") << ", head "
         << (framed.bHeadValid ? "valid" : "missing") << ", user "
         << (framed.bUserValid ? "valid" : "missing") << ", "
         << (framed.bRawDump ? "away from the standard places (a raw recorder dump)"
                             : "at the standard places");
    Line(out, "configuration", text.str());
    const SDeploymentInfo& d = framed.deployment;
    Line(out, "instrument",
         std::string("type ") + std::to_string(d.nInstrumentType) + " (" +
             FamilyName(d.nInstrumentType) + "), serials \"" + framed.strHardwareSerial +
             "\" / \"" + framed.strHeadSerial + "\", firmware \"" + framed.strFirmware + "\"");
    Line(out, "repair",
         framed.bNeedsBurstHeaderRepair ? "burst headers missing: a _new.trs copy is offered"
                                        : "none needed for burst headers");
    text.str({});
    text << d.dSampleRate << " Hz (rate index " << d.nRateIndex << "), range index "
         << d.nRangeIndex << ", "
         << (d.bBurst ? "bursts of " + std::to_string(d.nBurstSamples) + " samples"
                      : std::string("continuous"))
         << ", start on sync " << YesNo(d.bStartOnSync) << ", sample on sync "
         << YesNo(d.bSampleOnSync) << ", sound speed " << d.dSoundSpeed << " m/s, salinity "
         << d.dSalinity << " ppt, beams " << d.nBeams << ", cells " << d.nCells << ", wave mode "
         << (d.bWave ? "on" : "off");
    Line(out, "deployment", text.str());
    Line(out, "times", TimeText(framed.firstTime) + " to " + TimeText(framed.lastTime));
    Line(out, "records", CountsText(framed.recordCounts));
    Line(out, "bursts", std::to_string(framed.nBursts));
    const SDamageReport& damage = framed.damage;
    Line(out, "damage",
         damage.IsClean() ? "none"
                          : std::to_string(damage.nSkippedBytes) + " bytes skipped in " +
                                std::to_string(damage.nSkippedSpans) + " spans (largest " +
                                std::to_string(damage.nLargestSpan) + "), " +
                                std::to_string(damage.nChecksumErrors) + " checksum errors");
}

void WriteCorvaneText(const SCorvaneInfo& corvane, std::uint64_t nSize, std::ostream& out) {
    const CommonConfig& common = corvane.config.common;
    std::ostringstream text;
    text << "sampling rate " << common.nSamplingRate << " Hz, temperature " << common.dTemperature
         << (common.bTemperatureMeasured ? " (measured)" : "") << ", salinity " << common.dSalinity
         << ", sound speed " << common.dSoundSpeed
         << (common.bSoundSpeedMeasured ? " (measured)" : "");
    Line(out, "start", FileTimeText(corvane.nStartTimeStamp));
    Line(out, "common", text.str());
    Line(out, "probes", std::to_string(corvane.config.probes.size()));
    for (std::size_t p = 0; p < corvane.config.probes.size(); ++p) {
        const ProbeConfig& probe = corvane.config.probes[p];
        text.str({});
        text << '"' << probe.strSerialNumber << "\" on " << probe.strPort << ", velocity range "
             << probe.nVelocityRange << ", start on sync " << YesNo(probe.bStartOnSync)
             << ", sample on sync " << YesNo(probe.bSampleOnSync) << ": "
             << corvane.samplesPerProbe[p] << " samples";
        Line(out, ("probe " + std::to_string(p)).c_str(), text.str());
    }
    Line(out, "records", CountsText(corvane.recordCounts));
    Line(out, "late stamps", std::to_string(corvane.nLateStamps));
    Line(out, "damage",
         corvane.dataEndsAt ? "the chunks end at byte " + std::to_string(*corvane.dataEndsAt) +
                                  " of " + std::to_string(nSize)
                            : std::string("none"));
}

void WriteCounts(CJsonWriter& json, const std::array<std::uint64_t, 256>& counts) {
    json.BeginObject("records");
    for (std::size_t nId = 0; nId < counts.size(); ++nId) {
        if (counts[nId] != 0) {
            json.Integer(Hex(static_cast<int>(nId)), counts[nId]);
        }
    }
    json.EndObject();
}

void WriteTime(CJsonWriter& json, std::string_view strKey, const std::optional<double>& time) {
    if (TimeText(time) == "none") {
        json.Null(strKey);
    } else {
        json.String(strKey, TimeText(time));
    }
}

}  // namespace

void WriteText(const SRecordingInfo& info, std::ostream& out, const std::string& strPlot) {
    out << info.strPath << '\n';
    Line(out, "family",
         (info.family
              ? std::string(FamilyName(*info.family)) + " (" + std::to_string(*info.family) + ")"
              : std::string("unknown")) +
             ", " + std::to_string(info.nSize) + " bytes");
    if (!info.strError.empty()) {
        Line(out, "error", info.strError);
    }
    if (info.framed) {
        WriteFramedText(*info.framed, out);
    }
    if (info.corvane) {
        WriteCorvaneText(*info.corvane, info.nSize, out);
    }
    if (!strPlot.empty()) {
        Line(out, "plot", strPlot);
    }
}

void WriteJson(const SRecordingInfo& info, std::ostream& out, const std::string& strPlot) {
    CJsonWriter json(out);
    json.BeginObject();
    json.String("path", info.strPath);
    json.Integer("size", info.nSize);
    if (info.family) {
        json.Number("family", *info.family);
        json.String("familyName", FamilyName(*info.family));
    } else {
        json.Null("family");
    }
    if (!info.strError.empty()) {
        json.String("error", info.strError);
    }
    if (info.framed) {
        const SFramedInfo& f = *info.framed;
        json.BeginObject("configuration");
        json.Bool("hardwareValid", f.bHardwareValid);
        json.Bool("headValid", f.bHeadValid);
        json.Bool("userValid", f.bUserValid);
        json.Bool("rawDump", f.bRawDump);
        json.EndObject();
        json.String("hardwareSerial", f.strHardwareSerial);
        json.String("headSerial", f.strHeadSerial);
        json.String("firmware", f.strFirmware);
        json.Bool("burstHeaderRepair", f.bNeedsBurstHeaderRepair);
        const SDeploymentInfo& d = f.deployment;
        json.BeginObject("deployment");
        json.Number("instrumentType", d.nInstrumentType);
        json.Number("sampleRate", d.dSampleRate);
        json.Number("rateIndex", d.nRateIndex);
        json.Number("rangeIndex", d.nRangeIndex);
        json.Bool("burst", d.bBurst);
        json.Number("burstSamples", d.nBurstSamples);
        json.Bool("startOnSync", d.bStartOnSync);
        json.Bool("sampleOnSync", d.bSampleOnSync);
        json.Number("soundSpeed", d.dSoundSpeed);
        json.Number("salinity", d.dSalinity);
        json.Number("beams", d.nBeams);
        json.Number("cells", d.nCells);
        json.Bool("waveMode", d.bWave);
        json.EndObject();
        WriteTime(json, "firstTime", f.firstTime);
        WriteTime(json, "lastTime", f.lastTime);
        WriteCounts(json, f.recordCounts);
        json.Integer("bursts", f.nBursts);
        json.BeginObject("damage");
        json.Integer("skippedBytes", f.damage.nSkippedBytes);
        json.Integer("skippedSpans", f.damage.nSkippedSpans);
        json.Integer("largestSpan", f.damage.nLargestSpan);
        json.Integer("checksumErrors", f.damage.nChecksumErrors);
        json.EndObject();
    }
    if (info.corvane) {
        const SCorvaneInfo& c = *info.corvane;
        json.String("start", FileTimeText(c.nStartTimeStamp));
        json.BeginObject("common");
        json.Integer("samplingRate", c.config.common.nSamplingRate);
        json.Number("temperature", c.config.common.dTemperature);
        json.Number("salinity", c.config.common.dSalinity);
        json.Number("soundSpeed", c.config.common.dSoundSpeed);
        json.EndObject();
        json.BeginArray("probes");
        for (std::size_t p = 0; p < c.config.probes.size(); ++p) {
            json.BeginObject();
            json.String("serialNumber", c.config.probes[p].strSerialNumber);
            json.String("port", c.config.probes[p].strPort);
            json.Number("velocityRange", c.config.probes[p].nVelocityRange);
            json.Integer("samples", c.samplesPerProbe[p]);
            json.EndObject();
        }
        json.EndArray();
        WriteCounts(json, c.recordCounts);
        json.Integer("chunks", c.nChunks);
        json.Integer("lateStamps", c.nLateStamps);
        if (c.dataEndsAt) {
            json.Integer("dataEndsAt", *c.dataEndsAt);
        } else {
            json.Null("dataEndsAt");
        }
    }
    if (!strPlot.empty()) {
        json.String("plot", strPlot);
    }
    json.EndObject();
}

}  // namespace sulvan::info
