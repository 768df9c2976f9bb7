// ImpaginazioneLista: how the rows of a list fill printed pages. From the
// columns, the font and the paper it works out the column positions (a list
// wider than the paper is narrowed, its font with it, down to 5 points), the
// rows each page holds, and draws one page: the program's description and
// the date, the title, the column captions under a rule, the rows, and the
// page number at the foot. It draws in points (1/72 inch) from the page's
// top-left corner on any paint device; the same pages go to the printer, to
// a PDF and to the preview.
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <array>
#include <memory>

class QPainter;

class ImpaginazioneLista {
public:
    struct Testate {
        QString descrizionePrg;  // top left
        QString titolo;          // centred, bold
        QString data;            // top right
    };

    // Smallest font the list is narrowed to, in points.
    static constexpr double FontMinimo = 5.0;

    ImpaginazioneLista(const QList<ColonnaStampa> &colonne, const QFont &font, const QPageLayout &pagina,
                       const Testate &testate);
    ~ImpaginazioneLista();

    int RighePerPagina() const { return m_righePerPagina; }
    // The whole page, in points.
    QSizeF Dimensioni() const { return m_pagina; }
    const QPageLayout &Pagina() const { return m_layout; }
    // The font of the rows (the one chosen, or smaller for a wide list).
    QFont FontRighe() const { return m_font; }
    // Left edge and width of each column, in points.
    QList<double> Posizioni() const { return m_x; }
    QList<double> Larghezze() const { return m_larghezze; }

    // Pages needed for a number of rows (at least 1).
    int Pagine(qint64 righe) const;

    // Draws page `numero` with its rows (the first `quante` of `righe`, all
    // when negative); `totale` above 0 writes "Pag. n di m". The painter's
    // units must be points from the page's top-left corner.
    void DisegnaPagina(QPainter &p, int numero, int totale, const QList<QList<CellaStampa>> &righe,
                       int quante = -1) const;

private:
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
    double m_altezzaRiga = 0, m_ascesa = 0;
    double m_inizioRighe = 0, m_piede = 0;
    int m_righePerPagina = 1;
};
