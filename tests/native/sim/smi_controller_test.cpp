// The simulated controller: answer fields, rejections, faults, image I/O, profiles, persistence.
#include "core/sim/smi_controller.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/smi/vendor_commands.h"
#include "tests/native/support/firmware_image.h"

namespace {

namespace fs = std::filesystem;
using scsi::Direction;
using sim::CommandKind;

class TempFolder {
public:
    TempFolder()
    {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("smi_sim_" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class SimulatorTest : public ::testing::Test {
protected:
    // A small drive: 2048 sectors (1 MiB) unless a test says otherwise.
    sim::DriveProfile Profile(std::uint64_t sectors = 2048)
    {
        sim::DriveProfile profile;
        profile.imagePath = folder_.File("drive.img");
        profile.capacitySectors = sectors;
        return profile;
    }

    std::unique_ptr<sim::SmiController> Start(sim::DriveProfile profile)
    {
        auto controller = std::make_unique<sim::SmiController>(std::move(profile));
        std::string error;
        EXPECT_TRUE(controller->Open(error)) << error;
        return controller;
    }

    static bool Send(sim::SmiController& drive, const smi::VendorCommand& command, std::uint8_t* data,
                     std::uint32_t cdbLength = smi::kNtCdbLength)
    {
        return drive.Execute(command.cdb, cdbLength, command.direction, data, command.dataLength);
    }

    static std::array<std::uint8_t, 512> Answer(sim::SmiController& drive, const smi::VendorCommand& command)
    {
        std::array<std::uint8_t, 512> answer{};
        EXPECT_TRUE(Send(drive, command, answer.data()));
        return answer;
    }

    static bool WriteSectors(sim::SmiController& drive, std::uint32_t sector, const std::uint8_t* data, std::uint32_t bytes)
    {
        return drive.Execute(scsi::BlockCdb(scsi::kWrite10, sector, bytes), scsi::kBlockCdbLength, Direction::Out,
                             const_cast<std::uint8_t*>(data), bytes);
    }

    static bool ReadSectors(sim::SmiController& drive, std::uint32_t sector, std::uint8_t* data, std::uint32_t bytes)
    {
        return drive.Execute(scsi::BlockCdb(scsi::kRead10, sector, bytes), scsi::kBlockCdbLength, Direction::In, data,
                             bytes);
    }

    // Uploads `image` as the repair does: begin, 64 bank writes, 256 quarter reads.
    static std::vector<std::uint8_t> Upload(sim::SmiController& drive, const std::vector<std::uint8_t>& image)
    {
        const auto flash = Answer(drive, smi::ReadFlashInfo());
        const std::uint8_t n = smi::IspParameterN(flash);
        const std::uint8_t m = smi::IspParameterM(flash);
        std::array<std::uint8_t, 512> scratch{};
        EXPECT_TRUE(Send(drive, smi::IspBegin(n, m), scratch.data()));
        for (std::uint8_t bank = 0; bank < sim::kFirmwareBanks; ++bank) {
            std::array<std::uint8_t, smi::kWriteBankBlockSize> block{};
            smi::BuildWriteBankBlock(std::span<const std::uint8_t, smi::kBankSize>(image.data() + smi::BankOffset(bank), smi::kBankSize), block);
            Send(drive, smi::IspWriteBank(n, bank, m), block.data());
        }
        std::vector<std::uint8_t> readBack(sim::kFirmwareAreaSize);
        for (std::uint8_t bank = 0; bank < sim::kFirmwareBanks; ++bank) {
            for (std::uint8_t quarter = 0; quarter < 4; ++quarter)
                Send(drive, smi::IspReadBank(n, bank, quarter, m), readBack.data() + smi::QuarterOffset(bank, quarter));
        }
        return readBack;
    }

    // The whole firmware area: the upload writes and reads back every bank.
    static std::vector<std::uint8_t> FirmwareImage(const char* version = "080411-AB-")
    {
        return test_support::TestFirmwareImage(version, sim::kFirmwareAreaSize);
    }

    TempFolder folder_;
};

TEST_F(SimulatorTest, DefaultProfileDescribesAHealthyQualifyingDrive)
{
    auto drive = Start(Profile(0));  // no capacity, no image yet: 256 MiB
    EXPECT_EQ(drive->CapacitySectors(), 524288u);
    EXPECT_EQ(fs::file_size(drive->Profile().imagePath), 256u << 20);
    EXPECT_EQ(drive->DriveLetter(), 'F');

    const auto device = Answer(*drive, smi::ReadDeviceInfo());
    const auto firmware = Answer(*drive, smi::ReadFirmwareInfo());
    const auto flash = Answer(*drive, smi::ReadFlashInfo());
    EXPECT_EQ(smi::DeviceIdentifier(device), 0x3538);
    EXPECT_EQ(smi::ControllerModel(firmware), "SM325AB");
    EXPECT_EQ(smi::FirmwareVersion(firmware), "071228-AB-");
    EXPECT_EQ(smi::TotalSectors(flash), 524288u);
    EXPECT_EQ(smi::CapacityMegabytes(smi::TotalSectors(flash)), 256u);
    EXPECT_EQ(smi::FlashIdentifier(flash), (std::array<std::uint8_t, 4>{0xEC, 0xD5, 0x14, 0xB6}));
    EXPECT_TRUE(smi::IspParameterAllowsUpload(smi::IspParameterN(flash)));
    EXPECT_EQ(smi::IspParameterM(flash), 0);
}

TEST_F(SimulatorTest, AnswerFieldsStandAtTheirOffsets)
{
    auto profile = Profile(4194305);
    profile.controllerModel = "SM321";
    profile.firmwareVersion = "080411-AB-";
    profile.flashIdentifier = {0x89, 0xD7, 0xD5, 0x3E};
    profile.ispN = 0x42;
    profile.ispMBytes[15] = 0x09;
    profile.vendorText = "VENDOR";
    profile.productText = "PRODUCT TEXT 16C";
    profile.deviceIdentifier = 0x090C;
    auto drive = Start(profile);

    const auto device = Answer(*drive, smi::ReadDeviceInfo());
    EXPECT_EQ(smi::VendorText(device), "VENDOR  ");
    EXPECT_EQ(smi::ProductText(device), "PRODUCT TEXT 16C");
    EXPECT_EQ(device[8], 0x0C);
    EXPECT_EQ(device[9], 0x09);

    const auto firmware = Answer(*drive, smi::ReadFirmwareInfo());
    EXPECT_EQ(std::string(smi::ControllerModel(firmware).substr(0, 5)), "SM321");
    EXPECT_EQ(firmware[435], 0);  // shorter model texts are padded with zeros
    EXPECT_EQ(smi::FirmwareVersion(firmware), "080411-AB-");

    const auto flash = Answer(*drive, smi::ReadFlashInfo());
    EXPECT_EQ(flash[20], 0x00);
    EXPECT_EQ(flash[21], 0x40);
    EXPECT_EQ(flash[22], 0x00);
    EXPECT_EQ(flash[23], 0x01);
    EXPECT_EQ(smi::TotalSectors(flash), 4194305u);
    EXPECT_EQ(smi::FlashIdentifier(flash), (std::array<std::uint8_t, 4>{0x89, 0xD7, 0xD5, 0x3E}));
    EXPECT_EQ(smi::IspParameterN(flash), 0x42);
    EXPECT_EQ(smi::IspParameterM(flash), 15);
}

TEST_F(SimulatorTest, InquiryVariantsAndTheMatchRule)
{
    struct Case {
        sim::InquiryVariant variant;
        bool matches;
        const char* bytes5to7;
    };
    const Case cases[] = {
        {sim::InquiryVariant::UpperSmi, true, "SMI"},
        {sim::InquiryVariant::LowerSmi, true, "smi"},
        {sim::InquiryVariant::ProductTemplate, true, nullptr},
        {sim::InquiryVariant::None, false, nullptr},
    };
    for (const Case& c : cases) {
        auto profile = Profile();
        profile.inquiry = c.variant;
        sim::SmiController drive(profile);
        std::string error;
        ASSERT_TRUE(drive.Open(error)) << error;
        std::array<std::uint8_t, 36> data{};
        ASSERT_TRUE(drive.Execute(scsi::InquiryCdb(), scsi::kInquiryCdbLength, Direction::In, data.data(), 36));
        EXPECT_EQ(smi::MatchesSmiInquiry(std::span<const std::uint8_t>(data).subspan(5)), c.matches)
            << static_cast<int>(c.variant);
        EXPECT_EQ(data[4], 31);
        if (c.bytes5to7) {
            EXPECT_EQ(std::memcmp(data.data() + 5, c.bytes5to7, 3), 0);
        }
        if (c.variant == sim::InquiryVariant::ProductTemplate) {
            EXPECT_EQ(std::memcmp(data.data() + 8, smi::kInquiryProductTemplate.data(), 22), 0);
        }
    }
}

TEST_F(SimulatorTest, VendorCommandsTakeBothCdbLengths)
{
    auto drive = Start(Profile());
    for (std::uint32_t length : {smi::kNtCdbLength, smi::kAspiCdbLength}) {
        std::array<std::uint8_t, 512> answer{};
        EXPECT_TRUE(Send(*drive, smi::ReadFirmwareInfo(), answer.data(), length)) << length;
        EXPECT_EQ(smi::ControllerModel(answer), "SM325AB");
    }
}

TEST_F(SimulatorTest, MalformedCommandsAreRejectedAndLeaveTheBufferAlone)
{
    struct Case {
        const char* name;
        scsi::Cdb cdb;
        std::uint32_t cdbLength;
        Direction direction;
        std::uint32_t dataLength;
    };
    const auto vendor = [](std::initializer_list<int> bytes) {
        scsi::Cdb cdb{};
        std::size_t i = 0;
        for (int b : bytes)
            cdb[i++] = static_cast<std::uint8_t>(b);
        return cdb;
    };
    const std::uint32_t capacity = 2048;
    const Case cases[] = {
        {"data length not byte 11 x 512", smi::ReadDeviceInfo().cdb, 16, Direction::In, 256},
        {"no data for a 512-byte answer", smi::ReadFlashInfo().cdb, 16, Direction::In, 0},
        {"vendor read sent as data out", smi::ReadFirmwareInfo().cdb, 16, Direction::Out, 512},
        {"vendor CDB length 10", smi::ReadFirmwareInfo().cdb, 10, Direction::In, 512},
        {"vendor CDB length 6", smi::ReadDeviceInfo().cdb, 6, Direction::In, 512},
        {"parameter byte set on F0 02", vendor({0xF0, 0x02, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}), 16, Direction::In, 512},
        {"byte 12 set", vendor({0xF0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}), 16, Direction::In, 512},
        {"unknown sub-command F0 99", vendor({0xF0, 0x99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}), 16, Direction::In, 512},
        {"unknown opcode 0x55", vendor({0x55}), 10, Direction::In, 512},
        {"chip query without a configured reply", vendor({0xCA}), 16, Direction::In, 512},
        {"ISP begin with the wrong n", smi::IspBegin(0x07, 0).cdb, 16, Direction::In, 512},
        {"ISP begin with the wrong m", smi::IspBegin(0x01, 3).cdb, 16, Direction::In, 512},
        {"ISP read before ISP begin", smi::IspReadBank(0x01, 0, 0, 0).cdb, 16, Direction::In, 512},
        {"ISP end before ISP begin", smi::IspEnd().cdb, 16, Direction::In, 0},
        {"INQUIRY with CDB length 16", scsi::InquiryCdb(), 16, Direction::In, 36},
        {"INQUIRY length not the allocation length", scsi::InquiryCdb(), 6, Direction::In, 512},
        {"READ(10) beyond the capacity", scsi::BlockCdb(scsi::kRead10, capacity, 512), 10, Direction::In, 512},
        {"READ(10) running over the end", scsi::BlockCdb(scsi::kRead10, capacity - 1, 1024), 10, Direction::In, 1024},
        {"READ(10) length not the block count", scsi::BlockCdb(scsi::kRead10, 0, 1024), 10, Direction::In, 512},
        {"READ(10) of no blocks", scsi::BlockCdb(scsi::kRead10, 0, 0), 10, Direction::In, 0},
        {"READ(10) over 64 KiB", scsi::BlockCdb(scsi::kRead10, 0, 65536 + 512), 10, Direction::In, 65536 + 512},
        {"READ(10) as data out", scsi::BlockCdb(scsi::kRead10, 0, 512), 10, Direction::Out, 512},
        {"READ(10) with CDB length 16", scsi::BlockCdb(scsi::kRead10, 0, 512), 16, Direction::In, 512},
    };
    auto drive = Start(Profile(capacity));
    for (const Case& c : cases) {
        std::vector<std::uint8_t> data(std::max<std::uint32_t>(c.dataLength, 1), 0xAA);
        EXPECT_FALSE(drive->Execute(c.cdb, c.cdbLength, c.direction, data.data(), c.dataLength)) << c.name;
        EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0xAA; })) << c.name;
    }
    // A null buffer with a nonzero length is refused rather than written through.
    EXPECT_FALSE(drive->Execute(smi::ReadDeviceInfo().cdb, 16, Direction::In, nullptr, 512));
}

TEST_F(SimulatorTest, WriteBankNeedsItsTrailerAndTheSession)
{
    auto drive = Start(Profile());
    std::array<std::uint8_t, smi::kWriteBankBlockSize> block{};
    block[2048] = 0xE4;
    block[2049] = 0x24;
    block[2050] = 0x24;
    EXPECT_FALSE(Send(*drive, smi::IspWriteBank(1, 0, 0), block.data()));  // no ISP begin yet
    std::array<std::uint8_t, 512> scratch{};
    ASSERT_TRUE(Send(*drive, smi::IspBegin(1, 0), scratch.data()));
    EXPECT_TRUE(Send(*drive, smi::IspWriteBank(1, 0, 0), block.data()));
    block[2050] = 0;
    EXPECT_FALSE(Send(*drive, smi::IspWriteBank(1, 1, 0), block.data()));
    block[2050] = 0x24;
    EXPECT_FALSE(Send(*drive, smi::IspWriteBank(1, 64, 0), block.data()));  // bank beyond the area
}

TEST_F(SimulatorTest, UploadReadsBackAndChangesTheReportedVersion)
{
    auto profile = Profile();
    profile.ispN = 0x23;
    profile.ispMBytes[4] = 1;
    auto drive = Start(profile);
    const auto image = FirmwareImage();
    const auto readBack = Upload(*drive, image);
    EXPECT_EQ(readBack, image);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), drive->FirmwareArea().begin()));
    EXPECT_EQ(smi::FirmwareVersion(Answer(*drive, smi::ReadFirmwareInfo())), "071228-AB-");  // until ISP end
    ASSERT_TRUE(drive->Execute(smi::IspEnd().cdb, 16, Direction::In, nullptr, 0));
    EXPECT_EQ(smi::FirmwareVersion(Answer(*drive, smi::ReadFirmwareInfo())), "080411-AB-");
    EXPECT_EQ(drive->CommandCount(CommandKind::IspWriteBank), 64u);
    EXPECT_EQ(drive->CommandCount(CommandKind::IspReadBank), 256u);
}

