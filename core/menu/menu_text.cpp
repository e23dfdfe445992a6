// core/menu/menu_text.cpp
#include "core/menu/menu_text.h"

#include <algorithm>

namespace menu {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::vector<int> RemovalPositions(int found, int extra)
{
    std::vector<int> positions;
    if (found < 0)
        return positions;
    positions.push_back(found);
    const int before = (extra == 1 || extra == 2) ? 1 : extra == 3 ? 2 : 0;
    // Removing at a later position leaves the earlier ones where they were.
    for (int k = 1; k <= before && found - k >= 0; ++k)
        positions.push_back(found - k);
    return positions;
}

int MatchMenuChar(char character, const std::vector<std::string>& texts)
{
    const char key[2] = {'&', LowerAscii(character)};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        for (size_t at = 0; at + 1 < text.size(); ++at) {
            if (text[at] == key[0] && LowerAscii(text[at + 1]) == key[1])
                return static_cast<int>(i);
        }
    }
    return -1;
}

int ForeignItemOffset(const std::vector<std::string>& entryStrings, const std::vector<std::string>& recordTexts)
{
    for (size_t p = 0; p < entryStrings.size(); ++p) {
        if (entryStrings[p].empty())
            continue;
        for (size_t i = 0; i < recordTexts.size(); ++i) {
            if (recordTexts[i] == entryStrings[p])
                return p >= i ? static_cast<int>(p - i) : 0;
        }
    }
    return 0;
}

std::vector<std::string> PadAccelerators(const std::vector<std::string>& texts,
                                         const std::function<int(std::string_view)>& width)
{
    int widest = 0;
    for (const std::string& text : texts) {
        std::string label = text.substr(0, text.find('\t'));
        label += ' ';
        widest = std::max(widest, width(label));
    }
    std::vector<std::string> padded = texts;
    for (std::string& text : padded) {
        const size_t tab = text.find('\t');
        if (tab == std::string::npos)
            continue;
        std::string label = text.substr(0, tab);
        int current = width(label);
        while (current < widest) {
            label += ' ';
            const int grown = width(label);
            if (grown <= current)
                break;  // a font whose space has no width would never get there
            current = grown;
        }
        text = label + text.substr(tab);
    }
    return padded;
}

}  // namespace menu
