// The print-choice dialog on a test bench: a fake printer catalogue (a laser
// with trays and papers, an office printer with papers only), the program's
// printer profile, this terminal's and the common INI in a temporary folder,
// a standalone menu host for the settings, and scripted message boxes.
#pragma once

#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/ProfiloStampanti.h"
#include "components/stampa/StampanteApp.h"
#include "printing/FrmSceltaStam.h"
#include "services/Globali.h"
#include "support/StampaQt.h"

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class BancoSceltaStampa : public ::testing::Test
{
  public:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        catalogo = c.get();
        catalogo->Aggiungi({QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"),
                            QStringLiteral("HP LaserJet"), 9, false},
                           {{7, QStringLiteral("Automatico"), QStringLiteral("auto"), {}},
                            {15, QStringLiteral("Manual"), QStringLiteral("manual"), {}},
                            {257, QStringLiteral("Cassetto 1"), QStringLiteral("tray-1"), {}}},
                           {{9, QStringLiteral("A4"), QStringLiteral("iso_a4_210x297mm"), {210, 297}},
                            {11, QStringLiteral("A5"), QStringLiteral("iso_a5_148x210mm"), {148, 210}}});
        catalogo->Aggiungi({QStringLiteral("Ufficio"), QStringLiteral("ipp://srv/printers/ufficio"),
                            QStringLiteral("Kyocera"), 11, false},
                           {}, {{9, QStringLiteral("A4"), {}, {}}, {11, QStringLiteral("A5"), {}, {}}});
        catalogo->ImpostaPredefinita(QStringLiteral("Laser"));
        ImpostaCatalogo(std::move(c));
        ProfiloStampanti::ImpostaPercorso(dir.filePath(QStringLiteral("stampanti.ini")));
        Globali::PathIni = dir.filePath(QStringLiteral("terminale.ini"));
        Globali::PathIniComune = dir.filePath(QStringLiteral("comune.ini"));
        Globali::StampanteImpostata = 0;
        Globali::SessioneTS = 0;
        Globali::RisVidStaVid = 0;
        StampanteApp::SeguiPredefinita();
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        host = std::make_unique<ClienteMenuLocale>(dir.filePath(QStringLiteral("host.json")));
        Globali::MenuClient = host.get();
        opz.ImpostaSezioneStampa(QStringLiteral("StampaClienti"));
    }
    void TearDown() override
    {
        dialogo.reset();
        FrmSceltaStam::ImpostaDialogoScala(nullptr);
        ImpostaCatalogo(nullptr);
        ProfiloStampanti::ImpostaPercorso({});
        StampanteApp::SeguiPredefinita();
        Globali::StampanteImpostata = 0;
        Globali::PathIni.clear();
        Globali::PathIniComune.clear();
        Globali::MenuClient = nullptr;
        RisposteProgrammate::Azzera();
    }

    // The dialog as a list print opens it (no fixed-length output), or as a
    // grid with every kind when `lista` is false.
    FrmSceltaStam &apri(bool lista = true)
    {
        dialogo.reset();
        opz.StaVidEscluso(3, lista);
        dialogo = std::make_unique<FrmSceltaStam>();
        dialogo->ogOpzSta(&opz);
        EXPECT_TRUE(dialogo->VisDecodOk());
        return *dialogo;
    }
    void mostra()
    {
        dialogo->show();
        dialogo->activateWindow();
        QApplication::processEvents();
    }
    // Clicks the grid's row whose column 1 is `nome`.
    static bool clicRiga(QTableWidget *g, const QString &nome)
    {
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->item(r, 1)->text() == nome) {
                g->scrollToItem(g->item(r, 1));
                QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                                  g->visualItemRect(g->item(r, 1)).center());
                return true;
            }
        return false;
    }
    static QStringList voci(const QComboBox *c)
    {
        QStringList r;
        for (int i = 0; i < c->count(); ++i)
            r << c->itemText(i);
        return r;
    }
    // Host parameters, by name.
    void parametri(std::initializer_list<std::pair<const char *, QVariant>> valori)
    {
        for (const auto &[nome, valore] : valori)
            host->ScriviPar(QString::fromLatin1(nome), valore);
    }
    static QStringList messaggi()
    {
        QStringList r;
        for (const QVariantMap &m : RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom))
            r << m.value(QStringLiteral("testo")).toString();
        return r;
    }

    QTemporaryDir dir;
    CatalogoFinto *catalogo = nullptr;
    std::unique_ptr<ClienteMenuLocale> host;
    OpzStampa opz;
    std::unique_ptr<FrmSceltaStam> dialogo;
};
