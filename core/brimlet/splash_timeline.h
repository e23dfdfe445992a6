// core/brimlet/splash_timeline.h
// The splash's four frames on a 100 ms tick, its end after 3.5 seconds, and the picture set the
// system's default language picks.
#pragma once

#include <cstdint>

namespace brimlet {

enum class SplashLanguage : int {
    Other = 0,
    Chinese = 1,            // every Chinese but Simplified: the Traditional pictures
    SimplifiedChinese = 2,
};
SplashLanguage SplashLanguageFromLcid(std::uint32_t lcid);

// Bitmap of a frame (0-3) in a language.
unsigned SplashFrameBitmap(SplashLanguage language, int frame);

constexpr unsigned kSplashTimerId = 1;
constexpr unsigned kSplashTickMilliseconds = 100;

// What one tick asks of the dialog.
struct SplashStep {
    unsigned newBitmap = 0;  // 0: keep the picture
    bool repaint = false;
    bool end = false;
};

// Cumulative tick counts per frame; once past the last, the splash ends.
class SplashTimeline {
public:
    SplashStep Tick(SplashLanguage language);
    int Frame() const { return m_frame; }

private:
    static constexpr int kLimits[] = {3, 6, 9, 15, 30};
    int m_frame = 0;
    int m_ticks = 0;
};

}  // namespace brimlet
