// The print-choice dialog's printers: the printer grid and the grid of
// fixed-length destinations, the default-printer button, applying a chosen
// printer, and the current-printer label.
#include "printing/FrmSceltaStam.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampanteApp.h"
#include "components/util/UtilGlob.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>

namespace
{

void avvisoSessione(const QString &nome)
{
    MessaggiStampa::Avviso(QStringLiteral("La stampante (") + nome +
                           QStringLiteral(") predefinita appartiene ad un'altra sessione\r\n"
                                          "Scegliere una stampante o cambiare la stampante predefinita"));
}

bool stessoNome(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void aggiungiRiga(QTableWidget *g, int posizione, const QString &nome, const QString &porta)
{
    const int r = g->rowCount();
    g->insertRow(r);
    g->setItem(r, 0, new QTableWidgetItem(QString::number(posizione)));
    g->setItem(r, 1, new QTableWidgetItem(nome));
    g->setItem(r, 2, new QTableWidgetItem(porta));
}

void larghezze(QTableWidget *g, int nome, int porta)
{
    const QFontMetrics fm = g->fontMetrics();
    g->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("9999")));
    g->setColumnWidth(1, fm.horizontalAdvance(QString(nome, QLatin1Char('M'))));
    g->setColumnWidth(2, fm.horizontalAdvance(QString(porta, QLatin1Char('M'))));
}

} // namespace

void FrmSceltaStam::RiempiGriglie()
{
    QStringList nomi, porte;
    bool daElenco = true;
    try {
        ElencoStampantiPorte(nomi, porte);
    } catch (...) {
        daElenco = false;
    }
    QList<Stampante> sistema;
    try {
        sistema = Catalogo().Stampanti();
    } catch (...) {
    }
    GriPri->setRowCount(0);
    larghezze(GriPri, 45, 15);
    if (daElenco) {
        for (int i = 0; i < nomi.size(); ++i)
            aggiungiRiga(GriPri, i, nomi[i], porte.value(i));
    } else {
        for (int i = 0; i < sistema.size(); ++i)
            aggiungiRiga(GriPri, i, sistema[i].DeviceName, sistema[i].Port);
    }
    labTotStamp->setText(QString::number(GriPri->rowCount()));

    // Fixed-length prints go as raw bytes to a queue: the PDF printers the
    // engine renders itself cannot take them. The position stays the one in
    // the printer list.
    GriPorte->setRowCount(0);
    larghezze(GriPorte, 40, 10);
    for (int i = 0; i < sistema.size(); ++i)
        if (!sistema[i].Virtuale)
            aggiungiRiga(GriPorte, i, sistema[i].DeviceName, sistema[i].Port);
}

void FrmSceltaStam::VisStaAttuale()
{
    if (!m_opz)
        return;
    LabStaAttuale->setText(m_opz->DescrStampante(StampanteApp::Corrente()));
}

void FrmSceltaStam::SpegniPdfAutom()
{
    InImpostazione = true;
    ChePdfAutom->setChecked(false);
    m_opz->ImpostaParStampa(QStringLiteral("PdfAutomAbil"), false);
    CheInviaEmail->setChecked(false);
    CheInviaEmail->setEnabled(false);
    m_opz->ImpostaParStampa(QStringLiteral("EmailInvia"), false);
    QCoreApplication::processEvents();
    InImpostazione = false;
}

