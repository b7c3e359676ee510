#pragma once
// The place chooser as an entry dialog sees it: given the working record
// (its DateText and its time choose the offset), fill Place, CoordText, Zone,
// ZoneText and ShiftFlag and say whether a place was chosen.
#include "people/person_record.h"

namespace pelorin {

class PlaceChooser {
public:
    virtual ~PlaceChooser() = default;
    virtual bool ChoosePlace(PersonRecord& working) = 0;
};

}  // namespace pelorin
