// The generated "BootCode.r": read with the archive's own reader and zlib's gzip reader, it
// holds the 65 shipped entries in order with their sizes and tags, each a gzip member exactly
// as zlib's writer makes it on Windows, and unpacks into a folder as 65 files.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/archive/reader.h"
#include "tests/native/archive/support/host_archive.h"
#include "tests/native/archive/support/shipped_names.h"

namespace {

namespace fs = std::filesystem;
using host_archive::Bytes;

constexpr std::size_t kBase = 62;
const Bytes kGzipHeader{0x1F, 0x8B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B};

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Bytes& Archive()
{
    static const Bytes bytes = ReadFile(BRIMLET_BOOTCODE);
    return bytes;
}

std::string TagOf(const Bytes& content)
{
    return std::string(content.begin() + shipped::kTagOffset, content.begin() + shipped::kTagOffset + 8);
}

TEST(BootCode, HoldsTheShippedEntriesInOrderWithTheirSizesAndTags)
{
    ASSERT_FALSE(Archive().empty()) << BRIMLET_BOOTCODE;
    const host_archive::Extraction extraction = host_archive::ReadArchive(Archive(), kBase);
    EXPECT_EQ(extraction.last, archive::EntryResult::End);
    ASSERT_EQ(extraction.entries.size(), std::size(shipped::kEntries));
    std::map<std::string, std::string> prefixOfFolder;
    for (std::size_t i = 0; i < extraction.entries.size(); ++i) {
        const auto& entry = extraction.entries[i];
        const auto& expected = shipped::kEntries[i];
        EXPECT_EQ(entry.name, expected.name);
        EXPECT_EQ(entry.result, archive::EntryResult::Extracted) << expected.name;
        ASSERT_EQ(entry.content.size(), expected.size) << expected.name;
        if (entry.name == shipped::kFontName)
            continue;
        const std::string tag = TagOf(entry.content);
        if (*expected.tag) {
            EXPECT_EQ(tag, expected.tag) << expected.name;
        }
        // Same form as the given tags: family prefix, two letters or digits, a kind, and the
        // release number that Brimlet reads from the version's fourth character on.
        for (char c : tag) {
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c))) << tag;
        }
        for (std::size_t d = 5; d < 8; ++d) {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(tag[d]))) << expected.name << " " << tag;
        }
        // One family prefix per folder.
        const std::string folder = entry.name.substr(0, entry.name.rfind('\\'));
        const auto [known, added] = prefixOfFolder.emplace(folder, tag.substr(0, 2));
        EXPECT_EQ(known->second, tag.substr(0, 2)) << expected.name;
    }
}

TEST(BootCode, MembersAreExactlyWhatZlibsWriterMakes)
{
    host_archive::MemorySource source(Archive());
    std::size_t entries = 0;
    for (;;) {
        const archive::EntryHead head = archive::ReadEntryHead(source, kBase);
        if (head.result != archive::EntryResult::Extracted)
            break;
        host_archive::VectorSink member;
        ASSERT_EQ(archive::CopyEntryData(source, head.length, member), archive::EntryResult::Extracted);
        ASSERT_GE(member.bytes.size(), kGzipHeader.size());
        EXPECT_EQ(Bytes(member.bytes.begin(), member.bytes.begin() + 10), kGzipHeader) << head.name;
        const std::optional<Bytes> content = host_archive::Gunzip(member.bytes);
        ASSERT_TRUE(content) << head.name;
        EXPECT_EQ(host_archive::GzipLikeWindows(*content), member.bytes) << head.name;
        ++entries;
    }
    EXPECT_EQ(entries, 65u);
}

TEST(BootCode, ImagesLookLikeFirmwareNotFiller)
{
    const host_archive::Extraction extraction = host_archive::ReadArchive(Archive(), kBase);
    std::map<Bytes, std::string> seen;
    for (const auto& entry : extraction.entries) {
        // Not all one byte, compressible but not trivially.
        const std::size_t zeros = std::count(entry.content.begin(), entry.content.end(), 0);
        const std::size_t erased = std::count(entry.content.begin(), entry.content.end(), 0xFF);
        EXPECT_LT(zeros + erased, entry.content.size() * 9 / 10) << entry.name;
        const Bytes member = host_archive::GzipLikeWindows(entry.content);
        EXPECT_LT(member.size(), entry.content.size() * 9 / 10) << entry.name;
        EXPECT_GT(member.size(), entry.content.size() / 10) << entry.name;
        // Every image its own.
        const auto [other, added] = seen.emplace(entry.content, entry.name);
        EXPECT_TRUE(added) << entry.name << " repeats " << other->second;
        if (entry.name != shipped::kFontName && entry.content.size() >= shipped::kImageSize) {
            EXPECT_EQ(entry.content[0], 0x02) << "an 8051 reset vector: LJMP";
        }
    }
}

TEST(BootCode, UnpacksIntoSixtyFiveFiles)
{
    std::random_device random;
    const fs::path target = fs::temp_directory_path() / ("bootcode_test_" + std::to_string(random())) / "Boot";
    fs::create_directories(target);
    const host_archive::Extraction extraction = host_archive::ExtractTo(Archive(), target, kBase);
    EXPECT_EQ(extraction.last, archive::EntryResult::End);
    std::size_t files = 0;
    for (const auto& item : fs::recursive_directory_iterator(target))
        files += item.is_regular_file();
    EXPECT_EQ(files, 65u);
    for (const auto& expected : shipped::kEntries) {
        std::string relative = expected.name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        EXPECT_EQ(fs::file_size(target / relative), expected.size) << expected.name;
    }
    fs::remove_all(target.parent_path());
}

}  // namespace
