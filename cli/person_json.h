#pragma once
#include "cli/json.h"
#include "base/cp1251.h"
#include "people/person_record.h"

namespace pelorin::cli {

// One used slot as the batch tool prints it: texts in UTF-8 as stored.
inline std::string PersonJson(int slot, const PersonRecord& r) {
    JsonObject o;
    auto text = [](const auto& field) { return Cp1251ToUtf8(field.view()); };
    o.num("slot", slot)
        .str("name", text(r.Name))
        .num("day", r.Day)
        .num("month", r.Month)
        .num("year", r.Year)
        .num("hour", r.Hour)
        .num("minute", r.Minute)
        .boolean("time_known", r.TimeKnown != 0)
        .str("stamp", text(r.Stamp))
        .str("file_tag", text(r.FileTag))
        .str("date_text", text(r.DateText))
        .str("time_text", text(r.TimeText))
        .str("list_line", text(r.ListLine))
        .str("sex", text(r.Sex))
        .str("shift_flag", text(r.ShiftFlag))
        .str("place", text(r.Place))
        .str("comment", text(r.Comment))
        .str("coord_text", text(r.CoordText))
        .num("zone", r.Zone)
        .str("zone_text", text(r.ZoneText))
        .num("moment", r.Moment);
    return o.text();
}

}  // namespace pelorin::cli
