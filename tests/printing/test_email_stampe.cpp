// E-mail parameters of printouts: the compilation into the print options and
// its missing-data error, the placeholders with a fixed clock, the subject and
// text rows of the common menu database, the plain names the host answers for
// the configuration in use, the customer's preferred address kind, and a PDF
// print e-mailed to the local receiver with a wrong password put right
// through the panel.
#include "BancoSceltaStampa.h"

#include "components/db/DbMotore.h"
#include "components/stampa/DoppiStampa.h"
#include "components/stampa/InvioEmailSmtp.h"
#include "components/stampa/SorgenteMemoria.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/frmStampaInCorso.h"
#include "services/AziOpenDbMenu.h"
#include "support/ServerSmtp.h"

#include <QDir>
#include <QFile>
#include <QLabel>

#include <QSqlDatabase>
#include <QSqlQuery>

namespace
{

class EmailStampe : public BancoSceltaStampa
{
  public:
    void SetUp() override
    {
        BancoSceltaStampa::SetUp();
        ImpostaOrologioEmail([] { return QDateTime(QDate(2024, 12, 5), QTime(9, 5)); });
        const std::pair<const char *, QVariant> host[] = {{"EmailLogin", QStringLiteral("prova")},
                                                          {"EmailPwd", QStringLiteral("segreta")},
                                                          {"EmailServerSMTP", QStringLiteral("127.0.0.1")},
                                                          {"EmailTipoInvio", QStringLiteral("C")},
                                                          {"EmailInd", QStringLiteral("vendite@ditta.it")},
                                                          {"EmailCentro", QStringLiteral("Vendite")},
                                                          {"EmailTo", QStringLiteral("mario@cliente.it")},
                                                          {"EmailFlagNotifica", true},
                                                          {"Login", QStringLiteral("anna")},
                                                          {"descazie", QStringLiteral("Ditta Srl")}};
        for (const auto &[k, v] : host)
            this->host->ScriviPar(QString::fromLatin1(k), v);
        opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
        opz.ImpostaParStampa(QStringLiteral("StampaCaption"), QStringLiteral("Elenco clienti"));
    }
    void TearDown() override
    {
        ImpostaOrologioEmail({});
        if (!Globali::DbMenu.isEmpty())
            Globali::DbComp()->ChiudiConnessione(Globali::DbMenu);
        Globali::DbMenu.clear();
        Globali::NomeDbMenu.clear();
        MotoreStampa(nullptr);
        BancoSceltaStampa::TearDown();
    }
    // The common menu database with the subject and text pairs of "PdfEmail".
    void databaseMenu(int numero, const QString &oggetto, const QString &testo)
    {
        const QString file = dir.filePath(QStringLiteral("menu.db"));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prova-menu"));
            db.setDatabaseName(file);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(
                q.exec(QStringLiteral("CREATE TABLE Appoggio (Codice TEXT PRIMARY KEY, Descr1 TEXT, "
                                      "Descr2 TEXT, Descr3 TEXT, Memo1 TEXT, Memo2 TEXT, Memo3 TEXT)")));
            q.prepare(
                QStringLiteral("INSERT INTO Appoggio (Codice, Descr%1, Memo%1) VALUES ('PdfEmail', ?, ?)")
                    .arg(numero));
            q.addBindValue(oggetto);
            q.addBindValue(testo);
            ASSERT_TRUE(q.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prova-menu"));
        Globali::NomeDbMenu = file;
        Globali::DbMenu.clear();
    }
    QString par(const char *chiave) const { return opz.ParStampa(QString::fromLatin1(chiave)).toString(); }
};

} // namespace

TEST_F(EmailStampe, CompilingThePrintOptionsAndTheMissingData)
{
    // Not to be e-mailed: nothing read, nothing written.
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), false);
    host->ScriviPar(QStringLiteral("EmailLogin"), QString());
    PreparaParEmail(QString(), opz);
    EXPECT_FALSE(opz.ParStampa(QStringLiteral("EmailTo")).isValid());

    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
    host->ScriviPar(QStringLiteral("EmailPwd"), QString());
    try {
        PreparaParEmail(QString(), opz);
        ADD_FAILURE() << "missing data are refused";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), -123);
        EXPECT_EQ(e.descrizione(),
                  QStringLiteral("Mancano dati necessari per l'invio dell'email\r\n - Login:  - "
                                 "pwd compilata: No - SMTP: 127.0.0.1 - Emailto: "
                                 "mario@cliente.it - Ind.Temp: "));
    }
    EXPECT_FALSE(opz.ParStampa(QStringLiteral("EmailTo")).isValid()) << "nothing written";
    host->ScriviPar(QStringLiteral("EmailLogin"), QStringLiteral("prova"));
    host->ScriviPar(QStringLiteral("EmailPwd"), QStringLiteral("segreta"));
    host->ScriviPar(QStringLiteral("EmailTo"), QString());
    try {
        PreparaParEmail(QString(), opz);
        ADD_FAILURE();
    } catch (const VbErrore &e) {
        EXPECT_TRUE(e.descrizione().contains(QStringLiteral("pwd compilata: Sì")));
        EXPECT_FALSE(e.descrizione().contains(QStringLiteral("segreta")));
    }

    // The temporary address alone is enough, and wins over the host's.
    opz.ImpostaParStampa(QStringLiteral("EmailToTemp"), QStringLiteral("temp@cliente.it"));
    PreparaParEmail(QString(), opz);
    EXPECT_EQ(par("EmailTo"), QStringLiteral("temp@cliente.it"));
    host->ScriviPar(QStringLiteral("EmailTo"), QStringLiteral("mario@cliente.it"));
    PreparaParEmail(QString(), opz);
    EXPECT_EQ(par("EmailTo"), QStringLiteral("temp@cliente.it"));
    // A recipient the caller gives is the recipient.
    PreparaParEmail(QStringLiteral("dato@cliente.it"), opz);
    EXPECT_EQ(par("EmailTo"), QStringLiteral("dato@cliente.it"));
    EXPECT_EQ(par("EmailInd"), QStringLiteral("\"Vendite\" <vendite@ditta.it>"));
    EXPECT_EQ(opz.ParStampa(QStringLiteral("EmailFlagNotifica")), QVariant(true));
    host->ScriviPar(QStringLiteral("EmailFlagNotifica"), QString());
    PreparaParEmail(QString(), opz);
    EXPECT_EQ(opz.ParStampa(QStringLiteral("EmailFlagNotifica")), QVariant(false))
        << "never stored: no request";
    host->ScriviPar(QStringLiteral("EmailFlagNotifica"), QStringLiteral("forse"));
    EXPECT_THROW(PreparaParEmail(QString(), opz), VbErrore);
}

