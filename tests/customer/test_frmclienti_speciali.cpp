// The customer form's special functions: running totals, fiscal-code and
// new-code buttons, web map, IBAN editor, municipality lookup.
#include "BancoClienti.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Fiscale.h"
#include "services/Globali.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace
{

QString dove(const QStringList &k, const QString &prefisso = QString())
{
    return QStringLiteral(" Where %4Gruppo = '%1' And %4Mastro = '%2' And %4Conto = '%3'")
        .arg(k[0], k[1], k[2], prefisso);
}

} // namespace

class Speciali : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        m_k = Clienti(QStringLiteral("P.Mastro = '05' And P.Stato = 'IT'")).value(0).split(u'|');
        ASSERT_EQ(m_k.size(), 3);
    }
    void ApriELeggi()
    {
        ASSERT_NE(Apri(), nullptr);
        ASSERT_TRUE(Leggi(m_k[0], m_k[1], m_k[2]));
        DimenticaMessaggi();
    }
    QString Cella(int riga, int colonna) const
    {
        const QAbstractItemModel *m = m_form->dbgLista->model();
        return m->data(m->index(riga, colonna)).toString();
    }
    QStringList m_k;
};

TEST_F(Speciali, RunningTotalsNewestYearFirst)
{
    ParametroHost(QStringLiteral("CoGe.AnnoCorr"), 2024);
    ParametroHost(QStringLiteral("CoGe.ApertoPrec"), QStringLiteral("s"));
    Esegui(QStringLiteral("Delete From PdcProg") + dove(m_k, QStringLiteral("CoPart")));
    Esegui(QStringLiteral(
               "Insert Into PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, "
               "SaldoIniziale, ProgrDare, ProgrAvere) Values (2023, '3', '%1', '%2', '%3', 100, 50, Null)")
               .arg(m_k[0], m_k[1], m_k[2]));
    Esegui(QStringLiteral(
               "Insert Into PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, "
               "SaldoIniziale, ProgrDare, ProgrAvere) Values (2024, '3', '%1', '%2', '%3', Null, Null, "
               "Null)")
               .arg(m_k[0], m_k[1], m_k[2]));
    Esegui(
        QStringLiteral("Insert Into PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, "
                       "SaldoIniziale, ProgrDare, ProgrAvere) Values (2022, '3', '%1', '%2', '%3', 1, 1, 1)")
            .arg(m_k[0], m_k[1], m_k[2]));
    ApriELeggi();
    m_form->SelezionaTab(7);
    Attendi();
    ASSERT_TRUE(m_form->dbgLista->isVisibleTo(m_form));
    const QAbstractItemModel *m = m_form->dbgLista->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(Cella(0, 0), "2024");
    EXPECT_EQ(Cella(0, 9), "0,00");
    EXPECT_EQ(Cella(1, 0), "2023");
    EXPECT_EQ(Cella(1, 9), "150,00"); // 100 + 50 - nothing
    EXPECT_TRUE(m_form->dbgLista->isColumnHidden(2));
    EXPECT_EQ(m->headerData(9, Qt::Horizontal).toString(), "Saldo Finale");
    EXPECT_EQ(m_form->dbgLista->columnWidth(5), 1600 / 15);

    // Only the current year when the previous one is closed.
    ParametroHost(QStringLiteral("CoGe.ApertoPrec"), QStringLiteral("N"));
    m_form->mvPagDecod[6] = false;
    m_form->visDecodPagina(6, false);
    EXPECT_EQ(m->rowCount(), 1);

    // An account without rows: the grid hidden, the buttons still there.
    ParametroHost(QStringLiteral("CoGe.AnnoCorr"), 1999);
    m_form->mvPagDecod[6] = false;
    m_form->visDecodPagina(6, false);
    EXPECT_FALSE(m_form->dbgLista->isVisibleTo(m_form));
    EXPECT_TRUE(m_form->ComGesProgr->isVisibleTo(m_form));
    EXPECT_TRUE(m_form->ComGesProgrIVA->isVisibleTo(m_form));
    EXPECT_EQ(m_form->ComGesProgr->text(), "Gestione Progressivi");
    EXPECT_EQ(m_form->ComGesProgrIVA->text(), "Gestione Progressivi IVA");
}

TEST_F(Speciali, LedgerUtilitiesAskedOfTheHost)
{
    ApriELeggi();
    m_form->SelezionaTab(7);
    Attendi();
    for (bool iva : {false, true}) {
        const int prima = int(m_menu->Registro().size());
        if (iva)
            m_form->ComGesProgrIVA->click();
        else
            m_form->ComGesProgr->click();
        EXPECT_EQ(Globali::KeyPrgSec, iva ? "PICF" : "prpn");
        EXPECT_EQ(Globali::KeyPrgPrim, frmClienti::ProgrammaUtilitaCoge);
        const auto c = m_menu->Registro().mid(prima);
        ASSERT_EQ(c.size(), 5);
        EXPECT_EQ(c[0].argomenti, (QVariantList{"PdcProgTipo", 12, true, "3"}));
        EXPECT_EQ(c[3].argomenti, (QVariantList{"PdcProgConto", 12, true, m_k[2]}));
        EXPECT_EQ(c[4].nome, "Richiesta");
        EXPECT_EQ(c[4].argomenti, (QVariantList{"Tutti", "TipoGruppoMastroContoFisso"}));
    }
}

