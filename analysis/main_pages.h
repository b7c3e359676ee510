#pragma once
// The pages of the main window in order: the analysis says which page it has
// filled, the window shows it.

namespace pelorin {

enum class MainPage {
    Title = 0,       // "Pelorin"
    Women = 1,       // "Женщины"
    Men = 2,         // "Мужчины"
    Compatibility = 3,  // "Совместимость"
    Pair = 4,        // "Пара"
    Man = 5,         // "Мужчина"
    Chart = 6,       // "Карта"
    Composite = 7,   // "Композит": the composite and the Davison chart
    Astrology = 8,   // "Астрология"
};
inline constexpr int kMainPageCount = 9;

}  // namespace pelorin
