// core/brimlet/splash_timeline.cpp
#include "core/brimlet/splash_timeline.h"

namespace brimlet {

namespace {
constexpr std::uint32_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint32_t kSubLanguageMask = 0xFC00;
constexpr std::uint32_t kLanguageChinese = 0x04;
constexpr std::uint32_t kSubLanguageSimplified = 0x800;  // People's Republic of China

constexpr unsigned kTraditionalFrames[] = {156, 157, 158, 160};
constexpr unsigned kOtherFrames[] = {180, 181, 182, 183};
}  // namespace

SplashLanguage SplashLanguageFromLcid(std::uint32_t lcid)
{
    if ((lcid & kPrimaryLanguageMask) != kLanguageChinese)
        return SplashLanguage::Other;
    return (lcid & kSubLanguageMask) == kSubLanguageSimplified ? SplashLanguage::SimplifiedChinese
                                                                : SplashLanguage::Chinese;
}

unsigned SplashFrameBitmap(SplashLanguage language, int frame)
{
    if (frame < 0 || frame > 3)
        return 0;
    return language == SplashLanguage::Chinese ? kTraditionalFrames[frame] : kOtherFrames[frame];
}

SplashStep SplashTimeline::Tick(SplashLanguage language)
{
    SplashStep step;
    if (m_frame < static_cast<int>(sizeof kLimits / sizeof kLimits[0]) && m_ticks < kLimits[m_frame]) {
        ++m_ticks;
        return step;
    }
    ++m_frame;
    if (m_frame > 4) {
        step.end = true;
        return step;
    }
    if (m_frame <= 3)
        step.newBitmap = SplashFrameBitmap(language, m_frame);
    step.repaint = true;
    return step;
}

}  // namespace brimlet
