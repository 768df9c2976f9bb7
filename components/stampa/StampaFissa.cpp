// Fixed-length print: line layout, pages, printer codes.
#include "components/stampa/StampaFissa.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/FormatoVb.h"

#include <QRegularExpression>

namespace
{

constexpr int RigheIntestazione = 3;

// Windows-1252 bytes 0x80-0x9F and the characters they stand for (0: none).
constexpr char16_t Cp1252Alti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The byte of a character in Windows-1252, or -1.
int byteCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252Alti[i] != 0 && Cp1252Alti[i] == c)
            return 0x80 + i;
    return -1;
}

// A text with every control character (line ends, tabs, form feeds, NUL,
// ESC and the rest of C0, DEL and C1) as a blank: a value never moves the
// printer's head nor starts one of its commands.
QString senzaControlli(const QString &testo)
{
    QString t = testo;
    for (QChar &c : t)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return t;
}

QString allinea(const QString &t, int larghezza, bool destra)
{
    if (t.size() > larghezza)
        return t.left(larghezza);
    return destra ? t.rightJustified(larghezza, QLatin1Char(' '))
                  : t.leftJustified(larghezza, QLatin1Char(' '));
}

// Narrows the columns `quali` toward their `minimo`, in proportion to the
// room each has, by `eccesso` characters in all; answers what is left over.
int riduci(QList<int> &larghezze, const QList<int> &minimo, const QList<bool> &quali, int eccesso)
{
    int spazio = 0;
    for (int i = 0; i < larghezze.size(); ++i)
        if (quali[i])
            spazio += qMax(0, larghezze[i] - minimo[i]);
    if (spazio <= 0 || eccesso <= 0)
        return qMax(0, eccesso);
    const int tolti = qMin(spazio, eccesso);
    int resto = tolti;
    for (int i = 0; i < larghezze.size(); ++i) {
        if (!quali[i] || larghezze[i] <= minimo[i])
            continue;
        const int meno = int(qint64(larghezze[i] - minimo[i]) * tolti / spazio);
        larghezze[i] -= meno;
        resto -= meno;
    }
    // What rounding left: one character at a time from the widest.
    while (resto > 0) {
        int piuLarga = -1;
        for (int i = 0; i < larghezze.size(); ++i)
            if (quali[i] && larghezze[i] > minimo[i] &&
                (piuLarga < 0 || larghezze[i] - minimo[i] > larghezze[piuLarga] - minimo[piuLarga]))
                piuLarga = i;
        if (piuLarga < 0)
            break;
        --larghezze[piuLarga];
        --resto;
    }
    return eccesso - tolti + resto;
}

} // namespace

