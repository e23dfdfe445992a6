// core/progress/bar_layout.cpp
#include "core/progress/bar_layout.h"

#include <algorithm>

namespace progress {

BarGeometry ComputeBarGeometry(int clientWidth, int tileWidth, const ProgressRange& range, bool reverse,
                               const DrawnBar& drawn)
{
    const long long span = static_cast<long long>(range.Upper()) - range.Lower();
    const long long usable = static_cast<long long>(clientWidth) - 2LL * tileWidth;

    BarGeometry g;
    g.trackEnd = clientWidth - tileWidth;
    g.end = static_cast<int>(tileWidth + (static_cast<long long>(range.Position()) - range.Lower()) * usable / span);
    g.start = static_cast<int>((static_cast<long long>(range.StartPosition()) - range.Lower()) * usable / span);
    g.end = std::min(g.end, g.trackEnd);
    g.start = std::min(g.start, g.end - tileWidth);
    if (reverse) {
        const int start = g.start;
        g.start = g.trackEnd - g.end;
        g.end = g.trackEnd - start;
    }
    g.changed = !(drawn.trackEnd == g.trackEnd && drawn.end == g.end && drawn.start == g.start);
    return g;
}

PaintPlan PlanFullPaint(const BarGeometry& g, int W, DrawnBar& drawn)
{
    PaintPlan plan;
    if (W <= 0)
        return plan;
    const int S = g.start, E = g.end, T = g.trackEnd;

    int x = T - T % W;
    for (; x > E; x -= W)
        plan.push_back({kTrack, x});
    drawn.end = E;
    for (; x >= S; x -= W)
        plan.push_back({kBarBody, x});
    drawn.start = S;
    for (; x >= W; x -= W)
        plan.push_back({kTrack, x});
    plan.push_back({kCentreMark, (E + S) / 2});
    if (S > W)
        plan.push_back({kTrackBeforeBar, S - W});
    if (E < T - W)
        plan.push_back({kTrackAfterBar, E + W});
    plan.push_back({kTrackLeftEnd, 0});
    plan.push_back({kTrackRightEnd, T});
    plan.push_back({kBarLeftEnd, S});
    plan.push_back({kBarRightEnd, E});
    drawn.trackEnd = T;
    return plan;
}

PaintPlan PlanIncrementalPaint(const BarGeometry& g, int W, DrawnBar& drawn)
{
    PaintPlan plan;
    if (W <= 0)
        return plan;
    const int S = g.start, E = g.end, T = g.trackEnd;
    const int pS = drawn.start, pE = drawn.end;
    const bool endMoved = E != pE;
    const bool startMoved = S != pS;

    if (endMoved) {
        if (E < pE) {
            plan.push_back({kTrack, pE});
            for (int x = pE - pE % W; x > E; x -= W)
                plan.push_back({kTrack, x});
        } else {
            plan.push_back({kBarBody, pE});
            for (int x = (pE + W) - (pE + W) % W; x < E; x += W)
                plan.push_back({kBarBody, x});
        }
    }
    if (startMoved) {
        if (S < pS) {
            plan.push_back({kBarBody, pS});
            for (int x = pS - pS % W; x > S; x -= W)
                plan.push_back({kBarBody, x});
        } else {
            plan.push_back({kTrack, pS});
            for (int x = (pS + W) - (pS + W) % W; x < S; x += W)
                plan.push_back({kTrack, x});
        }
    }
    if (endMoved || startMoved)
        plan.push_back({kCentreMark, (E + S) / 2});
    if (startMoved && S > W)
        plan.push_back({kTrackBeforeBar, S - W});
    if (endMoved && E < T - W)
        plan.push_back({kTrackAfterBar, E + W});
    if (startMoved && S < 2 * W)
        plan.push_back({kTrackLeftEnd, 0});
    if (endMoved && E > T - 2 * W)
        plan.push_back({kTrackRightEnd, T});
    if (startMoved || E < S + 2 * W) {
        drawn.start = S;
        plan.push_back({kBarLeftEnd, S});
    }
    if (endMoved || S > E - 2 * W) {
        drawn.end = E;
        plan.push_back({kBarRightEnd, E});
    }
    drawn.trackEnd = T;
    return plan;
}

}  // namespace progress
