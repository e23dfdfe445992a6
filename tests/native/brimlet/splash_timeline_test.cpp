// The splash's frames on its 100 ms ticks and the picture set of each system language.
#include "core/brimlet/splash_timeline.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using brimlet::SplashLanguage;

TEST(SplashLanguage, FromTheDefaultLcid)
{
    const struct {
        std::uint32_t lcid;
        SplashLanguage language;
        unsigned firstFrame;
        unsigned lastFrame;
    } cases[] = {
        {0x0804, SplashLanguage::SimplifiedChinese, 180, 183},
        {0x0404, SplashLanguage::Chinese, 156, 160},
        {0x0C04, SplashLanguage::Chinese, 156, 160},
        {0x1004, SplashLanguage::Chinese, 156, 160},
        {0x1404, SplashLanguage::Chinese, 156, 160},
        {0x0409, SplashLanguage::Other, 180, 183},
        {0x0411, SplashLanguage::Other, 180, 183},
        {0x0000, SplashLanguage::Other, 180, 183},
    };
    for (const auto& c : cases) {
        const SplashLanguage language = brimlet::SplashLanguageFromLcid(c.lcid);
        EXPECT_EQ(language, c.language) << std::hex << c.lcid;
        EXPECT_EQ(brimlet::SplashFrameBitmap(language, 0), c.firstFrame) << std::hex << c.lcid;
        EXPECT_EQ(brimlet::SplashFrameBitmap(language, 3), c.lastFrame) << std::hex << c.lcid;
    }
    EXPECT_EQ(brimlet::SplashFrameBitmap(SplashLanguage::Chinese, 2), 158u);
    EXPECT_EQ(brimlet::SplashFrameBitmap(SplashLanguage::Other, 1), 181u);
}

TEST(SplashTimeline, FramesAndEnd)
{
    struct Event {
        int tick;
        unsigned bitmap;
        bool repaint;
        bool end;
    };
    for (SplashLanguage language : {SplashLanguage::Chinese, SplashLanguage::Other}) {
        brimlet::SplashTimeline timeline;
        std::vector<Event> events;
        for (int tick = 1; tick <= 40; ++tick) {
            const brimlet::SplashStep step = timeline.Tick(language);
            if (step.newBitmap || step.repaint || step.end)
                events.push_back({tick, step.newBitmap, step.repaint, step.end});
            if (step.end)
                break;
        }
        const unsigned base = language == SplashLanguage::Chinese ? 156 : 180;
        const unsigned last = language == SplashLanguage::Chinese ? 160 : 183;
        // Frame 1 at the 4th tick, 2 at the 8th, 3 at the 12th, a repaint at the 19th, the end at
        // the 35th (3.5 s).
        const std::vector<Event> expected = {
            {4, base + 1, true, false}, {8, base + 2, true, false}, {12, last, true, false},
            {19, 0, true, false},       {35, 0, false, true},
        };
        ASSERT_EQ(events.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(events[i].tick, expected[i].tick) << i;
            EXPECT_EQ(events[i].bitmap, expected[i].bitmap) << i;
            EXPECT_EQ(events[i].repaint, expected[i].repaint) << i;
            EXPECT_EQ(events[i].end, expected[i].end) << i;
        }
    }
}

TEST(SplashTimeline, RunsOnce)
{
    brimlet::SplashTimeline timeline;
    int ticks = 0;
    while (!timeline.Tick(SplashLanguage::Other).end)
        ++ticks;
    EXPECT_EQ(ticks, 34);
    // Never reset: every later tick ends at once.
    EXPECT_TRUE(timeline.Tick(SplashLanguage::Other).end);
    EXPECT_TRUE(timeline.Tick(SplashLanguage::Other).end);
}

}  // namespace
