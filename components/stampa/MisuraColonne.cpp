// Widest values of the columns of a paged print.
#include "components/stampa/MisuraColonne.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/ImpaginazioneLista.h"

MisuraColonne::MisuraColonne(const QList<ColonnaStampa> &colonne, const QFont &font)
    : m_colonne(int(colonne.size()))
{
    // At the size the layout takes the font at.
    m_punti = ImpaginazioneLista::PuntiFont(font);
    QFont f = font;
    f.setPointSizeF(m_punti);
    // Metrics on a 72 dpi image, where a point is a pixel (as the layout).
    m_riferimento = QImage(1, 1, QImage::Format_RGB32);
    const int dpm72 = qRound(72 / 0.0254);
    m_riferimento.setDotsPerMeterX(dpm72);
    m_riferimento.setDotsPerMeterY(dpm72);
    m_fm = std::make_unique<QFontMetricsF>(f, &m_riferimento);
    for (int c = 0; c < 256; ++c)
        m_larghezzaCarattere[size_t(c)] = m_fm->horizontalAdvance(QChar(c));
    m_larghezzaMassima = m_fm->maxWidth();
    m_glifoMassimo = m_larghezzaMassima;
    for (int c = 32; c < 256; ++c) {
        if (c >= 0x7f && c < 0xa0)
            continue;
        m_glifoMassimo = qMax(m_glifoMassimo, m_larghezzaCarattere[size_t(c)]);
        if (c >= '0' && c <= '9')
            m_cifraMassima = qMax(m_cifraMassima, m_larghezzaCarattere[size_t(c)]);
    }
    m_piuLarghi = m_parolePiuLunghe = QList<double>(m_colonne, 0.0);
    m_parole = m_rigide = QList<bool>(m_colonne, false);
    for (int c = 0; c < m_colonne; ++c)
        m_rigide[c] = colonne[c].numerica;
}

MisuraColonne::~MisuraColonne() = default;

double MisuraColonne::stimata(const QString &testo) const
{
    double w = 0;
    for (const QChar c : testo)
        w += c.unicode() < 256 ? m_larghezzaCarattere[c.unicode()] : m_larghezzaMassima;
    return w;
}

double MisuraColonne::parolaPiuLunga(const QString &testo) const
{
    double massima = 0, parola = 0;
    for (const QChar c : testo) {
        if (c.isSpace()) {
            parola = 0;
            continue;
        }
        parola += c.unicode() < 256 ? m_larghezzaCarattere[c.unicode()] : m_larghezzaMassima;
        massima = qMax(massima, parola);
    }
    return massima;
}

void MisuraColonne::Misura(const QList<CellaStampa> &celle)
{
    const int n = qMin(m_colonne, int(celle.size()));
    for (int c = 0; c < n; ++c) {
        const CellaStampa &cella = celle[c];
        if (cella.testo.isEmpty())
            continue;
        const int tipo = cella.valore.typeId();
        if (colonne_stampa::EValoreNumerico(cella.valore) || tipo == QMetaType::QDate ||
            tipo == QMetaType::QDateTime)
            m_rigide[c] = true;
        else if (!m_parole[c] && cella.testo.trimmed().contains(QLatin1Char(' ')))
            m_parole[c] = true;
        // The sum of the character widths is close; the exact width is taken
        // only for a text that may be the widest.
        const double stima = stimata(cella.testo);
        if (stima > m_piuLarghi[c] * 0.95)
            m_piuLarghi[c] = qMax(m_piuLarghi[c], qMax(stima, m_fm->horizontalAdvance(cella.testo)));
        // No word is longer than its text: most texts are passed by.
        if (!m_rigide[c] && stima > m_parolePiuLunghe[c])
            m_parolePiuLunghe[c] = qMax(m_parolePiuLunghe[c], parolaPiuLunga(cella.testo));
    }
}

void MisuraColonne::Limita(int colonna, const LimiteColonna &limite)
{
    if (colonna < 0 || colonna >= m_colonne)
        return;
    double w = limite.caratteri * (limite.soloCifre ? m_cifraMassima : m_glifoMassimo);
    // A value of a fixed form has no more digits than its example, and the
    // same other characters.
    for (const QString &esempio : limite.esempi) {
        double e = 0;
        for (const QChar c : esempio)
            e += c.isDigit() ? m_cifraMassima
                             : (c.unicode() < 256 ? m_larghezzaCarattere[c.unicode()] : m_glifoMassimo);
        w = qMax(w, e);
    }
    // Fixed forms are taken as they are; a declared size is taken where it
    // is close to the widest value read, not where it would waste the page
    // (a text declared of 60 characters, of names of 30; a code of 6 wide
    // letters, of two digits).
    const bool fissa = !limite.esempi.isEmpty();
    if (w > 0 && (fissa || w <= m_piuLarghi[colonna] * Vicino))
        m_piuLarghi[colonna] = qMax(m_piuLarghi[colonna], w);
    m_parole[colonna] = m_parole[colonna] || limite.parole;
    m_rigide[colonna] = m_rigide[colonna] || limite.rigida;
}

bool MisuraColonne::Restringibile(int colonna) const
{
    return colonna >= 0 && colonna < m_colonne && m_parole[colonna] && !m_rigide[colonna];
}