TEST_F(SimulatorTest, FirmwareAreaFileKeepsAnUploadForTheNextRun)
{
    auto profile = Profile();
    profile.firmwareAreaPath = folder_.File("area.bin");
    const auto image = FirmwareImage("090101-XY-");
    {
        auto drive = Start(profile);
        EXPECT_EQ(fs::file_size(profile.firmwareAreaPath), sim::kFirmwareAreaSize);
        Upload(*drive, image);
        ASSERT_TRUE(drive->Execute(smi::IspEnd().cdb, 16, Direction::In, nullptr, 0));
    }
    const std::string stored = ReadText(profile.firmwareAreaPath);
    ASSERT_EQ(stored.size(), sim::kFirmwareAreaSize);
    EXPECT_EQ(std::memcmp(stored.data(), image.data(), image.size()), 0);

    auto next = Start(profile);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), next->FirmwareArea().begin()));
    EXPECT_EQ(smi::FirmwareVersion(Answer(*next, smi::ReadFirmwareInfo())), "090101-XY-");
}

TEST_F(SimulatorTest, TheKthCommandOfAKindFails)
{
    struct Case {
        CommandKind kind;
        std::uint32_t occurrence;  // 0: all
    };
    const Case cases[] = {
        {CommandKind::Inquiry, 2},     {CommandKind::DeviceInfo, 1},   {CommandKind::FirmwareInfo, 3},
        {CommandKind::FlashInfo, 0},   {CommandKind::IspBegin, 1},     {CommandKind::IspWriteBank, 64},
        {CommandKind::IspReadBank, 256}, {CommandKind::IspEnd, 1},     {CommandKind::Read10, 2},
        {CommandKind::Write10, 3},     {CommandKind::ChipQuery, 1},
    };
    for (const Case& c : cases) {
        auto profile = Profile();
        profile.chipQueryReply = std::vector<std::uint8_t>{0x28, 0x06, 0x11, 0x00};
        profile.failures.push_back({c.kind, c.occurrence});
        sim::SmiController drive(profile);
        std::string error;
        ASSERT_TRUE(drive.Open(error)) << error;

        // Four rounds of every kind; the ISP session repeats its whole sequence each round.
        std::vector<bool> results;
        for (int round = 0; round < 4; ++round) {
            std::array<std::uint8_t, 512> a{};
            std::array<std::uint8_t, 36> inquiry{};
            std::array<std::uint8_t, smi::kWriteBankBlockSize> block{};
            block[2048] = 0xE4;
            block[2049] = 0x24;
            block[2050] = 0x24;
            const auto run = [&](CommandKind kind, bool ok) {
                if (kind == c.kind)
                    results.push_back(ok);
            };
            run(CommandKind::Inquiry, drive.Execute(scsi::InquiryCdb(), 6, Direction::In, inquiry.data(), 36));
            run(CommandKind::DeviceInfo, Send(drive, smi::ReadDeviceInfo(), a.data()));
            run(CommandKind::FirmwareInfo, Send(drive, smi::ReadFirmwareInfo(), a.data()));
            run(CommandKind::FlashInfo, Send(drive, smi::ReadFlashInfo(), a.data()));
            scsi::Cdb query{};
            query[0] = 0xCA;
            run(CommandKind::ChipQuery, drive.Execute(query, 16, Direction::In, a.data(), 512));
            // The session must be open for the bank commands even when the begin itself "fails".
            const bool begun = Send(drive, smi::IspBegin(1, 0), a.data());
            run(CommandKind::IspBegin, begun);
            if (!begun)
                Send(drive, smi::IspBegin(1, 0), a.data());
            for (std::uint8_t bank = 0; bank < 64; ++bank)
                run(CommandKind::IspWriteBank, Send(drive, smi::IspWriteBank(1, bank, 0), block.data()));
            for (std::uint8_t bank = 0; bank < 64; ++bank)
                for (std::uint8_t q = 0; q < 4; ++q)
                    run(CommandKind::IspReadBank, Send(drive, smi::IspReadBank(1, bank, q, 0), a.data()));
            run(CommandKind::IspEnd, drive.Execute(smi::IspEnd().cdb, 16, Direction::In, nullptr, 0));
            std::array<std::uint8_t, 512> sector{};
            run(CommandKind::Read10, ReadSectors(drive, 0, sector.data(), 512));
            run(CommandKind::Write10, WriteSectors(drive, 0, sector.data(), 512));
        }
        ASSERT_FALSE(results.empty()) << sim::KindName(c.kind);
        for (std::size_t i = 0; i < results.size(); ++i) {
            // The retried begin is counted too; it is the second ISP-begin of the first round.
            const bool expectedFail = c.occurrence == 0 || i + 1 == c.occurrence;
            EXPECT_EQ(results[i], !expectedFail) << sim::KindName(c.kind) << " #" << i + 1;
        }
    }
}

