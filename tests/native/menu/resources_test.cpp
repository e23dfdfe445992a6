// Menu templates, toolbar resources and bitmap headers, read from bytes built here.
#include "core/menu/resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using menu::TemplateItem;

// Builds a standard menu template: header, then items.
class TemplateBytes
{
public:
    explicit TemplateBytes(std::uint16_t version = 0, std::uint16_t offset = 0)
    {
        Word(version);
        Word(offset);
        m_bytes.resize(m_bytes.size() + offset, 0xEE);
    }
    TemplateBytes& Popup(std::u16string_view text, bool end = false)
    {
        Word(static_cast<std::uint16_t>(menu::kMenuPopup | (end ? menu::kMenuEnd : 0)));
        Text(text);
        return *this;
    }
    TemplateBytes& Item(std::uint16_t id, std::u16string_view text, bool end = false, std::uint16_t flags = 0)
    {
        Word(static_cast<std::uint16_t>(flags | (end ? menu::kMenuEnd : 0)));
        Word(id);
        Text(text);
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    void Word(std::uint16_t value)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Text(std::u16string_view text)
    {
        for (char16_t c : text)
            Word(c);
        Word(0);
    }
    std::vector<std::uint8_t> m_bytes;
};

struct Expected {
    std::u16string text;
    int depth;
    int closed;
    bool popup;
};

void ExpectWalk(const std::vector<std::uint8_t>& bytes, const std::vector<Expected>& expected)
{
    const auto items = menu::ParseMenuTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        EXPECT_EQ((*items)[i].text, expected[i].text);
        EXPECT_EQ((*items)[i].depth, expected[i].depth);
        EXPECT_EQ((*items)[i].closedLevels, expected[i].closed);
        EXPECT_EQ((*items)[i].popup, expected[i].popup);
    }
}

TEST(ParseMenuTemplate, NestedPopupsEndingTogetherCloseBothLevelsAtTheInnerLastItem)
{
    TemplateBytes bytes;
    bytes.Popup(u"&File")
        .Item(100, u"&Open\tCtrl+O")
        .Popup(u"Recent", true)           // the last entry of File
        .Item(110, u"One")
        .Item(111, u"Two", true)          // ends Recent, and with it File
        .Popup(u"&Help", true)            // the next item goes to the bar
        .Item(120, u"About", true);
    ExpectWalk(bytes.bytes(), {
        {u"&File", 0, 0, true},
        {u"&Open\tCtrl+O", 1, 0, false},
        {u"Recent", 1, 0, true},
        {u"One", 2, 0, false},
        {u"Two", 2, 2, false},
        {u"&Help", 0, 0, true},
        {u"About", 1, 2, false},
    });
}

TEST(ParseMenuTemplate, KeepsFlagsAndIdsAndSkipsTheHeaderOffset)
{
    TemplateBytes bytes(0, 6);
    bytes.Popup(u"P", true).Item(7, u"", false, 0x800).Item(0xFFFF, u"Greyed", true, 0x01);
    const auto items = menu::ParseMenuTemplate(bytes.bytes().data(), bytes.bytes().size());
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[0].flags, menu::kMenuPopup);  // MF_END taken off
    EXPECT_EQ((*items)[0].id, 0);
    EXPECT_EQ((*items)[1].flags, 0x800);
    EXPECT_EQ((*items)[1].id, 7);
    EXPECT_EQ((*items)[2].flags, 0x01);
    EXPECT_EQ((*items)[2].id, 0xFFFF);
    EXPECT_EQ((*items)[2].closedLevels, 2);
}

TEST(ParseMenuTemplate, StopsWhenTheBarEndsAndRefusesBytesThatEndBefore)
{
    TemplateBytes whole;
    whole.Item(1, u"Only", true).Item(2, u"Never read");
    ExpectWalk(whole.bytes(), {{u"Only", 0, 1, false}});

    TemplateBytes open;
    open.Popup(u"&File").Item(100, u"Open", true);  // File ends, the bar never does
    const auto& bytes = open.bytes();
    EXPECT_FALSE(menu::ParseMenuTemplate(bytes.data(), bytes.size()).has_value());
    // Every cut inside a complete template is refused, none is read past.
    TemplateBytes complete;
    complete.Popup(u"&File", true).Item(100, u"Open", true);
    const auto& full = complete.bytes();
    ASSERT_TRUE(menu::ParseMenuTemplate(full.data(), full.size()).has_value());
    for (size_t size = 0; size < full.size(); ++size) {
        std::vector<std::uint8_t> cut(full.begin(), full.begin() + size);
        EXPECT_FALSE(menu::ParseMenuTemplate(cut.data(), cut.size()).has_value()) << size << " bytes";
    }
    EXPECT_FALSE(menu::ParseMenuTemplate(nullptr, 0).has_value());
}

