// The opaque runs of a row of pixels around the key colour.
#include "core/menu/region_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Runs = std::vector<menu::Run>;

// '#' an opaque pixel, '.' the key colour.
Runs RunsOf(const std::string& row)
{
    std::vector<std::uint32_t> pixels;
    for (char c : row)
        pixels.push_back(c == '.' ? 0x00FF00FFu : 0x00102030u);
    return menu::OpaqueRuns(pixels.data(), static_cast<int>(pixels.size()), 0x00FF00FFu);
}

TEST(OpaqueRuns, RunsBetweenKeyColouredPixels)
{
    struct Case { std::string row; Runs runs; };
    const Case cases[] = {
        {"######", {{0, 6}}},
        {"......", {}},                // a row of key colour adds nothing
        {"", {}},
        {".####.", {{1, 5}}},          // key-coloured first and last columns
        {"..##..#", {{2, 4}, {6, 7}}},
        {"#.#.#", {{0, 1}, {2, 3}, {4, 5}}},
        {"##...##", {{0, 2}, {5, 7}}},
        {".", {}},
        {"#", {{0, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunsOf(c.row), c.runs) << '"' << c.row << '"';
}

TEST(OpaqueRuns, ReadsOnlyTheGivenWidth)
{
    const std::uint32_t pixels[] = {1, 1, 7, 1, 1};
    EXPECT_EQ(menu::OpaqueRuns(pixels, 2, 7), (Runs{{0, 2}}));
    EXPECT_EQ(menu::OpaqueRuns(pixels, 3, 7), (Runs{{0, 2}}));
    EXPECT_EQ(menu::OpaqueRuns(pixels, 0, 7), (Runs{}));
}

}  // namespace