TEST_F(SimulatorTest, FailedReadLeavesTheBufferAndFailedWriteStoresNothing)
{
    auto profile = Profile();
    profile.failures.push_back({CommandKind::Read10, 0});
    profile.failures.push_back({CommandKind::Write10, 1});
    auto drive = Start(profile);
    std::vector<std::uint8_t> data(4096, 0x5A);
    EXPECT_FALSE(WriteSectors(*drive, 8, data.data(), 4096));
    EXPECT_FALSE(ReadSectors(*drive, 8, data.data(), 4096));
    EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0x5A; }));
    drive->Flush();
    const std::string image = ReadText(profile.imagePath);
    EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](char b) { return b == 0; }));
}

TEST_F(SimulatorTest, ReadBackCorruptionHitsOneByte)
{
    struct Case {
        std::optional<sim::ReadBackCorruption> corruption;
        std::size_t differsAt;  // npos: none
    };
    const Case cases[] = {
        {std::nullopt, std::string::npos},
        {sim::ReadBackCorruption{}, sim::kFirmwareAreaSize - 1},  // the very last byte of bank 63
        {sim::ReadBackCorruption{5, 1000}, 5 * 2048 + 1000},
        {sim::ReadBackCorruption{0, 0}, 0},
    };
    for (const Case& c : cases) {
        auto profile = Profile();
        profile.readBackCorruption = c.corruption;
        auto drive = Start(profile);
        const auto image = FirmwareImage();
        const auto readBack = Upload(*drive, image);
        std::size_t differs = std::string::npos;
        int differences = 0;
        for (std::size_t i = 0; i < image.size(); ++i) {
            if (image[i] != readBack[i]) {
                differs = differences++ == 0 ? i : differs;
            }
        }
        EXPECT_EQ(differs, c.differsAt);
        EXPECT_LE(differences, 1);
        // The stored area itself is right; only what comes back differs.
        EXPECT_TRUE(std::equal(image.begin(), image.end(), drive->FirmwareArea().begin()));
    }
}

