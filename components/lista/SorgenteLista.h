// The rows of a list window as the print engine reads them: the list's
// columns with their captions, widths, alignment and visibility, and every
// row of its SELECT in list order, a page at a time, formatted as the grid
// shows them, without disturbing the pages the grid keeps. The limits of the
// printed columns' texts come from the SELECT's columns (a text's declared
// size, a date's fixed form, a flag's words) without reading any row.
#pragma once

#include "components/lista/RigheLista.h"
#include "components/stampa/SorgenteRighe.h"

#include <QHash>
#include <QVariantList>
#include <memory>

class GestLista;
class ModelloLista;

class SorgenteLista : public SorgenteRighe
{
  public:
    explicit SorgenteLista(GestLista &lista);
    ~SorgenteLista() override;

    QList<ColonnaStampa> ColonneStampa() override;
    bool ApriRighe(const QList<int> &colonne) override;
    bool RigaSuccessiva(QList<CellaStampa> &celle) override;
    bool LimitiColonne(const QList<int> &colonne, QList<LimiteColonna> &limiti) override;
    int NumeroRighe() override;
    void TestiUtf8(bool si) override { m_utf8 = si; }
    QByteArrayView TestoUtf8(int cella) const override;
    void ChiudiRighe() override;
    QString Didascalia() override;

  private:
    static constexpr qsizetype DateTenute = 8192;
    QString testo(const ModelloLista &modello, const QVariant &valore);

    GestLista &m_lista;
    std::unique_ptr<RigheLista::Lettura> m_lettura;
    QList<int> m_colonne;
    bool m_primaPronta = false;    // the first row, read by ApriRighe, not yet handed over
    bool m_utf8 = false;           // texts handed over as their bytes
    QList<QByteArrayView> m_byte;  // the bytes of each cell of the row, when so
    QHash<qint64, QString> m_date; // the text of each day read, by its Julian day
};
