#include "app/core/commands.h"

namespace pelorin {

std::optional<int> HelpTopicForPage(int pageIndex) {
    switch (static_cast<MainPage>(pageIndex)) {
        case MainPage::Title: return 10;
        case MainPage::Women: return 40;
        case MainPage::Men: return 50;
        case MainPage::Compatibility: return 60;
        case MainPage::Man: return 70;
        case MainPage::Pair: return 80;
        case MainPage::Chart: return 90;
        default: return std::nullopt;
    }
}

PrintAction PrintActionFor(int pageIndex, bool pairDone, bool scanDone) {
    switch (static_cast<MainPage>(pageIndex)) {
        case MainPage::Women: return PrintAction::WomenList;
        case MainPage::Men: return PrintAction::MenList;
        case MainPage::Compatibility: return scanDone ? PrintAction::Ranking : PrintAction::Nothing;
        case MainPage::Pair: return pairDone ? PrintAction::PairReport : PrintAction::Nothing;
        case MainPage::Man: return pairDone ? PrintAction::ManReport : PrintAction::Nothing;
        case MainPage::Chart: return pairDone ? PrintAction::ChartPage : PrintAction::Nothing;
        default: return PrintAction::Nothing;
    }
}

}  // namespace pelorin
