#include "people/place_fields.h"

namespace pelorin {

BirthTime BirthTimeOf(const PersonRecord& working, int day, int month, int year) {
    BirthTime birth;
    birth.day = day;
    birth.month = month;
    birth.year = year;
    birth.known = working.TimeKnown != 0;
    birth.hour = birth.known ? working.Hour : 12;
    birth.minute = birth.known ? working.Minute : 0;
    return birth;
}

void ApplyPlaceChoice(PersonRecord& working, const PlaceChoice& choice) {
    working.Place.set(choice.Place);
    working.CoordText.set(choice.CoordText);
    working.Zone = choice.Zone;
    working.ZoneText.set(choice.ZoneText);
    working.ShiftFlag.set(choice.ShiftFlag);
}

}  // namespace pelorin
