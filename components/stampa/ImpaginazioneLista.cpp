// Page layout of a list print and the drawing of one page.
#include "components/stampa/ImpaginazioneLista.h"

#include "components/stampa/ColonneStampa.h"

#include <QPainter>
#include <cmath>

namespace {

constexpr double Spazio = 8.0;  // between two columns, in points at full size

double puntiFont(const QFont &f)
{
    if (f.pointSizeF() > 0)
        return f.pointSizeF();
    if (f.pixelSize() > 0)
        return f.pixelSize();
    return 10.0;
}

} // namespace

ImpaginazioneLista::ImpaginazioneLista(const QList<ColonnaStampa> &colonne, const QFont &font,
                                       const QPageLayout &pagina, const Testate &testate)
    : m_colonne(colonne), m_testate(testate), m_layout(pagina)
{
    m_riferimento = QImage(1, 1, QImage::Format_RGB32);
    const int dpm72 = qRound(72 / 0.0254);
    m_riferimento.setDotsPerMeterX(dpm72);
    m_riferimento.setDotsPerMeterY(dpm72);

    m_pagina = m_layout.fullRect(QPageLayout::Point).size();
    m_area = m_layout.paintRect(QPageLayout::Point);

    // Columns at the list's own widths, narrowed together with the font when
    // the list is wider than the paper.
    double somma = 0;
    for (const ColonnaStampa &c : m_colonne) {
        const double w = colonne_stampa::LarghezzaTwip(c) / 20.0;
        m_larghezze << w;
        somma += w;
    }
    double spazio = Spazio;
    const double totale = somma + spazio * qMax(0, int(m_colonne.size()) - 1);
    double dimensione = puntiFont(font);
    if (totale > m_area.width() && totale > 0) {
        const double fattore = m_area.width() / totale;
        for (double &w : m_larghezze)
            w *= fattore;
        spazio *= fattore;
        dimensione = qMax(FontMinimo, dimensione * fattore);
    }
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
    m_fm = std::make_unique<QFontMetricsF>(m_font, &m_riferimento);
    m_fmGrassetto = std::make_unique<QFontMetricsF>(m_fontGrassetto, &m_riferimento);
    m_fmTitolo = std::make_unique<QFontMetricsF>(m_fontTitolo, &m_riferimento);
    for (int c = 0; c < 256; ++c)
        m_larghezzaCarattere[size_t(c)] = m_fm->horizontalAdvance(QChar(c));
    m_larghezzaMassima = m_fm->maxWidth();

    m_altezzaRiga = std::ceil(qMax(m_fm->height(), m_fmGrassetto->height()) * 1.15 * 100) / 100;
    m_ascesa = m_fm->ascent() + (m_altezzaRiga - m_fm->height()) / 2;
    // Header: description and date, title, captions and their rule.
    m_inizioRighe = m_area.top() + m_altezzaRiga + m_fmTitolo->height() * 1.3 + m_altezzaRiga + 4;
    m_piede = m_altezzaRiga;
    const double altezza = m_area.bottom() - m_piede - 2 - m_inizioRighe;
    m_righePerPagina = qMax(1, int(std::floor(altezza / m_altezzaRiga)));
}

ImpaginazioneLista::~ImpaginazioneLista() = default;

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

void ImpaginazioneLista::disegnaCella(QPainter &p, const QString &testo, int colonna, double baseline) const
{
    if (testo.isEmpty())
        return;
    const double x = m_x[colonna];
    const double w = m_larghezze[colonna];
    const Qt::Alignment a = m_colonne[colonna].allineamento;
    if (!(a & (Qt::AlignRight | Qt::AlignHCenter))) {
        // Most texts fit: the sum of the character widths tells without
        // laying the text out (with a little room for kerning).
        if (larghezzaStimata(testo) <= w * 0.98) {
            p.drawText(QPointF(x, baseline), testo);
            return;
        }
        const double esatta = m_fm->horizontalAdvance(testo);
        p.drawText(QPointF(x, baseline), esatta <= w ? testo : m_fm->elidedText(testo, Qt::ElideRight, w));
        return;
    }
    QString t = testo;
    double larghezza = m_fm->horizontalAdvance(t);
    if (larghezza > w) {
        t = m_fm->elidedText(t, Qt::ElideRight, w);
        larghezza = m_fm->horizontalAdvance(t);
    }
    const double sx = (a & Qt::AlignRight) ? x + w - larghezza : x + (w - larghezza) / 2;
    p.drawText(QPointF(sx, baseline), t);
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
    for (int c = 0; c < m_colonne.size(); ++c) {
        const QString d = m_fmGrassetto->elidedText(m_colonne[c].didascalia, Qt::ElideRight, m_larghezze[c]);
        double x = m_x[c];
        const Qt::Alignment a = m_colonne[c].allineamento;
        if (a & Qt::AlignRight)
            x += m_larghezze[c] - m_fmGrassetto->horizontalAdvance(d);
        else if (a & Qt::AlignHCenter)
            x += (m_larghezze[c] - m_fmGrassetto->horizontalAdvance(d)) / 2;
        p.drawText(QPointF(x, y + m_ascesa), d);
    }
    y += m_altezzaRiga + 1;
    p.setPen(QPen(Qt::black, 0.5));
    p.drawLine(QPointF(m_area.left(), y), QPointF(m_area.right(), y));
    p.setPen(Qt::black);

    p.setFont(m_font);
    y = m_inizioRighe;
    const int numeroRighe = quante < 0 ? int(righe.size()) : qMin(quante, int(righe.size()));
    for (int r = 0; r < numeroRighe; ++r) {
        const QList<CellaStampa> &riga = righe[r];
        const double baseline = y + m_ascesa;
        const int n = qMin(int(riga.size()), int(m_colonne.size()));
        for (int c = 0; c < n; ++c)
            disegnaCella(p, riga[c].testo, c, baseline);
        y += m_altezzaRiga;
    }

    const QString pagina = totale > 0 ? QStringLiteral("Pag. %1 di %2").arg(numero).arg(totale)
                                      : QStringLiteral("Pag. %1").arg(numero);
    p.drawText(QPointF(m_area.left() + (m_area.width() - m_fm->horizontalAdvance(pagina)) / 2,
                       m_area.bottom() - m_piede + m_ascesa),
               pagina);
    p.restore();
}