TEST(ParseMenuTemplate, RefusesExtendedTemplatesAndOffsetsPastTheEnd)
{
    TemplateBytes extended(1, 4);
    extended.Item(1, u"x", true);
    EXPECT_FALSE(menu::ParseMenuTemplate(extended.bytes().data(), extended.bytes().size()).has_value());
    const std::uint8_t farOffset[] = {0, 0, 0xFF, 0xFF, 0x80, 0, 1, 0, 0, 0};
    EXPECT_FALSE(menu::ParseMenuTemplate(farOffset, sizeof farOffset).has_value());
}

TEST(ParseToolbarResource, ReadsTheButtonsAndRefusesAShortList)
{
    const std::uint8_t bytes[] = {1, 0, 16, 0, 15, 0, 3, 0, 100, 0, 0, 0, 0x65, 0};
    const auto toolbar = menu::ParseToolbarResource(bytes, sizeof bytes);
    ASSERT_TRUE(toolbar.has_value());
    EXPECT_EQ(toolbar->version, 1);
    EXPECT_EQ(toolbar->imageWidth, 16);
    EXPECT_EQ(toolbar->imageHeight, 15);
    EXPECT_EQ(toolbar->commandIds, (std::vector<std::uint16_t>{100, 0, 101}));
    for (size_t size = 0; size < sizeof bytes; ++size)
        EXPECT_FALSE(menu::ParseToolbarResource(bytes, size).has_value()) << size << " bytes";
    // A count beyond the bytes that follow.
    const std::uint8_t tooMany[] = {1, 0, 16, 0, 15, 0, 0xFF, 0xFF, 100, 0, 101, 0};
    EXPECT_FALSE(menu::ParseToolbarResource(tooMany, sizeof tooMany).has_value());
}

// Random bytes in buffers of exactly their size: the sanitizer tree sees any read past the end.
TEST(ResourceReaders, RandomBytesAreNeverReadPastTheirEnd)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> length(0, 64);
    std::uniform_int_distribution<int> byte(0, 255);
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        const size_t size = static_cast<size_t>(length(random));
        auto bytes = std::make_unique<std::uint8_t[]>(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>(byte(random));
        if (size >= 2 && round % 2 == 0)
            bytes[0] = bytes[1] = 0;  // a version 0 header, so the items get read too
        if (size >= 4 && round % 2 == 0)
            bytes[2] = bytes[3] = 0;
        parsed += menu::ParseMenuTemplate(bytes.get(), size).has_value();
        parsed += menu::ParseToolbarResource(bytes.get(), size).has_value();
        if (size >= 4 && round % 4 == 1) {
            // A header size the reader knows, so the rest gets read too.
            const std::uint8_t known[] = {12, 40, 52, 56};
            bytes[0] = known[round / 4 % 4];
            bytes[1] = bytes[2] = bytes[3] = 0;
        }
        parsed += menu::ReadPackedBitmap(bytes.get(), size).has_value();
    }
    EXPECT_GT(parsed, 0);
}