TEST_F(Speciali, FiscalCodeFromThePersonalData)
{
    Esegui(QStringLiteral(
               "Update PianoConti Set StatoGiurid = 'F', Cognome = 'Rossi', Nome = 'Mario', "
               "DatNascita = '1985-12-10', Sesso = 'M', LocalitaNascita = 'Milano', PrNascita = 'MI', "
               "CodFisc = 'X'") +
           dove(m_k));
    ApriELeggi();
    ASSERT_EQ(m_form->Lab(1162)->text(), "F205");
    m_form->ComCalcCodFisc->click();
    EXPECT_EQ(m_form->txt(1100)->text(), CodiceFiscale("Rossi", "Mario", QDate(1985, 12, 10), "M", "F205"));
    EXPECT_TRUE(Messaggi().isEmpty());
    EXPECT_TRUE(m_form->ogComPag()->RecordModificato());

    // Missing data: a birth date in error, no surname, no birth town decoded.
    const QString manca = QStringLiteral("Mancano dati obbligatori per il calcolo del codice fiscale");
    ColoriVb::ImpostaBackColor(m_form->txt(1140), Globali::ColBackErrore);
    m_form->txt(1100)->setText(QStringLiteral("PRIMA"));
    m_form->ComCalcCodFisc->click();
    EXPECT_EQ(Messaggi(), QStringList{manca});
    EXPECT_EQ(m_form->txt(1100)->text(), "PRIMA");
    ColoriVb::ImpostaBackColor(m_form->txt(1140), Globali::ColBackNormale);
    m_form->Lab(1162)->clear();
    DimenticaMessaggi();
    m_form->ComCalcCodFisc->click();
    EXPECT_EQ(Messaggi(), QStringList{manca});
}

TEST_F(Speciali, NextFreeAccountCode)
{
    ApriELeggi();
    m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo"));
    Attendi();
    const int ultimo =
        Valore(QStringLiteral("Select Max(Conto) From PianoConti Where Gruppo = '01' And Mastro = "
                              "'05' And Conto Not Like '%[A-Z]%'"))
            .toInt();
    m_form->txt(30)->clear();
    m_form->ComCreaKey->click();
    EXPECT_EQ(m_form->txt(30)->text(), QStringLiteral("%1").arg(ultimo + 1, 4, 10, QChar(u'0')));
    // With letters: a prefix of its own.
    Esegui(QStringLiteral(
        "Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values ('01', '05', "
        "'Q041', '3', 'Prova')"));
    m_form->txt(30)->setText(QStringLiteral("Q"));
    m_form->ComCreaKey->click();
    EXPECT_EQ(m_form->txt(30)->text(), "Q042");
    m_form->txt(30)->setText(QStringLiteral("ZZZZ"));
    m_form->ComCreaKey->click();
    EXPECT_EQ(m_form->txt(30)->text(), "ZZZZ");
}

TEST_F(Speciali, WebMapOfTheAddress)
{
    Esegui(
        QStringLiteral("Update PianoConti Set Indirizzo = 'Via Rossi & Figli 3', CAP = '', Localita = 'San "
                       "Giovanni', Pr = 'FI', Stato = 'IT'") +
        dove(m_k));
    ApriELeggi();
    RisposteProgrammate::Accoda(RisposteProgrammate::ApriShell, true);
    m_form->comMappa->click();
    const QString url = RisposteProgrammate::UltimoMostrato(RisposteProgrammate::ApriShell)
                            .value(QStringLiteral("url"))
                            .toUrl()
                            .toString(QUrl::FullyEncoded);
    EXPECT_TRUE(url.contains(QStringLiteral("q=Via+Rossi+%26+Figli+3,San+Giovanni,FI&ie=UTF8")))
        << url.toStdString();
    // A browser that cannot be opened is said so.
    RisposteProgrammate::Accoda(RisposteProgrammate::ApriShell, false);
    m_form->comMappa->click();
    ASSERT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(Messaggi()[0].startsWith(QStringLiteral("Impossibile aprire la mappa")));
}