TEST_F(SimulatorTest, IgnoredWritesReportSuccessAndStoreNothing)
{
    auto profile = Profile();
    profile.ignoreWrites = true;
    auto drive = Start(profile);
    std::vector<std::uint8_t> data(512, 0x77);
    EXPECT_TRUE(WriteSectors(*drive, 3, data.data(), 512));
    std::vector<std::uint8_t> back(512, 0x11);
    ASSERT_TRUE(ReadSectors(*drive, 3, back.data(), 512));
    EXPECT_TRUE(std::all_of(back.begin(), back.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(SimulatorTest, ADriveThatDisappearsFailsEveryLaterCommand)
{
    auto profile = Profile();
    profile.disappearAfter = 3;
    profile.commandLogPath = folder_.File("commands.log");
    auto drive = Start(profile);
    std::array<std::uint8_t, 512> a{};
    std::array<std::uint8_t, 36> inquiry{};
    EXPECT_TRUE(Send(*drive, smi::ReadDeviceInfo(), a.data()));
    EXPECT_TRUE(Send(*drive, smi::ReadFirmwareInfo(), a.data()));
    EXPECT_TRUE(ReadSectors(*drive, 0, a.data(), 512));
    EXPECT_FALSE(drive->Execute(scsi::InquiryCdb(), 6, Direction::In, inquiry.data(), 36));
    EXPECT_FALSE(Send(*drive, smi::ReadFlashInfo(), a.data()));
    EXPECT_FALSE(WriteSectors(*drive, 0, a.data(), 512));
    const auto lines = Lines(ReadText(profile.commandLogPath));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "3 read10 28000000000000000100 512 ok");
    EXPECT_EQ(lines[3], "4 inquiry 120000002400 36 fail gone");
}

// A drive that takes a command and refuses it says so in its status and sense, as real drives
// do; one that has dropped off the bus gives no answer at all.
TEST_F(SimulatorTest, RefusalsCarryTheStatusAndSenseOfARealDrive)
{
    struct Case {
        const char* name;
        const char* profile;  // added to a healthy 2048-sector drive
        scsi::Cdb cdb;
        std::uint32_t cdbLength;
        Direction direction;
        std::uint32_t dataLength;
        bool answered;
        std::uint8_t status;
        scsi::SenseCode sense;
    };
    const scsi::Cdb write8 = scsi::BlockCdb(scsi::kWrite10, 8, 4096);
    const scsi::Cdb read8 = scsi::BlockCdb(scsi::kRead10, 8, 4096);
    scsi::Cdb unknown{};
    unknown[0] = 0x55;
    const auto good = scsi::SenseCode{};
    const Case cases[] = {
        {"healthy write", "", write8, 10, Direction::Out, 4096, true, scsi::kStatusGood, good},
        {"write-protected write", "write_protect = yes", write8, 10, Direction::Out, 4096, true,
         scsi::kStatusCheckCondition, scsi::kWriteProtected},
        {"write-protected drive reads", "write_protect = yes", read8, 10, Direction::In, 4096, true, scsi::kStatusGood, good},
        {"write over a bad sector", "bad_sectors = 15-20", write8, 10, Direction::Out, 4096, true,
         scsi::kStatusCheckCondition, scsi::kWriteError},
        {"read over a bad sector", "bad_sectors = 8", read8, 10, Direction::In, 4096, true,
         scsi::kStatusCheckCondition, scsi::kUnrecoveredReadError},
        {"read next to the bad sectors", "bad_sectors = 16-20", read8, 10, Direction::In, 4096, true, scsi::kStatusGood, good},
        {"injected write fault", "fail = write10:1", write8, 10, Direction::Out, 4096, true,
         scsi::kStatusCheckCondition, scsi::kWriteError},
        {"injected query fault", "fail = flash-info:1", smi::ReadFlashInfo().cdb, 16, Direction::In, 512, true,
         scsi::kStatusCheckCondition, scsi::kAbortedCommand},
        {"unknown opcode", "", unknown, 10, Direction::In, 512, true, scsi::kStatusCheckCondition, scsi::kInvalidOpcode},
        {"malformed vendor block", "", smi::ReadFlashInfo().cdb, 6, Direction::In, 512, true,
         scsi::kStatusCheckCondition, scsi::kInvalidFieldInCdb},
        {"beyond the end", "", scsi::BlockCdb(scsi::kRead10, 2047, 1024), 10, Direction::In, 1024, true,
         scsi::kStatusCheckCondition, scsi::kLbaOutOfRange},
        {"dropped off the bus", "disappear_after = 0", read8, 10, Direction::In, 4096, false, scsi::kStatusGood, good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveProfile profile = Profile();
        std::string error;
        ASSERT_TRUE(sim::ParseProfile(c.profile, profile, error)) << error;
        auto drive = Start(profile);
        std::vector<std::uint8_t> data(c.dataLength, 0x5A);
        const sim::CommandOutcome outcome = drive->Submit(c.cdb, c.cdbLength, c.direction, data.data(), c.dataLength);
        EXPECT_EQ(outcome.answered, c.answered);
        if (!c.answered)
            continue;
        EXPECT_EQ(outcome.status, c.status);
        const scsi::FixedSense sense = outcome.SenseData();
        const auto code = scsi::ReadSense(sense);
        ASSERT_EQ(code.has_value(), c.status == scsi::kStatusCheckCondition);
        if (code) {
            EXPECT_EQ(code->key, c.sense.key);
            EXPECT_EQ(code->asc, c.sense.asc);
            EXPECT_EQ(code->ascq, c.sense.ascq);
        }
        if (c.direction == Direction::In && !outcome.Good()) {
            EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0x5A; }));
        }
    }
}