TEST(BitmapColourCount, TheTableSizeFromTheHeader)
{
    struct Case { std::uint32_t used; unsigned bits; unsigned count; };
    const Case cases[] = {{0, 1, 2}, {0, 4, 16}, {0, 8, 256}, {0, 24, 0}, {0, 16, 0}, {0, 32, 0},
                          {16, 8, 16}, {5, 4, 5}, {2, 24, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(menu::BitmapColourCount(c.used, c.bits), c.count) << c.used << " used, " << c.bits << " bits";
}

// A bitmap resource with a header of the given size, its colour table and its pixels.
std::vector<std::uint8_t> BitmapBytes(std::uint32_t headerSize, std::int32_t width, std::int32_t height,
                                      unsigned bits, std::uint32_t compression = 0, std::uint32_t coloursUsed = 0,
                                      std::size_t tableBytes = 0, std::size_t pixelBytes = 0,
                                      std::uint32_t imageSize = 0)
{
    std::vector<std::uint8_t> bytes(headerSize + tableBytes + pixelBytes, 0);
    auto put = [&bytes](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(0, headerSize, 4);
    if (headerSize == 12) {
        put(4, static_cast<std::uint32_t>(width), 2);
        put(6, static_cast<std::uint32_t>(height), 2);
        put(8, 1, 2);
        put(10, bits, 2);
    } else {
        put(4, static_cast<std::uint32_t>(width), 4);
        put(8, static_cast<std::uint32_t>(height), 4);
        put(12, 1, 2);
        put(14, bits, 2);
        put(16, compression, 4);
        put(20, imageSize, 4);
        put(32, coloursUsed, 4);
    }
    return bytes;
}

TEST(ReadPackedBitmap, EveryHeaderKindWithItsTableAndPixels)
{
    using Header = menu::PackedBitmap::Header;
    // 48 x 15 at 4 bits: rows of 24 bytes.
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Header header;
        unsigned colours, entrySize, masks;
        std::size_t bitsOffset;
    };
    const Case cases[] = {
        {"core, 16 colours", BitmapBytes(12, 48, 15, 4, 0, 0, 16 * 3, 24 * 15), Header::kCore, 16, 3, 0, 12 + 48},
        {"info, 16 colours", BitmapBytes(40, 48, 15, 4, 0, 0, 16 * 4, 24 * 15), Header::kInfo, 16, 4, 0, 40 + 64},
        {"info, 5 used", BitmapBytes(40, 48, 15, 4, 0, 5, 5 * 4, 24 * 15), Header::kInfo, 5, 4, 0, 40 + 20},
        {"info, top-down", BitmapBytes(40, 48, -15, 4, 0, 0, 16 * 4, 24 * 15), Header::kInfo, 16, 4, 0, 104},
        {"V4, 16 colours", BitmapBytes(108, 48, 15, 4, 0, 0, 16 * 4, 24 * 15), Header::kExtended, 16, 4, 0, 108 + 64},
        {"V5, 16 colours", BitmapBytes(124, 48, 15, 4, 0, 0, 16 * 4, 24 * 15), Header::kExtended, 16, 4, 0, 124 + 64},
        {"info, bit fields", BitmapBytes(40, 4, 2, 16, 3, 0, 12, 8 * 2), Header::kInfo, 0, 4, 3, 52},
        {"V5, bit fields inside", BitmapBytes(124, 4, 2, 16, 3, 0, 0, 8 * 2), Header::kExtended, 0, 4, 0, 124},
        {"core, 24 bits", BitmapBytes(12, 3, 2, 24, 0, 0, 0, 12 * 2), Header::kCore, 0, 3, 0, 12},
        {"info, RLE8", BitmapBytes(40, 48, 15, 8, 1, 0, 256 * 4, 10, 10), Header::kInfo, 256, 4, 0, 40 + 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = menu::ReadPackedBitmap(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(bitmap.has_value());
        EXPECT_EQ(bitmap->header, c.header);
        EXPECT_EQ(bitmap->colours, c.colours);
        EXPECT_EQ(bitmap->entrySize, c.entrySize);
        EXPECT_EQ(bitmap->masks, c.masks);
        EXPECT_EQ(bitmap->tableOffset, bitmap->headerSize + 4 * c.masks);
        EXPECT_EQ(bitmap->bitsOffset, c.bitsOffset);
    }
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST(ReadPackedBitmap, RefusesWhatIsNotAWholeBitmap)
{
    struct Case { const char* name; std::vector<std::uint8_t> bytes; };
    const Case cases[] = {
        {"pixels one byte short", BitmapBytes(40, 48, 15, 4, 0, 0, 64, 24 * 15 - 1)},
        {"core pixels short", BitmapBytes(12, 48, 15, 4, 0, 0, 48, 24 * 14)},
        {"table short", BitmapBytes(108, 48, 15, 4, 0, 0, 60, 0)},
        {"header short", Truncated(BitmapBytes(124, 1, 1, 24, 0, 0, 0, 4), 100)},
        {"unknown header size", BitmapBytes(64, 1, 1, 24, 0, 0, 0, 4)},
        {"no width", BitmapBytes(40, 0, 1, 24, 0, 0, 0, 4)},
        {"no height", BitmapBytes(40, 1, 0, 24, 0, 0, 0, 4)},
        {"more than 256 colours", BitmapBytes(40, 1, 1, 8, 0, 257, 257 * 4, 4)},
        {"compressed without its size", BitmapBytes(40, 4, 4, 8, 1, 0, 1024, 64, 0)},
        {"compressed past the end", BitmapBytes(40, 4, 4, 8, 1, 0, 1024, 64, 65)},
        {"bit fields without masks", BitmapBytes(40, 4, 2, 16, 3, 0, 8, 8 * 2)},
        {"nothing", {}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(menu::ReadPackedBitmap(c.bytes.data(), c.bytes.size()).has_value()) << c.name;
    EXPECT_FALSE(menu::ReadPackedBitmap(nullptr, 100).has_value());
}

TEST(StandardButtonColour, GreysAndWhiteOnly)
{
    using menu::ButtonColour;
    EXPECT_EQ(menu::StandardButtonColour(0x80, 0x80, 0x80), ButtonColour::kShadow);
    EXPECT_EQ(menu::StandardButtonColour(0xC0, 0xC0, 0xC0), ButtonColour::kFace);
    EXPECT_EQ(menu::StandardButtonColour(0xFF, 0xFF, 0xFF), ButtonColour::kHighlight);
    EXPECT_EQ(menu::StandardButtonColour(0, 0, 0), ButtonColour::kNone);
    EXPECT_EQ(menu::StandardButtonColour(0xC0, 0xC0, 0xC1), ButtonColour::kNone);
    EXPECT_EQ(menu::StandardButtonColour(0xFF, 0, 0xFF), ButtonColour::kNone);
}

}  // namespace
