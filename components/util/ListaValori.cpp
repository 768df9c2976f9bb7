// The keyed value list over the keyed collection.
#include "components/util/ListaValori.h"

namespace
{
VbErrore chiaveMancante()
{
    return VbErrore(VbErrore::ElementoNonTrovato,
                    QStringLiteral("Chiamata di routine o argomento non validi"));
}
} // namespace

bool ListaValori::EsisteChiave(const QString &chiave) const
{
    return m_valori.Esiste(chiave);
}

QVariant ListaValori::LeggiValore(const QString &chiave, bool tollera) const
{
    if (!m_valori.Esiste(chiave)) {
        if (tollera)
            return QVariant();
        throw chiaveMancante();
    }
    return m_valori.Item(chiave);
}

Currency ListaValori::LeggiImporto(const QString &chiave) const
{
    return Currency::fromVariant(LeggiValore(chiave, true));
}

void ListaValori::ScriviValore(const QString &chiave, bool aggiungi, const QVariant &valore)
{
    if (QVariant *v = m_valori.Trova(chiave)) {
        *v = valore;
        return;
    }
    if (!aggiungi)
        throw chiaveMancante();
    m_valori.Add(chiave, valore);
}

void ListaValori::ScriviValore(const QString &chiave, bool aggiungi, Currency valore)
{
    ScriviValore(chiave, aggiungi, QVariant::fromValue(valore));
}

bool ListaValori::EliminaChiave(const QString &chiave)
{
    if (!m_valori.Esiste(chiave))
        return false;
    m_valori.Remove(chiave);
    return true;
}

void ListaValori::SvuotaLista()
{
    m_valori.Clear();
}

int ListaValori::NumeroElementi() const
{
    return m_valori.Count();
}

QString ListaValori::Chiave(int indice) const
{
    controllaIndice(indice);
    return m_valori.KeyAt(indice);
}

QVariant ListaValori::Valore(int indice) const
{
    controllaIndice(indice);
    return m_valori.At(indice);
}

void ListaValori::controllaIndice(int indice) const
{
    if (indice < 0 || indice >= m_valori.Count())
        throw VbErrore(VbErrore::IndiceFuoriIntervallo, QStringLiteral("Indice non incluso nell'intervallo"));
}
