// The rows of a line grid as the print engine reads them: the grid's columns
// with their captions, widths and visibility, and its lines in the order
// shown, as shown (pending edits of the current line included; a new line
// not yet saved left out).
#pragma once

#include "components/stampa/SorgenteRighe.h"

class GestLinee;

class SorgenteLinee : public SorgenteRighe
{
  public:
    explicit SorgenteLinee(GestLinee &griglia) : m_g(griglia) {}

    QList<ColonnaStampa> ColonneStampa() override;
    bool ApriRighe(const QList<int> &colonne) override;
    bool RigaSuccessiva(QList<CellaStampa> &celle) override;
    int NumeroRighe() override;
    QString Didascalia() override;

  private:
    GestLinee &m_g;
    QList<int> m_colonne;
    int m_riga = 0;
};
