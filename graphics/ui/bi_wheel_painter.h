#pragma once
// Paints the bi-wheel chart (graphics/bi_wheel.h) on a canvas.
#include <QPainter>
#include <vector>

#include "graphics/bi_wheel.h"

namespace pelorin {

// Paints the operations in order: symbol texts centred and ANDed onto the
// picture, the "System" captions and the grid's cells written directly.
void PaintWheelOps(QPainter& canvas, const std::vector<WheelOp>& ops);

// The bi-wheel on a canvas of W x H pixels: with `draw` false only cleared to
// white. The chords come from `aspects`; the grid below the wheel from `grid`
// (the analysis' AspectGrid), or from `aspects` when `grid` is null. His
// `manCusps`, when known, are drawn on the outer ring.
void DrawBiWheel(QPainter& canvas, int W, int H, const TChart& woman, const TChart& man, const TCusps& womanCusps,
                 const AspectGrid& aspects, bool draw, const AspectGrid* grid = nullptr,
                 const TCusps* manCusps = nullptr);

}  // namespace pelorin