TEST_F(EmailStampe, SubjectAndTextFromTheMenuDatabaseWithTheirPlaceholders)
{
    databaseMenu(
        3, QStringLiteral("§PersOgg§ §titolo§ del §Data§ ore §Ora§ §OraRid§ §Altro§"),
        QStringLiteral("§DataLong§ §DataAbb§ §DataRov§ §Ora§ §OraRid§ §DescAzie§ §CodSta§ §IdAzienda§."));
    host->ScriviPar(QStringLiteral("EmailPersOggetto"), QStringLiteral("Per §Login§:"));
    host->ScriviPar(QStringLiteral("EmailNumTesto"), 3);
    EXPECT_EQ(LeggiParEmail(QStringLiteral("emailoggetto")),
              QStringLiteral("§PersOgg§ §titolo§ del §Data§ ore §Ora§ §OraRid§ §Altro§"));
    PreparaParEmail(QString(), opz);
    EXPECT_EQ(par("EmailOggetto"),
              QStringLiteral("Per anna: Elenco clienti del 05/12/2024 ore 09:05 §OraRid§ §Altro§"));
    EXPECT_EQ(par("EmailTesto"),
              QStringLiteral("05/dicembre/2024 05/dic/2024 20241205 §Ora§ 0905 Ditta Srl StampaClienti ."));
    // Another pair, or none: empty texts.
    for (const QVariant &n : {QVariant(2), QVariant(0), QVariant(6)}) {
        host->ScriviPar(QStringLiteral("EmailNumTesto"), n);
        EXPECT_TRUE(LeggiParEmail(QStringLiteral("EmailTesto")).isEmpty()) << n.toInt();
    }
    host->ScriviPar(QStringLiteral("EmailNumTesto"), QStringLiteral("tre"));
    EXPECT_THROW(LeggiParEmail(QStringLiteral("EmailOggetto")), VbErrore);
}

