#pragma once
// The add-city dialog: a city's name, longitude and latitude, inserted into a
// region file right after its country's line.
#include <QDialog>
#include <memory>
#include <string>

#include "ui/help.h"

namespace Ui {
class TInput3hForm;
}

namespace pelorin {

class MessageBoxes;

// The help file of this dialog, in the system directory, and its topic.
inline constexpr const char* kAddCityHelpFile = "Korvantis_7.chm";
inline constexpr int kAddCityHelpTopic = 110;

class TInput3hForm : public QDialog {
    Q_OBJECT
public:
    TInput3hForm(MessageBoxes& boxes, QWidget* parent = nullptr);
    ~TInput3hForm() override;

    // Opens the dialog modally for a country of a region file (`countryEntry` as the
    // chooser's country list shows it, cp1251). True when a city was added.
    bool AddCity(const std::string& regionFile, const std::string& countryEntry, const std::string& systemDir);

    // Sets the file and country without opening the dialog (for tests driving the
    // handlers).
    void SetTarget(const std::string& regionFile, const std::string& countryEntry, const std::string& systemDir);
    void SetHelpViewer(HelpViewer viewer) { helpViewer_ = std::move(viewer); }

    Ui::TInput3hForm& Form() { return *ui; }

    void FormShow();      // empties the fields, east and north chosen
    void BitBtn1Click();  // " Продолжить": adds the city
    void BitBtn2Click();  // "  Отменить"
    void BitBtn3Click();  // "   &Помощь"
    bool Added() const { return added_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::TInput3hForm> ui;
    MessageBoxes& boxes_;
    HelpViewer helpViewer_;
    std::string regionFile_, countryEntry_, systemDir_;
    bool added_ = false;
};

}  // namespace pelorin
