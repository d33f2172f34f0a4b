#include "app/gui/Form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QShowEvent>

#include "app/gui/Form2.h"
#include "app/gui/K_PasswordU.h"
#include "app/gui/SirketU.h"
#include "db/Login.h"

namespace gui {

namespace {

const char* const kMirkadoLabel2 = "Mirkado 4 ün kullandığı \"DATA\" adlı dizinin tam yolu :";
const char* const kKobaltinLabel2 = "Kobaltin un kullandığı \"DATA\" adlı dizinin tam yolu :";
const char* const kCompleted = "Aktarma İşlemi Tamamlandı";

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Messages of the run break their lines with CR LF.
QString lines(const std::string& s) {
    QString t = fromUtf8(s);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QFont bold(QFont f) {
    f.setBold(true);
    return f;
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, const QString& colour = {}, bool isBold = true) {
    auto* l = new QLabel(text, parent);
    if (isBold) l->setFont(bold(l->font()));
    if (!colour.isEmpty()) l->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QCheckBox* check(QWidget* parent, const QString& text, int x, int y) {
    auto* c = new QCheckBox(text, parent);
    c->setFont(bold(c->font()));
    c->setChecked(true);
    c->move(x, y);
    c->adjustSize();
    return c;
}

}  // namespace

Form1::Form1(db::TDM& dm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dm),
      upgrade_(dm, *this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TORVANEX Selvanto Upgrade s5.12.03"));
    setFixedSize(571, 486);

    Client = new QWidget(this);
    Client->setObjectName(QStringLiteral("Client"));
    Client->setGeometry(0, 0, 571, 467);

    Image1 = new PictureBand(QColor(10, 40, 110), QColor(70, 150, 230), Qt::Vertical, Client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 180, 467);

    Title = new ShadowLabel(QStringLiteral("Selvanto Upgrade"), 5, Client);
    Title->setObjectName(QStringLiteral("Title"));
    QFont tf = font();
    tf.setPointSize(28);
    tf.setWeight(QFont::Black);
    Title->setFont(tf);
    Title->setGeometry(192, 1, 372, 52);

    Label5 = new QLabel(QStringLiteral("Dikkat : Upgrade işlemini gerçekleştirmeden önce eski veritabanınızın mutlaka "
                                       "yedeğini alınız ve yeni sürümü kurunuz."),
                        Client);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(bold(font()));
    Label5->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    Label5->setWordWrap(true);
    Label5->setGeometry(190, 55, 363, 27);

    Label2 = label(Client, QString::fromUtf8(kMirkadoLabel2), 192, 86);
    Label2->setObjectName(QStringLiteral("Label2"));
    DKaynak = new FolderEdit(QStringLiteral("Dizin Seçiniz"), Client);
    DKaynak->setObjectName(QStringLiteral("DKaynak"));
    DKaynak->setGeometry(192, 101, 329, 21);
    DKaynak->setText(QString::fromUtf8(app::kDefaultMirkadoSource));

    Label1 = label(Client, QStringLiteral("Selvanto Programının kullandığı \"DATA\" adı dizinin tam yolu :"), 192, 126);
    Label1->setObjectName(QStringLiteral("Label1"));
    DrHedef = new FolderEdit(QStringLiteral("Dizin Seçiniz"), Client);
    DrHedef->setObjectName(QStringLiteral("DrHedef"));
    DrHedef->setGeometry(192, 142, 329, 21);
    DrHedef->setText(QString::fromUtf8(app::kDefaultTarget));

    RadioSURUM = new QGroupBox(QStringLiteral(" Eski Sürüm "), Client);
    RadioSURUM->setObjectName(QStringLiteral("RadioSURUM"));
    RadioSURUM->setFont(bold(font()));
    RadioSURUM->setGeometry(192, 169, 328, 40);
    RadioMirkado = new QRadioButton(QStringLiteral("Mirkado 4"), RadioSURUM);
    RadioKobaltin = new QRadioButton(QStringLiteral("Kobaltin"), RadioSURUM);
    RadioMirkado->setGeometry(8, 17, 150, 18);
    RadioKobaltin->setGeometry(8 + 160, 17, 150, 18);
    RadioSURUMGroup = new QButtonGroup(this);
    RadioSURUMGroup->addButton(RadioMirkado, 0);
    RadioSURUMGroup->addButton(RadioKobaltin, 1);
    RadioMirkado->setChecked(true);

    Label3 = label(Client, QStringLiteral("Kaydeden Personel : "), 296, 216, QStringLiteral("red"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(QStringLiteral("Yetkili"), Client);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(416, 212, 97, 21);

    GroupBox1 = new QGroupBox(QStringLiteral(" Cari  Aktarımı "), Client);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFont(bold(font()));
    GroupBox1->setGeometry(192, 232, 177, 79);
    CheckCARI = check(GroupBox1, QStringLiteral("Cari Kartlarını Aktar"), 8, 18);
    CheckCRBK = check(GroupBox1, QStringLiteral("Cari Bakiyelerini Aktar"), 8, 37);
    CheckCRGR = check(GroupBox1, QStringLiteral("Cari Gruplarını Aktar"), 8, 57);

    GroupBox2 = new QGroupBox(QStringLiteral(" Stok Aktarımı "), Client);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFont(bold(font()));
    GroupBox2->setGeometry(374, 232, 177, 79);
    CheckSTOK = check(GroupBox2, QStringLiteral("Stok Kartlarını Aktar"), 8, 18);
    CheckSTBK = check(GroupBox2, QStringLiteral("Stok Bakiyelerini Aktar"), 8, 37);
    CheckSTGR = check(GroupBox2, QStringLiteral("Stok Gruplarını Aktar"), 8, 57);

    CheckOTEL = check(Client, QStringLiteral("Otel Bilgilerini Aktar"), 200, 312);
    CheckTAKSIT = check(Client, QStringLiteral("Ödenmeyen Taksitleri Aktar"), 382, 312);
    const std::pair<QCheckBox*, const char*> names[] = {
        {CheckCARI, "CheckCARI"}, {CheckCRBK, "CheckCRBK"}, {CheckCRGR, "CheckCRGR"},   {CheckSTOK, "CheckSTOK"},
        {CheckSTBK, "CheckSTBK"}, {CheckSTGR, "CheckSTGR"}, {CheckOTEL, "CheckOTEL"}, {CheckTAKSIT, "CheckTAKSIT"}};
    for (auto [c, n] : names) c->setObjectName(QString::fromLatin1(n));

    Label4 = label(Client, QStringLiteral("Aktarılan Şirket : "), 193, 331, QStringLiteral("red"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label8 = new QLabel(QStringLiteral(".."), Client);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setFont(bold(font()));
    Label8->setStyleSheet(QStringLiteral("QLabel { color: navy; }"));
    Label8->setGeometry(293, 331, 273, Label4->height());

    ProgressBar1 = new GaugeBar(Client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(184, 347, 384, 64);
    ProgressBar1->setRange(0, 100);

    Button1 = new QPushButton(QStringLiteral("Upgrade"), Client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(200, 410, 153, 25);
    Button3 = new QPushButton(QStringLiteral("Yardım"), Client);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(375, 410, 75, 25);
    Button2 = new QPushButton(QStringLiteral("Kapat"), Client);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(472, 410, 75, 25);
    for (QPushButton* b : {Button1, Button2, Button3}) {
        b->setFont(bold(font()));
        b->setCursor(Qt::PointingHandCursor);
    }

    PanelZaman = new QWidget(Client);
    PanelZaman->setObjectName(QStringLiteral("PanelZaman"));
    PanelZaman->setGeometry(192, 439, 369, 25);
    Label10 = new QLabel(QStringLiteral("Geçen Süre : "), PanelZaman);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setFont(bold(font()));
    Label10->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    Label10->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label10->setGeometry(0, 0, 125, 25);
    LabelGecen = new QLabel(QStringLiteral("..."), PanelZaman);
    LabelGecen->setObjectName(QStringLiteral("LabelGecen"));
    LabelGecen->setFont(bold(font()));
    LabelGecen->setStyleSheet(QStringLiteral("QLabel { color: blue; }"));
    LabelGecen->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LabelGecen->setGeometry(129, 0, 240, 25);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 467, 571, 19);
    StatusBar1->setSizeGripEnabled(false);

    for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(ProgressBar1), PanelZaman})
        w->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Timer);

    // Enter anywhere in the window starts the run, as the button does.
    UpgradeAction = new QAction(QStringLiteral("Upgrade"), this);
    UpgradeAction->setObjectName(QStringLiteral("Upgrade"));
    UpgradeAction->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    UpgradeAction->setShortcutContext(Qt::WindowShortcut);
    addAction(UpgradeAction);
    connect(UpgradeAction, &QAction::triggered, this, &Form1::Button1Click);

    connect(Button1, &QPushButton::clicked, this, &Form1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Form1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Form1::Button3Click);
    connect(RadioSURUMGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioSURUMClick();
    });
    connect(CheckCARI, &QCheckBox::toggled, this, &Form1::CheckCARIClick);
    connect(CheckSTOK, &QCheckBox::toggled, this, &Form1::CheckSTOKClick);

    // Tab order: the folders, the version, the staff name, the buttons; then the options.
    QWidget* order[] = {DKaynak->edit(), DrHedef->edit(), RadioMirkado, RadioKobaltin, Edit1,       Button1,
                        Button3,         Button2,         CheckCARI,    CheckCRBK,     CheckCRGR,   CheckSTOK,
                        CheckSTBK,       CheckSTGR,       CheckOTEL,    CheckTAKSIT};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    DKaynak->edit()->setFocus(Qt::OtherFocusReason);
}

Form1::~Form1() = default;

void Form1::setDialogs(K_PasswordF* login, Form2* help, SirketF* companies) {
    login_ = login;
    help_ = help;
    companies_ = companies;
}

K_PasswordF* Form1::loginDialog() {
    if (!login_) login_ = new K_PasswordF(this);
    return login_;
}

Form2* Form1::helpWindow() {
    if (!help_) help_ = new Form2(this);
    return help_;
}

SirketF* Form1::companyDialog() {
    if (!companies_) companies_ = new SirketF(this);
    return companies_;
}

app::Options Form1::currentOptions() const {
    app::Options o;
    o.RadioSURUM = RadioSURUMGroup->checkedId();
    o.DKaynak = DKaynak->text().toStdString();
    o.DrHedef = DrHedef->text().toStdString();
    o.Edit1 = Edit1->text().toStdString();
    o.CheckCARI = CheckCARI->isChecked();
    o.CheckCRBK = CheckCRBK->isChecked();
    o.CheckCRGR = CheckCRGR->isChecked();
    o.CheckSTOK = CheckSTOK->isChecked();
    o.CheckSTBK = CheckSTBK->isChecked();
    o.CheckSTGR = CheckSTGR->isChecked();
    o.CheckOTEL = CheckOTEL->isChecked();
    o.CheckTAKSIT = CheckTAKSIT->isChecked();
    return o;
}

int Form1::execModal(QDialog& dialog) { return dialog.exec(); }

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shownOnce_) return;
    shownOnce_ = true;
    centreOnScreen(this);
    // Nothing is connected while the operator fills in the window.
    for (db::Connection* c : {&dm_.Sirket4_DB, &dm_.Sirket5_DB, &dm_.Mirkado4_DB, &dm_.Mirkado5_DB}) c->close();
}

void Form1::closeEvent(QCloseEvent* event) {
    // While a run works the window is disabled, its close button too.
    if (running_ && !closing_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void Form1::Button1Click() {
    if (inRun_ || running_ || closing_) return;
    inRun_ = true;
    upgrade_.options = currentOptions();
    completionDetails_.clear();
    app::RunResult result = upgrade_.Button1Click();
    inRun_ = false;
    lastResult_ = result;
    if (result == app::RunResult::Completed || result == app::RunResult::NoCompanies) closeMainWindow();
}

void Form1::Button2Click() { close(); }

void Form1::Button3Click() { execModal(*helpWindow()); }

void Form1::RadioSURUMClick() {
    const int item = RadioSURUMGroup->checkedId();
    if (item == 0) {
        Label2->setText(QString::fromUtf8(kMirkadoLabel2));
        DKaynak->setText(QString::fromUtf8(app::kDefaultMirkadoSource));
    }
    if (item == 1) {
        Label2->setText(QString::fromUtf8(kKobaltinLabel2));
        DKaynak->setText(QString::fromUtf8(app::kDefaultKobaltinSource));
    }
    Label2->adjustSize();
    // Hotel data and instalments exist only in the InterBase source; their ticks are kept.
    CheckOTEL->setVisible(item == 0);
    CheckTAKSIT->setVisible(item == 0);
}

void Form1::CheckCARIClick() {
    if (!CheckCARI->isChecked()) {
        CheckCRBK->setChecked(false);
        CheckCRGR->setChecked(false);
        CheckCRBK->setEnabled(false);
        CheckCRGR->setEnabled(false);
    } else {
        CheckCRBK->setEnabled(true);
        CheckCRGR->setEnabled(true);
    }
}

void Form1::CheckSTOKClick() {
    if (!CheckSTOK->isChecked()) {
        CheckSTBK->setChecked(false);
        CheckSTGR->setChecked(false);
        CheckSTBK->setEnabled(false);
        CheckSTGR->setEnabled(false);
    } else {
        CheckSTBK->setEnabled(true);
        CheckSTGR->setEnabled(true);
    }
}

void Form1::Timer1Timer() { LabelGecen->setText(QString::fromStdString(app::Timer1Timer())); }

std::optional<std::string> Form1::askPassword() {
    K_PasswordF* dialog = loginDialog();
    execModal(*dialog);
    if (!db::GirisTamam) return std::nullopt;
    return dialog->EditPass->text().toStdString();
}

void Form1::editCompanyYears(transfer::CompanyList& list) {
    SirketF* dialog = companyDialog();
    dialog->setList(&list);
    execModal(*dialog);
    dialog->setList(nullptr);
}

void Form1::showBox(const std::string& text, const QString& title, app::Icon icon, const QString& details) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case app::Icon::None: qicon = QMessageBox::NoIcon; break;
    case app::Icon::Information: qicon = QMessageBox::Information; break;
    case app::Icon::Warning: qicon = QMessageBox::Warning; break;
    case app::Icon::Error: qicon = QMessageBox::Critical; break;
    }
    QMessageBox box(qicon, title, lines(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    if (!details.isEmpty()) box.setDetailedText(details);
    execModal(box);
}

void Form1::messageBox(const std::string& text, const std::string& title, app::Icon icon) {
    QString details;
    if (text == kCompleted && !completionDetails_.empty()) {
        details = lines(completionDetails_);
        completionDetails_.clear();
    }
    showBox(text, fromUtf8(title), icon, details);
}

void Form1::plainMessage(const std::string& text) {
    showBox(text, QString::fromUtf8(kApplicationTitle), app::Icon::None);
}

void Form1::showError(const std::string& text) {
    showBox(text, QString::fromUtf8(kApplicationTitle), app::Icon::Error);
}

void Form1::setProgressMax(int maximum) {
    // A failed count: a busy bar rather than one that can never fill.
    if (maximum < 0) ProgressBar1->setRange(0, 0);
    else ProgressBar1->setRange(0, maximum);
}

void Form1::setProgressPosition(int position) { ProgressBar1->setValue(position); }

void Form1::setProgressText(const std::string& text) { ProgressBar1->setText(fromUtf8(text)); }

void Form1::setCompanyText(const std::string& text) {
    Label8->setText(fromUtf8(text));
    Label8->repaint();
}

void Form1::processMessages() {
    // Called after every record: hand the window system a turn only a few dozen times a second.
    if (pumpClock_.isValid() && pumpClock_.elapsed() < 25) return;
    QCoreApplication::processEvents();
    pumpClock_.restart();
}

void Form1::setRunning(bool running) {
    running_ = running;
    Client->setEnabled(!running);
    StatusBar1->setEnabled(!running);
    UpgradeAction->setEnabled(!running);
    if (running) {
        Timer1->start();
        for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label8),
                           static_cast<QWidget*>(ProgressBar1), PanelZaman})
            w->show();
        pumpClock_.invalidate();
    } else {
        Timer1->stop();
        PanelZaman->hide();
    }
}

void Form1::bringToFront() {
    raise();
    activateWindow();
}

void Form1::closeMainWindow() {
    if (closing_) return;
    closing_ = true;
    close();
}

}  // namespace gui