TEST_F(SimulatorTest, AWriteProtectedDriveKeepsItsSectors)
{
    auto profile = Profile();
    profile.writeProtected = true;
    profile.commandLogPath = folder_.File("commands.log");
    auto drive = Start(profile);
    std::vector<std::uint8_t> data(512, 0x77);
    EXPECT_FALSE(WriteSectors(*drive, 3, data.data(), 512));
    std::vector<std::uint8_t> back(512, 0x11);
    ASSERT_TRUE(ReadSectors(*drive, 3, back.data(), 512));
    EXPECT_TRUE(std::all_of(back.begin(), back.end(), [](std::uint8_t b) { return b == 0; }));
    const auto lines = Lines(ReadText(profile.commandLogPath));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "1 write10 2A000000000300000100 512 fail 07/27/00");
}

TEST_F(SimulatorTest, VolumeEventsStandInTheLogWithoutCountingAsCommands)
{
    auto profile = Profile();
    profile.commandLogPath = folder_.File("commands.log");
    profile.disappearAfter = 1;
    auto drive = Start(profile);
    std::array<std::uint8_t, 512> a{};
    drive->LogVolumeEvent("lock-volume", false);
    EXPECT_TRUE(Send(*drive, smi::ReadDeviceInfo(), a.data()));  // still the first command
    drive->LogVolumeEvent("dismount-volume", true);
    const auto lines = Lines(ReadText(profile.commandLogPath));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "0 lock-volume - 0 fail");
    EXPECT_EQ(lines[2], "1 dismount-volume - 0 ok");
}

