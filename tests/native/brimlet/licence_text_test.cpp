// The licence file of each locale and the reading and joining of its text.
#include "core/brimlet/licence_text.h"

#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A stream holding exactly these bytes.
File StreamOf(const std::string& bytes)
{
    File file(std::tmpfile());
    EXPECT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string LoadText(const std::string& bytes, brimlet::LicencePieces& pieces)
{
    File file = StreamOf(bytes);
    brimlet::ReadLicencePieces(file.get(), pieces);
    return brimlet::JoinLicencePieces(pieces);
}

TEST(LicenceFileForLcid, Locales)
{
    const struct {
        std::uint32_t lcid;
        const char* file;
    } cases[] = {
        {0x0804, "Agreement.chs"}, {0x0404, "Agreement.cht"}, {0x0C04, "Agreement.cht"},
        {0x1004, "Agreement.cht"}, {0x1404, "Agreement.cht"}, {0x0409, "Agreement.eng"},
        {0x0809, "Agreement.eng"}, {0x0407, "Agreement.eng"}, {0x0411, "Agreement.eng"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(brimlet::LicenceFileForLcid(c.lcid), c.file) << std::hex << c.lcid;
}

TEST(LicenceText, PiecesAndLineBreaks)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    const struct {
        const char* name;
        std::string bytes;
        int count;
        std::string text;
    } cases[] = {
        {"empty", "", 0, ""},
        {"CR LF lines", "One\r\nTwo\r\n", 2, "One\r\n\r\nTwo\r\n\r\n"},
        {"last line without a line end", "One\r\nTwo", 2, "One\r\n\r\nTwo\r\n"},
        {"200 characters", std::string(200, 'x') + "\r\n", 2,
         std::string(127, 'x') + "\r\n" + std::string(73, 'x') + "\r\n\r\n"},
        {"127 characters and the line end", std::string(127, 'y') + "\r\n", 2,
         std::string(127, 'y') + "\r\n" + "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadText(c.bytes, *pieces), c.text) << c.name;
        EXPECT_EQ(pieces->count, c.count) << c.name;
    }
}

TEST(LicenceText, TheSplitOfA200CharacterLine)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    LoadText(std::string(200, 'z') + "\r\n", *pieces);
    ASSERT_EQ(pieces->count, 2);
    EXPECT_EQ(std::string(pieces->slots[0]), std::string(127, 'z'));
    EXPECT_EQ(std::string(pieces->slots[1]), std::string(73, 'z') + "\r\n");
}

TEST(LicenceText, AtMost512Pieces)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += "L" + std::to_string(i) + "\n";
    const std::string text = LoadText(bytes, *pieces);
    EXPECT_EQ(pieces->count, 512);
    EXPECT_NE(text.find("L511\n\r\n"), std::string::npos);
    EXPECT_EQ(text.find("L512"), std::string::npos);
}

TEST(LicenceText, StopsBeforeThePieceThatWouldNotFit)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    // 400 pieces of 127 characters: 129 bytes each joined, 40,960 bytes hold 317 of them with
    // the terminating zero (317 x 129 = 40,893; 318 x 129 = 41,022).
    std::string bytes;
    for (int i = 0; i < 200; ++i)
        bytes += std::string(254, static_cast<char>('a' + i % 26));
    const std::string text = LoadText(bytes, *pieces);
    EXPECT_EQ(pieces->count, 400);
    EXPECT_EQ(text.size(), 317u * 129u);
    EXPECT_LT(text.size() + 1, static_cast<std::size_t>(brimlet::kLicenceTextSize));
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(LicenceText, ReadErrorEndsTheLoop)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    // A stream open for writing only: every read fails without reaching the end of the file.
    File file(std::tmpfile());
    ASSERT_TRUE(file);
    std::fputs("text\n", file.get());
    std::fflush(file.get());
    const std::string path = "/proc/self/fd/" + std::to_string(fileno(file.get()));
    File writeOnly(std::fopen(path.c_str(), "w"));
    ASSERT_TRUE(writeOnly);
    brimlet::ReadLicencePieces(writeOnly.get(), *pieces);
    EXPECT_EQ(pieces->count, 0);
    EXPECT_TRUE(std::ferror(writeOnly.get()));
    EXPECT_FALSE(std::feof(writeOnly.get()));
}

TEST(LicenceText, NoFile)
{
    auto pieces = std::make_unique<brimlet::LicencePieces>();
    pieces->count = 7;
    brimlet::ReadLicencePieces(nullptr, *pieces);
    EXPECT_EQ(pieces->count, 0);
    EXPECT_EQ(brimlet::JoinLicencePieces(*pieces), "");
}

}  // namespace
