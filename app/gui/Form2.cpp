#include "app/gui/Form2.h"

#include "app/gui/Widgets.h"

namespace gui {

QString Form2::helpText() {
    return QStringLiteral(
        "DİKKAT !\n"
        "ZKT Kobaltin ürün ailesinin 3.09 sürümünden daha eski sürümleri\n"
        "Selvanto 5'e aktarılamaz. Kobaltin ürün ailesinin 3.08 ve daha önceki\n"
        "sürümlerini kullananların TORVANEX müşteri temsilcileriyle\n"
        "görüşmeleri gerekmektedir.\n"
        "\n"
        "Upgrade işlemine başlamadan önce eski programlarınızdan (Mirkado 4 veya\n"
        "Kobaltin) kullandığınız bütün şirketlerin mutlaka yedeğini alınız.\n"
        "Upgrade işlemine başlamadan önce yeni sürümü (Selvanto 5) kurmuş\n"
        "olmanız gerekmektedir.\n"
        "\n"
        "Örnek : Eski sürüm 3.18 olan bir programdan yeni sürüm 5.02'ye\n"
        "geçiş yapılıyorsa, önce eski programın bütün şirketlerinin yedeği\n"
        "alınır, ardından Selvanto 5.02 kurulur ve Upgrade işlemi başlatılır.\n"
        "\n"
        "Eski programın kullandığı \"DATA\" adlı dizinin tam yolu alanına eski\n"
        "programınızın DATA dizininin doğru yolunu yazınız. Programlar\n"
        "kurulurken dizinleri değiştirilmediyse bu dizin Mirkado 4 için\n"
        "C:\\TORVANEX\\MIRKADO4\\DATA, Kobaltin için C:\\TORVANEX\\ZKT3\\DATA\n"
        "olacaktır.\n"
        "\n"
        "Selvanto Programının kullandığı \"DATA\" adlı dizinin tam yolu alanına\n"
        "yeni programın kurulu olduğu dizindeki DATA dizinini yazınız. Yeni\n"
        "program kurulurken dizini değiştirilmediyse bu dizin\n"
        "C:\\TORVANEX\\SELVANTO5\\DATA olacaktır.\n"
        "Upgrade düğmesine bastığınızda aktarma işlemi başlar. İşlem hatasız\n"
        "tamamlandığında \"Aktarma İşlemi Tamamlandı\" mesajı gösterilir.\n"
        "\n"
        "ÖNEMLİ NOT : Upgrade işleminde aktarılan bilgiler şunlardır :\n"
        "1- Cari Kartları ve Bakiyeleri\n"
        "2- Stok Kartları ve Bakiyeleri\n"
        "3- Döviz Birimleri\n"
        "4- Otel Bilgileri (*)\n"
        "5- Ödenmemiş Taksitler (*)\n"
        "\n"
        "(*) ile işaretlenen bilgiler yalnızca Mirkado 4 (InterBase) sürümünden\n"
        "yapılan aktarmalarda geçerlidir.\n");
}

Form2::Form2(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    if (mainWindow) setWindowTitle(mainWindow->windowTitle());
    setFixedSize(482, 397);
    setModal(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 482, 350);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(helpText());

    KapatButton = new FlatButton(QStringLiteral("Kapat"), QColor(0, 0, 200), FlatButton::Hover::Text, this);
    KapatButton->setObjectName(QStringLiteral("Kapat"));
    KapatButton->setGeometry((482 - 120) / 2, 358, 120, 30);
    KapatButton->setAutoDefault(false);
    connect(KapatButton, &QPushButton::clicked, this, &QDialog::accept);
}

void Form2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

}  // namespace gui
