#pragma once
// The birth moment: the day number of a birth in Universal Time, formed once when
// a person is stored and read unchanged by every later computation.

namespace pelorin {

// Day number in Universal Time of a birth at local civil time hour:minute in a zone
// `zone` hours east of Greenwich. An unknown time counts as 12:00. With `shiftL`
// (the record's mark "L", which every stored person carries) one further hour is
// taken off.
double FormBirthMoment(int day, int month, int year, int hour, int minute, bool timeKnown,
                       double zone, bool shiftL);

}  // namespace pelorin
