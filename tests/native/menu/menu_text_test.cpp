// Lookup by text, what removal by text takes away, menu characters, foreign menu-bar entries and
// accelerator padding.
#include "core/menu/menu_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FindItemIndexByText, FirstExactCaseSensitiveMatchInAMenuWithAPlainEntry)
{
    const std::vector<std::u16string> texts = {u"&File", u"&Open", u"Save", u"&Open", u""};
    struct Case { std::u16string_view text; bool plain; int index; };
    const Case cases[] = {
        {u"&Open", true, 1},  // the first of two
        {u"Save", true, 2},
        {u"save", true, -1},  // case counts
        {u"Save ", true, -1},
        {u"", true, 4},
        {u"Exit", true, -1},
        {u"Save", false, -1},  // a menu of popups only
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::FindItemIndexByText(texts, c.plain, c.text), c.index);
}

TEST(RemovalPositions, TheFoundItemThenTheItemsBeforeItNeverBeforeTheFirst)
{
    struct Case { int found; int extra; std::vector<int> positions; };
    const Case cases[] = {
        {-1, 3, {}},          // not found: nothing
        {4, 0, {4}},
        {4, 1, {4, 3}},
        {4, 2, {4, 3}},
        {4, 3, {4, 3, 2}},    // the found item and the two before it
        {4, 4, {4}},          // other values: nothing more
        {4, -1, {4}},
        {0, 1, {0}},          // no position -1
        {0, 3, {0}},
        {1, 3, {1, 0}},       // only one item before it: nothing after it goes
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::RemovalPositions(c.found, c.extra), c.positions) << c.found << " extra " << c.extra;
}

TEST(MatchMenuChar, AmpersandFollowedByTheCharacterInEitherCase)
{
    const std::vector<std::string> texts = {"&Open", "Sa&ve", "&Save as", "&s", "Tom & Jerry", "&&x"};
    struct Case { char character; int position; };
    const Case cases[] = {
        {'o', 0}, {'O', 0}, {'v', 1}, {'V', 1}, {'s', 2}, {'S', 2}, {'a', -1},
        {' ', 4},  // an ampersand followed by a space is a key like any other
        {'&', 5},
        {'x', 5},  // the text holds "&x", even though a menu shows "&&" as an ampersand
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::MatchMenuChar(c.character, texts), c.position) << c.character;
    EXPECT_EQ(menu::MatchMenuChar('s', {"s&", "S"}), -1);  // an ampersand at the end has no character
}

TEST(ForeignItemOffset, CountsEntriesInFrontOfTheBarsOwn)
{
    const std::vector<std::string> records = {"&File", "&Edit", "&Help"};
    struct Case { std::vector<std::string> entries; int offset; };
    const Case cases[] = {
        {{"&File", "&Edit", "&Help"}, 0},
        {{"", "System", "&File", "&Edit", "&Help"}, 2},
        {{"Other", "&Edit", "&Help"}, 0},      // first match is record 1 at position 1
        {{"X", "Y", "Z", "&Edit"}, 2},         // record 1 at position 3
        {{"&Help"}, 0},                        // position 0 is before record 2: no offset
        {{"X", "Y"}, 0},                       // nothing matches
        {{}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::ForeignItemOffset(c.entries, records), c.offset);
}

// Every character 6 pixels wide except the space (3) and capital W (11).
int Measure(std::string_view text)
{
    int width = 0;
    for (char c : text)
        width += c == ' ' ? 3 : c == 'W' ? 11 : 6;
    return width;
}

TEST(PadAccelerators, LabelsWithATabReachTheWidestLabelWithOneSpaceAdded)
{
    const std::vector<std::string> texts = {"Open\tCtrl+O", "Save as\tCtrl+Shift+S", "Exit", ""};
    const std::vector<std::string> padded = menu::PadAccelerators(texts, Measure);
    // Widest: "Save as " = 6 x 6 + 2 x 3 = 42. "Open" is 24: six spaces make 42.
    EXPECT_EQ(padded[0], "Open      \tCtrl+O");
    EXPECT_EQ(padded[1], "Save as \tCtrl+Shift+S");
    EXPECT_EQ(padded[2], "Exit");  // no tab: left alone
    EXPECT_EQ(padded[3], "");
    for (const std::string& text : {padded[0], padded[1]})
        EXPECT_GE(Measure(text.substr(0, text.find('\t'))), Measure("Save as "));
}

TEST(PadAccelerators, ALabelWithoutATabCountsTowardTheWidth)
{
    const std::vector<std::string> padded = menu::PadAccelerators({"WWWW", "a\tb", "cc\tAlt+X\tY"}, Measure);
    // "WWWW " = 47: "a" (6) needs 14 spaces to reach 48; "cc" (12) needs 12 to reach 48.
    EXPECT_EQ(padded[1], "a" + std::string(14, ' ') + "\tb");
    EXPECT_EQ(padded[2], "cc" + std::string(12, ' ') + "\tAlt+X\tY");  // the rest from the first tab on
}

TEST(PadAccelerators, AFontWhoseSpaceHasNoWidthEndsThePadding)
{
    auto noSpace = [](std::string_view text) {
        int width = 0;
        for (char c : text)
            width += c == ' ' ? 0 : 6;
        return width;
    };
    const std::vector<std::string> padded = menu::PadAccelerators({"Open\tX", "Save as\tY"}, noSpace);
    EXPECT_EQ(padded[0], "Open \tX");  // one space tried, then left as it is
}

}  // namespace
