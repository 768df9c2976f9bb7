// Entry point of the customer-management program.
#include "shell/Avvio.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clienti"));
    // The main window is hidden: the program ends when the shell closes it,
    // not when the last visible window goes.
    QApplication::setQuitOnLastWindowClosed(false);

    Main(QApplication::arguments().mid(1));
    frmPrincipale *frm = Globali::FrmP;
    if (!frm)
        return 1;
    QObject::connect(frm, &frmPrincipale::programmaChiuso, &app,
                     [](int codice) { QCoreApplication::exit(codice); });
    const int codice = app.exec();
    delete Globali::FrmP;
    Globali::FrmP = nullptr;
    return codice;
}
