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
        case MainPage::Composite: return kTopicCompositePage;
        case MainPage::Astrology: return kTopicAstrologyPage;
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
        case MainPage::Composite: return pairDone ? PrintAction::RelationshipPage : PrintAction::Nothing;
        default: return PrintAction::Nothing;
    }
}

std::string PairAnalysisRefusal(const PeopleState& people) {
    if (!people.WomanChosen) return "Сначала выберите женщину на странице «Женщины».";
    if (!people.ManChosen) return "Сначала выберите мужчину на странице «Мужчины».";
    return {};
}

std::string NothingToPrintMessage(int pageIndex) {
    switch (static_cast<MainPage>(pageIndex)) {
        case MainPage::Compatibility: return "Сначала выполните «Анализ всех» — печатается список мужчин по совместимости.";
        case MainPage::Pair:
        case MainPage::Man:
        case MainPage::Chart:
        case MainPage::Composite: return "Сначала выберите женщину и мужчину и выполните «Анализ пары».";
        default: return "На этой странице нечего печатать. Откройте список, отчёт или карту.";
    }
}

}  // namespace pelorin