StampaFissa::StampaFissa(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo)
    : m_colonne(colonne), m_titolo(titolo)
{
    // Characters per inch of the printer: 10, or 17 in compressed print.
    const int cpi = opz.FisUtilComp() != 0 ? 17 : 10;
    for (const ColonnaStampa &c : m_colonne)
        m_base << qMax(1, qRound(colonne_stampa::LarghezzaTwip(c) * cpi / 1440.0));
    const int n = int(m_colonne.size());
    m_piuLarghi = QList<int>(n, 0);
    m_parole = m_numeri = m_date = QList<bool>(n, false);
    m_colonneMassime = opz.FisColonne();

    // Whatever the options hold (a page of 2^31 rows included), the page is
    // worked out in 64 bits and refused beyond what a page can hold.
    const qint64 righe = opz.FisRighe(), alto = qMax(0, opz.FisMrAlt()), basso = qMax(0, opz.FisMrBas());
    m_margineAlto = int(qMin<qint64>(alto, OpzStampa::FisMargineMassimo));
    m_margineBasso = int(qMin<qint64>(basso, OpzStampa::FisMargineMassimo));
    if (righe > OpzStampa::FisRigheMassime || alto > OpzStampa::FisMargineMassimo ||
        basso > OpzStampa::FisMargineMassimo) {
        m_erroreImpostazioni =
            QStringLiteral(
                "Le righe per pagina della stampa fissa vanno da 0 a %1 e le righe vuote in alto e in "
                "basso da 0 a %2 ciascuna (ora %3, %4 e %5): correggerle nella scelta della stampa e "
                "ripetere la stampa.")
                .arg(OpzStampa::FisRigheMassime)
                .arg(OpzStampa::FisMargineMassimo)
                .arg(FormatoVb::Intero(righe), FormatoVb::Intero(alto), FormatoVb::Intero(basso));
    } else if (righe > 0) {
        m_righePagina = int(righe - alto - basso - RigheIntestazione);
        if (m_righePagina < 1 && alto + basso + RigheIntestazione + 1 > OpzStampa::FisRigheMassime)
            // Not even the longest page would leave a row for the list.
            m_erroreImpostazioni =
                QStringLiteral(
                    "Con %1 righe vuote in alto e %2 in basso non resta spazio per le righe della lista "
                    "nemmeno con %3 righe per pagina, il massimo: ridurre le righe vuote nella scelta della "
                    "stampa (insieme al più %4) e ripetere la stampa.")
                    .arg(alto)
                    .arg(basso)
                    .arg(OpzStampa::FisRigheMassime)
                    .arg(OpzStampa::FisRigheMassime - RigheIntestazione - 1);
        else if (m_righePagina < 1)
            m_erroreImpostazioni =
                QStringLiteral(
                    "Con %1 righe per pagina, %2 righe vuote in alto e %3 in basso non resta spazio "
                    "per le righe della lista (servono almeno %4 righe per pagina): correggerle nella scelta "
                    "della "
                    "stampa e ripetere la stampa.")
                    .arg(righe)
                    .arg(alto)
                    .arg(basso)
                    .arg(alto + basso + RigheIntestazione + 1);
    }
    if (opz.FisUtilComp() != 0) {
        m_codiceInizio = Codici(opz.FisCodIniComp());
        m_codiceFine = Codici(opz.FisCodFinComp());
    }
    m_paginaDa = qMax(0, opz.ParIntero(QStringLiteral("PaginaDa")));
    m_paginaA = qMax(0, opz.ParIntero(QStringLiteral("PaginaA")));
    calcolaLarghezze(m_colonneMassime);
}

void StampaFissa::Misura(const QList<CellaStampa> &celle)
{
    const qint64 riga = m_righeMisurate++;
    // Rows of pages before the range are not printed.
    if (m_righePagina > 0 && m_paginaDa > 1 && riga < qint64(m_paginaDa - 1) * m_righePagina)
        return;
    m_misurata = true;
    for (int c = 0; c < m_colonne.size() && c < celle.size(); ++c) {
        const CellaStampa &cella = celle[c];
        const QString t = PerCodicePagina(senzaControlli(cella.testo));
        m_piuLarghi[c] = qMax(m_piuLarghi[c], int(t.size()));
        if (colonne_stampa::EValoreNumerico(cella.valore))
            m_numeri[c] = true;
        else if (cella.valore.typeId() == QMetaType::QDate || cella.valore.typeId() == QMetaType::QDateTime)
            m_date[c] = true;
        else if (t.trimmed().contains(QLatin1Char(' ')))
            m_parole[c] = true;
    }
}

bool StampaFissa::MisuraCompleta() const
{
    return m_paginaA > 0 && m_righePagina > 0 && m_righeMisurate >= qint64(m_paginaA) * m_righePagina;
}