TEST_F(EmailStampe, PlainNamesAnswerForTheConfigurationInUse)
{
    host->ScriviPar(QStringLiteral("EmailLogin2"), QStringLiteral("secondo"));
    host->ScriviPar(QStringLiteral("EmailTipoInvio2"), QStringLiteral("S"));
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailLogin")), QStringLiteral("prova"))
        << "no configuration chosen";
    host->ScriviPar(QStringLiteral("EmailTipoNum"), 2);
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailLogin")), QStringLiteral("secondo"));
    // Sendmail in configuration 2: the bare sender address.
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailInd")), QStringLiteral("vendite@ditta.it"));
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailServerSMTP")), QStringLiteral("127.0.0.1"))
        << "not held: plain";
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailTo")), QStringLiteral("mario@cliente.it"));
}

TEST(EmailCliente, PreferredAddressKind)
{
    const std::pair<const char *, int> casi[] = {
        {"1", 1},    {"3", 3},          {"7", 4},    {"-2", 1},         {"Amm", 2}, {"amministrativo", 2},
        {"COMM", 3}, {"Spedizione", 4}, {"sped", 4}, {"spedizioni", 1}, {"", 1},    {"Pri", 1}};
    for (const auto &[testo, tipo] : casi)
        EXPECT_EQ(TipoEmailPredefinito(QString::fromUtf8(testo)), tipo) << testo;
}

