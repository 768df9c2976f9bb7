// Opening the customer form through the dispatcher: the launch contract, the
// personal settings and host parameters of the load, the defaults of a new
// record and reading an account by key.
#include "BancoClienti.h"

#include "components/db/DbMotore.h"
#include "components/linee/GestLinee.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "components/util/VbErrore.h"
#include "customer/frmClienti.h"
#include "data/generator/Generatore.h"
#include "services/Globali.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QToolButton>

using Carica = BancoClienti;

TEST_F(Carica, OpensThroughTheDispatcherWithTheLaunchContract)
{
    frmClienti *f = Apri({}, QStringLiteral("ChiamanteX"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->oiLoadOk().typeId(), QMetaType::Int);
    EXPECT_EQ(f->oiLoadOk().toInt(), 1);
    EXPECT_NE(f->oiLoadOk().toInt(), -1);
    EXPECT_EQ(f->osKeyLancia, "ChiamanteX");
    EXPECT_EQ(f->ogComPag()->NumeroCampi(), 137 - 6 - 1); // no personal descriptions, no size levels
    EXPECT_EQ(f->PagAttuale, 0);
    EXPECT_EQ(f->TabSelezionato(), 1);
    EXPECT_THROW(f->oiNumKey(2), VbErrore);
    f->oiNumKey(1, 7);
    EXPECT_EQ(f->oiNumKey(1), 7);

    f->PassaA();
    const auto &registro = m_menu->Registro();
    ASSERT_FALSE(registro.isEmpty());
    EXPECT_EQ(registro.last().nome, "PassaAProgramma");
    EXPECT_EQ(registro.last().argomenti.value(0).toString(), "Clienti");
    EXPECT_EQ(registro.last().argomenti.value(1).toString(), "frmClienti");
}

TEST_F(Carica, NewRecordShowsItsDefaults)
{
    Personale(QStringLiteral("Clienti"), QStringLiteral("CodStatoDef"), QStringLiteral("IT"));
    ParametroHost(QStringLiteral("Ditta.PercRitAccCli"), QStringLiteral("20"));
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    struct Atteso {
        int indice;
        const char *testo;
    };
    const Atteso attesi[] = {
        {10, "01"},  {20, "05"},   {35, "3"},     {1120, "G"},    {1130, "M"}, {4160, "S"}, {5130, "T"},
        {5100, "T"}, {5110, "T"},  {5120, "T"},   {5135, "S"},    {5065, "S"}, {5200, "S"}, {5197, "D"},
        {4200, "O"}, {1115, "N"},  {4170, "N"},   {4110, "N"},    {4030, "N"}, {4150, "N"}, {4129, "N"},
        {4225, "N"}, {5180, "N"},  {5185, "N"},   {5090, "N"},    {5080, "N"}, {5070, "N"}, {5137, "N"},
        {5210, "N"}, {1050, "IT"}, {4100, "EUR"}, {5145, "20,00"}};
    // A company (the default legal status) is "Maschio", its sex option disabled.
    for (const Atteso &a : attesi)
        EXPECT_EQ(f->txt(a.indice)->text(), QString::fromLatin1(a.testo)) << a.indice;
    EXPECT_EQ(f->txt(70)->text(), DataLavoroDemo().toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_FALSE(f->ogComPag()->RecordModificato());
}

TEST_F(Carica, PersonalSettingsShapeTheForm)
{
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescDataPers1"),
              QStringLiteral("Scadenza contratto"));
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescDataPers3"), QStringLiteral("Ultima visita"));
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescEmailAmm"), QStringLiteral("Contabilità"));
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescEmailComm"), QStringLiteral("Vendite:"));
    Personale(QStringLiteral("Clienti"), QStringLiteral("ListaAnagHotel"), QStringLiteral("s"));
    Personale(QStringLiteral("StFatture"), QStringLiteral("EmailPredef"), QStringLiteral("Comm"));
    Personale(QStringLiteral("StDdt"), QStringLiteral("EmailPredef"), QStringLiteral("7"));
    ParametroHost(QStringLiteral("pdcCla.3"), QString());
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    GestPagine *pag = f->ogComPag();

    EXPECT_EQ(pag->NumeroCampi(), 137 - 4 - 1);
    EXPECT_EQ(pag->NomeCampoControllo(f->txt(1182)), "DataPers1");
    EXPECT_EQ(pag->NomeCampoControllo(f->txt(1184)), "");
    EXPECT_EQ(pag->NomeCampoControllo(f->txt(1185)), "DataPers3");
    EXPECT_FALSE(f->txt(1182)->isHidden());
    EXPECT_TRUE(f->txt(1184)->isHidden());
    EXPECT_EQ(f->Label1(1182)->text(), "Scadenza contratto");

    EXPECT_EQ(f->Label1(1080)->text(), "Principale:");
    EXPECT_EQ(f->Label1(1081)->text(), QString::fromUtf8("Contabilità:"));
    EXPECT_EQ(f->Label1(1082)->text(), "Vendite:");
    EXPECT_EQ(f->Label1(1083)->text(), "Spedizioni:");
    EXPECT_EQ(f->txt(1081)->toolTip(), QString::fromUtf8("EMail Contabilità:"));
    EXPECT_FALSE(f->ComHotel->isHidden());

    // A word names the kind; a number above 4 is held at the last kind.
    EXPECT_EQ(f->EmailDocPredef[1], 3);
    EXPECT_EQ(f->EmailDocPredef[2], 4);
    EXPECT_EQ(f->EmailDocPredef[4], 1);
    EXPECT_EQ(f->Combo(1085)->itemText(0), "Scelta predefinita - Vendite");
    EXPECT_EQ(f->Combo(1088)->itemText(0), "Scelta predefinita - Principale");
    EXPECT_EQ(f->Combo(1086)->itemText(2), QString::fromUtf8("Contabilità"));

    EXPECT_EQ(f->Label1(3000)->text(), "Settore");
    EXPECT_FALSE(f->txt(3000)->isHidden());
    for (int i : {3020, 3030, 3040}) {
        EXPECT_TRUE(f->txt(i)->isHidden()) << i;
        EXPECT_TRUE(f->ComHlp(i)->isHidden()) << i;
        EXPECT_TRUE(f->Lab(i)->isHidden()) << i;
    }
    EXPECT_TRUE(f->Combo(5192)->isHidden());
}

TEST_F(Carica, EmailKindIsANumberHeldWithinTheFourKindsOrAKindsName)
{
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    auto scelta = [&](const QString &valore) {
        Personale(QStringLiteral("StOrdini"), QStringLiteral("EmailPredef"), valore);
        f->EmailDocPredef[3] = -1;
        f->QualeEmail(QStringLiteral("StOrdini"), 3, QStringLiteral("3"));
        return f->EmailDocPredef[3];
    };
    EXPECT_EQ(scelta(QStringLiteral("3")), 3);
    EXPECT_EQ(scelta(QStringLiteral("7")), 4);
    EXPECT_EQ(scelta(QStringLiteral("0")), 2);
    EXPECT_EQ(scelta(QStringLiteral("-3")), 2);
    EXPECT_EQ(scelta(QStringLiteral("sped")), 4);
    EXPECT_EQ(scelta(QStringLiteral("Principale")), 1);
    EXPECT_EQ(scelta(QStringLiteral("Fax")), 2);
    EXPECT_EQ(scelta(QString()), 2);

    // Without a setting, the document kind's default; the certified address
    // has a key of its own.
    f->QualeEmail(QStringLiteral("StAltro"), 4, QStringLiteral("1"));
    EXPECT_EQ(f->EmailDocPredef[4], 1);
    Personale(QStringLiteral("StFatture"), QStringLiteral("EmailPEC"), QStringLiteral("Comm"));
    f->QualeEmail(QStringLiteral("StFatture"), 5, QStringLiteral("2"));
    EXPECT_EQ(f->EmailDocPredef[5], 3);
}

TEST_F(Carica, MissingOptionalColumnsLeaveTheirFieldsOut)
{
    Esegui(QStringLiteral("ALTER TABLE PianoConti DROP COLUMN flagOpposizione"));
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ogComPag()->NomeCampoControllo(f->txt(5210)), "");
    EXPECT_EQ(f->ogComPag()->NumeroCampi(), 137 - 6 - 1 - 1);
    const QStringList chiave = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    EXPECT_TRUE(Leggi(chiave[0], chiave[1], chiave[2]));
}

