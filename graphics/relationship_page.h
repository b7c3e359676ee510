#pragma once
// The printed page of the page "Композит": the composite or the Davison chart
// of a pair, laid out as the printed chart page (heading with both people's
// birth data, the wheel with the yellow sign band, a table of the bodies and the
// aspect grid), with one ring of planets, the chart's houses where it has them,
// and the kind of the chart with, for the Davison chart, its moment and place.
#include "analysis/relationship_charts.h"
#include "graphics/printed_pages.h"

namespace pelorin {

struct RelationshipPageInput {
    const PersonRecord& woman;
    const PersonRecord& man;
    const RelationshipChart& chart;
};

// The lines that say what the chart is (UTF-8), printed beside the wheel.
std::vector<std::string> RelationshipAboutLines(const RelationshipChart& chart);

PrintPage RelationshipPageOps(const RelationshipPageInput& in, const PageMeasure& page);

}  // namespace pelorin