TEST_F(SimulatorTest, CommandLogHasOneLinePerCommand)
{
    auto profile = Profile();
    profile.commandLogPath = folder_.File("commands.log");
    {
        auto drive = Start(profile);
        std::array<std::uint8_t, 512> a{};
        Send(*drive, smi::ReadFlashInfo(), a.data(), 12);
        drive->Execute(smi::IspEnd().cdb, 16, Direction::In, nullptr, 0);
    }
    {
        auto drive = Start(profile);  // a second process appends
        std::array<std::uint8_t, 512> a{};
        Send(*drive, smi::ReadDeviceInfo(), a.data());
    }
    const auto lines = Lines(ReadText(profile.commandLogPath));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "1 flash-info F02000000000000000000001 512 ok");
    EXPECT_EQ(lines[1], "2 isp-end F02C0000000000000000000000000000 0 fail 05/24/00");
    EXPECT_EQ(lines[2], "1 device-info F0020000000000000000000100000000 512 ok");
}

TEST_F(SimulatorTest, ChipQueryAnswersWhenConfigured)
{
    auto profile = Profile();
    profile.chipQueryReply = std::vector<std::uint8_t>{0x16, 0x03};
    auto drive = Start(profile);
    scsi::Cdb query{};
    query[0] = 0xCA;
    std::array<std::uint8_t, 512> a;
    a.fill(0xEE);
    ASSERT_TRUE(drive->Execute(query, 16, Direction::In, a.data(), 512));
    EXPECT_EQ(a[0], 0x16);
    EXPECT_EQ(a[1], 0x03);
    EXPECT_EQ(a[2], 0x00);
    EXPECT_EQ(a[511], 0x00);
}

TEST_F(SimulatorTest, SectorsRoundTripThroughGatheredWrites)
{
    auto drive = Start(Profile(4096));
    std::mt19937 random(7);
    std::vector<std::uint8_t> model(4096 * 512, 0);
    // Runs of consecutive writes, rewrites inside a run, jumps and reads in between.
    for (int step = 0; step < 3000; ++step) {
        const std::uint32_t sector = step % 5 == 0 ? random() % 4000 : (step * 3) % 4000;
        const std::uint32_t count = 1 + random() % 8;
        std::vector<std::uint8_t> data(count * 512);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(random());
        ASSERT_TRUE(WriteSectors(*drive, sector, data.data(), count * 512));
        std::copy(data.begin(), data.end(), model.begin() + sector * 512);
        if (step % 7 == 0) {
            const std::uint32_t at = random() % 4000;
            std::vector<std::uint8_t> back(8 * 512);
            ASSERT_TRUE(ReadSectors(*drive, at, back.data(), 8 * 512));
            ASSERT_TRUE(std::equal(back.begin(), back.end(), model.begin() + at * 512)) << step;
        }
    }
    ASSERT_TRUE(drive->Flush());
    const std::string image = ReadText(drive->Profile().imagePath);
    ASSERT_EQ(image.size(), model.size());
    EXPECT_EQ(std::memcmp(image.data(), model.data(), model.size()), 0);
}

TEST_F(SimulatorTest, GatheredWritesReachTheFileAtTheNextOtherCommand)
{
    auto drive = Start(Profile());
    std::vector<std::uint8_t> data(512, 0x6B);
    for (std::uint32_t sector = 10; sector < 20; ++sector)
        ASSERT_TRUE(WriteSectors(*drive, sector, data.data(), 512));
    std::array<std::uint8_t, 512> answer{};
    Send(*drive, smi::ReadFlashInfo(), answer.data());
    const std::string image = ReadText(drive->Profile().imagePath);  // the controller stays open
    ASSERT_EQ(image.size(), 2048u * 512);
    EXPECT_EQ(image[10 * 512], 0x6B);
    EXPECT_EQ(image[20 * 512 - 1], 0x6B);
    EXPECT_EQ(image[20 * 512], 0);
}

TEST_F(SimulatorTest, CommandsFromTwoThreadsAreTakenOneAtATime)
{
    auto drive = Start(Profile(4096));
    const auto writer = [&](std::uint8_t fill, std::uint32_t first) {
        std::vector<std::uint8_t> data(512, fill);
        std::array<std::uint8_t, 512> answer{};
        for (std::uint32_t i = 0; i < 2000; ++i) {
            WriteSectors(*drive, first + i, data.data(), 512);
            Send(*drive, smi::ReadFlashInfo(), answer.data());
        }
    };
    std::thread a(writer, 0x11, 0);
    std::thread b(writer, 0x22, 2000);
    a.join();
    b.join();
    EXPECT_EQ(drive->CommandCount(CommandKind::Write10), 4000u);
    EXPECT_EQ(drive->TotalCommands(), 8000u);
    std::vector<std::uint8_t> back(512);
    ASSERT_TRUE(ReadSectors(*drive, 1999, back.data(), 512));
    EXPECT_EQ(back[0], 0x11);
    ASSERT_TRUE(ReadSectors(*drive, 3999, back.data(), 512));
    EXPECT_EQ(back[511], 0x22);
}

