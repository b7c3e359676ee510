#pragma once
// Between the atlas and the working record of the women's entry: the birth a
// place is chosen for, and the chosen place written into the record.
#include "people/atlas.h"
#include "people/person_record.h"

namespace pelorin {

// The birth a place is chosen for: the given date, and the working record's
// time when it is known (noon when not).
BirthTime BirthTimeOf(const PersonRecord& working, int day, int month, int year);

// Writes a chosen place into the working record: Place, CoordText, Zone,
// ZoneText and the mark ShiftFlag that tells how Zone was found.
void ApplyPlaceChoice(PersonRecord& working, const PlaceChoice& choice);

}  // namespace pelorin
