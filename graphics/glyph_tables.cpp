#include "graphics/glyph_tables.h"

#include <charconv>

namespace pelorin {

namespace {

constexpr std::array<unsigned char, 13> MakeSignGlyphs() {
    std::array<unsigned char, 13> t{};
    for (int n = 1; n <= 12; ++n) t[n] = static_cast<unsigned char>(0x3F + n);
    return t;
}

constexpr std::array<unsigned char, 54> MakeBodyGlyphs() {
    std::array<unsigned char, 54> t{};
    t[0] = 0x20;
    for (int i = 1; i <= 31; ++i) t[i] = static_cast<unsigned char>(0x4B + i);
    for (int i = 32; i <= 43; ++i) t[i] = static_cast<unsigned char>(0xB3 + (i - 31));
    constexpr unsigned char tail[10] = {0x91, 0x8D, 0xA9, 0x8F, 0x90, 0x2B, 0xB3, 0x23, 0x7C, 0x26};
    for (int i = 44; i <= 53; ++i) t[i] = tail[i - 44];
    return t;
}

constexpr std::array<unsigned char, 181> MakeAspectGlyphs() {
    std::array<unsigned char, 181> t{};
    struct Entry { int index; unsigned char code; };
    constexpr Entry entries[] = {
        {0, 0x6E},   {1, 0xAA},   {2, 0xAB},   {3, 0xAC},   {4, 0xAF},   {18, 0x6F},
        {20, 0x70},  {24, 0x71},  {25, 0x72},  {30, 0x73},  {36, 0x74},  {40, 0x75},
        {45, 0x76},  {51, 0x77},  {60, 0x78},  {72, 0x79},  {77, 0x7A},  {78, 0x7B},
        {80, 0x7C},  {90, 0x7D},  {100, 0x7E}, {102, 0x95}, {103, 0x96}, {108, 0x81},
        {120, 0x82}, {128, 0xA7}, {135, 0x84}, {140, 0x85}, {144, 0x86}, {150, 0x87},
        {154, 0xA6}, {156, 0x89}, {160, 0xA5}, {162, 0x8B}, {180, 0xA8},
    };
    for (const Entry& e : entries) t[e.index] = e.code;
    return t;
}

}  // namespace

const std::array<unsigned char, 13> SignGlyphs = MakeSignGlyphs();
const std::array<unsigned char, 54> BodyGlyphs = MakeBodyGlyphs();
const std::array<unsigned char, 181> AspectGlyphs = MakeAspectGlyphs();

const std::array<std::string_view, 54> BodyNames = {
    "",
    "Солнце", "Луна", "Меркурий", "Венера", "Марс", "Юпитер", "Сатурн", "Уран", "Нептун",
    "Плутон", "Хирон", "Прозерпина", "Сев.Лун.Узел", "Юж.Лун.Узел", "Белая Луна",
    "Черная Луна", "Колесо Фортуны", "Крест Судьбы", "Церера", "Паллада", "Юнона", "Веста",
    "Купидон", "Гадес", "Зевс", "Кронос", "Аполлон", "Адметос", "Вулкан", "Посейдон",
    "Вертекс", "Куспид I дома", "Куспид II дома", "Куспид III дома", "Куспид IV дома",
    "Куспид V дома", "Куспид VI дома", "Куспид VII дома", "Куспид VIII дома",
    "Куспид IX дома", "Куспид X дома", "Куспид XI дома", "Куспид XII дома", "Точка жизни",
    "Asc", "Dsc", "MC", "IC",
    "", "", "", "", "",
};

const std::array<std::string_view, 13> SignNames = {
    "", "Овен", "Телец", "Близнецы", "Рак", "Лев", "Дева", "Весы", "Скорпион", "Стрелец",
    "Козерог", "Водолей", "Рыбы",
};

const std::array<AspectName, 6> AspectNames = {{
    {"", "", ""},
    {"Соединение", "  0", "0"},
    {"Секстиль", " 60", "60"},
    {"Квадратура", " 90", "90"},
    {"Тригон", "120", "120"},
    {"Оппозиция", "180", "180"},
}};

int AspectDegreeValue(const AspectName& row) {
    int v = -1;
    const char* first = row.degreeValue.data();
    const char* last = first + row.degreeValue.size();
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || v < 0 || v > 180) return -1;
    return v;
}

unsigned char AspectGlyphAt(int degrees) {
    if (degrees < 0 || degrees > 180) return 0;
    return AspectGlyphs[static_cast<std::size_t>(degrees)];
}

}  // namespace pelorin
