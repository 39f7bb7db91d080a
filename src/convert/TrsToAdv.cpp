#include "convert/TrsToAdv.hpp"

#include <algorithm>
#include <array>

#include "config/ConfigFields.hpp"
#include "convert/AdvLayout.hpp"
#include "convert/BeamSources.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/FileError.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr const char* kAdvExtension = ".adv";

float SampleRateOfIndex(int nRateIndex) {
    return nRateIndex >= 1 && nRateIndex <= 6 ? static_cast<float>(1 << nRateIndex) : 1.0F;
}

std::uint16_t VelocityRangeCode(int nRangeIndex) {
    switch (nRangeIndex) {
        case 3:
            return 3;
        case 4:
            return 2;
        case 5:
            return 1;
        default:
            return 5;
    }
}

std::uint16_t SyncCode(const CConfig& config) {
    if (config.m_bSampleOnSync != 0) {
        return 2;
    }
    return config.m_bStartOnSync != 0 ? 1 : 0;
}

std::int16_t AttitudeCode(CInsConf& conf) {
    if (!conf.HasCompass()) {
        return 0;
    }
    return conf.GetUserInt(UserField::CoordinateSystem) == 0 ? 2 : 1;
}

SAdvFileHeader MakeFileHeader(CInsFile& reader) {
    const CConfig& config = reader.Config();
    CInsConf& conf = reader.Conf();
    SAdvFileHeader header;
    header.start = FieldsFromDateTime(reader.GetFirstTime());
    header.fSalinity = static_cast<float>(config.m_dSalinity);
    header.fSoundSpeed = static_cast<float>(config.m_dSoundSpeed);
    header.fSampleRate = SampleRateOfIndex(config.m_nRateIndex);
    header.nVelocityRange = VelocityRangeCode(config.m_nRangeIndex);
    header.nSyncCode = SyncCode(config);
    header.nAttitude = AttitudeCode(conf);
    header.strName = conf.GetDeploymentName();
    header.strComment = conf.GetComment();
    return header;
}

SAdvInstrumentBlock MakeInstrumentBlock(CInsConf& conf, float fSoundSpeed) {
    SAdvInstrumentBlock block;
    const std::string strSerial = conf.GetHeadSerial();
    block.strSerial = strSerial.size() < 4 ? strSerial : strSerial.substr(strSerial.size() - 4);
    block.nHeadType = static_cast<std::uint8_t>(conf.GetHeadWord(HeadField::HeadType));
    block.nBeams = conf.GetHeadWord(HeadField::Beams);
    block.nHeadQuantity = static_cast<std::uint16_t>(
        std::uint32_t{conf.GetHeadWord(HeadField::Quantity198)} * 1250 / 1000);
    for (std::size_t i = 0; i < block.matrix.size(); ++i) {
        block.matrix[i] = static_cast<float>(conf.GetHeadInt(HeadField::Matrix + 2 * i) / 4096.0);
    }
    block.fSoundSpeed = fSoundSpeed;
    return block;
}

// The state of one conversion: the header blocks as they stand, the latest system sample, and
// the output file with the number of the burst it belongs to.
class CTarsisConversion {
  public:
    CTarsisConversion(CInsFile& reader, const std::string& strOutputPath, bool bBurstFiles)
        : m_reader(reader),
          m_strRequestedPath(strOutputPath),
          m_bBurstFileMode(WritesBurstFiles(reader, bBurstFiles)),
          m_header(MakeFileHeader(reader)),
          m_dVelocityScale(reader.Conf().GetFineVelocityScale() ? kFineVelocityScale
                                                                : kCoarseVelocityScale),
          m_beamSources(std::clamp(reader.Conf().GetUserBeams(), 0, 3),
                        reader.Conf().GetUserCells()) {}

    SFileOutcome Run() {
        try {
            if (!m_bBurstFileMode) {
                OpenOutput(m_strRequestedPath);
            }
            Walk();
            CloseOutput();
        } catch (const FileError& error) {
            m_output.CloseAfterError();
            m_outcome.Append(FailedWriting(error, m_strOutputPath, m_bOutputUnfinished));
        }
        return std::move(m_outcome);
    }

  private:
    void Walk() {
        CRecordWalk walk(m_reader.File(), m_reader.Geometry(),
                         SWalkOptions{.nRecordSizeLimit = kConverterRecordSizeLimit});
        SRecordView record;
        while (walk.Next(record)) {
            switch (record.Id()) {
                case RecordId::SystemSample:
                    TakeSystemSample(record);
                    break;
                case RecordId::VelocityHeader:
                    StartBurst();
                    break;
                case RecordId::VelocitySample:
                    WriteSample(record);
                    break;
                default:
                    break;
            }
        }
        m_outcome.damage = walk.Damage();
    }

