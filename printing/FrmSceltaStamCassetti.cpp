// The print-choice dialog's paper trays and paper sizes: the two lists filled
// from what the printer catalogue reports for the chosen printer, the stored
// tray and paper selected, the paper in use marked, and the choice written
// back as a number.
#include "printing/FrmSceltaStam.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampanteApp.h"
#include "components/util/UtilGlob.h"
#include "printing/MessaggiStampa.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QComboBox>

namespace
{

const QString Nessuna = QStringLiteral("Nessuna impostazione - Default");

// Refills a list without raising its click: the caller raises it once, when
// the selection is in place.
class Riempimento
{
  public:
    explicit Riempimento(QComboBox *c) : m_c(c)
    {
        m_c->blockSignals(true);
        m_c->clear();
        m_c->addItem(Nessuna);
    }
    ~Riempimento() { m_c->blockSignals(false); }

  private:
    QComboBox *m_c;
};

// The number before the first "-" of an entry; 0 for the first entry or an
// entry without one.
int numeroVoce(const QComboBox *c)
{
    if (c->currentIndex() <= 0)
        return 0;
    const QString voce = c->currentText();
    const int p = voce.indexOf(QLatin1Char('-'));
    if (p <= 0)
        return 0;
    const QVariant n = Globali::Util().TestoInNumero(voce.left(p).trimmed(), true, true);
    const double d = n.toDouble();
    return d > 32767 || d < -32768 ? 0 : int(d);
}

} // namespace

void FrmSceltaStam::StampanteDaInterrogare(QString &device, QString &porta) const
{
    if (Globali::Util().ValoreVuoto(m_opz->osNomeStampante())) {
        const Stampante s = StampanteApp::Corrente();
        device = s.DeviceName;
        porta = s.Port;
    } else {
        device = m_opz->osNomeStampante();
        porta = m_opz->NomePorta();
    }
}

void FrmSceltaStam::ImpostaCboCassetti()
{
    if (!m_opz)
        return;
    CursoreAttesa(true);
    try {
        QString device, porta;
        StampanteDaInterrogare(device, porta);
        const bool senza =
            ElencoNoCassetti.toLower() == QLatin1String("tutte") ||
            ElencoNoCassetti.contains(QLatin1Char(',') + device + QLatin1Char(','), Qt::CaseInsensitive);
        int s = 0;
        {
            Riempimento r(cboCassetti);
            const QList<VoceCarta> cassetti = senza ? QList<VoceCarta>() : Catalogo().Cassetti(device);
            const int memorizzato = m_opz->ParIntero(QStringLiteral("NumCassetto"));
            for (const VoceCarta &v : cassetti) {
                cboCassetti->addItem(QString::number(v.numero).rightJustified(6) + QStringLiteral(" - ") +
                                     v.nome);
                if (v.numero == memorizzato)
                    s = cboCassetti->count() - 1;
            }
            cboCassetti->setCurrentIndex(s);
        }
        cboCassetti_Click();
    } catch (...) {
        CursoreAttesa(false);
        MsgErrfrm();
        return;
    }
    CursoreAttesa(false);
}

void FrmSceltaStam::ImpostaCboTipoCarta()
{
    if (!m_opz)
        return;
    CursoreAttesa(true);
    try {
        GetPaperList(true);
    } catch (...) {
        CursoreAttesa(false);
        MsgErrfrm();
        return;
    }
    CursoreAttesa(false);
}

void FrmSceltaStam::GetPaperList(bool pbSettaCbo)
{
    if (!m_opz)
        return;
    QString device, porta;
    StampanteDaInterrogare(device, porta);
    // The paper in use: the current printer's, or the installed printer's of
    // that name; none for a printer not installed.
    int inUso = -1;
    if (m_opz->osNomeStampante().isEmpty()) {
        inUso = StampanteApp::Corrente().PaperSize;
    } else {
        const Stampante s = Catalogo().Cerca(device);
        if (s.valida())
            inUso = s.PaperSize;
    }
    QList<VoceCarta> carte;
    if (!Catalogo().LeggiCarte(device, carte)) {
        // The list stays as it was.
        msgCom(QStringLiteral("Errore nel driver nella ricerca informazioni Papersize"),
               QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
        return;
    }
    auto voce = [&](const VoceCarta &c) {
        return QString::number(c.numero) + QStringLiteral(" - ") + c.nome +
               (c.numero == inUso ? QStringLiteral(" (ATTUALE)") : QString());
    };
    if (!pbSettaCbo) {
        QString testo = QStringLiteral("Formati disponibili ");
        for (const VoceCarta &c : carte)
            testo += QStringLiteral("\r\n") + voce(c);
        MessaggiStampa::Avviso(testo);
        return;
    }
    int s = 0;
    {
        Riempimento r(cboTipoCarta);
        const int memorizzata = m_opz->ParIntero(QStringLiteral("NumTipoCarta"));
        for (const VoceCarta &c : carte) {
            cboTipoCarta->addItem(voce(c));
            if (c.numero == memorizzata)
                s = cboTipoCarta->count() - 1;
        }
        cboTipoCarta->setCurrentIndex(s);
    }
    cboTipoCarta_Click();
}

void FrmSceltaStam::cboCassetti_Click()
{
    if (!m_opz)
        return;
    m_opz->ImpostaParStampa(QStringLiteral("NumCassetto"), numeroVoce(cboCassetti));
    VisStaAttuale();
}

void FrmSceltaStam::cboTipoCarta_Click()
{
    if (!m_opz)
        return;
    m_opz->ImpostaParStampa(QStringLiteral("NumTipoCarta"), numeroVoce(cboTipoCarta));
    VisStaAttuale();
}
