#pragma once
// The place chooser: a region button, a country and a city of the atlas; "Продолжить"
// writes the place, the coordinates and the city's UTC offset at the birth date
// and time (from the zone table beside the region files) into the working record
// of the entry dialog that opened it (the women's, or the men's "Выбрать место").
#include <QDialog>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "people/city_search.h"
#include "people/config.h"
#include "ui/help.h"
#include "people/place_chooser.h"

namespace Ui {
class TInput2h2Form;
}

namespace pelorin {

class MessageBoxes;
class TInput3hForm;

// Topic of "Помощь" in "PelorinHelp.chm".
inline constexpr int kPlaceChooserHelpTopic = 100;

class TInput2h2Form : public QDialog, public PlaceChooser {
    Q_OBJECT
public:
    // `config` is the program's configuration; its file is read again on every
    // opening, and the configuration as it stands serves when that fails.
    TInput2h2Form(const Config& config, MessageBoxes& boxes, QWidget* parent = nullptr);
    ~TInput2h2Form() override;

    // Opens the chooser modally for `working` (its DateText and its time, when
    // known, give the moment whose offset is taken).
    bool ChoosePlace(PersonRecord& working) override;

    void SetAddCityDialog(TInput3hForm* dialog) { addCity_ = dialog; }
    void SetHelpViewer(HelpViewer viewer) { helpViewer_ = std::move(viewer); }

    Ui::TInput2h2Form& Form() { return *ui; }

    // The handlers, public so that tests can drive the dialog without an event loop
    // where a modal dialog would block.
    void FormShow();                  // resets the flags and lists, rereads main.dat
    void RegionClick(int region);     // BitBtn5..BitBtn11, region 0..6
    void ListBox1Click();             // the country list
    void ListBox2Click();             // the city list
    void BitBtn1Click();              // "Продолжить"
    void BitBtn2Click();              // "Отменить"
    void BitBtn3Click();              // "Добавить город"
    void BitBtn4Click();              // "   &Помощь"
    void FindTextChanged();           // the search field: lists the cities found
    void FoundChosen(int row);        // a found city: region, country and city as clicked

    // The cities the search field lists now.
    const std::vector<CityHit>& Found() const { return found_; }

    // Chooses into `working` without opening the dialog (for the handlers above).
    void SetWorking(PersonRecord* working) { working_ = working; }
    bool PlaceChosen() const { return placeChosen_; }
    const std::string& RegionFile() const { return regionFile_; }
    const Config& CurrentConfig() const { return current_; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::string ChosenCountryEntry() const;
    std::string ChosenCityEntry() const;

    std::unique_ptr<Ui::TInput2h2Form> ui;
    const Config& config_;
    Config current_;
    MessageBoxes& boxes_;
    HelpViewer helpViewer_;
    TInput3hForm* addCity_ = nullptr;
    PersonRecord* working_ = nullptr;

    bool regionChosen_ = false, countryChosen_ = false, cityChosen_ = false, placeChosen_ = false;
    std::string regionFile_;
    bool filling_ = false;
    std::optional<CitySearch> search_;  // built at the first search of an opening
    std::vector<CityHit> found_;  // lists being filled: their selection signals are not clicks
};

}  // namespace pelorin
