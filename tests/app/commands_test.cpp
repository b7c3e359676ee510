#include "app/core/commands.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(MainCommands, HelpTopicOfEveryPage) {
    // "Астрология" has its own page (it lists the articles its pictures open).
    const std::optional<int> expected[] = {10, 40, 50, 60, 80, 70, 90, 95, 120};
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(kMainPageCount));
    for (int page = 0; page < kMainPageCount; ++page)
        EXPECT_EQ(HelpTopicForPage(page), expected[page]) << page;
    EXPECT_EQ(HelpTopicForPage(-1), std::nullopt);
    EXPECT_EQ(HelpTopicForPage(kMainPageCount), std::nullopt);
}

TEST(MainCommands, PrintNeedsTheResultOfItsPage) {
    const int compat = static_cast<int>(MainPage::Compatibility);
    const int pair = static_cast<int>(MainPage::Pair);
    // After a pair analysis only: the ranking does not print.
    EXPECT_EQ(PrintActionFor(compat, true, false), PrintAction::Nothing);
    EXPECT_EQ(PrintActionFor(pair, true, false), PrintAction::PairReport);
    // After a scan only: the reports and the chart do not print.
    EXPECT_EQ(PrintActionFor(compat, false, true), PrintAction::Ranking);
    EXPECT_EQ(PrintActionFor(pair, false, true), PrintAction::Nothing);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Man), false, true), PrintAction::Nothing);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Chart), false, true), PrintAction::Nothing);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Chart), true, false), PrintAction::ChartPage);
    // The pair's composite or Davison chart, after a pair analysis only.
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Composite), true, false), PrintAction::RelationshipPage);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Composite), false, true), PrintAction::Nothing);
    // The lists always print; the title and "Астрология" never.
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Women), false, false), PrintAction::WomenList);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Men), false, false), PrintAction::MenList);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Title), true, true), PrintAction::Nothing);
    EXPECT_EQ(PrintActionFor(static_cast<int>(MainPage::Astrology), true, true), PrintAction::Nothing);
}

TEST(MainCommands, ACommandThatCannotRunSaysWhatToDoFirst) {
    PeopleState people;
    EXPECT_NE(PairAnalysisRefusal(people).find("женщину"), std::string::npos);
    people.WomanChosen = true;  // after a scan or after deleting the chosen man
    EXPECT_NE(PairAnalysisRefusal(people).find("мужчину"), std::string::npos);
    people.ManChosen = true;
    EXPECT_EQ(PairAnalysisRefusal(people), "");
    for (int page = 0; page < kMainPageCount; ++page)
        if (PrintActionFor(page, false, false) == PrintAction::Nothing) {
            EXPECT_NE(NothingToPrintMessage(page), "") << page;
        }
    EXPECT_NE(NothingToPrintMessage(static_cast<int>(MainPage::Chart)).find("«Анализ пары»"), std::string::npos);
    EXPECT_NE(NothingToPrintMessage(static_cast<int>(MainPage::Composite)).find("«Анализ пары»"), std::string::npos);
    EXPECT_NE(NothingToPrintMessage(static_cast<int>(MainPage::Compatibility)).find("«Анализ всех»"), std::string::npos);
}

}  // namespace
}  // namespace pelorin
