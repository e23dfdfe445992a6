// core/menu/resources.cpp
#include "core/menu/resources.h"

namespace menu {

namespace {

class Reader
{
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Word(std::uint16_t& value)
    {
        if (m_size - m_at < 2)
            return false;
        value = static_cast<std::uint16_t>(m_data[m_at] | (m_data[m_at + 1] << 8));
        m_at += 2;
        return true;
    }
    bool Text(std::u16string& text)
    {
        text.clear();
        for (std::uint16_t unit = 0;;) {
            if (!Word(unit))
                return false;
            if (unit == 0)
                return true;
            text.push_back(static_cast<char16_t>(unit));
        }
    }
    bool Skip(std::size_t count)
    {
        if (count > m_size - m_at)
            return false;
        m_at += count;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

}  // namespace

std::optional<std::vector<TemplateItem>> ParseMenuTemplate(const std::uint8_t* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader reader(data, size);
    std::uint16_t version = 0;
    std::uint16_t offset = 0;
    if (!reader.Word(version) || !reader.Word(offset) || version != 0 || !reader.Skip(offset))
        return std::nullopt;

    std::vector<TemplateItem> items;
    std::vector<bool> levelEnds = {false};  // one entry per open level, the menu bar first
    while (!levelEnds.empty()) {
        TemplateItem item;
        std::uint16_t option = 0;
        if (!reader.Word(option))
            return std::nullopt;
        item.popup = (option & kMenuPopup) != 0;
        if (!item.popup && !reader.Word(item.id))
            return std::nullopt;
        if (!reader.Text(item.text))
            return std::nullopt;
        item.flags = static_cast<std::uint16_t>(option & ~kMenuEnd);
        item.depth = static_cast<int>(levelEnds.size()) - 1;
        if (option & kMenuEnd)
            levelEnds.back() = true;
        if (item.popup) {
            levelEnds.push_back(false);
        } else {
            while (!levelEnds.empty() && levelEnds.back()) {
                levelEnds.pop_back();
                ++item.closedLevels;
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<ToolbarResource> ParseToolbarResource(const std::uint8_t* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader reader(data, size);
    ToolbarResource toolbar;
    std::uint16_t count = 0;
    if (!reader.Word(toolbar.version) || !reader.Word(toolbar.imageWidth) || !reader.Word(toolbar.imageHeight) ||
        !reader.Word(count))
        return std::nullopt;
    toolbar.commandIds.resize(count);
    for (std::uint16_t& id : toolbar.commandIds) {
        if (!reader.Word(id))
            return std::nullopt;
    }
    return toolbar;
}

unsigned BitmapColourCount(std::uint32_t coloursUsed, unsigned bitsPerPixel)
{
    if (coloursUsed != 0)
        return coloursUsed;
    switch (bitsPerPixel) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

namespace {

std::uint32_t Dword(const std::uint8_t* data) { return data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24; }
std::uint16_t Word(const std::uint8_t* data) { return static_cast<std::uint16_t>(data[0] | data[1] << 8); }

}  // namespace

std::optional<PackedBitmap> ReadPackedBitmap(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 4)
        return std::nullopt;
    PackedBitmap bitmap;
    bitmap.headerSize = Dword(data);
    unsigned planes = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t imageSize = 0;
    switch (bitmap.headerSize) {
    case 12:
        bitmap.header = PackedBitmap::Header::kCore;
        break;
    case 40:
        bitmap.header = PackedBitmap::Header::kInfo;
        break;
    case 52:
    case 56:
    case 108:
    case 124:
        bitmap.header = PackedBitmap::Header::kExtended;
        break;
    default:
        return std::nullopt;
    }
    if (size < bitmap.headerSize)
        return std::nullopt;
    if (bitmap.header == PackedBitmap::Header::kCore) {
        bitmap.width = Word(data + 4);
        bitmap.height = Word(data + 6);
        planes = Word(data + 8);
        bitmap.bitsPerPixel = Word(data + 10);
        bitmap.entrySize = 3;
        bitmap.colours = bitmap.bitsPerPixel <= 8 ? BitmapColourCount(0, bitmap.bitsPerPixel) : 0;
    } else {
        bitmap.width = static_cast<std::int32_t>(Dword(data + 4));
        bitmap.height = static_cast<std::int32_t>(Dword(data + 8));
        planes = Word(data + 12);
        bitmap.bitsPerPixel = Word(data + 14);
        bitmap.compression = Dword(data + 16);
        imageSize = Dword(data + 20);
        coloursUsed = Dword(data + 32);
        bitmap.colours = BitmapColourCount(coloursUsed, bitmap.bitsPerPixel);
        if (bitmap.header == PackedBitmap::Header::kInfo && bitmap.compression == kBitmapBitFields)
            bitmap.masks = 3;
    }
    if (bitmap.width <= 0 || bitmap.height == 0 || bitmap.height == INT32_MIN || planes != 1 ||
        bitmap.bitsPerPixel == 0 || bitmap.bitsPerPixel > 32 || bitmap.colours > 256)
        return std::nullopt;
    bitmap.tableOffset = bitmap.headerSize + bitmap.masks * 4u;
    bitmap.bitsOffset = bitmap.tableOffset + std::size_t{bitmap.colours} * bitmap.entrySize;
    if (bitmap.bitsOffset > size)
        return std::nullopt;
    const std::uint64_t available = size - bitmap.bitsOffset;
    if (bitmap.compression == kBitmapRgb || bitmap.compression == kBitmapBitFields) {
        const std::uint64_t stride = (static_cast<std::uint64_t>(bitmap.width) * bitmap.bitsPerPixel + 31) / 32 * 4;
        const std::uint64_t rows = bitmap.height < 0 ? -static_cast<std::int64_t>(bitmap.height) : bitmap.height;
        if (stride * rows > available)
            return std::nullopt;
    } else if (imageSize == 0 || imageSize > available) {
        return std::nullopt;  // compressed: its stated size must be there
    }
    return bitmap;
}

ButtonColour StandardButtonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (red != green || green != blue)
        return ButtonColour::kNone;
    switch (red) {
    case 0x80:
        return ButtonColour::kShadow;
    case 0xC0:
        return ButtonColour::kFace;
    case 0xFF:
        return ButtonColour::kHighlight;
    default:
        return ButtonColour::kNone;
    }
}

}  // namespace menu
