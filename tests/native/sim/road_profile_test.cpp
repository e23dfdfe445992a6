// The dispatcher's simulated machine: which drives and hardware ids a road profile gives.
#include "core/sim/road_profile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class RoadProfileFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("road_profile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST(RoadProfile, DrivesAndHardwareIdsInTheirOrder)
{
    sim::RoadProfile profile;
    std::string error;
    ASSERT_TRUE(sim::ParseRoadProfile("# the machine\n"
                                      "drive = e/drive.profile\r\n"
                                      "hardware_id = USB\\VID_2168&PID_0001\\#1\n"
                                      "\n"
                                      "drive=f.profile\n"
                                      "hardware_id =  usb\\vid_090c  \n",
                                      profile, error))
        << error;
    EXPECT_EQ(profile.drivePaths, (std::vector<std::string>{"e/drive.profile", "f.profile"}));
    EXPECT_EQ(profile.hardwareIds, (std::vector<std::string>{"USB\\VID_2168&PID_0001\\#1", "usb\\vid_090c"}));
}

TEST(RoadProfile, MistakesNameTheirLine)
{
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"drive = a\nletter = E\n", "line 2: unknown key 'letter'"},
        {"hardware_id\n", "line 1: no '='"},
        {"\n\nhardware_id = \n", "line 3: hardware_id has no value"},
    };
    for (const Case& c : cases) {
        sim::RoadProfile profile;
        std::string error;
        EXPECT_FALSE(sim::ParseRoadProfile(c.text, profile, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST_F(RoadProfileFiles, LoadsEveryDriveProfileRelativeToTheRoadProfile)
{
    Write(folder_ / "e" / "drive.profile", "letter = E\nchip_query_reply = 16 03\nimage = e.img\n");
    Write(folder_ / "f.profile", "letter = F\ndevice_id = 0x090C\n");
    Write(folder_ / "road.profile", "drive = e/drive.profile\ndrive = f.profile\nhardware_id = USB\\VID_1516\n");
    sim::RoadProfile profile;
    std::vector<sim::DriveProfile> drives;
    std::string error;
    ASSERT_TRUE(sim::LoadRoadProfile((folder_ / "road.profile").string(), profile, drives, error)) << error;
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].driveLetter, 'E');
    ASSERT_TRUE(drives[0].chipQueryReply.has_value());
    EXPECT_EQ(*drives[0].chipQueryReply, (std::vector<std::uint8_t>{0x16, 0x03}));
    EXPECT_EQ(drives[0].imagePath, (folder_ / "e" / "e.img").string());
    EXPECT_EQ(drives[1].driveLetter, 'F');
    EXPECT_EQ(drives[1].deviceIdentifier, 0x090C);
    EXPECT_EQ(profile.hardwareIds, std::vector<std::string>{"USB\\VID_1516"});
}

TEST_F(RoadProfileFiles, TwoDrivesAtOneLetterOrAMissingDriveProfileFail)
{
    Write(folder_ / "a.profile", "letter = G\n");
    Write(folder_ / "b.profile", "letter = G\n");
    Write(folder_ / "road.profile", "drive = a.profile\ndrive = b.profile\n");
    sim::RoadProfile profile;
    std::vector<sim::DriveProfile> drives;
    std::string error;
    EXPECT_FALSE(sim::LoadRoadProfile((folder_ / "road.profile").string(), profile, drives, error));
    EXPECT_NE(error.find("a second drive at G:"), std::string::npos) << error;

    Write(folder_ / "missing.profile", "drive = nowhere.profile\n");
    EXPECT_FALSE(sim::LoadRoadProfile((folder_ / "missing.profile").string(), profile, drives, error));
    EXPECT_NE(error.find("nowhere.profile"), std::string::npos) << error;
    EXPECT_FALSE(sim::LoadRoadProfile((folder_ / "none.profile").string(), profile, drives, error));
}

}  // namespace
