// tests/native/fat/external_check_test.cpp
// Volumes written through the simulated controller, judged by the peers other systems trust:
// fsck.fat on the partition, and mtools reading, listing and copying a file in and out.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/fat/geometry.h"
#include "tests/native/fat/fakes.h"
#include "tests/native/fat/sim_sector_device.h"

namespace {

using fat_test::RecordingDebug;
using fat_test::RecordingPause;
using fat_test::RecordingProgress;

struct Size {
    const char* name;
    std::uint32_t total;
    bool fat32;  // otherwise the FAT12/16 builder
    bool label;
    bool alignment = true;  // partition at sector 32, else at sector 1
};

const Size kSizes[] = {
    {"OneMiB", 2048, false, false},
    {"Fat12", 20000, false, true},
    {"LargestFat12", 32712, false, false},
    {"LowBandFirst", 32713, false, false},
    {"LowBandLast", 32792, false, false},
    {"AboveLowBand", 32793, false, false},
    {"Largest16BitCount", 65567, false, false},
    {"First32BitCount", 65568, false, false},
    {"OneMillion", 1000000, false, true},
    {"BelowHighBand", 4194176, false, false},
    {"HighBandFirst", 4194177, false, false},
    {"TwoGiBFat16", 4194304, false, false},
    {"Fat32SpcOne", 532479, true, false},
    {"SmallestFat32OfARepair", 4194305, true, false},
    {"EightMillion", 8000000, true, true},
    {"SixteenGiB", 33554432, true, false},
    {"SixtyFourGiB", 134217728, true, false},
    {"UnalignedFat16", 1000000, false, false, false},
    {"UnalignedFat32", 8000000, true, false, false},
};

void PrintTo(const Size& size, std::ostream* out)
{
    *out << size.name << " (" << size.total << " sectors)";
}

constexpr std::uint8_t kLabel[16] = {'R', 'E', 'V', 'I', 'V', 'E', 'D', ' ', ' ', ' ', ' '};

int RunCommand(const std::string& command, const std::string& log)
{
    const int status = std::system((command + " >" + log + " 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What `dd if=image of=part bs=512 skip=32 conv=sparse` gives, copying only the image's data
// extents so that a 64 GiB sparse image takes no longer than a small one.
bool CopyPartition(const std::string& image, const std::string& partition, std::uint64_t offset)
{
    const int in = ::open(image.c_str(), O_RDONLY);
    const int out = ::open(partition.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool ok = in >= 0 && out >= 0;
    struct stat st {};
    ok = ok && ::fstat(in, &st) == 0;
    std::vector<char> buffer(1 << 20);
    off_t position = static_cast<off_t>(offset);
    while (ok && position < st.st_size) {
        const off_t data = ::lseek(in, position, SEEK_DATA);
        if (data < 0)
            break;  // only a hole is left
        const off_t hole = ::lseek(in, data, SEEK_HOLE);
        for (off_t at = data; ok && at < hole;) {
            const ssize_t n = ::pread(in, buffer.data(), std::min<off_t>(hole - at, buffer.size()), at);
            ok = n > 0 && ::pwrite(out, buffer.data(), n, at - static_cast<off_t>(offset)) == n;
            at += n;
        }
        position = hole;
    }
    ok = ok && ::ftruncate(out, st.st_size - static_cast<off_t>(offset)) == 0;
    if (in >= 0)
        ::close(in);
    if (out >= 0)
        ::close(out);
    return ok;
}

class ExternalCheck : public testing::TestWithParam<Size> {
protected:
    void SetUp() override
    {
        setenv("MTOOLS_SKIP_CHECK", "1", 1);
        dir_ = std::string(FAT_CHECK_DIR) + "/" + GetParam().name;
        ASSERT_EQ(std::system(("rm -rf " + dir_ + " && mkdir -p " + dir_).c_str()), 0);
        image_ = dir_ + "/drive.img";
    }

    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

    std::uint32_t Start() const { return fat::PartitionStart(GetParam().alignment); }

    std::string Log(const char* name) const { return dir_ + "/" + name + ".log"; }

    // A label stands in the root directory only; BS_VolLab keeps "NO NAME    ". fsck.fat reports
    // that as its one finding, so a labelled volume must pass once the boot sector carries it.
    void ExpectFsckClean(const char* step)
    {
        const Size& size = GetParam();
        const std::string partition = dir_ + "/partition.img";
        ASSERT_TRUE(CopyPartition(image_, partition, std::uint64_t{Start()} * 512));
        const std::string log = Log(step);
        if (size.label) {
            ASSERT_EQ(RunCommand("fsck.fat -n " + partition, log), 1) << ReadFile(log);
            ASSERT_NE(ReadFile(log).find("There is no label in boot sector, but there is volume label 'REVIVED'"),
                      std::string::npos)
                << ReadFile(log);
            std::fstream boot(partition, std::ios::in | std::ios::out | std::ios::binary);
            boot.seekp(size.fat32 ? 71 : 43);
            boot.write(reinterpret_cast<const char*>(kLabel), fat::kLabelBytes);
        }
        EXPECT_EQ(RunCommand("fsck.fat -n " + partition, log), 0) << ReadFile(log);
        std::remove(partition.c_str());
    }

    std::string dir_;
    std::string image_;
};

TEST_P(ExternalCheck, FsckAndMtoolsAcceptTheVolume)
{
    const Size& size = GetParam();
    {
        sim::DriveProfile profile;
        profile.imagePath = image_;
        profile.capacitySectors = size.total;
        sim::SmiController controller(profile);
        std::string error;
        ASSERT_TRUE(controller.Open(error)) << error;
        fat_test::SimSectorDevice device(controller);
        RecordingProgress progress;
        const std::uint8_t* label = size.label ? kLabel : nullptr;
        bool built;
        if (size.fat32) {
            built = fat::BuildFat32Volume(device, size.total, size.alignment, progress, label, false, 0, 0);
        } else {
            RecordingPause pause;
            RecordingDebug debug;
            built = fat::BuildFat16Volume(device, size.total, size.alignment, progress, label, false, 0, 0, pause, debug);
        }
        ASSERT_TRUE(built);
        ASSERT_TRUE(controller.Flush());
    }
    struct stat st {};
    ASSERT_EQ(::stat(image_.c_str(), &st), 0);
    ASSERT_EQ(static_cast<std::uint64_t>(st.st_size), std::uint64_t{size.total} * 512);

    ExpectFsckClean("fsck");

    const std::string volume = image_ + "@@" + std::to_string(Start() * 512);
    const std::string info = Log("minfo");
    ASSERT_EQ(RunCommand("minfo -i " + volume + " ::", info), 0) << ReadFile(info);
    const std::string listing = Log("mdir");
    ASSERT_EQ(RunCommand("mdir -i " + volume + " ::", listing), 0) << ReadFile(listing);
    EXPECT_NE(ReadFile(listing).find(size.label ? "Volume in drive : is REVIVED" : "has no label"),
              std::string::npos)
        << ReadFile(listing);

    // A file larger than a cluster and not a whole number of sectors.
    const std::string file = dir_ + "/sample.bin";
    std::string content(150000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>((i * 131 + i / 512) & 0xFF);
    std::ofstream(file, std::ios::binary) << content;
    const std::string copyIn = Log("mcopy-in");
    ASSERT_EQ(RunCommand("mcopy -i " + volume + " " + file + " ::SAMPLE.BIN", copyIn), 0) << ReadFile(copyIn);
    const std::string back = dir_ + "/back.bin";
    const std::string copyOut = Log("mcopy-out");
    ASSERT_EQ(RunCommand("mcopy -i " + volume + " ::SAMPLE.BIN " + back, copyOut), 0) << ReadFile(copyOut);
    EXPECT_TRUE(ReadFile(back) == content) << "the file came back different";

    ExpectFsckClean("fsck-after-copy");
}

INSTANTIATE_TEST_SUITE_P(Sizes, ExternalCheck, testing::ValuesIn(kSizes),
                         [](const testing::TestParamInfo<Size>& info) { return std::string(info.param.name); });

}  // namespace
