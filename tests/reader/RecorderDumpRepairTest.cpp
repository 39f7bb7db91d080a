#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "ReaderTestSupport.hpp"
#include "config/ConfigFields.hpp"
#include "format/Checksum.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// The default hardware record, written out from its layout.
Bytes ExpectedDefaultHardware() {
    Bytes record(48, 0);
    const std::uint8_t head[] = {0xA5, 0x05, 24, 0, 'P', 'L', 'D', ' ', '0', '0', '0', '0'};
    std::copy(std::begin(head), std::end(head), record.begin());
    record[18] = 7;
    WriteU16Le(record.data() + 46, RecordChecksum(record.data(), 23));
    return record;
}

// The default head record of a Tarsis recording: 2000 kHz, identity matrix, nb beams.
Bytes ExpectedDefaultTarsisHead(int nBeams) {
    Bytes record(224, 0);
    record[0] = 0xA5;
    record[1] = 0x04;
    record[2] = 112;
    WriteU16Le(record.data() + 6, 2000);
    std::memcpy(record.data() + 10, "PLD 0000", 8);
    for (std::size_t i : {0u, 4u, 8u}) {
        WriteU16Le(record.data() + 30 + 2 * i, 4096);
    }
    WriteU16Le(record.data() + 220, static_cast<std::uint16_t>(nBeams));
    WriteU16Le(record.data() + 222, RecordChecksum(record.data(), 111));
    return record;
}

Bytes Slice(const Bytes& bytes, std::size_t nOffset, std::size_t nCount) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(nOffset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(nOffset + nCount));
}

Bytes Concatenate(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class RecorderDumpRepair : public ReaderTest {
  protected:
    const Bytes m_data = CRecordingBuilder().Add(SystemSample()).Add(VelocitySample()).Image();
    const Bytes m_hardware = HardwareConfig().Build();
    const Bytes m_head = HeadConfig().Build();
    const Bytes m_user = UserConfig().Build();
};

TEST_F(RecorderDumpRepair, ADumpWithoutConfigurationGetsDefaultsInFrontOfIt) {
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 1);
    const std::string strCopy = m_dir.Path("dump_rep.trs");
    EXPECT_EQ(m_strName, strCopy);
    EXPECT_EQ(m_reader.GetFilePath(), strCopy);
    const Bytes copy = ReadFileBytes(strCopy);
    ASSERT_EQ(copy.size(), 784 + m_data.size());
    EXPECT_EQ(Slice(copy, 0, 48), ExpectedDefaultHardware());
    EXPECT_EQ(Slice(copy, 48, 224), ExpectedDefaultTarsisHead(3));
    // The user record is the encoded default deployment with the reader's cell count.
    const Bytes user = Slice(copy, 272, 512);
    EXPECT_EQ(user[0], 0xA5);
    EXPECT_EQ(user[1], 0x00);
    EXPECT_EQ(ReadU16Le(user.data() + 2), 256);
    EXPECT_TRUE(IsRecordIntact(user));
    EXPECT_EQ(ReadU16Le(user.data() + UserField::Cells), 1);
    EXPECT_EQ(Slice(copy, 784, m_data.size()), m_data);
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump.trs")), m_data);
    // The repaired file is read from the position counted for the dump: its start.
    EXPECT_EQ(m_reader.GetPosition(), 0u);
    EXPECT_TRUE(m_reader.IsHardwareValid() && m_reader.IsHeadValid() && m_reader.IsUserValid());
}

TEST_F(RecorderDumpRepair, EachMissingRecordIsDefaultedAndTheOthersKept) {
    const Bytes zeros48(48, 0);
    const Bytes zeros224(224, 0);
    struct SCase {
        const char* pName;
        Bytes input;
        Bytes expectedBlock;  // first 784 bytes of the copy, user record excluded when empty
    };
    const SCase cases[] = {
        {"no-hardware.trs", Concatenate({zeros48, m_head, m_user, m_data}),
         Concatenate({ExpectedDefaultHardware(), m_head, m_user})},
        {"no-head.trs", Concatenate({m_hardware, zeros224, m_user, m_data}),
         Concatenate({m_hardware, ExpectedDefaultTarsisHead(3), m_user})},
    };
    for (const SCase& c : cases) {
        CInsFile reader;
        CScriptedUserInterface ui;
        ui.Answer(true);
        std::string strName = m_dir.Write(c.pName, c.input);
        ASSERT_EQ(reader.Open(strName, true, &ui), 1) << c.pName;
        const Bytes copy = ReadFileBytes(strName);
        EXPECT_EQ(Slice(copy, 0, 784), c.expectedBlock) << c.pName;
        EXPECT_EQ(Slice(copy, 784, c.input.size()), c.input) << c.pName;
        EXPECT_EQ(copy.size(), 784 + c.input.size()) << c.pName;
    }
}

