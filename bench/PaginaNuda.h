// The bare work of a paged list print, for the floors of the print
// benchmarks: the columns measured on the first rows with QFontMetricsF (each
// as wide as its widest value and its caption, the list narrowed together
// when wider than the paper), then each page drawn straight with QPainter in
// points: the description and the date, the title, the captions under a rule,
// the rows (numbers to the right), the page number at the foot.
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QStringList>

#include <memory>

class PaginaNuda
{
  public:
    // Rows measured before the first page, as the engine measures.
    static constexpr int RigheMisurate = 256;

    PaginaNuda(const QList<ColonnaStampa> &colonne, const QFont &font, const QPageLayout &pagina,
               const QString &titolo)
        : m_colonne(colonne), m_font(font), m_grassetto(font), m_area(pagina.paintRect(QPageLayout::Point)),
          m_titolo(titolo), m_data(QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")))
    {
        // Metrics at 72 dpi, where a point is a pixel.
        m_riferimento = QImage(1, 1, QImage::Format_RGB32);
        m_riferimento.setDotsPerMeterX(qRound(72 / 0.0254));
        m_riferimento.setDotsPerMeterY(qRound(72 / 0.0254));
        m_grassetto.setBold(true);
        m_fm = std::make_unique<QFontMetricsF>(m_font, &m_riferimento);
        m_fmGrassetto = std::make_unique<QFontMetricsF>(m_grassetto, &m_riferimento);
        for (const ColonnaStampa &c : m_colonne)
            m_larghezze << m_fmGrassetto->horizontalAdvance(c.didascalia);
    }

    // One of the first rows, into the columns' widths.
    void Misura(const QStringList &celle)
    {
        for (int c = 0; c < celle.size() && c < m_larghezze.size(); ++c)
            m_larghezze[c] = qMax(m_larghezze[c], m_fm->horizontalAdvance(celle[c]));
    }

    // The columns placed after the rows measured; the rows a page holds.
    void Disponi()
    {
        const double spazio = 6;
        double totale = 0;
        for (double l : std::as_const(m_larghezze))
            totale += l + spazio;
        const double scala = totale > m_area.width() ? m_area.width() / totale : 1.0;
        double x = m_area.left();
        m_x.clear();
        for (double &l : m_larghezze) {
            m_x << x;
            l *= scala;
            x += l + spazio * scala;
        }
        m_riga = m_fm->lineSpacing();
        m_inizio = m_area.top() + 3 * m_riga + 4;
        m_righePerPagina = qMax(1, int((m_area.bottom() - 2 * m_riga - m_inizio) / m_riga));
    }
    int RighePerPagina() const { return m_righePerPagina; }

    // A page's headings and foot.
    void Intestazione(QPainter &p, int numero) const
    {
        const double a = m_fm->ascent();
        p.setFont(m_font);
        p.drawText(QPointF(m_area.left(), m_area.top() + a), QStringLiteral("Clienti"));
        p.drawText(QPointF(m_area.right() - m_fm->horizontalAdvance(m_data), m_area.top() + a), m_data);
        p.setFont(m_grassetto);
        p.drawText(QPointF(m_area.left() + (m_area.width() - m_fmGrassetto->horizontalAdvance(m_titolo)) / 2,
                           m_area.top() + m_riga + a),
                   m_titolo);
        for (int c = 0; c < m_colonne.size(); ++c)
            p.drawText(QPointF(m_x[c], m_area.top() + 2 * m_riga + a), m_colonne[c].didascalia);
        p.drawLine(QPointF(m_area.left(), m_inizio - 2), QPointF(m_area.right(), m_inizio - 2));
        p.setFont(m_font);
        const QString pagina = QStringLiteral("Pag. %1").arg(numero);
        p.drawText(QPointF(m_area.left() + (m_area.width() - m_fm->horizontalAdvance(pagina)) / 2,
                           m_area.bottom() - a),
                   pagina);
    }

    // Cell `colonna` of row `inPagina` of the page.
    void Cella(QPainter &p, int inPagina, int colonna, const QString &testo) const
    {
        const double y = m_inizio + inPagina * m_riga + m_fm->ascent();
        const double x = m_colonne[colonna].numerica
                             ? m_x[colonna] + m_larghezze[colonna] - m_fm->horizontalAdvance(testo)
                             : m_x[colonna];
        p.drawText(QPointF(x, y), testo);
    }

  private:
    QList<ColonnaStampa> m_colonne;
    QFont m_font, m_grassetto;
    QRectF m_area;
    QString m_titolo, m_data;
    QImage m_riferimento;
    std::unique_ptr<QFontMetricsF> m_fm, m_fmGrassetto;
    QList<double> m_larghezze, m_x;
    double m_riga = 12, m_inizio = 0;
    int m_righePerPagina = 1;
};
