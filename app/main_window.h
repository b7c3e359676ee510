#pragma once
// The main window: the person lists, the result pages and the command panel.
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/core/person_lists.h"
#include "app/core/startup.h"
#include "people/ui/exchange_commands.h"
#include "ui/help.h"

namespace Ui {
class TZZavelForm;
}

namespace pelorin {

class MessageBoxes;
class TOboznachForm;
class ImageCanvas;
class FactorPanel;

class TZZavelForm : public QWidget, private StartupView, private PersonListView {
    Q_OBJECT
public:
    // `configPath`: the "main.dat" to read at start-up. The legend is owned by
    // the caller and shown by "Обозначения".
    TZZavelForm(std::string configPath, AppState& state, MessageBoxes& boxes, StartupHooks hooks,
                QWidget* parent = nullptr);
    ~TZZavelForm() override;

    void SetLegend(TOboznachForm* legend) { legend_ = legend; }
    // The entry dialogs that "  Добавить" opens on the women's and the men's page;
    // owned by the caller.
    void SetEntryDialogs(QDialog* women, QDialog* men) { womenEntry_ = women; menEntry_ = men; }
    void SetHelpViewer(HelpViewer viewer) { helpViewer_ = std::move(viewer); }
    // The file dialogs and the preview of "Экспорт…" and "Импорт…".
    void SetExchangeHooks(ExchangeHooks hooks) { exchange_ = std::move(hooks); }

    // The start-up sequence; runs once, when the window is first activated.
    void FormActivate();
    bool StartupDone() const { return started_; }
    const StartupResult& LastStartup() const { return startup_; }

    Ui::TZZavelForm& Form() { return *ui; }

    // The person pages: select, add, save the comment, delete.
    void BitBtn4Click();   // women: "   Выбрать" (and a click in ListBox1)
    void BitBtn5Click();   // women: "  Добавить"
    void BitBtn13Click();  // women: " Сохранить"
    void BitBtn9Click();   // women: "   Удалить"
    void BitBtn8Click();   // men: "   Выбрать" (and a click in ListBox2)
    void BitBtn12Click();  // men: "  Добавить"
    void BitBtn7Click();   // men: "  Сохранить"
    void BitBtn10Click();  // men: "   Удалить"
    // "Экспорт…" and "Импорт…" of either page.
    void HighlightChosen(TableKind kind);
    void ExportList(TableKind kind);
    void ImportList(TableKind kind);

    void BitBtn27Click();
    void BitBtn11Click();
    void BitBtn29Click();
    void BitBtn2Click();
    void BitBtn21Click();
    void AllWomenButtonClick();  // men: "Все женщины"
    // "Композит": the choice between the composite and the Davison chart.
    void RelationshipChoiceClick();
    void N22Click();
    void Timer1Timer();

    // Opens help topic n (the pictures of the title page and of "Астрология").
    void ShowHelpTopic(int topic);

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // StartupView
    void ShowWomenList(const std::vector<std::string>& lines, const std::string& caption) override;
    void ShowMenList(const std::vector<std::string>& lines, const std::string& caption) override;
    void SetDefaultCursor() override;
    void DisableAnalysisCommands() override;
    void PrepareDrawingSurfaces() override;

    // PersonListView
    void ShowList(TableKind kind, const std::vector<std::string>& lines, const std::string& caption) override;
    void ShowCaption(TableKind kind, const std::string& caption) override;
    void ShowComment(TableKind kind, const std::string& comment) override;
    void ShowChosen(TableKind kind, const std::string& text) override;
    void EnableScan() override;
    void EnablePairAndPrint() override;
    void Message(const std::string& text) override;
    bool Confirm(const std::string& text) override;

    void Select(TableKind kind);
    void Add(TableKind kind);
    void SaveComment(TableKind kind);
    void Delete(TableKind kind);
    // Runs a command, showing an error it raises in a message box.
    template <typename F>
    void Guarded(F&& command);

    void LoadPictures();
    void ConnectCommands();
    // "Все женщины" needs a chosen man.
    void UpdateAllWomen();

    std::unique_ptr<Ui::TZZavelForm> ui;
    std::string configPath_;
    AppState& state_;
    MessageBoxes& boxes_;
    StartupHooks hooks_;
    StartupResult startup_;
    HelpViewer helpViewer_;
    ExchangeHooks exchange_;
    TOboznachForm* legend_ = nullptr;
    QDialog* womenEntry_ = nullptr;
    QDialog* menEntry_ = nullptr;
    FactorPanel* factors_ = nullptr;  // under the bar of "Совместимость" after a pair analysis
    QLabel* skipped_ = nullptr;       // under the ranking: the people a scan left out
    QTimer timer1_;
    bool started_ = false;
};

}  // namespace pelorin
