// The tests of the windows run with one application object, headless.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/symbol_font.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pelorin::InstallSymbolFont();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