TEST_F(SimulatorTest, SparseImageOf64GiBTakesSectorsBeyond4GiB)
{
    const std::uint64_t sectors = std::uint64_t{64} << 21;  // 64 GiB
    auto profile = Profile(sectors);
    {
        auto drive = Start(profile);
        EXPECT_EQ(drive->CapacitySectors(), sectors);
        EXPECT_EQ(smi::TotalSectors(Answer(*drive, smi::ReadFlashInfo())), sectors);
        std::vector<std::uint8_t> data(1024);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>(i ^ 0x3C);
        const std::uint32_t far = 9'000'000;  // 4.29 GiB
        const auto last = static_cast<std::uint32_t>(sectors - 2);
        ASSERT_TRUE(WriteSectors(*drive, far, data.data(), 1024));
        ASSERT_TRUE(WriteSectors(*drive, last, data.data(), 1024));
        std::vector<std::uint8_t> back(1024);
        ASSERT_TRUE(ReadSectors(*drive, far, back.data(), 1024));
        EXPECT_EQ(back, data);
        ASSERT_TRUE(ReadSectors(*drive, last, back.data(), 1024));
        EXPECT_EQ(back, data);
    }
    EXPECT_EQ(fs::file_size(profile.imagePath), sectors * 512);
    std::ifstream in(profile.imagePath, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(std::uint64_t{9'000'000} * 512 + 1));
    EXPECT_EQ(in.get(), 1 ^ 0x3C);

    // Reopened without a capacity, the drive takes its size from the image.
    auto reopened = Start(Profile(0));
    EXPECT_EQ(reopened->CapacitySectors(), sectors);
}

TEST_F(SimulatorTest, CommandCountsPerKind)
{
    auto drive = Start(Profile());
    std::array<std::uint8_t, 512> a{};
    for (int i = 0; i < 3; ++i)
        Send(*drive, smi::ReadFlashInfo(), a.data());
    ReadSectors(*drive, 0, a.data(), 512);
    ReadSectors(*drive, 5000, a.data(), 512);  // rejected, still counted
    EXPECT_EQ(drive->CommandCount(CommandKind::FlashInfo), 3u);
    EXPECT_EQ(drive->CommandCount(CommandKind::Read10), 2u);
    EXPECT_EQ(drive->CommandCount(CommandKind::Write10), 0u);
    EXPECT_EQ(drive->TotalCommands(), 5u);
}

TEST_F(SimulatorTest, OpenReportsAMissingImageFolder)
{
    auto profile = Profile();
    profile.imagePath = folder_.File("no/such/folder/drive.img");
    sim::SmiController drive(profile);
    std::string error;
    EXPECT_FALSE(drive.Open(error));
    EXPECT_NE(error.find("drive.img"), std::string::npos);
    std::array<std::uint8_t, 512> a{};
    EXPECT_FALSE(Send(drive, smi::ReadDeviceInfo(), a.data()));
}

TEST(DriveProfileText, GoodSettings)
{
    const char* text = R"(# a drive that needs its firmware
image = drive.img
capacity = 0x100000
letter = g
inquiry = template
controller = SM325AB
firmware = 071228-AB-   # the one we replace
flash_id = AD DC 84 25
isp_n = 0x33
isp_m_bytes = 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 07
vendor = "        "
product = "USB MEMORY BAR  "
device_id = 0x090C
chip_query_reply = 05 02
firmware_area = area.bin
log = cmd.log
fail = write10:3
fail = inquiry:all
readback_corrupt = last
ignore_writes = yes
write_protect = yes
bad_sectors = 100-199
bad_sectors = 4096
volume_in_use = yes
disappear_after = 100
)";
    sim::DriveProfile p;
    std::string error;
    ASSERT_TRUE(sim::ParseProfile(text, p, error)) << error;
    EXPECT_EQ(p.imagePath, "drive.img");
    EXPECT_EQ(p.capacitySectors, 0x100000u);
    EXPECT_EQ(p.driveLetter, 'G');
    EXPECT_EQ(p.inquiry, sim::InquiryVariant::ProductTemplate);
    EXPECT_EQ(p.firmwareVersion, "071228-AB-");
    EXPECT_EQ(p.flashIdentifier, (std::array<std::uint8_t, 4>{0xAD, 0xDC, 0x84, 0x25}));
    EXPECT_EQ(p.ispN, 0x33);
    EXPECT_EQ(p.ispMBytes[15], 7);
    EXPECT_EQ(p.vendorText, "        ");
    EXPECT_EQ(p.productText, "USB MEMORY BAR  ");
    EXPECT_EQ(p.deviceIdentifier, 0x090C);
    EXPECT_EQ(p.chipQueryReply, (std::vector<std::uint8_t>{0x05, 0x02}));
    EXPECT_EQ(p.firmwareAreaPath, "area.bin");
    EXPECT_EQ(p.commandLogPath, "cmd.log");
    ASSERT_EQ(p.failures.size(), 2u);
    EXPECT_EQ(p.failures[0].kind, CommandKind::Write10);
    EXPECT_EQ(p.failures[0].occurrence, 3u);
    EXPECT_EQ(p.failures[1].kind, CommandKind::Inquiry);
    EXPECT_EQ(p.failures[1].occurrence, 0u);
    ASSERT_TRUE(p.readBackCorruption);
    EXPECT_EQ(p.readBackCorruption->bank, 63u);
    EXPECT_EQ(p.readBackCorruption->offset, 2047u);
    EXPECT_TRUE(p.ignoreWrites);
    EXPECT_TRUE(p.writeProtected);
    ASSERT_EQ(p.badSectors.size(), 2u);
    EXPECT_EQ(p.badSectors[0].first, 100u);
    EXPECT_EQ(p.badSectors[0].last, 199u);
    EXPECT_EQ(p.badSectors[1].first, 4096u);
    EXPECT_EQ(p.badSectors[1].last, 4096u);
    EXPECT_TRUE(p.volumeInUse);
    EXPECT_EQ(p.disappearAfter, 100u);
}

