// A PDF print mailed, as the user follows it: the progress window during the
// send, what it says at the end, and a wrong recipient named by its field.
#include "BancoSceltaStampa.h"

#include "components/stampa/DoppiStampa.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/frmStampaInCorso.h"

#include <QLabel>
#include <QScreen>

namespace
{

class EmailInCorso : public BancoSceltaStampa
{
  protected:
    void SetUp() override
    {
        BancoSceltaStampa::SetUp();
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("PDFCreator"));
        opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
        opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
        opz.ImpostaParStampa(QStringLiteral("EmailTo"), QStringLiteral("mario@cliente.it"));
        finestra.show();
    }
    // A print of a few customers into the PDF `nome`, mailed by `invio`.
    EsitoStampa stampa(const QString &nome, InvioEmail &invio)
    {
        opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.filePath(nome));
        Stampatore motore;
        motore.ogOpzSta(&opz);
        motore.ofrmStampaInCorso(&avanzamento);
        motore.ImpostaInvioEmail(&invio);
        avanzamento.ogStampa(&motore);
        avanzamento.FinestraStampa(&finestra);
        MotoreStampa(&motore);
        SorgenteMemoria righe = SorgenteClienti(5);
        const EsitoStampa e = motore.Stampa(righe, QStringLiteral("V"), 1, QFont());
        MotoreStampa(nullptr);
        return e;
    }

    QWidget finestra;
    frmStampaInCorso avanzamento;
};

} // namespace

// The name of the PDF being sent is never cut: whole as long as the window
// can hold it, else shortened in the middle, the whole name in its tooltip.
TEST_F(EmailInCorso, TheFileBeingSentIsNamedWhole)
{
    const QString lungo = QStringLiteral("Lista_Clienti_-_Demo_Commerciale_Nord_Est_e_Isole_") +
                          QStringLiteral("Anagrafica_completa_").repeated(4) + QStringLiteral("2024.pdf");
    const std::pair<QString, bool> casi[] = {
        {QStringLiteral("Lista_Clienti_-_Demo_Commerciale_2024-12-05_090500.pdf"), true}, {lungo, false}};
    for (const auto &[nome, intero] : casi) {
        SCOPED_TRACE(nome.toStdString());
        InvioFinto invio;
        QString mostrato, suggerimento;
        bool entra = false;
        invio.durante = [&] {
            const QLabel *l = avanzamento.LblPag;
            mostrato = l->text();
            suggerimento = l->toolTip();
            entra = l->fontMetrics().horizontalAdvance(mostrato) <= l->contentsRect().width() &&
                    avanzamento.screen()->availableGeometry().contains(avanzamento.geometry());
        };
        ASSERT_TRUE(stampa(nome, invio).eseguita);
        EXPECT_TRUE(entra) << mostrato.toStdString();
        if (intero) {
            EXPECT_EQ(mostrato, nome);
            continue;
        }
        EXPECT_EQ(suggerimento, nome);
        EXPECT_TRUE(mostrato.startsWith(nome.left(12)) && mostrato.endsWith(nome.right(12)) &&
                    mostrato.contains(QChar(0x2026)))
            << mostrato.toStdString();
    }
}

TEST_F(EmailInCorso, TheClosingMessageNamesAFewRecipientsAndCountsTheRest)
{
    const auto indirizzi = [](int n, const char *separatore) {
        QStringList r;
        for (int i = 1; i <= n; ++i)
            r << QStringLiteral("cliente%1@esempio.it").arg(i, 2, 10, QLatin1Char('0'));
        return r.join(QLatin1String(separatore));
    };
    // The recipients' field; whom the message names.
    const std::pair<QString, QString> casi[] = {
        {QStringLiteral("mario@cliente.it; \"Anna, amm.\" <anna@cliente.it>"),
         QStringLiteral("mario@cliente.it, anna@cliente.it")},
        {indirizzi(6, "; "), indirizzi(6, ", ")},
        {indirizzi(7, "; "), indirizzi(5, ", ") + QStringLiteral(" e altri 2")},
        {indirizzi(80, ","), indirizzi(5, ", ") + QStringLiteral(" e altri 75")}};
    for (const auto &[destinatari, nominati] : casi) {
        SCOPED_TRACE(destinatari.toStdString());
        opz.ImpostaParStampa(QStringLiteral("EmailTo"), destinatari);
        const QString nome = QStringLiteral("Elenco_%1.pdf").arg(destinatari.size());
        InvioFinto invio;
        ASSERT_TRUE(stampa(nome, invio).eseguita);
        EXPECT_EQ(avanzamento.lblStamp->text(),
                  QStringLiteral("Il file %1 è stato scritto e inviato per email a %2.")
                      .arg(QDir::toNativeSeparators(dir.filePath(nome)), nominati));
    }
}

// The temporary address typed for the print, or picked into it among the
// customer's, is the recipient: a wrong one is said to be there.
TEST_F(EmailInCorso, ARefusedAddressIsNamedByTheFieldItCameFrom)
{
    parametri({{"EmailTipoInvio", QStringLiteral("S")},
               {"EmailServerSMTP", QStringLiteral("127.0.0.1")},
               {"EmailLogin", QStringLiteral("prova")},
               {"EmailPwd", QStringLiteral("segreta")},
               {"EmailInd", QStringLiteral("vendite@ditta.it")}});
    // The configured recipients, the temporary address; the field named and the address.
    const std::tuple<const char *, const char *, const char *, const char *> casi[] = {
        {"mario@cliente.it; anna@@cliente.it", "", "Indir. Email a cui si invia", "anna@@cliente.it"},
        {"mario@cliente.it", "amm. rossi@cliente.it", "Indir. temporaneo", "amm. rossi@cliente.it"},
        {"mario@@cliente.it", "anna@@cliente.it", "Indir. temporaneo", "anna@@cliente.it"}};
    int n = 0;
    for (const auto &[destinatari, temporaneo, campo, errato] : casi) {
        SCOPED_TRACE(campo);
        host->ScriviPar(QStringLiteral("EmailTo"), QString::fromUtf8(destinatari));
        opz.ImpostaParStampa(QStringLiteral("EmailToTemp"), QString::fromUtf8(temporaneo));
        const EsitoStampa e = stampa(QStringLiteral("Elenco_%1.pdf").arg(++n), InvioEmailStampe());
        EXPECT_TRUE(e.errore.contains(
            QStringLiteral("il campo \"%1\" dei parametri email contiene l'indirizzo non valido \"%2\"")
                .arg(QString::fromUtf8(campo), QString::fromUtf8(errato))))
            << e.errore.toStdString();
    }
}
