// core/progress/bar_layout.h
// Where the bar's tiles go. The bar is drawn from a strip of nine tiles of width W; the window
// only executes the draws planned here, so the plans are tested without a window.
#pragma once

#include <vector>

#include "core/progress/progress_range.h"

namespace progress {

enum Tile : int {
    kTrackLeftEnd = 0,
    kTrackBeforeBar = 1,
    kBarLeftEnd = 2,
    kCentreMark = 3,
    kBarBody = 4,
    kBarRightEnd = 5,
    kTrackAfterBar = 6,
    kTrack = 7,
    kTrackRightEnd = 8,
};
constexpr int kTileCount = 9;

// What the off-screen picture shows, in pixels from the client's left edge.
struct DrawnBar {
    int start = 0;
    int end = 0;
    int trackEnd = 0;
};

struct BarGeometry {
    int trackEnd = 0;  // where the right end tile of the track goes
    int start = 0;     // the bar's left end tile
    int end = 0;       // the bar's right end tile
    bool changed = false;  // differs from what is drawn
};

BarGeometry ComputeBarGeometry(int clientWidth, int tileWidth, const ProgressRange& range, bool reverse,
                               const DrawnBar& drawn);

struct TileDraw {
    int tile;
    int x;
    bool operator==(const TileDraw&) const = default;
};
using PaintPlan = std::vector<TileDraw>;

// The whole bar, for a fresh off-screen bitmap. Records what it draws in `drawn`. Without a
// tile width there is nothing to draw.
PaintPlan PlanFullPaint(const BarGeometry& geometry, int tileWidth, DrawnBar& drawn);

// Only the tiles of the bar ends that moved since `drawn`, over the picture `drawn` describes.
PaintPlan PlanIncrementalPaint(const BarGeometry& geometry, int tileWidth, DrawnBar& drawn);

}  // namespace progress
