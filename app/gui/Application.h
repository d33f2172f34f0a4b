// The application object: every error that escapes an event handler of any window ends in one handler
// instead of ending the program.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace gui {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    using ErrorHandler = std::function<void(const std::exception&)>;
    void setErrorHandler(ErrorHandler handler) { handler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const std::exception& error);
    ErrorHandler handler_;
};

}  // namespace gui
