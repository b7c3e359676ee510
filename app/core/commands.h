#pragma once
// What " Помощь" and "  Печать" do with the page in front.
#include <optional>
#include <string>

#include "analysis/main_pages.h"
#include "people/person_record.h"

namespace pelorin {

// Help topic of " Помощь" with the page in front; none for "Астрология" and for a
// page index outside the window's pages.
std::optional<int> HelpTopicForPage(int pageIndex);

// Help topics of the clickable pictures.
inline constexpr int kTopicAstrologyPage = 120;   // " Помощь" and F1 on "Астрология"
inline constexpr int kTopicTitlePicture15 = 20;   // Image15
inline constexpr int kTopicTitlePicture14 = 260;  // Image14
// The seven pictures of "Астрология", in the order Image8 … Image13, Image16.
inline constexpr int kAstrologyPictureTopics[7] = {160, 140, 170, 130, 150, 180, 190};

// Help topic of the page "Композит".
inline constexpr int kTopicCompositePage = 95;

enum class PrintAction { Nothing, WomenList, MenList, Ranking, PairReport, ManReport, ChartPage, RelationshipPage };
PrintAction PrintActionFor(int pageIndex, bool pairDone, bool scanDone);

// What the user has to do first when a command cannot do its job (UTF-8), so that
// no command passes over a click in silence: "Анализ пары" without a chosen woman
// or man, "  Печать" on a page whose analysis has not run (PrintAction::Nothing).
// Empty when the command can run.
std::string PairAnalysisRefusal(const PeopleState& people);
std::string NothingToPrintMessage(int pageIndex);

}  // namespace pelorin