void StampaFissa::calcolaLarghezze(int massimo)
{
    const int n = int(m_colonne.size());
    m_larghezze = m_base;
    m_tipi.clear();
    for (int c = 0; c < n; ++c) {
        if (m_misurata)
            m_larghezze[c] = qMax(m_larghezze[c], m_piuLarghi[c]);
        // Before any measure a column's kind is all its header tells.
        Tipo t = Tipo::Rigido;
        if (m_colonne[c].numerica || m_numeri[c])
            t = Tipo::Importo;
        else if (!m_misurata || (m_parole[c] && !m_date[c]))
            t = Tipo::TestoLibero;
        m_tipi << t;
    }
    m_erroreLarghezze.clear();
    const int separatori = qMax(0, n - 1);
    int somma = 0;
    for (int w : m_larghezze)
        somma += w;
    if (massimo > 0 && somma + separatori > massimo) {
        QList<bool> liberi(n), importi(n);
        QList<int> uno(n, 1), importoMinimo(n);
        for (int c = 0; c < n; ++c) {
            liberi[c] = m_tipi[c] == Tipo::TestoLibero;
            importi[c] = m_tipi[c] == Tipo::Importo;
            importoMinimo[c] = m_misurata ? qMin(m_base[c], m_larghezze[c]) : m_larghezze[c];
        }
        int eccesso = riduci(m_larghezze, uno, liberi, somma + separatori - massimo);
        eccesso = riduci(m_larghezze, importoMinimo, importi, eccesso);
        if (eccesso > 0)
            m_erroreLarghezze =
                QStringLiteral(
                    "Le colonne scelte non entrano in una riga di %1 caratteri: i codici, le date e gli "
                    "importi, che non si possono accorciare, ne richiedono almeno %2. Scegliere meno "
                    "colonne, la stampa compressa o più caratteri per riga, e ripetere la stampa.")
                    .arg(massimo)
                    .arg(massimo + eccesso);
    }
    m_larghezzaRiga = separatori;
    for (int w : m_larghezze)
        m_larghezzaRiga += w;
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
    calcolaLarghezze(m_colonneMassime);
    if (!m_erroreLarghezze.isEmpty()) {
        errore = m_erroreLarghezze;
        return false;
    }
    m_fuoriMisura = 0;
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
    QByteArray b = Codifica(t);
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
    riga(allinea(PerCodicePagina(senzaControlli(m_titolo)), spazioTitolo, false) + QLatin1Char(' ') + numero);
    QString didascalie;
    for (int c = 0; c < m_colonne.size(); ++c) {
        if (c > 0)
            didascalie += QLatin1Char(' ');
        didascalie += allinea(PerCodicePagina(senzaControlli(m_colonne[c].didascalia)), m_larghezze[c],
                              m_colonne[c].numerica);
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
        testo += cella(c, celle[c]);
    }
    riga(testo);
}

QString StampaFissa::cella(int colonna, const CellaStampa &c)
{
    const int larghezza = m_larghezze[colonna];
    const QString t = PerCodicePagina(senzaControlli(c.testo));
    const bool numero = colonne_stampa::EValoreNumerico(c.valore);
    if (t.size() <= larghezza)
        return allinea(t, larghezza, numero || m_colonne[colonna].numerica);
    // A number, a code or a date is never shortened: the cell says it overflows.
    if (numero || m_tipi[colonna] != Tipo::TestoLibero) {
        ++m_fuoriMisura;
        return QString(larghezza, QLatin1Char('#'));
    }
    return t.left(larghezza);
}

QString StampaFissa::PerCodicePagina(const QString &testo)
{
    QString r;
    r.reserve(testo.size());
    for (const char32_t c : testo.toUcs4()) {
        if (byteCp1252(c) >= 0) {
            r += QChar(char16_t(c));
            continue;
        }
        // The letter without its accent, when the page has that.
        const QString base = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
        if (!base.isEmpty() && byteCp1252(base.front().unicode()) >= 0 && base.front().unicode() >= 0x20)
            r += base.front();
        else
            r += QLatin1Char('?');
    }
    return r;
}

QByteArray StampaFissa::Codifica(const QString &testo)
{
    QByteArray b;
    b.reserve(testo.size());
    for (const QChar c : testo) {
        const int v = byteCp1252(c.unicode());
        b.append(char(v >= 0 ? v : '?'));
    }
    return b;
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