TEST_F(Speciali, IbanEditorStoresCompactAndShowsGroups)
{
    ApriELeggi();
    m_form->SelezionaTab(4);
    Attendi();
    QLineEdit *editor = m_form->txtAppo(4074);
    auto scrivi = [&](const QString &testo) {
        m_form->txtAppo_GotFocus(4074);
        editor->setText(testo);
        m_form->txtAppo_LostFocus(4074);
    };
    scrivi(QStringLiteral("it60 x054 2811 1010 0000 0123 456"));
    EXPECT_EQ(m_form->txt(4074)->text(), "IT60X0542811101000000123456");
    EXPECT_EQ(editor->text(), "IT60 X054 2811 1010 0000 0123 456");
    EXPECT_TRUE(m_form->ogComPag()->RecordModificato());
    // Entering shows it compact.
    m_form->txtAppo_GotFocus(4074);
    EXPECT_EQ(editor->text(), "IT60X0542811101000000123456");
    m_form->txtAppo_LostFocus(4074);
    // Malta: 31 characters, six groups and then the rest.
    scrivi(QStringLiteral("MT84MALT011000012345MTLCAST001S"));
    EXPECT_EQ(m_form->txt(4074)->text(), "MT84MALT011000012345MTLCAST001S");
    EXPECT_EQ(editor->text(), "MT84 MALT 0110 0001 2345 MTLC AST001S");
    // An Italian IBAN of the wrong length: refused, the stored one unchanged.
    scrivi(QStringLiteral("IT60X054281110100000012345"));
    const QString errato = QStringLiteral("Codice IBAN errato, la lunghezza (per l'Italia) deve essere 27");
    EXPECT_EQ(Messaggi(), QStringList{errato});
    EXPECT_EQ(m_form->Pannello(QStringLiteral("Messaggio")), errato);
    EXPECT_EQ(ColoriVb::BackColor(editor), Globali::ColBackErrore);
    EXPECT_EQ(m_form->txt(4074)->text(), "MT84MALT011000012345MTLCAST001S");
    // A right one stored, and the status line no longer speaks of a wrong code.
    scrivi(QStringLiteral("IT60X0542811101000000123456"));
    EXPECT_EQ(m_form->Pannello(QStringLiteral("Messaggio")), QString());
    EXPECT_EQ(m_form->txt(4074)->text(), "IT60X0542811101000000123456");
    // Empty stores empty.
    scrivi(QString());
    EXPECT_EQ(m_form->txt(4074)->text(), "");
    EXPECT_EQ(ColoriVb::BackColor(editor), Globali::ColBackNormale);
    // A command given from the editor stores the IBAN first, and only once.
    m_form->txtAppo_GotFocus(4074);
    editor->setFocus();
    editor->setText(QStringLiteral("DE89370400440532013000"));
    DimenticaMessaggi();
    m_form->ButtonComando(QStringLiteral("Salva"));
    Attendi();
    EXPECT_EQ(Valore(QStringLiteral("Select Iban From PianoConti") + dove(m_k)).toString(),
              "DE89370400440532013000");
}

TEST_F(Speciali, MunicipalityNarrowedByProvince)
{
    ApriELeggi();
    m_form->labIso(1050)->setText(QStringLiteral("IT"));
    auto decodifica = [&](const QString &comune, const QString &pr) {
        m_form->txt(1030)->setText(comune);
        m_form->txt(1040)->setText(pr);
        m_form->txt(1020)->setText(QStringLiteral("00000"));
        m_form->DecodComune(1030, true, 114);
    };
    decodifica(QStringLiteral("samone"), QStringLiteral("TO"));
    EXPECT_EQ(m_form->txt(1030)->text(), "Samone");
    EXPECT_EQ(m_form->Lab(1032)->text(), "H753");
    EXPECT_EQ(m_form->txt(1020)->text(), "10010");
    decodifica(QStringLiteral("Samone"), QStringLiteral("TN"));
    EXPECT_EQ(m_form->Lab(1032)->text(), "H754");
    // No province: the only Milano is found and its province filled in.
    decodifica(QStringLiteral("Milano"), QString());
    EXPECT_EQ(m_form->txt(1040)->text(), "MI");
    EXPECT_EQ(m_form->Lab(1032)->text(), "F205");
    // Not in that province: marked, the cadastral code emptied.
    decodifica(QStringLiteral("Milano"), QStringLiteral("TO"));
    EXPECT_EQ(m_form->Lab(1032)->text(), "");
    EXPECT_EQ(ColoriVb::BackColor(m_form->txt(1030)), Globali::ColBackErrore);
    // Abroad the town is left as typed.
    decodifica(QStringLiteral("Lugano"), QStringLiteral("EE"));
    EXPECT_EQ(m_form->txt(1030)->text(), "Lugano");
    EXPECT_EQ(ColoriVb::BackColor(m_form->txt(1030)), Globali::ColBackNormale);
    // An empty town empties its labels.
    decodifica(QString(), QString());
    EXPECT_EQ(m_form->Lab(1030)->text(), "");
    EXPECT_EQ(m_form->Lab(1032)->text(), "");
}
