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