void FrmSceltaStam::ImpostaStampanteGri(bool pbPredefinita)
{
    const LetturaCatalogo lettura;
    if (!m_opz)
        return;
    OpzStampa &o = *m_opz;
    const int riga = GriPri->currentRow();
    if (!pbPredefinita && (riga < 0 || !GriPri->item(riga, 1)))
        return;

    QString nomePred, mancante, portaPred;
    if (pbPredefinita) {
        try {
            LeggiStampantePredefinita(nomePred, mancante, portaPred);
            if (Globali::StampanteImpostata != 1) {
                const QString daProvare = Globali::Util().ValoreVuoto(mancante) ? nomePred : mancante;
                if (CercaStampanteAltraSessione(daProvare, Globali::SessioneTS)) {
                    avvisoSessione(daProvare);
                    return;
                }
            }
        } catch (...) {
        }
    }

    // Another printer starts with its own tray and paper.
    o.ImpostaParStampa(QStringLiteral("NumCassetto"), 0);
    o.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 0);
    if (pbPredefinita) {
        if (!ImpostaStampanteDaNome(QString(), true, o.osNomeStampante()))
            return;
        o.osNomeStampante(QString());
        o.NomePorta(portaPred);
    } else {
        const QString nome = GriPri->item(riga, 1)->text();
        const QString porta = GriPri->item(riga, 2) ? GriPri->item(riga, 2)->text() : QString();
        if (!ImpostaStampanteDaNome(nome, true, o.osNomeStampante()))
            return;
        if (!stessoNome(o.osNomeStampante(), nome) && Globali::StampanteImpostata == 1 &&
            !Catalogo().Cerca(nome).valida()) {
            MessaggiStampa::Avviso(
                QStringLiteral("Attenzione: la stampante richiesta non è settabile direttamente dopo che è "
                               "stata fatta una stampa su altra stampante\r\n"
                               "Uscire e rientrare e scegliere direttamente questa stampante"));
            const Stampante corrente = StampanteApp::Corrente();
            o.osNomeStampante(corrente.DeviceName);
            o.NomePorta(corrente.Port);
        } else {
            o.osNomeStampante(nome);
            o.NomePorta(porta);
        }
    }

    // A printer chosen by hand ends the automatic PDF (which prints on the
    // PDF printer).
    if (ChePdfAutom->isChecked()) {
        QString driver = QStringLiteral("PDFCreator");
        try {
            if (LeggiParEmail(QStringLiteral("UsaPdf995"))
                    .trimmed()
                    .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
                driver = QStringLiteral("PDF995");
        } catch (...) {
        }
        if (Catalogo().Cerca(driver).valida())
            SpegniPdfAutom();
    }
    ImpostaCboCassetti();
    ImpostaCboTipoCarta();
    VisStaAttuale();
}

void FrmSceltaStam::GriPri_Click()
{
    ImpostaStampanteGri(false);
}

void FrmSceltaStam::GriPri_KeyDown(int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == 13) {
        GriPri_Click();
        KeyCode = 0;
    }
}

void FrmSceltaStam::griPorte_Click()
{
    const LetturaCatalogo lettura;
    if (!m_opz)
        return;
    const int riga = GriPorte->currentRow();
    if (riga < 0 || !GriPorte->item(riga, 0))
        return;
    const QList<Stampante> sistema = Catalogo().Stampanti();
    const int posizione = GriPorte->item(riga, 0)->text().toInt();
    if (posizione < 0 || posizione >= sistema.size())
        return;
    const Stampante &s = sistema[posizione];
    m_opz->FisFileName(StampanteDiRete(s) ? s.DeviceName : s.Port);
    LabFileStampaFis->setText(m_opz->FisFileName());
    m_opz->FisStampante(-1);
    VisStaAttuale();
}

void FrmSceltaStam::ComUsaDef_Click()
{
    const LetturaCatalogo lettura;
    if (!m_opz)
        return;
    OpzStampa &o = *m_opz;
    if (OptStampaSu(0)->isChecked()) {
        if (ChePdfAutom->isChecked()) {
            ChePdfAutom->setChecked(false);
            return;
        }
        QString nome, mancante, porta;
        bool errore = false;
        try {
            RipristinaStampantePredef(nome, mancante, porta);
        } catch (...) {
            errore = true;
        }
        if (errore || nome.isEmpty()) {
            if (CercaStampanteAltraSessione(mancante, Globali::SessioneTS)) {
                avvisoSessione(mancante);
                return;
            }
            if (Globali::StampanteImpostata == 1) {
                MsgStampantePredefMancante(QStringLiteral("NomeStampante"), mancante, o.SezioneStampa());
                return;
            }
        } else if (CercaStampanteAltraSessione(nome, Globali::SessioneTS)) {
            avvisoSessione(nome);
            return;
        }
        ImpostaStampanteGri(true);
    } else if (OptStampaSu(3)->isChecked()) {
        QString nome, mancante, porta;
        const std::optional<Stampante> s = LeggiStampantePredefinita(nome, mancante, porta);
        if (nome.isEmpty() || !s) {
            MsgStampantePredefMancante(QStringLiteral("FisFileName"), mancante, o.SezioneStampa());
            return;
        }
        o.FisFileName(StampanteDiRete(*s) ? s->DeviceName : s->Port);
        LabFileStampaFis->setText(o.FisFileName());
        o.FisStampante(-1);
        VisStaAttuale();
    }
}
