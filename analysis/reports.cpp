#include "analysis/reports.h"

#include <array>
#include <cmath>

#include "base/cp1251.h"
#include "base/file_io.h"

namespace pelorin {

namespace {

constexpr const char* kCrLf = "\r\n";

// The frame lines shared by both reports. The fonts name the Cyrillic character
// set (204) rather than "the reader's default" (1), which only a Russian-locale
// Windows reads as Windows-1251; every other reader showed the letters as "?".
constexpr const char* kFontTable =
    R"rtf({\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fnil\fcharset204 Courier;}{\f1\fnil\fcharset204 Arial;}})rtf";
// A4 with side margins of 1.5 cm: other readers (LibreOffice, Word) lay the
// identity lines out on that page, and their widest form (below) fits it.
constexpr const char* kPairViewKind =
    R"rtf(\paperw11906\paperh16838\margl850\margr850\viewkind4\uc1\pard\lang1033\f1\fs18)rtf";
constexpr const char* kManViewKind =
    R"rtf(\paperw11906\paperh16838\margl850\margr850\viewkind4\uc1\pard\lang1033\f1\fs20)rtf";
constexpr const char* kPairTitle = R"rtf(\par \pard\qc\b\i\fs24 Программа "Pelorin":     АНАЛИЗ СОВМЕСТИМОСТИ)rtf";
constexpr const char* kManTitle = R"rtf(\par \pard\qc\b\i\fs24 Программа "Pelorin":   ГОРОСКОП МУЖЧИНЫ)rtf";
// The identity lines are Courier 12 (144 twips a character) with their fields
// at tab stops, which every reader honours (blanks are not columns to a reader
// that fills lines): the name after four blanks (576), the place at 3600, the
// date at 7488 and the time at 9216, each a character or two beyond the widest
// field before it (20, 26 and 10 characters); the widest line ends at 9936.
constexpr const char* kIdentityFont = R"rtf(\par \pard\i0\b0\f0\fs24\tx3600\tx7488\tx9216)rtf";
constexpr const char* kPercentLead = R"rtf(\par \pard\qc\b\f1\fs20 СОВМЕСТИМОСТЬ )rtf";
constexpr const char* kPositiveHeading = R"rtf(\par \pard\qc\b\f1\i\fs20  Позитивные факторы)rtf";
constexpr const char* kNegativeHeading = R"rtf(\par \pard\qc\b\f1\i\fs20  Негативные факторы)rtf";
constexpr const char* kTextFont = R"rtf(\par \pard\b0\i0\f1\fs22)rtf";
constexpr const char* kRule =
    R"rtf(\par       ___________________________________________________________________)rtf";
constexpr const char* kPar = R"rtf(\par)rtf";
constexpr const char* kParBlank = R"rtf(\par )rtf";
constexpr const char* kParSevenBlanks = R"rtf(\par       )rtf";
constexpr const char* kEnd = R"rtf(\par })rtf";

// Lines of Windows-1251 text; the UTF-8 literals above are converted once.
class Lines {
public:
    void Add(std::string_view cp1251) {
        out_ += cp1251;
        out_ += kCrLf;
    }
    void AddUtf8(const char* utf8) { Add(Utf8ToCp1251(utf8)); }
    // Every line of the file, each after "\par " and escaped; an empty file gives
    // one line "\par ".
    void CopyFile(const std::string& fileName) {
        for (const std::string& line : SplitTextLines(ReadWholeFile(fileName))) Add("\\par " + RtfEscape(line));
    }
    const std::string& text() const { return out_; }

private:
    std::string out_;
};

void Truncate(std::string& s, std::size_t n) {
    if (s.size() > n) s.resize(n);
}

// The text and report files of an analysis are written afresh by every analysis
// before they are read: no fsync (see Durability::Regenerated).
void EmptyFile(const std::string& fileName) { WriteFileAtomic(fileName, "", Durability::Regenerated); }

}  // namespace

std::string RtfEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

std::string IdentityLine(const PersonRecord& person) {
    // Each field as the record holds it, without the blanks that pad it to its
    // width, escaped; a tab to the next field's stop.
    const auto field = [](std::string text, std::size_t width) {
        Truncate(text, width);
        const std::size_t end = text.find_last_not_of(' ');
        text.resize(end == std::string::npos ? 0 : end + 1);
        return RtfEscape(text);
    };
    return "\\par    " + field(person.Name.str(), 20) + "\\tab " + field(person.Place.str(), 26) + "\\tab " +
           field(person.DateText.str(), 10) + "\\tab " + field(person.TimeText.str(), 5);
}

std::string SignName(int sign) {
    static constexpr std::array<const char*, 12> kNames{"Овен",    "Телец",   "Близнецы", "Рак",
                                                        "Лев",     "Дева",    "Весы",     "Скорпион",
                                                        "Стрелец", "Козерог", "Водолей",  "Рыбы"};
    if (sign < 1 || sign > 12) return {};
    return Utf8ToCp1251(kNames[static_cast<std::size_t>(sign - 1)]);
}

std::string SignLine(const TChart& man) {
    const TChartBody& sun = man[kSun];
    std::string line = Utf8ToCp1251("   Знак Зодиака ") + SignName(sun.Sign);
    Truncate(line, 24);
    line += Utf8ToCp1251("  (Солнце в ");
    Truncate(line, 36);
    line += std::to_string(sun.SignDeg + 1) + Utf8ToCp1251(" градусе знака)");
    return line;
}

std::string AngleLine(const char* utf8Name, double longitude) {
    double lon = std::fmod(longitude, 360.0);
    if (!(lon >= 0)) lon = lon < 0 ? lon + 360.0 : 0;  // negative, or not a number
    const int totalMinutes = static_cast<int>(std::floor(lon * 60)) % (360 * 60);
    const int sign = totalMinutes / (30 * 60) + 1;
    const int degrees = totalMinutes / 60 % 30;
    const int minutes = totalMinutes % 60;
    return Utf8ToCp1251(std::string("   ") + utf8Name + ": ") + SignName(sign) + " " + std::to_string(degrees) +
           "\xB0" + (minutes < 10 ? "0" : "") + std::to_string(minutes) + "\x92";
}

int NatalAspectClass(std::uint8_t angle) {
    switch (angle) {
        case 0: return 0;
        case 60:
        case 120: return 120;
        default: return 180;  // 90 and 180
    }
}

namespace {

bool HardAspect(std::uint8_t a) { return a == 90 || a == 180; }

// The frame both reports share: font table, view kind, three empty paragraphs,
// the title and the font of the identity lines ...
void AddOpeningFrame(Lines& out, std::string_view viewKind, const char* titleUtf8) {
    out.Add(kFontTable);
    out.Add(viewKind);
    for (int i = 0; i < 3; ++i) out.Add(kPar);
    out.AddUtf8(titleUtf8);
    out.Add(kIdentityFont);
}

// ... and the rule and empty paragraphs that end them.
void AddClosingFrame(Lines& out) {
    out.Add(kPar);
    out.Add(kRule);
    out.Add(kParBlank);
    out.Add(kParSevenBlanks);
    out.Add(kParBlank);
    out.Add(kEnd);
}

bool AnyHard(const NatalAspectGrid& grid, int body, std::initializer_list<int> others) {
    for (int o : others)
        if (HardAspect(grid[static_cast<std::size_t>(body)][static_cast<std::size_t>(o)])) return true;
    return false;
}

}  // namespace

bool VenusAfflicted(const NatalAspectGrid& grid) {
    return AnyHard(grid, kVenus, {kMars, kSaturn, kUranus, kNeptune, kPluto});
}

bool MarsAfflicted(const NatalAspectGrid& grid) { return AnyHard(grid, kMars, {kSaturn, kUranus, kNeptune, kPluto}); }

namespace {

// Her bodies in his houses: the weights, and for the report each factor's points
// heading and text, as the writing lookups append them.
void AddReverseSection(Lines& out, const ReverseReportInput& in, const PairScore& score) {
    out.AddUtf8((std::string(R"rtf(\par \pard\qc\b\f1\i\fs20  )rtf") + kReverseSectionTitle).c_str());
    out.Add(kTextFont);
    if (!in.missing.empty()) {
        out.Add("\\par " + RtfEscape(Utf8ToCp1251(in.missing)));
        return;
    }
    if (!score.Reverse || score.Reverse->Factors.empty()) {
        out.Add(kParBlank);
        return;
    }
    // The favourable first, then the unfavourable, each in the order of the pass.
    for (const bool favourable : {true, false})
        for (const ScoreFactor& f : score.Reverse->Factors) {
            if ((f.weight > 0) != favourable) continue;
            const FoundEntry e = in.texts.Find(EntryKind::House, {f.womanBody, f.house, 0, 0});
            out.Add("\\par " + PointsHeading(e.weight, in.texts.name(), e.line));
            for (const std::string& line : SplitTextLines(in.texts.EntryText(e.line, 2)))
                out.Add("\\par " + RtfEscape(line));
            out.Add(kParBlank);
        }
}

}  // namespace

PairScore WritePairReport(const PairReportInput& in, const ReverseReportInput* reverse) {
    const std::string plusFile = JoinPath(in.dataDir, kPlusFile);
    const std::string minusFile = JoinPath(in.dataDir, kMinusFile);
    EmptyFile(plusFile);
    EmptyFile(minusFile);
    PairScore score = ScorePair(in.grid, in.overlay, in.woman.TimeKnown != 0,
                                PairReportLookups(in.aspectTexts, in.houseTexts, in.dataDir));
    if (reverse && reverse->missing.empty()) {
        score.Reverse = ScoreReverse(reverse->overlay, ReverseWeightLookup(reverse->texts));
        if (reverse->bothHouses)
            score.PercentWithHisHouses = PercentWithReverse(score.PlusTotal, score.MinusTotal, *score.Reverse);
    }

    Lines out;
    AddOpeningFrame(out, kPairViewKind, kPairTitle);
    out.Add(IdentityLine(in.woman));
    out.Add(IdentityLine(in.man));
    out.Add(kPar);
    const std::string percent = score.CompatPercent ? std::to_string(*score.CompatPercent) + "%"
                                                    : Utf8ToCp1251(kNoFactorsText);
    out.Add(Utf8ToCp1251(kPercentLead) + percent);
    if (score.PercentWithHisHouses)
        out.Add(Utf8ToCp1251(R"rtf(\par \pard\qc\b0\f1\fs20 )rtf" + WithHisHousesText(*score.PercentWithHisHouses)));
    out.Add(kParBlank);
    out.AddUtf8(kPositiveHeading);
    out.Add(kTextFont);
    out.CopyFile(plusFile);
    out.AddUtf8(kNegativeHeading);
    out.Add(kTextFont);
    out.CopyFile(minusFile);
    if (reverse) AddReverseSection(out, *reverse, score);
    AddClosingFrame(out);
    WriteFileAtomic(JoinPath(in.dataDir, kPairReportFile), out.text(), Durability::Regenerated);
    return score;
}

void WriteManReport(const ManReportInput& in, const TCusps* cusps) {
    const std::string plusFile = JoinPath(in.dataDir, kManPlusFile);
    const std::string minusFile = JoinPath(in.dataDir, kManMinusFile);
    EmptyFile(plusFile);
    EmptyFile(minusFile);

    WriteSignText(in.signTexts, plusFile, in.chart[kSun].Sign, kSun + 1, 0);
    const bool venusBad = VenusAfflicted(in.natal);
    WriteSignText(in.signTexts, venusBad ? minusFile : plusFile, in.chart[kVenus].Sign, kVenus + 1, venusBad ? 50 : 0);
    const bool marsBad = MarsAfflicted(in.natal);
    WriteSignText(in.signTexts, marsBad ? minusFile : plusFile, in.chart[kMars].Sign, kMars + 1, marsBad ? 50 : 0);

    // Sun, Mercury, Venus, Mars, Jupiter, Saturn: the fifteen pairs (i, j), j after i,
    // unfavourable texts first, then the favourable ones in the same order.
    static constexpr std::array<int, 6> kBodies{kSun, kMercury, kVenus, kMars, kJupiter, kSaturn};
    for (const auto& [file, flag] : {std::pair{minusFile, 50}, std::pair{plusFile, 0}}) {
        for (std::size_t a = 0; a < kBodies.size(); ++a)
            for (std::size_t b = a + 1; b < kBodies.size(); ++b) {
                const int i = kBodies[a], j = kBodies[b];
                const std::uint8_t cell = in.natal[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                if (cell == kNoAspect) continue;
                WriteNatalText(in.natalTexts, file, i + 1, NatalAspectClass(cell), j + 1, flag);
            }
    }

    Lines out;
    AddOpeningFrame(out, kManViewKind, kManTitle);
    out.Add(IdentityLine(in.man));
    out.Add(kPar);
    out.Add(SignLine(in.chart));
    if (cusps) {
        out.Add("\\par " + AngleLine("Асцендент", (*cusps)[1]));
        out.Add("\\par " + AngleLine("Середина неба", (*cusps)[10]));
    }
    out.Add(kPar);
    out.AddUtf8(kPositiveHeading);
    out.Add(kPar);
    out.Add(kTextFont);
    out.CopyFile(plusFile);
    out.AddUtf8(kNegativeHeading);
    out.Add(kPar);
    out.Add(kTextFont);
    out.CopyFile(minusFile);
    AddClosingFrame(out);
    WriteFileAtomic(JoinPath(in.dataDir, kManReportFile), out.text(), Durability::Regenerated);
}

}  // namespace pelorin
