// The one interface between the upgrade run and the person (or script) running it. The Qt main window, the
// batch command and the tests' scripted operator implement it. All texts are UTF-8.
#pragma once

#include <optional>
#include <string>

namespace transfer {
class CompanyList;
}

namespace app {

enum class Icon { None, Information, Warning, Error };

class Operator {
public:
    virtual ~Operator() = default;

    // The login dialog. Returns the password as accepted (blanks already refused, at most 16 characters), or
    // nothing when the operator cancelled.
    virtual std::optional<std::string> askPassword() = 0;

    // The company list dialog, shown modally: the operator may change each row's working year. There is no
    // cancel; when it returns, pending edits are saved in `list`.
    virtual void editCompanyYears(transfer::CompanyList& list) = 0;

    // Message box with a title and an icon, OK button.
    virtual void messageBox(const std::string& text, const std::string& title, Icon icon) = 0;
    // Plain message window titled with the application's title, no icon.
    virtual void plainMessage(const std::string& text) = 0;
    // The standard display of an error that nothing handled.
    virtual void showError(const std::string& text) = 0;

    // Progress bar with its text line. A maximum of -1 (a failed count) means "unknown".
    virtual void setProgressMax(int maximum) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void setProgressText(const std::string& text) = 0;

    // The "Aktarılan Şirket" label, repainted at once.
    virtual void setCompanyText(const std::string& text) = 0;

    // Let the window system process pending messages (repaint, timer ticks). Called after every record, so it
    // must be cheap.
    virtual void processMessages() = 0;

    // Running state: window disabled, timer on, run labels shown (true); idle again (false).
    virtual void setRunning(bool running) = 0;

    // Bring the main window to the front.
    virtual void bringToFront() {}

    // The run is over for good (completed, or the company step gave up): the main window closes.
    virtual void closeMainWindow() {}

    // Details of the completion box: rows written per company and target table, as lines.
    virtual void setCompletionDetails(const std::string& details) { (void)details; }
};

}  // namespace app
