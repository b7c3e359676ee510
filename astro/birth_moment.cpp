#include "astro/birth_moment.h"

#include "astro/base_routines.h"

namespace pelorin {

double FormBirthMoment(int day, int month, int year, int hour, int minute, bool timeKnown,
                       double zone, bool shiftL) {
    if (!timeKnown) {
        hour = 12;
        minute = 0;
    }
    double d = DayNumberOf(day, month, year, hour, minute, 0);
    d = d - zone / 24.0;
    if (shiftL) d = d - 1.0 / 24.0;
    return d;
}

}  // namespace pelorin
