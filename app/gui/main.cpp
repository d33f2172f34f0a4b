// selvanto-upgrade: the upgrade tool's window.
#include "app/gui/Application.h"
#include "app/gui/Form1.h"
#include "app/gui/Form2.h"
#include "app/gui/K_PasswordU.h"
#include "app/gui/SirketU.h"
#include "db/DataModule.h"

int main(int argc, char** argv) {
    gui::Application app(argc, argv);

    db::TDM DM;
    gui::Form1 Form1(DM);
    auto* K_PasswordF = new gui::K_PasswordF(&Form1);
    auto* Form2 = new gui::Form2(&Form1);
    auto* SirketF = new gui::SirketF(&Form1);
    Form1.setDialogs(K_PasswordF, Form2, SirketF);
    app.setErrorHandler([&Form1](const std::exception& e) { Form1.AppEventsException(e); });

    Form1.show();
    return app.exec();
}
