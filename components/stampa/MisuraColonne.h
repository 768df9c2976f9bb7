// MisuraColonne: the widest value of each column of a paged print, taken from
// the rows before the pages are laid out, so that no code, number or date is
// cut on paper. It also tells which columns hold texts of several words: the
// only ones the layout may narrow (their texts then go on to further lines
// of their row), and the longest word of each. A source
// that can tell the limits of its texts without reading its rows
// (SorgenteRighe::LimitiColonne) has only its first rows measured, and its
// limits taken where they are fixed forms or close to what those rows show:
// as many of the font's widest glyph as the longest text may have
// characters (its widest digit for texts of digits alone). A later value
// wider than its column is drawn condensed by the layout, never cut.
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <array>
#include <memory>

class MisuraColonne
{
  public:
    MisuraColonne(const QList<ColonnaStampa> &colonne, const QFont &font);
    ~MisuraColonne();

    // Takes one row's values into account (one cell per column, in order).
    void Misura(const QList<CellaStampa> &celle);

    // Takes a column's limits as its source tells them, after the rows read
    // (Misura): a fixed form (examples, a short code) always, a declared
    // size when within `Vicino` times the widest value read.
    void Limita(int colonna, const LimiteColonna &limite);
    static constexpr double Vicino = 1.25;

    // The font size the widths are measured at, in points.
    double Punti() const { return m_punti; }
    // Width of the widest value of a column, in points at that size (0 when
    // the column had no value).
    double PiuLargo(int colonna) const { return m_piuLarghi.value(colonna); }
    // The column held texts of several words (and no number or date): it may
    // be narrowed, its texts wrapped.
    bool Restringibile(int colonna) const;
    // Width of the longest word of the texts read in a column, in points at
    // that size (0 when none).
    double ParolaPiuLunga(int colonna) const { return m_parolePiuLunghe.value(colonna); }

    // Every row of the print was read (Misura): PiuLargo holds for them all.
    void Completa(bool si) { m_completa = si; }
    bool Completa() const { return m_completa; }

  private:
    double stimata(const QString &testo) const;
    double parolaPiuLunga(const QString &testo) const;

    int m_colonne = 0;
    double m_punti = 10;
    QImage m_riferimento;
    std::unique_ptr<QFontMetricsF> m_fm;
    std::array<double, 256> m_larghezzaCarattere{};
    double m_larghezzaMassima = 0;
    double m_cifraMassima = 0; // the widest digit
    double m_glifoMassimo = 0; // the widest glyph of the font, or of Latin-1
    QList<double> m_piuLarghi, m_parolePiuLunghe;
    bool m_completa = false;
    QList<bool> m_parole, m_rigide; // seen: texts of several words; numbers or dates
};
