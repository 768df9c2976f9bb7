// Fixed-length print: line layout, pages, printer codes.
#include "components/stampa/StampaFissa.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/OpzStampa.h"

#include <QRegularExpression>

namespace {

constexpr int RigheIntestazione = 3;

// A number too wide for its column is shown as '#', never cut.
QString allineaNumero(const QString &testo, int larghezza)
{
    if (testo.size() > larghezza)
        return QString(larghezza, QLatin1Char('#'));
    return testo.rightJustified(larghezza, QLatin1Char(' '));
}

QString allinea(const QString &testo, int larghezza, bool destra)
{
    QString t = testo;
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    t.replace(QLatin1Char('\f'), QLatin1Char(' '));
    if (t.size() > larghezza)
        return t.left(larghezza);
    return destra ? t.rightJustified(larghezza, QLatin1Char(' ')) : t.leftJustified(larghezza, QLatin1Char(' '));
}

} // namespace

StampaFissa::StampaFissa(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo)
    : m_colonne(colonne), m_titolo(titolo)
{
    // Characters per inch of the printer: 10, or 17 in compressed print.
    const int cpi = opz.FisUtilComp() != 0 ? 17 : 10;
    int somma = 0;
    for (const ColonnaStampa &c : m_colonne) {
        const int w = qMax(1, qRound(colonne_stampa::LarghezzaTwip(c) * cpi / 1440.0));
        m_larghezze << w;
        somma += w;
    }
    const int separatori = qMax(0, int(m_colonne.size()) - 1);
    const int massimo = opz.FisColonne();
    if (massimo > 0 && somma + separatori > massimo && somma > 0) {
        // Narrower columns rather than lost ones; past one character each the
        // line is cut at the width the printer holds.
        const double fattore = double(qMax(0, massimo - separatori)) / somma;
        somma = 0;
        for (int &w : m_larghezze) {
            w = qMax(1, int(w * fattore));
            somma += w;
        }
    }
    m_larghezzaRiga = somma + separatori;
    if (massimo > 0)
        m_larghezzaRiga = qMin(m_larghezzaRiga, massimo);

    m_margineAlto = qMax(0, opz.FisMrAlt());
    m_margineBasso = qMax(0, opz.FisMrBas());
    if (opz.FisRighe() > 0) {
        m_righePagina = opz.FisRighe() - m_margineAlto - m_margineBasso - RigheIntestazione;
        if (m_righePagina < 1)
            m_erroreImpostazioni =
                QStringLiteral("Con %1 righe per pagina, %2 righe vuote in alto e %3 in basso non resta spazio "
                               "per le righe della lista (servono almeno %4 righe per pagina).")
                    .arg(opz.FisRighe())
                    .arg(m_margineAlto)
                    .arg(m_margineBasso)
                    .arg(m_margineAlto + m_margineBasso + RigheIntestazione + 1);
    }
    if (opz.FisUtilComp() != 0) {
        m_codiceInizio = Codici(opz.FisCodIniComp());
        m_codiceFine = Codici(opz.FisCodFinComp());
    }
    m_paginaDa = qMax(0, opz.ParIntero(QStringLiteral("PaginaDa")));
    m_paginaA = qMax(0, opz.ParIntero(QStringLiteral("PaginaA")));
}

StampaFissa::~StampaFissa()
{
    Annulla();
}

QByteArray StampaFissa::Codici(const QString &testo)
{
    QByteArray r;
    static const QRegularExpression separatori(QStringLiteral("[,;\\s]+"));
    const QStringList parti = testo.split(separatori, Qt::SkipEmptyParts);
    for (const QString &p : parti) {
        bool ok = false;
        const int n = p.toInt(&ok);
        if (ok && n >= 0 && n <= 255)
            r.append(char(n));
        else
            r.append(p.toLatin1());
    }
    return r;
}

bool StampaFissa::Apri(const QString &percorso, QString &errore)
{
    if (!m_erroreImpostazioni.isEmpty()) {
        errore = m_erroreImpostazioni;
        return false;
    }
    m_dati.clear();
    m_inMemoria = percorso.isEmpty();
    if (!m_inMemoria && !m_file.Apri(percorso, errore))
        return false;
    m_pagina = 0;
    m_righe = 0;
    m_paginaAperta = false;
    return true;
}

