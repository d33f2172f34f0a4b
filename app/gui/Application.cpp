#include "app/gui/Application.h"

#include <QFont>
#include <QStyleFactory>
#include <cstdio>
#include <stdexcept>

#include "app/gui/Form1.h"

namespace gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) setStyle(fusion);
    // The windows are laid out in pixels for a narrow 8-point face.
    QFont f(QStringLiteral("DejaVu Sans"), 8);
    f.setStyleHint(QFont::SansSerif);
    f.setStretch(QFont::SemiCondensed);
    setFont(f);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report(e);
    } catch (...) {
        report(std::runtime_error("Beklenmeyen bir hata oluştu."));
    }
    return false;
}

void Application::report(const std::exception& error) {
    if (!handler_) {
        std::fprintf(stderr, "%s\n", error.what());
        return;
    }
    try {
        handler_(error);
    } catch (...) {
        // The handler raises nothing further; an error while reporting one is dropped.
    }
}

}  // namespace gui
