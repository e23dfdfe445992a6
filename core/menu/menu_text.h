// core/menu/menu_text.h
// Rules over the texts of a menu's items: lookup by text, what removal by text takes away, the
// menu-character match, the entries other code put in front of a menu bar, and accelerator
// padding. ANSI texts are byte strings in the ANSI code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace menu {

// Index of the first record with exactly that text, when the menu has at least one entry that is
// not a popup; -1 otherwise.
template <class String, class Char>
int FindItemIndexByText(const std::vector<String>& texts, bool hasPlainEntry, std::basic_string_view<Char> text)
{
    if (!hasPlainEntry)
        return -1;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (std::basic_string_view<Char>(texts[i]) == text)
            return static_cast<int>(i);
    }
    return -1;
}

// The positions that removal by text removes, one after the other, for the item found at
// `found` (-1: nothing): the item itself, then with extra 1 or 2 the item before it, with extra 3
// the two items before it. Positions before the first item are left out.
std::vector<int> RemovalPositions(int found, int extra);

// The WM_MENUCHAR answer's position: the first text that holds an ampersand followed by the
// character, compared without regard to ASCII case; -1 when none does.
int MatchMenuChar(char character, const std::vector<std::string>& texts);

// How many entries other code put in front of a menu bar's own entries: the first non-empty entry
// string that equals some record's text (records tried in order) fixes position p and record i;
// the offset is p - i, or 0 when p < i or nothing matches.
int ForeignItemOffset(const std::vector<std::string>& entryStrings, const std::vector<std::string>& recordTexts);

// Pads the label of every text that has a tab with spaces until it is at least as wide as the
// widest label (of all texts) with one space added, so the shortcuts line up. `width` measures
// a text. A label whose width stops growing is left as it is, whatever the font measures.
std::vector<std::string> PadAccelerators(const std::vector<std::string>& texts,
                                         const std::function<int(std::string_view)>& width);

}  // namespace menu