void StampaFissa::scrivi(const QByteArray &b)
{
    if (m_inMemoria) {
        m_dati.append(b);
        return;
    }
    m_file.Buffer().append(b);
    m_file.Aggiunto();
}

bool StampaFissa::paginaStampata(int pagina) const
{
    return pagina >= qMax(1, m_paginaDa) && (m_paginaA <= 0 || pagina <= m_paginaA);
}

bool StampaFissa::Completa() const
{
    if (m_paginaA <= 0)
        return false;
    if (m_pagina > m_paginaA)
        return true;
    return m_pagina == m_paginaA && m_righePagina > 0 && m_righeInPagina >= m_righePagina;
}

void StampaFissa::riga(const QString &testo)
{
    QString t = testo.size() > m_larghezzaRiga ? testo.left(m_larghezzaRiga)
                                               : testo.leftJustified(m_larghezzaRiga, QLatin1Char(' '));
    QByteArray b = t.toLatin1();
    b.append("\r\n");
    scrivi(b);
}

void StampaFissa::rigaVuota()
{
    scrivi(QByteArrayLiteral("\r\n"));
}

void StampaFissa::iniziaPagina()
{
    ++m_pagina;
    m_righeInPagina = 0;
    m_paginaAperta = true;
    if (!paginaStampata(m_pagina))
        return;
    for (int i = 0; i < m_margineAlto; ++i)
        rigaVuota();
    const QString numero = QStringLiteral("Pag. %1").arg(m_pagina);
    const int spazioTitolo = qMax(0, m_larghezzaRiga - int(numero.size()) - 1);
    riga(allinea(m_titolo, spazioTitolo, false) + QLatin1Char(' ') + numero);
    QString didascalie;
    for (int c = 0; c < m_colonne.size(); ++c) {
        if (c > 0)
            didascalie += QLatin1Char(' ');
        didascalie += allinea(m_colonne[c].didascalia, m_larghezze[c], m_colonne[c].numerica);
    }
    riga(didascalie);
    riga(QString(m_larghezzaRiga, QLatin1Char('-')));
}

void StampaFissa::chiudiPagina()
{
    if (!m_paginaAperta)
        return;
    m_paginaAperta = false;
    if (!paginaStampata(m_pagina))
        return;
    for (int i = 0; i < m_margineBasso; ++i)
        rigaVuota();
    if (m_righePagina > 0)
        scrivi(QByteArrayLiteral("\f"));
}

void StampaFissa::ScriviIntestazione()
{
    scrivi(m_codiceInizio);
    iniziaPagina();
}

void StampaFissa::ScriviRiga(const QList<CellaStampa> &celle)
{
    if (!m_paginaAperta)
        iniziaPagina();
    if (m_righePagina > 0 && m_righeInPagina >= m_righePagina) {
        chiudiPagina();
        iniziaPagina();
    }
    ++m_righeInPagina;
    ++m_righe;
    if (!paginaStampata(m_pagina))
        return;
    QString testo;
    testo.reserve(m_larghezzaRiga + 8);
    for (int c = 0; c < m_colonne.size(); ++c) {
        if (c > 0)
            testo += QLatin1Char(' ');
        if (c >= celle.size()) {
            testo += QString(m_larghezze[c], QLatin1Char(' '));
            continue;
        }
        if (colonne_stampa::EValoreNumerico(celle[c].valore))
            testo += allineaNumero(celle[c].testo, m_larghezze[c]);
        else
            testo += allinea(celle[c].testo, m_larghezze[c], m_colonne[c].numerica);
    }
    riga(testo);
}

bool StampaFissa::Chiudi(QString &errore)
{
    if (!m_inMemoria && !m_file.Aperto()) {
        errore = QStringLiteral("Il file di stampa non è aperto");
        return false;
    }
    if (!m_paginaAperta && m_pagina == 0)
        iniziaPagina();
    chiudiPagina();
    scrivi(m_codiceFine);
    return m_inMemoria || m_file.Conferma(errore);
}

void StampaFissa::Annulla()
{
    m_file.Scarta();
}
