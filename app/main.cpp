// The program's entry: the windows, the start-up and the message loop.
//   pelorin [--config FILE]
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include "app/core/config.h"
#include "app/core/startup.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "graphics/ui/oboznach_form.h"
#include "graphics/ui/symbol_font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorin"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("The configuration file main.dat."),
                                          QStringLiteral("FILE"));
    parser.addOption(configOption);
    parser.process(app);
    const std::string configPath =
        pelorin::ResolveConfigPath(parser.value(configOption).toLocal8Bit().toStdString());

    pelorin::AppState state;
    pelorin::QtMessageBoxes boxes;
    const pelorin::StartupHooks hooks = pelorin::DefaultStartupHooks(state);

    // The main window installs the symbol font when it is created.
    pelorin::InstallSymbolFont();
    pelorin::TZZavelForm mainWindow(configPath, state, boxes, hooks);
    // The place chooser, the entry dialogs and the add-city dialog are created
    // here, after the main window and the legend, as they land.
    pelorin::TOboznachForm legend(&mainWindow);
    mainWindow.SetLegend(&legend);

    if (const QScreen* screen = mainWindow.screen())  // centred on the desktop
        mainWindow.move(screen->availableGeometry().center() - mainWindow.rect().center());
    mainWindow.show();
    return app.exec();
}