TEST_F(Carica, ReadsAnAccountByItsKey)
{
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    const QStringList chiave = Clienti(QStringLiteral("P.RagSoc Is Not Null")).value(0).split(u'|');
    ASSERT_EQ(chiave.size(), 3);
    ASSERT_TRUE(Leggi(chiave[0], chiave[1], chiave[2]));
    const QString descrizione =
        Valore(QStringLiteral("Select Descrizione From PianoConti Where Gruppo = '%1' And Mastro = '%2' And "
                              "Conto = '%3'")
                   .arg(chiave[0], chiave[1], chiave[2]))
            .toString();
    EXPECT_EQ(f->txt(40)->text(), descrizione);
    EXPECT_FALSE(f->ogComPag()->RecordModificato());
    EXPECT_TRUE(f->txt(4180)->isEnabledTo(f->PicPagine(3)));
    EXPECT_EQ(f->LinAttuale, 1);
    EXPECT_FALSE(f->PagConLin);

    f->ButtonComando(QStringLiteral("Successivo"));
    Attendi();
    EXPECT_NE(f->txt(30)->text(), chiave[2]);
    EXPECT_FALSE(f->ogComPag()->RecordModificato());
}

TEST_F(Carica, ReadOnlyOpeningKeepsTheGridsReadOnly)
{
    frmClienti *f = Apri(QStringLiteral("/RO"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ogComPag()->oiAbilRW(), 0);
    EXPECT_EQ(f->GestLin(0)->Livello(), 0);
    EXPECT_EQ(f->GestLin(1)->Livello(), 0);
    const QStringList chiave = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_TRUE(Leggi(chiave[0], chiave[1], chiave[2]));
    f->SelezionaTab(8);
    Attendi();
    EXPECT_EQ(f->GestLin(0)->Livello(), 0);
    f->ButtonComando(QStringLiteral("Salva"));
    EXPECT_EQ(f->GestLin(0)->Livello(), 0);
}

TEST_F(Carica, AFailedLoadClosesInOrder)
{
    Globali::DbComp()->ChiudiConnessione(Globali::DbAzienda);
    EXPECT_EQ(Apri(), nullptr);
    EXPECT_EQ(Globali::ChiusuraInCorso, -1);
    EXPECT_EQ(m_menu->Messaggi().size(), 1);
}

TEST_F(Carica, FirstFieldIsNamedByItsPlaceInTheTabOrder)
{
    // Every field has its own place in the Tab order.
    int piva = -1, codFisc = -1;
    {
        frmClienti prova;
        QSet<int> posti;
        for (auto [i, t] : prova.txt) {
            const QVariant n = t->property("TabIndex");
            ASSERT_TRUE(n.isValid()) << i;
            posti.insert(n.toInt());
        }
        EXPECT_EQ(posti.size(), prova.txt.Count());
        piva = prova.txt(1090)->property("TabIndex").toInt();
        codFisc = prova.txt(1100)->property("TabIndex").toInt();
        ASSERT_GT(piva, 0);
    }

    QTemporaryDir cartella;
    const QString ini = cartella.filePath(QStringLiteral("morvane.ini"));
    Globali::PathIni = ini;
    struct Caso {
        int clientiPrimo, primoCampo, campo;
    };
    const Caso casi[] = {
        {piva, 0, 1090}, {0, codFisc, 1100}, {piva, codFisc, 1090}, {9999, 0, 40}, {0, 0, 40}};
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    for (const Caso &c : casi) {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[Configurazioni]\nClientiPrimo=%1\n").arg(c.clientiPrimo).toUtf8());
        f.close();
        Personale(QStringLiteral("Clienti"), QStringLiteral("PrimoCampo"), c.primoCampo);
        ASSERT_NE(Apri(), nullptr);
        ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
        EXPECT_EQ(m_form->focusWidget(), m_form->txt(c.campo)) << c.clientiPrimo << "/" << c.primoCampo;
        Chiudi();
    }
    Globali::PathIni.clear();
}
