// Queues of scripted answers and the record of what was shown instead.
#include "components/forms/RisposteProgrammate.h"

#include <QHash>
#include <QQueue>

namespace
{

struct Stato {
    QHash<QString, QQueue<QVariant>> risposte;
    QHash<QString, QList<QVariantMap>> mostrati;
    std::function<void(QWidget *)> azioneModale;
    std::function<void(const QString &, const QVariantMap &)> azioneMostrato;
    bool senzaModali = false;
};

Stato &S()
{
    static Stato s;
    return s;
}

QString K(const QString &tipo)
{
    return tipo.toCaseFolded();
}

} // namespace

namespace RisposteProgrammate
{

void Accoda(const QString &tipo, const QVariant &risposta)
{
    S().risposte[K(tipo)].enqueue(risposta);
}

bool HaRisposta(const QString &tipo)
{
    auto it = S().risposte.constFind(K(tipo));
    return it != S().risposte.constEnd() && !it->isEmpty();
}

std::optional<QVariant> Prendi(const QString &tipo)
{
    auto it = S().risposte.find(K(tipo));
    if (it == S().risposte.end() || it->isEmpty())
        return std::nullopt;
    return it->dequeue();
}

bool Attivo(const QString &tipo)
{
    return S().senzaModali || HaRisposta(tipo);
}

void ImpostaSenzaModali(bool attivo)
{
    S().senzaModali = attivo;
}
bool SenzaModali()
{
    return S().senzaModali;
}

void Registra(const QString &tipo, const QVariantMap &mostrato)
{
    S().mostrati[K(tipo)].append(mostrato);
    // A copy: the action may record, or set another action, in turn.
    if (const auto azione = S().azioneMostrato)
        azione(tipo, mostrato);
}

QList<QVariantMap> Mostrati(const QString &tipo)
{
    return S().mostrati.value(K(tipo));
}

QVariantMap UltimoMostrato(const QString &tipo)
{
    const QList<QVariantMap> l = Mostrati(tipo);
    return l.isEmpty() ? QVariantMap() : l.last();
}

void ImpostaAzioneMostrato(std::function<void(const QString &, const QVariantMap &)> azione)
{
    S().azioneMostrato = std::move(azione);
}

void ImpostaAzioneModale(std::function<void(QWidget *)> azione)
{
    S().azioneModale = std::move(azione);
}
std::function<void(QWidget *)> AzioneModale()
{
    return S().azioneModale;
}

void Azzera()
{
    S() = Stato();
}

} // namespace RisposteProgrammate