    void TakeSystemSample(const SRecordView& record) {
        using namespace SystemSampleField;
        const std::uint8_t* p = record.Data();
        m_header.fTemperature = static_cast<float>(ReadI16Le(p + Temperature) * 0.01);
        m_header.fSoundSpeed = static_cast<float>(ReadU16Le(p + SoundSpeed) * 0.1);
        m_sample.nHeading = ReadI16Le(p + Heading);
        m_sample.nPitch = ReadI16Le(p + Pitch);
        m_sample.nRoll = ReadI16Le(p + Roll);
        m_sample.nTemperature = static_cast<std::int16_t>(ReadI16Le(p + Temperature) / 10);
        m_bSystemSeen = true;
    }

    void StartBurst() {
        if (m_bBurstFileMode) {
            CloseOutput();
            OpenOutput(BurstFileName(m_strRequestedPath, m_nBursts + 1));
        }
        ++m_nBursts;
    }

    void WriteSample(const SRecordView& record) {
        if ((m_bBurstFileMode && m_nBursts == 0) || !m_bSystemSeen) {
            return;
        }
        if (!m_bHeaderWritten) {
            WriteHeaderBlocks();
        }
        const std::uint8_t* p = record.Data() + VelocitySampleField::Arrays;
        const std::size_t nEntries =
            VelocitySampleEntries(record.Size(), VelocitySampleField::Arrays);
        const auto& sources = m_beamSources.For(nEntries);
        for (std::size_t b = 0; b < sources.size(); ++b) {
            const int nSource = sources[b];
            if (nSource < 0) {
                continue;
            }
            const auto i = static_cast<std::size_t>(nSource);
            m_sample.velocity[b] = static_cast<float>(ReadI16Le(p + 2 * i) * m_dVelocityScale);
            m_sample.amplitude[b] = p[2 * nEntries + i];
            m_sample.correlation[b] = p[3 * nEntries + i];
        }
        const bool bWithAttitude = m_header.nAttitude != 0;
        const std::size_t nSize = bWithAttitude ? kAdvSampleWithAttitudeSize : kAdvSampleSize;
        std::uint8_t* pOut = m_output.WriteInPlace(nSize + 2);
        EncodeAdvSample(m_sample, bWithAttitude, pOut);
        pOut[nSize] = 0;
        pOut[nSize + 1] = 0;
        ++m_nSamplesInFile;
    }

    void WriteHeaderBlocks() {
        const auto header = EncodeAdvFileHeader(m_header);
        const auto block =
            EncodeAdvInstrumentBlock(MakeInstrumentBlock(m_reader.Conf(), m_header.fSoundSpeed));
        m_output.Write(header.data(), header.size());
        m_output.Write(block.data(), block.size());
        m_bHeaderWritten = true;
    }

    void OpenOutput(const std::string& strPath) {
        m_strOutputPath = strPath;
        m_output.Open(strPath, CBinaryFile::EOpenMode::Create);
        m_bOutputUnfinished = true;
        m_bHeaderWritten = false;
        m_nSamplesInFile = 0;
    }

    // A file is listed as written once it is closed whole.
    void CloseOutput() {
        if (m_bOutputUnfinished) {
            m_output.Close();
            m_bOutputUnfinished = false;
            m_outcome.written.push_back({m_strOutputPath, m_nSamplesInFile});
        }
    }

    CInsFile& m_reader;
    // The path the caller asked for; burst files are named after it.
    const std::string m_strRequestedPath;
    std::string m_strOutputPath;  // the file being written
    bool m_bOutputUnfinished = false;
    const bool m_bBurstFileMode;
    SAdvFileHeader m_header;
    const double m_dVelocityScale;
    CBeamSources m_beamSources;
    SAdvSample m_sample;
    bool m_bSystemSeen = false;
    bool m_bHeaderWritten = false;
    int m_nBursts = 0;
    std::uint64_t m_nSamplesInFile = 0;
    CBinaryFile m_output;
    SFileOutcome m_outcome;
};

}  // namespace

bool WritesBurstFiles(const CInsFile& reader, bool bBurstFiles) {
    return bBurstFiles && reader.Config().m_bBurst == 1;
}

std::string BurstFileName(const std::string& strOutputPath, int nBurst) {
    std::string_view strBase(strOutputPath);
    if (strBase.ends_with(kAdvExtension)) {
        strBase.remove_suffix(std::string_view(kAdvExtension).size());
    }
    return std::string(strBase) + "_" + std::to_string(nBurst) + kAdvExtension;
}

SFileOutcome TrsToAdv(CInsFile& reader, const std::string& strOutputPath, bool bBurstFiles) {
    return CTarsisConversion(reader, strOutputPath, bBurstFiles).Run();
}

}  // namespace sulvan
