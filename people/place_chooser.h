#pragma once
// The place chooser as the women's entry dialog sees it: given the working record
// (its DateText chooses the zone), fill Place, CoordText, Zone and ZoneText and say
// whether a place was chosen.
#include "people/person_record.h"

namespace pelorin {

class PlaceChooser {
public:
    virtual ~PlaceChooser() = default;
    virtual bool ChoosePlace(PersonRecord& working) = 0;
};

}  // namespace pelorin
