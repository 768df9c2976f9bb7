// MemoriaDecodifiche: descriptions a form read from the look-up tables kept
// for the next records, under the change counter the company database moves
// whenever one of those tables changes (Schema::VersioneDecodifiche). Every
// answer from memory is checked first: the counter is read again, and when it
// has moved (or cannot be read) nothing kept is given back. While a step is
// open (a record being shown) the counter is read once for all its look-ups.
#pragma once

#include <QHash>
#include <QString>
#include <QVariantList>
#include <optional>

class MemoriaDecodifiche
{
  public:
    // The values kept under `chiave`, when the counter has not moved since
    // they were read; nullopt when they must be read from the tables. `letta`
    // receives the counter read now (nullopt when it could not be read).
    std::optional<QVariantList> Cerca(const QString &chiave, std::optional<qint64> &letta);
    // Keeps the values read from the tables after the Cerca that answered
    // `letta` (the counter is always read before the tables); nothing is kept
    // when the counter was not read or has been seen to move since.
    void Ricorda(const QString &chiave, const QVariantList &valori, std::optional<qint64> letta);

    // A record is being shown: one reading of the counter serves until the
    // step closes.
    class Passo
    {
      public:
        explicit Passo(MemoriaDecodifiche &m) : m_m(m), m_prima(m.m_passo) { m.m_passo = true; }
        ~Passo()
        {
            m_m.m_passo = m_prima;
            if (!m_prima)
                m_m.m_lettaNelPasso = false;
        }
        Passo(const Passo &) = delete;
        Passo &operator=(const Passo &) = delete;

      private:
        MemoriaDecodifiche &m_m;
        bool m_prima;
    };

    // The statement that reads the counter.
    static const QString SqlVersione;

  private:
    std::optional<qint64> versione();

    bool m_passo = false;
    bool m_lettaNelPasso = false;
    std::optional<qint64> m_versionePasso;
    bool m_senzaContatore = false;        // the counter could not be read: no memory
    std::optional<qint64> m_versioneVoci; // the counter the values kept were read under
    QHash<QString, QVariantList> m_voci;
};
