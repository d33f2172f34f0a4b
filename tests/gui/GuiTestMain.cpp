// The window tests' program: a real application object (with the error interception) on the offscreen
// platform. `test_gui --screenshots FOLDER` instead saves pictures of the windows (run it under an X server).
#include <gtest/gtest.h>

#include <QtGlobal>
#include <cstring>

#include "app/gui/Application.h"

int takeScreenshots(const char* folder);

int main(int argc, char** argv) {
    const char* screenshots = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshots") == 0) screenshots = argv[i + 1];
    if (!screenshots) qputenv("QT_QPA_PLATFORM", "offscreen");
    gui::Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (screenshots) return takeScreenshots(screenshots);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
