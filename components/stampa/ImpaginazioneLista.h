// ImpaginazioneLista: how the rows of a list fill printed pages. From the
// columns, the font, the paper and the widest value of each column
// (MisuraColonne) it works out the column positions, the lines each row
// takes, the lines a page holds, and draws one page: the program's
// description and the date, the title, the column captions under a rule
// (wrapped on more lines, never cut), the rows, and the page number at the
// foot.
//
// Widths: a column of codes, numbers or dates is as wide as its widest value
// and its caption's longest word, and no wider; an empty column as wide as
// its caption's longest word. The rest of the paper's width goes to the
// columns of several-word texts (names, towns), up to their widest value,
// and what is still left over is shared among them. A text wider than its
// column goes on to further lines of its row (the row grows); no value is
// cut. A list wider than the paper gives up room in this order: the
// several-word texts down to their longest word (they wrap more), then the
// font (down to 5 points), then those texts further (their longest words
// broken between letters) and the captions. Codes, numbers and dates never
// wrap and are never cut: when they do not fit even at 5 points the layout
// says so (Errore) and nothing is to be printed; one wider than its column
// (measured from the first rows) is drawn condensed into it. It draws in
// points (1/72 inch) from the page's top-left corner on any paint device;
// the same pages go to the printer, to a PDF and to the preview.
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

    // Smallest font the list is narrowed to, in points; a font asked smaller
    // (or larger than FontMassimo) is taken at that size.
    static constexpr double FontMinimo = 5.0;
    static constexpr double FontMassimo = 144.0;
    // The size a font is laid out at, in points (10 when it tells none).
    static double PuntiFont(const QFont &font);

    // Without `misura` the columns keep the list's own widths (narrowed
    // together with the font when the list is wider than the paper).
    ImpaginazioneLista(const QList<ColonnaStampa> &colonne, const QFont &font, const QPageLayout &pagina,
                       const Testate &testate, const MisuraColonne *misura = nullptr);
    ~ImpaginazioneLista();

    // Why the rows cannot be laid out on this paper ("" when they can).
    QString Errore() const { return m_errore; }
    // Lines of rows a page holds (rows of one line each).
    int RighePerPagina() const { return m_righePerPagina; }
    // Lines a row takes (1 unless a text wraps; at most a page's).
    int Linee(const QList<CellaStampa> &riga) const;
    // Every row is known to take one line: the columns were measured on
    // every row and each widest text fits its column.
    bool RigheDiUnaLinea() const { return m_righeDiUnaLinea; }
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

    // Pages needed for a number of rows of one line each (at least 1).
    int Pagine(qint64 righe) const;

    // Draws page `numero` with its rows (the first `quante` of `righe`, all
    // when negative; those the page holds, by their lines); `totale` above
    // 0 writes "Pag. n di m". The painter's units must be points from the
    // page's top-left corner.
    void DisegnaPagina(QPainter &p, int numero, int totale, const QList<QList<CellaStampa>> &righe,
                       int quante = -1) const;

  private:
    void disponi(const QFont &font, const MisuraColonne *misura);
    void disegnaCella(QPainter &p, const QString &testo, int colonna, double baseline, int linee) const;
    void disegnaTesto(QPainter &p, const QString &testo, int colonna, double baseline) const;
    double larghezzaStimata(const QString &testo) const;
    // The lines of a cell's text in its column (the text alone when it fits).
    QStringList lineeCella(const QString &testo, int colonna) const;

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
    QList<bool> m_aCapo;             // texts of the column may wrap
    QList<QStringList> m_didascalie; // captions wrapped to their columns
    QString m_errore;
    double m_altezzaRiga = 0, m_ascesa = 0;
    double m_inizioRighe = 0, m_piede = 0;
    int m_righePerPagina = 1;
    bool m_righeDiUnaLinea = false;
};
