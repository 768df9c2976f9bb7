// Test helpers of the shell.
#include "SupportoShell.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"
#include "shell/Chiusura.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

#include <stdexcept>

frmProva::frmProva(QWidget *parent) : QWidget(parent)
{
    ++istanzeVive;
    setWindowTitle(QStringLiteral("Prova"));
}

frmProva::~frmProva()
{
    --istanzeVive;
}

void frmProva::Form_Load()
{
    ++caricamenti;
    keySecAlCaricamento = m_keySec;
    keyLanciaAlCaricamento = osKeyLancia;
    paramAlCaricamento = osParam;
    m_loadOk = -1;
    if (eccezioneNelCaricamento)
        throw std::runtime_error("caricamento interrotto");
    if (!falliraCaricamento)
        m_loadOk = 1;
}

void frmProva::ButtonComando(const QString &psKey)
{
    comandi << psKey;
    // Commands named after a failure raise it, as a window's command may.
    if (psKey == QLatin1String("ErroreVb"))
        throw VbErrore(3021, QStringLiteral("Nessun record corrente"));
    if (psKey == QLatin1String("ErroreStd"))
        throw std::runtime_error("comando interrotto");
}

void frmProva::closeEvent(QCloseEvent *event)
{
    if (rifiutaChiusura) {
        event->ignore();
        return;
    }
    event->accept();
    RitornaAlChiamante(this, m_loadOk == 1 ? -1 : 0);
}

void ShellTest::SetUp()
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    frmProva::falliraCaricamento = false;
    frmProva::eccezioneNelCaricamento = false;
    Globali::ChiusuraInCorso = 0;
    Globali::FrmP = new frmPrincipale;
    QObject::connect(Globali::FrmP, &frmPrincipale::programmaChiuso, [this](int c) { codiceChiusura = c; });
    ImpostaGestoreChiusura(AvviaTimerChiusuraShell);
    RegistroForm::Registra(
        QStringLiteral("frmProva"), [] { return new frmProva; }, QStringLiteral("Prova"));
}

void ShellTest::TearDown()
{
    chiudiTutto();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<frmProva *>(w))
            f->rifiutaChiusura = false;
    chiudiTutto();
    delete Globali::FrmP;
    Globali::FrmP = nullptr;
    ImpostaGestoreChiusura({});
    RegistroForm::Rimuovi(QStringLiteral("frmProva"));
    RisposteProgrammate::Azzera();
    Globali::ChiusuraInCorso = 0;
}

void ShellTest::chiudiTutto()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != Globali::FrmP && w->isVisible())
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList ShellTest::messaggi()
{
    QStringList testi;
    for (const QVariantMap &m : RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom))
        testi << m.value(QStringLiteral("testo")).toString();
    return testi;
}

void ShellTest::tickChiusura()
{
    Globali::FrmP->timChiudi_Timer();
}
