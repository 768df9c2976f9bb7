// Page layout of a list print and the drawing of one page.
#include "components/stampa/ImpaginazioneLista.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/MisuraColonne.h"

#include <QPainter>
#include <cmath>

namespace
{

// Between two columns, in points at full size: the room wanted, and the
// least it narrows to before texts wrap more.
constexpr double Spazio = 8.0;
constexpr double SpazioMinimo = 4.0;

// The widest word of a caption.
double parolaPiuLunga(const QString &testo, const QFontMetricsF &fm)
{
    double w = 0;
    for (const QString &p : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        w = qMax(w, fm.horizontalAdvance(p));
    return w;
}

// A caption on as many lines as its column needs: words kept whole where
// they fit, a word wider than the column broken between letters.
QStringList aCapo(const QString &testo, const QFontMetricsF &fm, double larghezza)
{
    QStringList righe;
    QString riga;
    const auto chiudi = [&] {
        if (!riga.isEmpty())
            righe << riga;
        riga.clear();
    };
    for (QString parola : testo.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + QLatin1Char(' ') + parola;
        if (fm.horizontalAdvance(prova) <= larghezza) {
            riga = prova;
            continue;
        }
        chiudi();
        while (fm.horizontalAdvance(parola) > larghezza && parola.size() > 1) {
            int k = 1;
            while (k < parola.size() && fm.horizontalAdvance(parola.left(k + 1)) <= larghezza)
                ++k;
            righe << parola.left(k);
            parola = parola.mid(k);
        }
        riga = parola;
    }
    chiudi();
    if (righe.isEmpty())
        righe << QString();
    return righe;
}

// Narrows the columns `quali` toward their `minimo`, in proportion to the
// room each has, by `eccesso` points in all; answers what is left over.
double riduci(QList<double> &larghezze, const QList<double> &minimo, const QList<bool> &quali, double eccesso)
{
    double spazio = 0;
    for (int i = 0; i < larghezze.size(); ++i)
        if (quali[i])
            spazio += qMax(0.0, larghezze[i] - minimo[i]);
    if (spazio <= 0 || eccesso <= 0)
        return qMax(0.0, eccesso);
    const double tolti = qMin(spazio, eccesso);
    for (int i = 0; i < larghezze.size(); ++i)
        if (quali[i] && larghezze[i] > minimo[i])
            larghezze[i] -= (larghezze[i] - minimo[i]) * tolti / spazio;
    return eccesso - tolti;
}

// Narrows the columns `quali` by `eccesso` points in all, each to the same
// share of the width it has, none below its `minimo`: their texts then wrap
// alike (a long name is not squeezed to its least while a short town keeps
// its room, which would put the name on three lines for one of the town's).
// Answers what is left over.
double restringiInProporzione(QList<double> &larghezze, const QList<double> &minimo, const QList<bool> &quali,
                              double eccesso)
{
    if (eccesso <= 0)
        return qMax(0.0, eccesso);
    double totale = 0;
    QList<bool> scalabili(larghezze.size(), false);
    for (int i = 0; i < larghezze.size(); ++i)
        if (quali[i]) {
            totale += larghezze[i];
            scalabili[i] = larghezze[i] > minimo[i];
        }
    const double obiettivo = totale - eccesso;
    // The columns that reach their least stay there; the others share the rest.
    for (int giro = 0; giro <= larghezze.size(); ++giro) {
        double fisse = 0, voluta = 0;
        for (int i = 0; i < larghezze.size(); ++i)
            if (quali[i])
                (scalabili[i] ? voluta : fisse) +=
                    scalabili[i] ? larghezze[i] : qMin(larghezze[i], minimo[i]);
        const double fattore = voluta > 0 ? qMax(0.0, (obiettivo - fisse) / voluta) : 0;
        bool cambiato = false;
        for (int i = 0; i < larghezze.size(); ++i)
            if (scalabili[i] && larghezze[i] * fattore < minimo[i]) {
                scalabili[i] = false;
                cambiato = true;
            }
        if (cambiato)
            continue;
        double ottenuto = 0;
        for (int i = 0; i < larghezze.size(); ++i) {
            if (!quali[i])
                continue;
            larghezze[i] = scalabili[i] ? larghezze[i] * qMin(1.0, fattore) : qMin(larghezze[i], minimo[i]);
            ottenuto += larghezze[i];
        }
        return qMax(0.0, ottenuto - obiettivo);
    }
    return qMax(0.0, eccesso);
}

// Points in whole millimetres, for a message (a width past any paper
// included).
qint64 millimetri(double punti)
{
    return qRound64(qBound(0.0, punti * 25.4 / 72, 1e15));
}

} // namespace

ImpaginazioneLista::ImpaginazioneLista(const QList<ColonnaStampa> &colonne, const QFont &font,
                                       const QPageLayout &pagina, const Testate &testate,
                                       const MisuraColonne *misura)
    : m_colonne(colonne), m_testate(testate), m_layout(pagina)
{
    m_riferimento = QImage(1, 1, QImage::Format_RGB32);
    const int dpm72 = qRound(72 / 0.0254);
    m_riferimento.setDotsPerMeterX(dpm72);
    m_riferimento.setDotsPerMeterY(dpm72);

    m_pagina = m_layout.fullRect(QPageLayout::Point).size();
    m_area = m_layout.paintRect(QPageLayout::Point);
    disponi(font, misura);

    m_fm = std::make_unique<QFontMetricsF>(m_font, &m_riferimento);
    m_fmGrassetto = std::make_unique<QFontMetricsF>(m_fontGrassetto, &m_riferimento);
    m_fmTitolo = std::make_unique<QFontMetricsF>(m_fontTitolo, &m_riferimento);
    for (int c = 0; c < 256; ++c)
        m_larghezzaCarattere[size_t(c)] = m_fm->horizontalAdvance(QChar(c));
    m_larghezzaMassima = m_fm->maxWidth();

    int righeDidascalie = 1;
    m_didascalie.clear();
    for (int c = 0; c < m_colonne.size(); ++c) {
        m_didascalie << aCapo(m_colonne[c].didascalia, *m_fmGrassetto, m_larghezze[c]);
        righeDidascalie = qMax(righeDidascalie, int(m_didascalie.last().size()));
    }

    // The font is at least FontMinimo points: a line is never of no height.
    const double punti = m_font.pointSizeF();
    m_altezzaRiga = std::ceil(qMax(m_fm->height(), m_fmGrassetto->height()) * 1.15 * 100) / 100;
    m_altezzaRiga = qMax(m_altezzaRiga, punti);
    m_ascesa = m_fm->ascent() + (m_altezzaRiga - m_fm->height()) / 2;
    // Header: description and date, title, captions and their rule.
    m_inizioRighe =
        m_area.top() + m_altezzaRiga + m_fmTitolo->height() * 1.3 + m_altezzaRiga * righeDidascalie + 4;
    m_piede = m_altezzaRiga;
    const double altezza = m_area.bottom() - m_piede - 2 - m_inizioRighe;
    m_righePerPagina = int(qBound(1.0, std::floor(altezza / m_altezzaRiga), 100000.0));
}

void ImpaginazioneLista::disponi(const QFont &font, const MisuraColonne *misura)
{
    const int n = int(m_colonne.size());
    const double punti = PuntiFont(font);
    QFont grassetto = font;
    grassetto.setPointSizeF(punti);
    grassetto.setBold(true);
    const QFontMetricsF fmGrassetto(grassetto, &m_riferimento);
    QFont normale = font;
    normale.setPointSizeF(punti);
    const QFontMetricsF fm(normale, &m_riferimento);

    // At the font chosen, for each column: the width it wants (its widest
    // value and its caption's longest word); the least it keeps before the
    // font gets smaller (texts of several words their longest word and
    // about ten characters, or two lines, see below; the others what they
    // want); the least it keeps at all (texts of several words about six
    // characters, the others their widest value). Every width follows the
    // font's size.
    QList<double> voluta(n), morbida(n), dura(n), dueLinee(n);
    QList<bool> libere(n, false), rigide(n, false);
    // Without measures, texts wrap in the list's own widths.
    m_aCapo = QList<bool>(n, false);
    for (int c = 0; c < n; ++c) {
        const double lista = colonne_stampa::LarghezzaTwip(m_colonne[c]) / 20.0;
        if (!misura) {
            voluta[c] = morbida[c] = dura[c] = lista;
            m_aCapo[c] = !m_colonne[c].numerica;
            continue;
        }
        // A little room for the hinting of other sizes.
        const double scala = punti / misura->Punti();
        const double valore = misura->PiuLargo(c) > 0 ? misura->PiuLargo(c) * scala * 1.02 + 1 : 0;
        const double parola = parolaPiuLunga(m_colonne[c].didascalia, fmGrassetto) * 1.03 + 1;
        voluta[c] = qMax(valore, parola);
        m_aCapo[c] = libere[c] = misura->Restringibile(c);
        rigide[c] = !libere[c];
        if (libere[c]) {
            const double parolaValori = misura->ParolaPiuLunga(c) * scala * 1.02 + 1;
            morbida[c] = qMin(voluta[c], qMax(qMax(parola, parolaValori), fm.averageCharWidth() * 10));
            dueLinee[c] = qMax(morbida[c], voluta[c] / 2);
            dura[c] = qMin(voluta[c], fm.averageCharWidth() * 6);
        } else {
            dura[c] = valore > 0 ? valore : qMin(voluta[c], fm.averageCharWidth() * 4);
            morbida[c] = dueLinee[c] = voluta[c];
        }
    }
    // A text of several words keeps half the room it wants (its widest value
    // on two lines, three where the words fall badly) before the font gets
    // smaller, as long as the font then keeps 70 % of its size: a name on
    // four or six lines would take the page's rows, and a font much smaller
    // every row's legibility.
    if (misura) {
        double dueRighe = SpazioMinimo * qMax(0, n - 1);
        for (double w : dueLinee)
            dueRighe += w;
        if (dueRighe * 0.7 <= m_area.width())
            morbida = dueLinee;
    }
    const auto somma = [&](const QList<double> &w, double spazio) {
        double s = spazio * qMax(0, n - 1);
        for (double x : w)
            s += x;
        return s;
    };
    const double larghezza = m_area.width();
    m_larghezze = voluta;
    double spazio = Spazio;
    double dimensione = punti;
    double eccesso = somma(m_larghezze, spazio) - larghezza;
    if (eccesso < 0 && misura) {
        // Room to spare goes to the texts of several words: the columns are
        // laid out from the first rows, and a longer name further down then
        // has the room the page offers before it wraps.
        double libero = 0;
        for (int c = 0; c < n; ++c)
            libero += libere[c] ? m_larghezze[c] : 0;
        for (int c = 0; c < n && libero > 0; ++c)
            if (libere[c])
                m_larghezze[c] -= eccesso * m_larghezze[c] / libero;
        eccesso = libero > 0 ? 0 : eccesso;
    }
    if (eccesso > 0 && n > 1) {
        // The room between the columns narrows first.
        const double tolto = qMin(eccesso, (Spazio - SpazioMinimo) * (n - 1));
        spazio -= tolto / (n - 1);
        eccesso -= tolto;
    }
    if (eccesso > 0) {
        // The texts of several words wrap more, each keeping the same share
        // of the room it wants.
        eccesso = restringiInProporzione(m_larghezze, morbida, libere, eccesso);
        eccesso = riduci(m_larghezze, morbida, rigide, eccesso);
    }
    if (eccesso > 0) {
        // Then the font, down to its least size.
        const double fattore = qMax(FontMinimo / punti, larghezza / (larghezza + eccesso));
        dimensione = punti * fattore;
        for (QList<double> *w : {&m_larghezze, &dura})
            for (double &x : *w)
                x *= fattore;
        spazio *= fattore;
        eccesso = somma(m_larghezze, spazio) - larghezza;
        if (eccesso > 0.001) {
            // At the least size: texts and captions give up the rest.
            eccesso = riduci(m_larghezze, dura, libere, eccesso);
            eccesso = riduci(m_larghezze, dura, rigide, eccesso);
        }
        if (eccesso > 0.001) {
            if (misura)
                m_errore = QStringLiteral(
                               "Le colonne scelte non entrano nella larghezza del foglio nemmeno con il "
                               "carattere più piccolo (%1 punti) senza tagliare codici, numeri o date: "
                               "servirebbero %2 mm, il foglio ne offre %3. Scegliere \"Solo le colonne "
                               "visibili\", l'orientamento orizzontale o un foglio più grande, e ripetere "
                               "la stampa.")
                               .arg(FontMinimo)
                               .arg(millimetri(larghezza + eccesso))
                               .arg(millimetri(larghezza));
            // The list's own widths, narrowed with the font as they are.
            const double f = larghezza / (larghezza + eccesso);
            for (double &x : m_larghezze)
                x *= f;
            spazio *= f;
        }
    }
    // Every row takes one line when every row was measured and each widest
    // text of several words fits its column (as a cell is told to fit),
    // at the size it was measured at.
    m_righeDiUnaLinea = misura && misura->Completa() && dimensione == misura->Punti();
    for (int c = 0; c < n && m_righeDiUnaLinea; ++c)
        if (m_aCapo[c] && misura->PiuLargo(c) > m_larghezze[c] * 0.98)
            m_righeDiUnaLinea = false;

    m_x.clear();
    double x = m_area.left();
    for (double w : m_larghezze) {
        m_x << x;
        x += w + spazio;
    }

    m_font = font;
    m_font.setPointSizeF(dimensione);
    m_fontGrassetto = m_font;
    m_fontGrassetto.setBold(true);
    m_fontTitolo = m_fontGrassetto;
    m_fontTitolo.setPointSizeF(dimensione + 2);
}

ImpaginazioneLista::~ImpaginazioneLista() = default;

double ImpaginazioneLista::PuntiFont(const QFont &font)
{
    double punti = 10.0;
    if (font.pointSizeF() > 0)
        punti = font.pointSizeF();
    else if (font.pixelSize() > 0)
        punti = font.pixelSize();
    return qBound(FontMinimo, punti, FontMassimo);
}

int ImpaginazioneLista::Pagine(qint64 righe) const
{
    if (righe <= 0)
        return 1;
    return int((righe + m_righePerPagina - 1) / m_righePerPagina);
}

double ImpaginazioneLista::larghezzaStimata(const QString &testo) const
{
    double w = 0;
    for (const QChar c : testo)
        w += c.unicode() < 256 ? m_larghezzaCarattere[c.unicode()] : m_larghezzaMassima;
    return w;
}

QStringList ImpaginazioneLista::lineeCella(const QString &testo, int colonna) const
{
    const double w = m_larghezze[colonna];
    // Most texts fit: the sum of the character widths tells without laying
    // the text out (with a little room for kerning).
    if (!m_aCapo[colonna] || larghezzaStimata(testo) <= w * 0.98 || m_fm->horizontalAdvance(testo) <= w)
        return {testo};
    return aCapo(testo, *m_fm, w);
}

int ImpaginazioneLista::Linee(const QList<CellaStampa> &riga) const
{
    int linee = 1;
    const int n = qMin(int(riga.size()), int(m_colonne.size()));
    for (int c = 0; c < n; ++c)
        if (m_aCapo[c] && !riga[c].testo.isEmpty())
            linee = qMax(linee, int(lineeCella(riga[c].testo, c).size()));
    return qMin(linee, m_righePerPagina);
}

void ImpaginazioneLista::disegnaTesto(QPainter &p, const QString &testo, int colonna, double baseline) const
{
    const double x = m_x[colonna];
    const double w = m_larghezze[colonna];
    const Qt::Alignment a = m_colonne[colonna].allineamento;
    if (!(a & (Qt::AlignRight | Qt::AlignHCenter)) && larghezzaStimata(testo) <= w * 0.98) {
        p.drawText(QPointF(x, baseline), testo);
        return;
    }
    const double larghezza = m_fm->horizontalAdvance(testo);
    if (larghezza > w && w > 0) {
        // A code, a number or a date wider than its column (the columns are
        // laid out from the first rows): printed whole, condensed into it.
        p.save();
        p.translate(x, baseline);
        p.scale(w / larghezza, 1);
        p.drawText(QPointF(0, 0), testo);
        p.restore();
        return;
    }
    double sx = x;
    if (a & Qt::AlignRight)
        sx = x + w - larghezza;
    else if (a & Qt::AlignHCenter)
        sx = x + (w - larghezza) / 2;
    p.drawText(QPointF(sx, baseline), testo);
}

void ImpaginazioneLista::disegnaCella(QPainter &p, const QString &testo, int colonna, double baseline,
                                      int linee) const
{
    if (testo.isEmpty())
        return;
    if (!m_aCapo[colonna]) {
        disegnaTesto(p, testo, colonna, baseline);
        return;
    }
    // A text wider than its column goes on to the lines below, within its row.
    const QStringList righe = lineeCella(testo, colonna);
    for (int r = 0; r < righe.size() && r < linee; ++r)
        disegnaTesto(p, righe[r], colonna, baseline + r * m_altezzaRiga);
}

void ImpaginazioneLista::DisegnaPagina(QPainter &p, int numero, int totale,
                                       const QList<QList<CellaStampa>> &righe, int quante) const
{
    p.save();
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    double y = m_area.top();

    p.setFont(m_font);
    p.drawText(QPointF(m_area.left(), y + m_ascesa),
               m_fm->elidedText(m_testate.descrizionePrg, Qt::ElideRight, m_area.width() * 0.6));
    if (!m_testate.data.isEmpty())
        p.drawText(QPointF(m_area.right() - m_fm->horizontalAdvance(m_testate.data), y + m_ascesa),
                   m_testate.data);
    y += m_altezzaRiga;

    p.setFont(m_fontTitolo);
    const QString titolo = m_fmTitolo->elidedText(m_testate.titolo, Qt::ElideRight, m_area.width());
    p.drawText(QPointF(m_area.left() + (m_area.width() - m_fmTitolo->horizontalAdvance(titolo)) / 2,
                       y + m_fmTitolo->ascent()),
               titolo);
    y += m_fmTitolo->height() * 1.3;

    p.setFont(m_fontGrassetto);
    int righeDidascalie = 1;
    for (int c = 0; c < m_colonne.size(); ++c) {
        const QStringList &linee = m_didascalie[c];
        righeDidascalie = qMax(righeDidascalie, int(linee.size()));
        for (int r = 0; r < linee.size(); ++r) {
            const QString &d = linee[r];
            double x = m_x[c];
            const Qt::Alignment a = m_colonne[c].allineamento;
            if (a & Qt::AlignRight)
                x += m_larghezze[c] - m_fmGrassetto->horizontalAdvance(d);
            else if (a & Qt::AlignHCenter)
                x += (m_larghezze[c] - m_fmGrassetto->horizontalAdvance(d)) / 2;
            p.drawText(QPointF(x, y + m_altezzaRiga * r + m_ascesa), d);
        }
    }
    y += m_altezzaRiga * righeDidascalie + 1;
    p.setPen(QPen(Qt::black, 0.5));
    p.drawLine(QPointF(m_area.left(), y), QPointF(m_area.right(), y));
    p.setPen(Qt::black);

    p.setFont(m_font);
    y = m_inizioRighe;
    const int numeroRighe = quante < 0 ? int(righe.size()) : qMin(quante, int(righe.size()));
    int usate = 0;
    for (int r = 0; r < numeroRighe && usate < m_righePerPagina; ++r) {
        const QList<CellaStampa> &riga = righe[r];
        const double baseline = y + m_ascesa;
        const int linee = qMin(Linee(riga), m_righePerPagina - usate);
        const int n = qMin(int(riga.size()), int(m_colonne.size()));
        for (int c = 0; c < n; ++c)
            disegnaCella(p, riga[c].testo, c, baseline, linee);
        y += m_altezzaRiga * linee;
        usate += linee;
    }

    const QString pagina = totale > 0 ? QStringLiteral("Pag. %1 di %2").arg(numero).arg(totale)
                                      : QStringLiteral("Pag. %1").arg(numero);
    p.drawText(QPointF(m_area.left() + (m_area.width() - m_fm->horizontalAdvance(pagina)) / 2,
                       m_area.bottom() - m_piede + m_ascesa),
               pagina);
    p.restore();
}
