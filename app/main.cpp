// The program's entry: the windows, the start-up and the message loop.
//   pelorin [--config FILE] | --version | --help
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <cstdio>
#include <string_view>

#include "base/errors.h"
#include "people/config.h"
#include "people/first_start.h"
#include "app/core/startup.h"
#include "app/main_window.h"
#include "ui/file_names.h"
#include "ui/help.h"
#include "ui/message_boxes.h"
#include "graphics/ui/oboznach_form.h"
#include "ui/symbol_font.h"
#include "ui/translations.h"
#include "people/ui/input2h2_form.h"
#include "people/ui/input3h_form.h"
#include "people/ui/input_men_form3.h"
#include "people/ui/input_women_form2.h"

int main(int argc, char** argv) {
    // --version and --help answer without a display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version" || a == "-v") {
            std::printf("pelorin %s\n", PELORIN_VERSION);
            return 0;
        }
        if (a == "--help" || a == "-h") {
            std::printf("usage: pelorin [--config FILE]\n"
                        "  --config FILE  the configuration file main.dat (system and data directory)\n"
                        "  --version      print the version and exit\n"
                        "  --help         print this text and exit\n"
                        "See man pelorin.\n");
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorin"));
    pelorin::InstallQtRussian(app);  // "Да", "Нет", "Отмена" and the print dialog

    QCommandLineParser parser;
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("The configuration file main.dat."),
                                          QStringLiteral("FILE"));
    parser.addOption(configOption);
    parser.process(app);
    const std::string configPath =
        pelorin::ResolveConfigPath(pelorin::PathFromQt(parser.value(configOption)));

    // A new user's first start: the personal data directory and main.dat. A file
    // named with --config is the caller's and is never made up.
    std::string firstStartFailure;
    const std::string exeDir = pelorin::PathFromQt(QCoreApplication::applicationDirPath());
    const auto shipped = pelorin::FindShippedDirs(exeDir);
    if (!parser.isSet(configOption)) {
        try {
            if (shipped) pelorin::EnsureFirstStart(configPath, *shipped, pelorin::DefaultUserDataDir());
        } catch (const pelorin::Error& e) {
            firstStartFailure = e.what();
        }
    }

    pelorin::AppState state;
    if (shipped) state.ShippedDataDir = shipped->dataDir;
    pelorin::QtMessageBoxes boxes;
    const pelorin::StartupHooks hooks = pelorin::DefaultStartupHooks(state);

    // The main window installs the symbol font when it is created.
    pelorin::InstallSymbolFont();
    pelorin::TZZavelForm mainWindow(configPath, state, boxes, hooks);
    pelorin::TInput2h2Form placeChooser(state.config, boxes, &mainWindow);
    pelorin::TOboznachForm legend(&mainWindow);
    mainWindow.SetLegend(&legend);
    pelorin::TInput_Women_Form2 womenEntry(state.people.WomenTable, state.config.DataDir, boxes, &mainWindow);
    pelorin::TInput_Men_Form3 menEntry(state.people.MenTable, state.config.DataDir, boxes, &mainWindow);
    mainWindow.SetEntryDialogs(&womenEntry, &menEntry);
    womenEntry.SetPlaceChooser(&placeChooser);
    menEntry.SetPlaceChooser(&placeChooser);
    pelorin::TInput3hForm addCity(boxes, &placeChooser);
    placeChooser.SetAddCityDialog(&addCity);
    // F1 opens the topic of the dialog in front (the main window binds its own:
    // the topic of the page in front).
    pelorin::BindHelpKey(&womenEntry, [&] { mainWindow.ShowHelpTopic(40); });
    pelorin::BindHelpKey(&menEntry, [&] { mainWindow.ShowHelpTopic(50); });
    pelorin::BindHelpKey(&legend, [&] { mainWindow.ShowHelpTopic(90); });
    pelorin::BindHelpKey(&placeChooser, [&] { placeChooser.BitBtn4Click(); });
    pelorin::BindHelpKey(&addCity, [&] { addCity.BitBtn3Click(); });

    if (const QScreen* screen = mainWindow.screen())  // centred on the desktop
        mainWindow.move(screen->availableGeometry().center() - mainWindow.rect().center());
    mainWindow.show();
    if (!firstStartFailure.empty()) boxes.ShowError(&mainWindow, QString::fromStdString(firstStartFailure));
    return app.exec();
}
