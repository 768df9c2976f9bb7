// What the print-window tests share: scripted message boxes and a fake
// printer catalogue set up and torn down, the texts the windows showed, and
// a list component that records how it was asked to print.
#pragma once

#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/ComponenteStampa.h"
#include "components/stampa/DoppiStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampanteApp.h"
#include "components/stampa/Stampatore.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"
#include "support/StampaQt.h"

#include <QCoreApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

class BancoFinestreStampa : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        c->Aggiungi({QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"), QStringLiteral("HP"),
                     9, false});
        c->ImpostaPredefinita(QStringLiteral("Laser"));
        ImpostaCatalogo(std::move(c));
        StampanteApp::SeguiPredefinita();
        Globali::StampanteImpostata = 0;
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
    }
    void TearDown() override
    {
        ScaricaFinestreStampa();
        Attendi();
        ImpostaCatalogo(nullptr);
        StampanteApp::SeguiPredefinita();
        Globali::StampanteImpostata = 0;
        RisposteProgrammate::Azzera();
    }
    static QStringList Mostrati(const QString &tipo, const QString &campo = QStringLiteral("testo"))
    {
        QStringList r;
        for (const QVariantMap &m : RisposteProgrammate::Mostrati(tipo))
            r << m.value(campo).toString();
        return r;
    }
    static QStringList MsgBox() { return Mostrati(MessaggiStampa::TipoMsgBox); }
    static QStringList MsgCom() { return Mostrati(RisposteProgrammate::MsgCom); }
    static void Attendi(int volte = 3)
    {
        for (int i = 0; i < volte; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
};

// A preview of class V shown by an engine printing to the screen: the
// engine, its options and the preview, the preview deleted at the end.
template <class V> class BancoAnteprima : public BancoFinestreStampa
{
  protected:
    void SetUp() override
    {
        BancoFinestreStampa::SetUp();
        vista = new V;
        motore.ofrmVStampa(vista);
        motore.ogOpzSta(&opz);
        opz.oiStaVid(OpzStampa::UscitaVideo);
    }
    void TearDown() override
    {
        delete vista.data();
        BancoFinestreStampa::TearDown();
    }
    // A whole print of `righe` customers, every column, portrait.
    EsitoStampa Stampa(qint64 righe = 300)
    {
        SorgenteMemoria sorgente = SorgenteClienti(righe);
        return motore.Stampa(sorgente, QStringLiteral("T"), 1, QFont(QStringLiteral("Arial"), 10));
    }
    OpzStampa opz;
    Stampatore motore;
    QPointer<V> vista;
};

// A list component: records each print request and can act in its place.
class ComponenteProva : public QObject, public ComponenteStampa
{
  public:
    struct Richiesta {
        QString tipo;
        int orientamento;
        QFont font;
    };
    FormStampaLista *dialogo = nullptr;
    Stampatore motore;
    QList<Richiesta> richieste;
    std::function<void(QFont &)> durante;
    QWidget finestra;

    void ofrmComlinStampa(FormStampaLista *d) override { dialogo = d; }
    FormStampaLista *ofrmComlinStampa() const override { return dialogo; }
    void ofrmStampaInCorso(QWidget *) override {}
    void ogSta(Stampatore *) override {}
    Stampatore *ogSta() const override { return const_cast<Stampatore *>(&motore); }
    void AvviaStampa(const QString &tipo, int orientamento, QFont &font) override
    {
        richieste << Richiesta{tipo, orientamento, font};
        if (durante)
            durante(font);
    }
    bool InStampa() const override { return false; }
    QWidget *FinestraStampa() const override { return const_cast<QWidget *>(&finestra); }
};
