// The packed firmware archive's rules: reading names up to the marker, the name check, the
// length field, progress, the folders to create, and whole crafted archives read as Brimlet
// reads them (and written out on the host, nothing outside the target folder).
#include "core/archive/format.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/archive/reader.h"
#include "tests/native/archive/support/host_archive.h"
#include "tests/native/archive/support/shipped_names.h"

namespace {

namespace fs = std::filesystem;
using archive::EntryResult;
using archive::NameVerdict;
using host_archive::Bytes;
using host_archive::Entry;

const std::string kMarker(archive::kMarker.begin(), archive::kMarker.end());
// "C:\Documents and Settings\user\Local Settings\Temp\RadAva\Boot\": a long firmware folder
// of Windows XP, 62 characters.
constexpr std::size_t kBase = 62;

std::string Feed(const std::string& bytes, bool* complete = nullptr, bool* overlong = nullptr)
{
    archive::EntryNameReader reader;
    bool done = false;
    for (char c : bytes) {
        done = reader.Push(c);
        if (done)
            break;
    }
    if (complete)
        *complete = done;
    if (overlong)
        *overlong = reader.Overlong();
    return std::string(reader.Name());
}

TEST(ArchiveName, TheFirstMarkerEndsTheNameOnceNineBytesAreRead)
{
    const struct {
        std::string stream;
        std::string name;
    } cases[] = {
        {"A1\\us.bin" + kMarker + "\x01\x02", "A1\\us.bin"},
        {"a" + kMarker, "a"},
        // A name ending in part of the marker.
        {"A1\\u \\~#$" + kMarker, "A1\\u \\~#$"},
        {"A1\\u \\" + kMarker, "A1\\u \\"},
        {"x " + kMarker, "x "},
        // The marker at the very start is not looked for before the ninth byte.
        {kMarker + "X" + kMarker, kMarker + "X"},
        // A name ending in the marker's first seven bytes loses them: the reader stops early.
        {"x" + kMarker.substr(0, 7) + kMarker, "x"},
    };
    for (const auto& c : cases) {
        bool complete = false;
        EXPECT_EQ(Feed(c.stream, &complete), c.name);
        EXPECT_TRUE(complete);
    }
}

TEST(ArchiveName, TheMarkerAloneIsNoName)
{
    bool complete = true;
    Feed(kMarker, &complete);
    EXPECT_FALSE(complete);
}

TEST(ArchiveName, ALongNameIsCountedButNotKept)
{
    bool complete = false, overlong = false;
    EXPECT_EQ(Feed(std::string(archive::kMaxNameBytes, 'a') + kMarker, &complete, &overlong),
              std::string(archive::kMaxNameBytes, 'a'));
    EXPECT_TRUE(complete);
    EXPECT_FALSE(overlong);
    EXPECT_EQ(Feed(std::string(archive::kMaxNameBytes + 1, 'a') + kMarker, &complete, &overlong), "");
    EXPECT_TRUE(complete);
    EXPECT_TRUE(overlong);
    // A megabyte without a marker keeps no more than a name's worth.
    archive::EntryNameReader reader;
    for (int i = 0; i < (1 << 20); ++i)
        reader.Push('z');
    EXPECT_TRUE(reader.Overlong());
    EXPECT_LE(reader.Name().size(), archive::kMaxNameBytes);
}

TEST(ArchiveName, EveryShippedNamePasses)
{
    for (const auto& entry : shipped::kEntries)
        EXPECT_EQ(archive::CheckEntryName(entry.name, kBase), NameVerdict::Accepted) << entry.name;
}

TEST(ArchiveName, NamesThatLeaveTheFolderOrOpenADeviceAreRefused)
{
    const struct {
        std::string name;
        NameVerdict verdict;
    } cases[] = {
        {"..\\evil.bin", NameVerdict::DotsComponent},
        {"A1\\..\\..\\evil.bin", NameVerdict::DotsComponent},
        {"A1/../../evil.bin", NameVerdict::DotsComponent},
        {"A1\\..", NameVerdict::DotsComponent},
        {"...\\evil.bin", NameVerdict::DotsComponent},
        {". .\\evil.bin", NameVerdict::DotsComponent},
        {".. \\evil.bin", NameVerdict::DotsComponent},
        {"A1\\.\\us.bin", NameVerdict::DotsComponent},
        {" \\us.bin", NameVerdict::DotsComponent},
        {"A1\\  ", NameVerdict::DotsComponent},
        {"\\Windows\\evil.bin", NameVerdict::Rooted},
        {"/etc/evil", NameVerdict::Rooted},
        {"\\\\server\\share\\evil.bin", NameVerdict::Rooted},
        {"C:\\evil.bin", NameVerdict::Drive},
        {"C:evil.bin", NameVerdict::Drive},
        {"A1\\us.bin:hidden", NameVerdict::Drive},
        {"CON", NameVerdict::DeviceName},
        {"A1\\nul.bin", NameVerdict::DeviceName},
        {"A1\\Com1.txt", NameVerdict::DeviceName},
        {"lpt9\\x.bin", NameVerdict::DeviceName},
        {"AUX .bin", NameVerdict::DeviceName},
        {"A1\\COM\xB9.bin", NameVerdict::DeviceName},
        {std::string("A1\\us\0..\\..\\x", 13), NameVerdict::ContainsNul},
        {"x" + kMarker.substr(0, 7), NameVerdict::ContainsMarker},
        {"a" + kMarker + "b", NameVerdict::ContainsMarker},
        {"", NameVerdict::Empty},
        {std::string(archive::kMaxPath - kBase, 'a'), NameVerdict::TooLong},
        {std::string(archive::kMaxNameBytes + 1, 'a'), NameVerdict::Overlong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(archive::CheckEntryName(c.name, kBase), c.verdict) << c.name;
}

// Names Windows cannot create: their folder would end Brimlet ("Couldn't create dir"), their
// file would raise a box; they are passed over like the names above.
TEST(ArchiveName, NamesWindowsCannotCreateAreRefused)
{
    // kBase + 185 = 247: the longest folder CreateDirectory takes.
    const std::string longest(185, 'F');
    const struct {
        std::string name;
        NameVerdict verdict;
    } cases[] = {
        {"A1\\us?.bin", NameVerdict::BadCharacter},
        {"A1\\*.bin", NameVerdict::BadCharacter},
        {"A<1\\us.bin", NameVerdict::BadCharacter},
        {"A1>\\us.bin", NameVerdict::BadCharacter},
        {"A1\\\"us\".bin", NameVerdict::BadCharacter},
        {"A1|FP\\us.bin", NameVerdict::BadCharacter},
        {"A1\\us\t.bin", NameVerdict::BadCharacter},
        {"A1\x01\\us.bin", NameVerdict::BadCharacter},
        {"A1\\us.bin\x1F", NameVerdict::BadCharacter},
        {"A1/us.bin", NameVerdict::Slash},
        {"A1\\FP/A2C\\us.bin", NameVerdict::Slash},
        {longest + "F\\us.bin", NameVerdict::FolderTooLong},
        {"A1\\" + std::string(183, 'F') + "\\us.bin", NameVerdict::FolderTooLong},
        {longest + "\\us.bin", NameVerdict::Accepted},
        {"A1\\" + std::string(182, 'F') + "\\us.bin", NameVerdict::Accepted},
        // A file name may run on past 248 as long as the path stays below 260.
        {"A1\\" + std::string(190, 'u'), NameVerdict::Accepted},
        {"A1\\us\x7F.bin", NameVerdict::Accepted},
    };
    for (const auto& c : cases)
        EXPECT_EQ(archive::CheckEntryName(c.name, kBase), c.verdict) << c.name;
}

TEST(ArchiveName, NamesThatOnlyLookOddPass)
{
    for (const std::string& name : std::vector<std::string>{"A1\\.hidden", "A1\\us..bin", "a.b.c", "CONSOLE.bin", "COM10.bin", "nul1",
                                   "A1\\\\us.bin", "x.", "Spansion\\U163S.BIN",
                                   std::string(archive::kMaxPath - kBase - 1, 'a')})
        EXPECT_EQ(archive::CheckEntryName(name, kBase), NameVerdict::Accepted) << name;
}

TEST(ArchiveFormat, TheLengthIsLittleEndian)
{
    const unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(archive::DecodeLength(bytes), 0x12345678u);
    const Bytes head = archive::EncodeEntryHead("ab", 0xA1B2C3D4);
    EXPECT_EQ(head, (Bytes{'a', 'b', ' ', '\\', '~', '#', '$', '&', '*', ' ', 0xD4, 0xC3, 0xB2, 0xA1}));
}

TEST(ArchiveFormat, ProgressNeverDividesByZeroNorOverflows)
{
    const struct {
        std::uint64_t position, length;
        int percent;
    } cases[] = {
        {0, 0, 100},  // an empty stream is read whole
        {0, 100, 0},
        {50, 100, 50},
        {99, 100, 99},
        {100, 100, 100},
        {150, 100, 100},
        {2251066 / 2 - 1, 2251066, 49},
        // Beyond 42 MB position x 100 no longer fits 32 bits.
        {45000000, 45000001, 99},
        {44000000, 88000000, 50},
        {std::uint64_t{1} << 40, std::uint64_t{1} << 41, 50},
        {UINT64_MAX - 1, UINT64_MAX, 99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(archive::ProgressPercent(c.position, c.length), c.percent) << c.position << " of " << c.length;
}

TEST(ArchiveFormat, FoldersAreCreatedShortestFirstSkippingTheDrive)
{
    EXPECT_EQ(archive::DirectoriesToCreate("C:\\T\\RadAva\\Boot\\FP\\A2C\\us.bin"),
              (std::vector<std::string>{"C:\\T", "C:\\T\\RadAva", "C:\\T\\RadAva\\Boot", "C:\\T\\RadAva\\Boot\\FP",
                                        "C:\\T\\RadAva\\Boot\\FP\\A2C"}));
    EXPECT_EQ(archive::DirectoriesToCreate("C:\\us.bin"), std::vector<std::string>{"C:"});
    EXPECT_EQ(archive::DirectoriesToCreate("us.bin"), std::vector<std::string>{});
}

// --- whole archives ----------------------------------------------------------------------

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct Expected {
    std::string name;
    EntryResult result;
    std::string content;
};

TEST(ArchiveReader, CraftedArchives)
{
    const Bytes good = Entry("A1\\ok.bin", "firmware");
    Bytes cutData = Entry("A1\\cut.bin", "a member that will be cut short");
    cutData.resize(cutData.size() - 5);
    const Bytes zeroLength = archive::EncodeEntryHead("A1\\zero.bin", 0);
    Bytes corrupt = Entry("A1\\corrupt.bin", "a member with a damaged body");
    corrupt[corrupt.size() - 12] ^= 0xFF;
    // A member whose own end (CRC and size) is missing, framed with its shortened length.
    const std::string cutText(3000, 'c');
    Bytes cutMember = host_archive::GzipLikeWindows(Bytes(cutText.begin(), cutText.end()));
    cutMember.resize(cutMember.size() - 4);
    const Bytes memberCut = Entry("A1\\short.bin", cutMember);
    Bytes hostileTooLongData = archive::EncodeEntryHead("..\\evil.bin", 1000);
    hostileTooLongData.resize(hostileTooLongData.size() + 10);

    const struct {
        const char* what;
        Bytes archive;
        std::vector<Expected> entries;
        EntryResult last;
    } cases[] = {
        {"empty", {}, {}, EntryResult::End},
        {"one entry", good, {{"A1\\ok.bin", EntryResult::Extracted, "firmware"}}, EntryResult::End},
        {"zero-length member", zeroLength, {{"A1\\zero.bin", EntryResult::Extracted, ""}}, EntryResult::End},
        {"gzip of nothing", Entry("A1\\empty.bin", ""), {{"A1\\empty.bin", EntryResult::Extracted, ""}}, EntryResult::End},
        {"plain data is taken as it is", Join({archive::EncodeEntryHead("x.bin", 3), Text("abc")}),
         {{"x.bin", EntryResult::Extracted, "abc"}}, EntryResult::End},
        {"name ending in part of the marker", Join({Entry("A1\\u \\~#$", "m"), good}),
         {{"A1\\u \\~#$", EntryResult::Extracted, "m"}, {"A1\\ok.bin", EntryResult::Extracted, "firmware"}},
         EntryResult::End},
        {"truncated name", Join({good, Text("A1\\us.bin \\~#")}),
         {{"A1\\ok.bin", EntryResult::Extracted, "firmware"}}, EntryResult::Truncated},
        {"name without a marker", Text(std::string(5000, 'n')), {}, EntryResult::Truncated},
        {"truncated length", Join({Text("A1\\us.bin" + kMarker), Bytes{0x10, 0x00}}), {}, EntryResult::Truncated},
        {"truncated data", Join({good, cutData}),
         {{"A1\\ok.bin", EntryResult::Extracted, "firmware"}, {"A1\\cut.bin", EntryResult::Truncated, ""}},
         EntryResult::Truncated},
        {"corrupt member", Join({corrupt, good}),
         {{"A1\\corrupt.bin", EntryResult::NotWritten, ""}, {"A1\\ok.bin", EntryResult::Extracted, "firmware"}},
         EntryResult::End},
        {"member cut short inside its entry", Join({memberCut, good}),
         {{"A1\\short.bin", EntryResult::NotWritten, ""}, {"A1\\ok.bin", EntryResult::Extracted, "firmware"}},
         EntryResult::End},
        {"hostile names are passed over", Join({Entry("..\\evil.bin", "x"), Entry("C:\\evil.bin", "x"), Entry("\\evil.bin", "x"),
                                                Entry("/evil.bin", "x"), Entry("A1\\..\\..\\evil.bin", "x"), Entry("NUL", "x"),
                                                Entry(std::string(archive::kMaxPath - kBase, 'L'), "x"), good}),
         {{"..\\evil.bin", EntryResult::Skipped, ""},
          {"C:\\evil.bin", EntryResult::Skipped, ""},
          {"\\evil.bin", EntryResult::Skipped, ""},
          {"/evil.bin", EntryResult::Skipped, ""},
          {"A1\\..\\..\\evil.bin", EntryResult::Skipped, ""},
          {"NUL", EntryResult::Skipped, ""},
          {std::string(archive::kMaxPath - kBase, 'L'), EntryResult::Skipped, ""},
          {"A1\\ok.bin", EntryResult::Extracted, "firmware"}},
         EntryResult::End},
        {"a hostile name whose data runs past the end", hostileTooLongData,
         {{"..\\evil.bin", EntryResult::Truncated, ""}}, EntryResult::Truncated},
        {"an overlong name", Join({Entry(std::string(300, 'o'), "x"), good}),
         {{"", EntryResult::Skipped, ""}, {"A1\\ok.bin", EntryResult::Extracted, "firmware"}}, EntryResult::End},
        {"the marker first", Join({Text(kMarker), Entry("X", "x"), good}),
         {{kMarker + "X", EntryResult::Skipped, ""}, {"A1\\ok.bin", EntryResult::Extracted, "firmware"}},
         EntryResult::End},
    };
    for (const auto& c : cases) {
        const host_archive::Extraction extraction = host_archive::ReadArchive(c.archive, kBase);
        EXPECT_EQ(extraction.last, c.last) << c.what;
        ASSERT_EQ(extraction.entries.size(), c.entries.size()) << c.what;
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(extraction.entries[i].name, c.entries[i].name) << c.what;
            EXPECT_EQ(extraction.entries[i].result, c.entries[i].result) << c.what << " entry " << i;
            EXPECT_EQ(std::string(extraction.entries[i].content.begin(), extraction.entries[i].content.end()),
                      c.entries[i].content)
                << c.what << " entry " << i;
        }
    }
}

TEST(ArchiveReader, NothingIsWrittenOutsideTheTargetFolder)
{
    std::random_device random;
    const fs::path sandbox = fs::temp_directory_path() / ("archive_test_" + std::to_string(random()));
    const fs::path target = sandbox / "RadAva" / "Boot";
    fs::create_directories(target);
    const Bytes archive = Join({Entry("..\\evil1.bin", "x"), Entry("../evil2.bin", "x"), Entry("A1/../../evil3.bin", "x"),
                                Entry("/tmp/evil4.bin", "x"), Entry("A1\\...\\evil5.bin", "x"), Entry("FP\\A2C\\us.bin", "deep"),
                                Entry("A1\\us.bin", "shallow")});
    const host_archive::Extraction extraction = host_archive::ExtractTo(archive, target, kBase);
    EXPECT_EQ(extraction.last, EntryResult::End);
    std::vector<std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(sandbox)) {
        if (item.is_regular_file())
            files.push_back(fs::relative(item.path(), sandbox).generic_string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"RadAva/Boot/A1/us.bin", "RadAva/Boot/FP/A2C/us.bin"}));
    fs::remove_all(sandbox);
}

TEST(ArchiveWriterAndReader, WhatTheHostWritesReadsBack)
{
    // The framing EncodeEntryHead writes is the framing the reader reads, for every shipped name.
    Bytes archive;
    for (const auto& entry : shipped::kEntries) {
        const Bytes one = Entry(entry.name, std::string(entry.name) + " content");
        archive.insert(archive.end(), one.begin(), one.end());
    }
    const host_archive::Extraction extraction = host_archive::ReadArchive(archive, kBase);
    ASSERT_EQ(extraction.entries.size(), std::size(shipped::kEntries));
    for (std::size_t i = 0; i < extraction.entries.size(); ++i) {
        EXPECT_EQ(extraction.entries[i].name, shipped::kEntries[i].name);
        EXPECT_EQ(extraction.entries[i].result, EntryResult::Extracted);
    }
    EXPECT_EQ(extraction.last, EntryResult::End);
}

}  // namespace
