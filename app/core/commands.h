#pragma once
// What " Помощь" and "  Печать" do with the page in front.
#include <optional>
#include <string>

#include "analysis/main_pages.h"

namespace pelorin {

// Help topic of " Помощь" with the page in front; none for "Астрология" and for a
// page index outside the window's pages.
std::optional<int> HelpTopicForPage(int pageIndex);

// Help topics of the clickable pictures.
inline constexpr int kTopicTitlePicture15 = 20;   // Image15
inline constexpr int kTopicTitlePicture14 = 260;  // Image14
// The seven pictures of "Астрология", in the order Image8 … Image13, Image16.
inline constexpr int kAstrologyPictureTopics[7] = {160, 140, 170, 130, 150, 180, 190};

enum class PrintAction { Nothing, WomenList, MenList, Ranking, PairReport, ManReport, ChartPage };
PrintAction PrintActionFor(int pageIndex, bool pairDone, bool scanDone);

}  // namespace pelorin
