// The main window Form1: the operator's choices, the Upgrade button and the run's progress display. It is
// the run core's operator: every question and message of the run comes through here.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

#include "app/gui/Widgets.h"
#include "app/run/Operator.h"
#include "app/run/Upgrade.h"
#include "db/DataModule.h"

class QAction;

namespace gui {

class K_PasswordF;
class Form2;
class SirketF;

// The title message windows carry (the text shown in the task bar).
inline constexpr const char* kApplicationTitle = "Mirkado Upgrade";

class Form1 : public QWidget, public app::Operator {
    Q_OBJECT
public:
    explicit Form1(db::TDM& dm, QWidget* parent = nullptr);
    ~Form1() override;

    // The dialogs created at start-up after the main window. Any not given is made on first use.
    void setDialogs(K_PasswordF* login, Form2* help, SirketF* companies);
    K_PasswordF* loginDialog();
    Form2* helpWindow();
    SirketF* companyDialog();

    app::Upgrade& upgrade() { return upgrade_; }
    // The options as the controls hold them now.
    app::Options currentOptions() const;
    // What the last run ended with.
    std::optional<app::RunResult> lastResult() const { return lastResult_; }
    bool running() const { return running_; }

    // Every modal dialog and message window of the main window is shown here.
    virtual int execModal(QDialog& dialog);

    // The application-wide error handler.
    void AppEventsException(const std::exception& error) { upgrade_.AppEventsException(error); }

    // app::Operator
    std::optional<std::string> askPassword() override;
    void editCompanyYears(transfer::CompanyList& list) override;
    void messageBox(const std::string& text, const std::string& title, app::Icon icon) override;
    void plainMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void setProgressMax(int maximum) override;
    void setProgressPosition(int position) override;
    void setProgressText(const std::string& text) override;
    void setCompanyText(const std::string& text) override;
    void processMessages() override;
    void setRunning(bool running) override;
    void bringToFront() override;
    void closeMainWindow() override;
    void setCompletionDetails(const std::string& details) override { completionDetails_ = details; }

    // Controls, by their names in the window.
    QWidget* Client;  // everything but the status bar; disabled while a run works
    PictureBand* Image1;
    ShadowLabel* Title;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label8, *Label10, *LabelGecen;
    FolderEdit *DKaynak, *DrHedef;
    QGroupBox* RadioSURUM;
    QButtonGroup* RadioSURUMGroup;
    QRadioButton *RadioMirkado, *RadioKobaltin;
    QLineEdit* Edit1;
    QGroupBox *GroupBox1, *GroupBox2;
    QCheckBox *CheckCARI, *CheckCRBK, *CheckCRGR, *CheckSTOK, *CheckSTBK, *CheckSTGR, *CheckOTEL, *CheckTAKSIT;
    GaugeBar* ProgressBar1;
    QPushButton *Button1, *Button2, *Button3;
    QWidget* PanelZaman;
    QStatusBar* StatusBar1;
    QTimer* Timer1;
    QAction* UpgradeAction;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void RadioSURUMClick();
    void CheckCARIClick();
    void CheckSTOKClick();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showBox(const std::string& text, const QString& title, app::Icon icon, const QString& details = {});

    db::TDM& dm_;
    app::Upgrade upgrade_;
    K_PasswordF* login_ = nullptr;
    Form2* help_ = nullptr;
    SirketF* companies_ = nullptr;
    std::string completionDetails_;
    std::optional<app::RunResult> lastResult_;
    QElapsedTimer pumpClock_;
    bool running_ = false;
    bool inRun_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
};

}  // namespace gui