TEST_F(RecorderDumpRepair, AMissingUserRecordIsEncodedWithTheLearntCellCount) {
    const Bytes image = Concatenate(
        {m_hardware, m_head, ProfileRecord(0x21, 3, 5, MakeClock(2008, 1, 1, 0, 0, 0)).Build()});
    m_ui.Answer(true);
    ASSERT_EQ(Open("profile.trs", image), 1);
    const Bytes copy = ReadFileBytes(m_dir.Path("profile_rep.trs"));
    EXPECT_EQ(Slice(copy, 0, 272), Concatenate({m_hardware, m_head}));
    const Bytes user = Slice(copy, 272, 512);
    EXPECT_TRUE(IsRecordIntact(user));
    EXPECT_EQ(ReadU16Le(user.data() + UserField::Cells), 5);
    // An empty deployment name and comment leave zero bytes, not the defaults' texts.
    EXPECT_TRUE(std::all_of(user.begin() + 40, user.begin() + 46, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(user.begin() + 256, user.begin() + 336, [](auto b) { return b == 0; }));
    EXPECT_EQ(Slice(copy, 784, image.size()), image);
}

TEST_F(RecorderDumpRepair, MisplacedRecordsAreCopiedToTheFrontAndLeftWhereTheyWere) {
    const Bytes image = Concatenate({m_data, m_hardware, m_head, m_user, m_data});
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", image), 1);
    const Bytes copy = ReadFileBytes(m_dir.Path("dump_rep.trs"));
    EXPECT_EQ(copy, Concatenate({m_hardware, m_head, m_user, image}));
    // All three were valid where they were found: the copy is read from 784, the dump's start.
    EXPECT_EQ(m_reader.GetPosition(), 784u);
}

TEST_F(RecorderDumpRepair, WithoutChecksumControlABadRecordIsCopiedAsItIs) {
    Bytes user = m_user;
    user[300] ^= 0x10;
    const Bytes image = Concatenate({m_data, m_hardware, m_head, user});
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", image, false), 1);
    const Bytes copy = ReadFileBytes(m_dir.Path("dump_rep.trs"));
    EXPECT_EQ(Slice(copy, 272, 512), user);
    EXPECT_FALSE(IsRecordIntact(Slice(copy, 272, 512)));
}

TEST_F(RecorderDumpRepair, AnExistingCopyIsReplacedWithoutAsking) {
    m_dir.Write("dump_rep.trs", Bytes(10000, 0x11));
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 1);
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump_rep.trs")).size(), 784 + m_data.size());
    EXPECT_EQ(m_ui.Questions().size(), 1u);
}

TEST_F(RecorderDumpRepair, AFailedCopyIsReportedAndTheDumpIsReadAsItIs) {
    // A full disk behind the copy's name: every write fails.
    ASSERT_EQ(::symlink("/dev/full", m_dir.Path("dump_rep.trs").c_str()), 0);
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 1);
    EXPECT_EQ(m_strName, m_dir.Path("dump.trs"));
    EXPECT_EQ(m_reader.GetFilePath(), m_dir.Path("dump.trs"));
    const std::vector<std::string> messages = m_ui.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], m_dir.Path("dump_rep.trs") +
                               "\rNo space left on device\r\rThe repaired copy is incomplete.");
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump.trs")), m_data);
    EXPECT_EQ(m_reader.GetPosition(), 0u);
}

TEST_F(RecorderDumpRepair, ACopyThatCannotBeCreatedLeavesTheDumpUntouched) {
    ASSERT_EQ(::mkdir(m_dir.Path("dump_rep.trs").c_str(), 0755), 0);
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 1);
    const std::vector<std::string> messages = m_ui.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], m_dir.Path("dump_rep.trs") +
                               "\rIs a directory\r\rThe repaired copy could not be created.");
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump.trs")), m_data);
}

}  // namespace
}  // namespace sulvan
