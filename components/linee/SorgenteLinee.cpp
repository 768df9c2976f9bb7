// Print rows of a line grid.
#include "components/linee/SorgenteLinee.h"

#include "components/linee/GestLinee.h"
#include "components/linee/ModelloLinee.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"

#include <QTableView>

namespace
{

constexpr int TwipPerPixel = 15;

} // namespace

int SorgenteLinee::NumeroRighe()
{
    const ModelloLinee &m = *m_g.m_modello;
    return m.haNuova() ? m.numeroRighe() - 1 : m.numeroRighe();
}

QList<ColonnaStampa> SorgenteLinee::ColonneStampa()
{
    const ModelloLinee &m = *m_g.m_modello;
    QList<ColonnaStampa> r;
    const int righe = NumeroRighe();
    for (int c = 0; c < int(m.colonne().size()); ++c) {
        const ModelloLinee::Colonna &col = m.colonne()[size_t(c)];
        ColonnaStampa s;
        s.didascalia = col.didascalia.isEmpty() ? col.campo : col.didascalia;
        int pixel = col.larghezza;
        if (pixel <= 0 && m_g.m_griglia)
            pixel = m_g.m_griglia->columnWidth(c);
        s.larghezza = pixel > 0 ? pixel * TwipPerPixel : 0;
        s.visibile = col.visibile;
        // A column is numeric when its first value is held as a number,
        // unless the grid says what it holds.
        for (int r = 0; r < righe && col.stampa == ModelloLinee::Colonna::Stampa::Valore; ++r) {
            const QVariant v = m.valore(r, c);
            if (!v.isValid() || v.isNull())
                continue;
            s.numerica = UtilGlob::ValoreENumero(v) && v.typeId() != QMetaType::Bool;
            break;
        }
        if (col.stampa != ModelloLinee::Colonna::Stampa::Valore)
            s.numerica = col.stampa == ModelloLinee::Colonna::Stampa::Importo;
        s.allineamento = s.numerica ? Qt::AlignRight : Qt::AlignLeft;
        r << s;
    }
    return r;
}

bool SorgenteLinee::ApriRighe(const QList<int> &colonne)
{
    m_colonne = colonne;
    m_riga = 0;
    return NumeroRighe() > 0;
}

bool SorgenteLinee::RigaSuccessiva(QList<CellaStampa> &celle)
{
    if (m_riga >= NumeroRighe())
        return false;
    const ModelloLinee &m = *m_g.m_modello;
    celle.resize(m_colonne.size());
    for (int i = 0; i < m_colonne.size(); ++i) {
        const int c = m_colonne[i];
        const QVariant v = m.valore(m_riga, c);
        celle[i].testo = m.data(m.index(m_riga, c), Qt::DisplayRole).toString();
        celle[i].valore = v;
        if (!v.isValid() || v.isNull())
            continue;
        switch (m.colonne()[size_t(c)].stampa) {
        case ModelloLinee::Colonna::Stampa::Valore:
            break;
        case ModelloLinee::Colonna::Stampa::Codice:
            celle[i].valore = celle[i].testo;
            break;
        case ModelloLinee::Colonna::Stampa::Importo: {
            // An amount held as the text shown is read the Italian way.
            double n = 0;
            if (!UtilGlob::ValoreENumero(v) && UtilGlob::LeggiNumero(celle[i].testo, n))
                celle[i].valore = QVariant::fromValue(Currency::fromDouble(n));
            break;
        }
        }
    }
    ++m_riga;
    return true;
}

QString SorgenteLinee::Didascalia()
{
    const QWidget *g = m_g.Griglia();
    if (!g)
        return {};
    const QWidget *w = g->window();
    return w ? w->windowTitle() : QString();
}
