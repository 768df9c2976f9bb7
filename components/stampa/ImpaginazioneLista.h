// ImpaginazioneLista: how the rows of a list fill printed pages. From the
// columns, the font, the paper and the widest value of each column
// (MisuraColonne) it works out the column positions, the rows each page holds,
// and draws one page: the program's description and the date, the title, the
// column captions under a rule (wrapped on more lines, never cut), the rows,
// and the page number at the foot.
//
// Widths: each column is as wide as its widest value and its caption's
// longest word, never narrower than the list's own width. A list wider than
// the paper gives up room in this order: columns of several-word texts (their
// texts cut with "…"), then the list's extra width of the other columns, then
// the font (down to 5 points). Codes, numbers and dates are never cut: when
// they do not fit even at 5 points the layout says so (Errore) and nothing is
// to be printed; one wider than its column (measured from the first rows)
// is drawn condensed into it. It draws in points (1/72 inch) from the page's
// top-left corner on any paint device; the same pages go to the printer, to
// a PDF and to the preview.
#pragma once

#include "components/stampa/SorgenteRighe.h"

class MisuraColonne;

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QPainter;

class ImpaginazioneLista
{
  public:
    struct Testate {
        QString descrizionePrg; // top left
        QString titolo;         // centred, bold
        QString data;           // top right
    };

    // Smallest font the list is narrowed to, in points.
    static constexpr double FontMinimo = 5.0;

    // Without `misura` the columns keep the list's own widths (narrowed
    // together with the font when the list is wider than the paper).
    ImpaginazioneLista(const QList<ColonnaStampa> &colonne, const QFont &font, const QPageLayout &pagina,
                       const Testate &testate, const MisuraColonne *misura = nullptr);
    ~ImpaginazioneLista();

    // Why the rows cannot be laid out on this paper ("" when they can).
    QString Errore() const { return m_errore; }
    int RighePerPagina() const { return m_righePerPagina; }
    // The whole page, in points.
    QSizeF Dimensioni() const { return m_pagina; }
    const QPageLayout &Pagina() const { return m_layout; }
    // The font of the rows (the one chosen, or smaller for a wide list).
    QFont FontRighe() const { return m_font; }
    // Left edge and width of each column, in points.
    QList<double> Posizioni() const { return m_x; }
    QList<double> Larghezze() const { return m_larghezze; }
    // The caption of a column as it is printed, one text per line.
    QStringList Didascalia(int colonna) const { return m_didascalie.value(colonna); }

    // Pages needed for a number of rows (at least 1).
    int Pagine(qint64 righe) const;

    // Draws page `numero` with its rows (the first `quante` of `righe`, all
    // when negative); `totale` above 0 writes "Pag. n di m". The painter's
    // units must be points from the page's top-left corner.
    void DisegnaPagina(QPainter &p, int numero, int totale, const QList<QList<CellaStampa>> &righe,
                       int quante = -1) const;

  private:
    void disponi(const QFont &font, const MisuraColonne *misura);
    void disegnaCella(QPainter &p, const QString &testo, int colonna, double baseline) const;
    double larghezzaStimata(const QString &testo) const;

    QList<ColonnaStampa> m_colonne;
    Testate m_testate;
    QPageLayout m_layout;
    QSizeF m_pagina;
    QRectF m_area;
    QFont m_font, m_fontGrassetto, m_fontTitolo;
    // Metrics are taken on a 72 dpi image, where a point is a pixel.
    QImage m_riferimento;
    std::unique_ptr<QFontMetricsF> m_fm, m_fmGrassetto, m_fmTitolo;
    std::array<double, 256> m_larghezzaCarattere{};
    double m_larghezzaMassima = 0;
    QList<double> m_x, m_larghezze;
    QList<bool> m_restringibili;     // texts of the column may be cut
    QList<QStringList> m_didascalie; // captions wrapped to their columns
    QString m_errore;
    double m_altezzaRiga = 0, m_ascesa = 0;
    double m_inizioRighe = 0, m_piede = 0;
    int m_righePerPagina = 1;
};