TEST(DriveProfileText, BadSettingsNameTheLine)
{
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"colour = blue", "line 1: 'colour' is not a known setting"},
        {"# fine\n\nletter", "line 3: expected key = value"},
        {"letter = FG", "'letter'"},
        {"letter = 7", "'letter'"},
        {"capacity = 0", "'capacity'"},
        {"capacity = 4294967296", "'capacity'"},
        {"capacity = 12abc", "'capacity'"},
        {"capacity = -5", "'capacity'"},
        {"inquiry = SmI", "'inquiry'"},
        {"controller = SM325ABXY", "'controller'"},
        {"firmware = 071228-AB-12", "'firmware'"},
        {"flash_id = EC D5 14", "'flash_id'"},
        {"flash_id = EC D5 14 B6 00", "'flash_id'"},
        {"flash_id = EC D5 1G B6", "'flash_id'"},
        {"flash_id = ECD5 14 B6", "'flash_id'"},
        {"isp_n = 256", "'isp_n'"},
        {"isp_m_bytes = 00", "'isp_m_bytes'"},
        {"device_id = 0x10000", "'device_id'"},
        {"vendor = \"unterminated", "unterminated"},
        {"product = \"x\" trailing", "unterminated"},
        {"fail = write10", "'fail'"},
        {"fail = format:1", "'fail'"},
        {"fail = read10:0", "'fail'"},
        {"fail = read10:often", "'fail'"},
        {"readback_corrupt = 64:0", "'readback_corrupt'"},
        {"readback_corrupt = 3:2048", "'readback_corrupt'"},
        {"ignore_writes = maybe", "'ignore_writes'"},
        {"disappear_after = soon", "'disappear_after'"},
        {"write_protect = sometimes", "'write_protect'"},
        {"volume_in_use = 2", "'volume_in_use'"},
        {"bad_sectors = 20-10", "'bad_sectors'"},
        {"bad_sectors = -5", "'bad_sectors'"},
        {"bad_sectors = 5-", "'bad_sectors'"},
        {"bad_sectors = many", "'bad_sectors'"},
        {"image = ", "'image'"},
        {" = 5", "missing key"},
        {"chip_query_reply = ", "'chip_query_reply'"},
    };
    for (const Case& c : cases) {
        sim::DriveProfile p;
        std::string error;
        EXPECT_FALSE(sim::ParseProfile(c.text, p, error)) << c.text;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(DriveProfileText, FileResolvesRelativePathsAgainstItsFolder)
{
    TempFolder folder;
    const std::string path = folder.File("drive.profile");
    {
        std::ofstream out(path);
        out << "image = drive.img\nfirmware_area = /abs/area.bin\nlog = C:\\logs\\cmd.log\ncapacity = 64\n";
    }
    sim::DriveProfile p;
    std::string error;
    ASSERT_TRUE(sim::LoadProfileFile(path, p, error)) << error;
    EXPECT_EQ(p.imagePath, folder.File("drive.img"));
    EXPECT_EQ(p.firmwareAreaPath, "/abs/area.bin");
    EXPECT_EQ(p.commandLogPath, "C:\\logs\\cmd.log");
    EXPECT_EQ(p.capacitySectors, 64u);

    // A Windows profile path resolves with its backslashes (on this host, one file name).
    const std::string windowsStyle = folder.File("win\\drive.profile");
    fs::create_directories(fs::path(windowsStyle).parent_path());  // a real folder on Windows
    {
        std::ofstream out(windowsStyle);
        out << "image = drive.img\n";
    }
    sim::DriveProfile q;
    ASSERT_TRUE(sim::LoadProfileFile(windowsStyle, q, error)) << error;
    EXPECT_EQ(q.imagePath, folder.File("win\\drive.img"));

    const std::string bad = folder.File("bad.profile");
    {
        std::ofstream out(bad);
        out << "image = x.img\nflash_id = 1 2\n";
    }
    EXPECT_FALSE(sim::LoadProfileFile(bad, p, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(p.imagePath, folder.File("drive.img"));  // unchanged by the failed load
}

}  // namespace

namespace {

TEST(DriveProfileText, ArbitraryTextNeverCrashesAndFailuresSayWhy)
{
    // Fragments of real settings glued at random, plus raw bytes.
    const std::string pieces[] = {"image", "=", " ", "\"", "#", "\n", "fail", ":", "all", "0x", "FF", "-1",
                                  "readback_corrupt", "flash_id", "EC D5", "\r\n", "capacity", "99999999999999999999",
                                  std::string(1, '\0'), "\xFF", "isp_m_bytes", "vendor", "letter", "Z"};
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < count; ++i)
            text += random() % 5 == 0 ? std::string(1, static_cast<char>(random())) : pieces[random() % std::size(pieces)];
        sim::DriveProfile p;
        std::string error;
        if (!sim::ParseProfile(text, p, error)) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        }
    }
}

}  // namespace
