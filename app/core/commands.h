#pragma once
// The pages of the main window in order, and what " Помощь" and "  Печать" do
// with the page in front.
#include <optional>
#include <string>

namespace pelorin {

enum class MainPage {
    Title = 0,       // "Pelorin"
    Women = 1,       // "Женщины"
    Men = 2,         // "Мужчины"
    Compatibility = 3,  // "Совместимость"
    Pair = 4,        // "Пара"
    Man = 5,         // "Мужчина"
    Chart = 6,       // "Карта"
    Astrology = 7,   // "Астрология"
};
inline constexpr int kMainPageCount = 8;

// Help topic of " Помощь" with the page in front; none for "Астрология" and for a
// page index outside the window's pages.
std::optional<int> HelpTopicForPage(int pageIndex);

// Help topics of the clickable pictures.
inline constexpr int kTopicTitlePicture15 = 20;   // Image15
inline constexpr int kTopicTitlePicture14 = 260;  // Image14

struct HelpTarget {
    std::string file;   // SystemDir + "PelorinHelp.chm"
    std::string topic;  // "::" + n + ".html"
};
HelpTarget HelpTargetFor(const std::string& systemDir, int topic);

// The message of a help file that cannot be opened.
std::string HelpFileError(const std::string& file);

enum class PrintAction { Nothing, WomenList, MenList, Ranking, PairReport, ManReport, ChartPage };
PrintAction PrintActionFor(int pageIndex, bool pairDone, bool scanDone);

}  // namespace pelorin