// A wrong password is said to be wrong; a password not stored (it is typed at
// each session) is said to be missing. Either way the panel asks once and the
// PDF goes.
TEST_F(EmailStampe, APdfPrintEmailedWithTheMissingOrWrongPasswordPutRight)
{
    QString motivo;
    ServerSmtp *server = ServerSmtp::Istanza(&motivo);
    if (!server)
        GTEST_SKIP() << motivo.toStdString();
    // The password stored, the first message, the lines logged (a send never
    // tried for want of its data is not an attempt).
    const std::tuple<const char *, const char *, int> casi[] = {
        {"sbagliata", "Login o password non valida per spedizione email", 2},
        {"", "Manca la password per la spedizione email: scriverla in \"Pwd Email\" e confermare con Ok.",
         1}};
    for (const auto &[password, messaggio, tentativi] : casi) {
        SCOPED_TRACE(password);
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        const QString cartella = dir.filePath(
            QString::fromLatin1(password).isEmpty() ? QStringLiteral("manca") : QStringLiteral("errata"));
        QDir().mkpath(cartella);
        const QString fileLog = QDir(cartella).filePath(QStringLiteral("email.log"));
        host->ScriviPar(QStringLiteral("EmailNumPorta"), server->porta);
        host->ScriviPar(QStringLiteral("EmailPwd"), QString::fromLatin1(password));
        host->ScriviPar(QStringLiteral("EmailFileLog"), fileLog);
        host->ScriviPar(QStringLiteral("EmailTipoNum"), 1);
        for (const auto &[k, v] : {std::pair{"EmailLogin1", "prova"},
                                   {"EmailServerSMTP1", "127.0.0.1"},
                                   {"EmailTipoInvio1", "S"},
                                   {"EmailInd1", "vendite@ditta.it"},
                                   {"EmailTo1", "mario@cliente.it"}})
            host->ScriviPar(QString::fromLatin1(k), QString::fromLatin1(v));
        host->ScriviPar(QStringLiteral("EmailNumPorta1"), server->porta);
        host->ScriviPar(QStringLiteral("EmailPwd1"), QString::fromLatin1(password));
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("PDFCreator"));
        opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
        opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), cartella + QLatin1Char('/'));

        Stampatore motore;
        frmStampaInCorso avanzamento;
        motore.ogOpzSta(&opz);
        motore.ofrmStampaInCorso(&avanzamento);
        avanzamento.ogStampa(&motore);
        motore.ImpostaInvioEmail(&InvioEmailStampe());
        MotoreStampa(&motore);
        frmStampaInCorso::ImpostaChiediDatiEmail([] { return ChiediDatiEmail(-1, -1); });
        // The user types the right password in the panel and confirms; the
        // progress window says meanwhile that the mail is going.
        int richieste = 0;
        QStringList durante;
        RisposteProgrammate::ImpostaAzioneModale([&](QWidget *w) {
            auto *d = qobject_cast<FrmSceltaStam *>(w);
            ASSERT_NE(d, nullptr);
            ++richieste;
            durante = {avanzamento.lblStamp->text(), avanzamento.LblPrePag->text(),
                       avanzamento.LblPag->text()};
            EXPECT_EQ(d->txt(1014)->text(), QStringLiteral("prova"));
            d->txt(1015)->setText(server->password);
            d->ComPEOk->click();
            if (d->isVisible()) {
                ADD_FAILURE() << "the panel did not accept the data";
                d->oiRichDatiEmail = 200;
                d->hide();
            }
        });
        SorgenteMemoria righe = SorgenteClienti(30);
        const QStringList prima = server->Messaggi();
        const EsitoStampa e = motore.Stampa(righe, QStringLiteral("V"), 1, QFont());
        frmStampaInCorso::ImpostaChiediDatiEmail({});
        MotoreStampa(nullptr);
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        EXPECT_TRUE(e.errore.isEmpty()) << e.errore.toStdString();
        EXPECT_EQ(richieste, 1);
        EXPECT_EQ(messaggi().value(0), QString::fromUtf8(messaggio));
        // The PDF the print made, to know its mail among others' on the receiver.
        const QStringList pdf = QDir(cartella).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        ASSERT_EQ(pdf.size(), 1);
        EXPECT_EQ(durante, (QStringList{QStringLiteral("Invio dell'email in corso."),
                                        QStringLiteral("Con il file:"), pdf.first()}));
        // Then where the PDF is and to whom it went, with the window's own title.
        EXPECT_EQ(avanzamento.windowTitle(), QStringLiteral("Stampa ordini in corso"));
        EXPECT_TRUE(avanzamento.isVisible());
        EXPECT_EQ(avanzamento.windowModality(), Qt::NonModal);
        EXPECT_EQ(avanzamento.lblStamp->text(),
                  QStringLiteral("Il file %1 è stato scritto e inviato per email a mario@cliente.it.")
                      .arg(QDir::toNativeSeparators(QDir(cartella).filePath(pdf.first()))));
        QFile filePdf(QDir(cartella).filePath(pdf.first()));
        ASSERT_TRUE(filePdf.open(QIODevice::ReadOnly));
        const QByteArray bytePdf = filePdf.readAll();
        const QString file = server->AttendiNuovo(
            prima, [&](const PostaRicevuta &m) { return m.parti.size() == 2 && m.parti[1].dati == bytePdf; });
        ASSERT_FALSE(file.isEmpty());
        const PostaRicevuta m = PostaRicevuta::Leggi(file);
        EXPECT_EQ(m.Intestazione(QStringLiteral("X-RcptTo")), QStringLiteral("mario@cliente.it"));
        EXPECT_TRUE(m.parti.size() == 2 && m.parti[1].dati.startsWith("%PDF"));
        QFile log(fileLog);
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QString righeLog = QString::fromUtf8(log.readAll());
        EXPECT_EQ(righeLog.count(QLatin1Char('\n')), tentativi);
        EXPECT_FALSE(righeLog.contains(server->password));
        EXPECT_FALSE(righeLog.contains(QStringLiteral("sbagliata")));
    }
}
