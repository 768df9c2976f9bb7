// MemoriaDecodifiche: descriptions a form read from the look-up tables kept
// for the next records, under the change counter the company database moves
// whenever one of those tables changes (Schema::VersioneDecodifiche), and the
// one the common menu database moves whenever its countries change
// (Schema::VersioneMenu). Every answer from memory is checked first: the
// counters are read again, and when either has moved (or cannot be read)
// nothing kept is given back. While a step is open (a record being shown)
// the counters are read once for all its look-ups.
#pragma once

#include <QHash>
#include <QString>
#include <QVariantList>
#include <optional>

class MemoriaDecodifiche
{
  public:
    // The counters as read at one moment: the company's, and the menu
    // database's (nullopt when there is none, or it cannot be read).
    struct Versione {
        qint64 azienda = 0;
        std::optional<qint64> menu;
        bool operator==(const Versione &) const = default;
    };
    using Lettura = std::optional<Versione>;

    // The values kept under `chiave`, when the counters have not moved since
    // they were read; nullopt when they must be read from the tables. `letta`
    // receives the counters read now (nullopt when they could not be read).
    // `dalMenu`: the values come from the menu database's tables too, so
    // they are kept only while its counter can be read.
    std::optional<QVariantList> Cerca(const QString &chiave, Lettura &letta, bool dalMenu = false);
    // Keeps the values read from the tables after the Cerca that answered
    // `letta` (the counters are always read before the tables); nothing is
    // kept when the counters were not read or have been seen to move since.
    void Ricorda(const QString &chiave, const QVariantList &valori, const Lettura &letta);

    // The menu database's counter table as the statements name it (on a
    // server its schema and the owner mark, else the attached file in Jet
    // form); empty: the program has no menu database, only the company's
    // counter is read. Read by the next reading of the counters.
    void ImpostaMenu(const QString &tabellaVersioneMenu);

    // A table of the common menu database as the customer form's statements
    // name it: by its schema on a server (`passThrough` set), as an attached
    // file otherwise; empty when the program has no menu database.
    static QString TabellaMenu(const QString &tabella, bool *passThrough = nullptr);

    // A record is being shown: one reading of the counters serves until the
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

    // The counters as expressions a record's own statement can read with it
    // (GestPagine::ColonneAggiunte: "VersioneAzienda" and, with a menu,
    // "VersioneMenu"), once they have been read on their own: the step then
    // takes them from the record (VersioneDalRecord) instead of asking again.
    // Empty while they are not known to be readable.
    QString ColonneVersioni() const;
    // The counters read with the record of the step now open, by the
    // expressions ColonneVersioni gave (null values: no row yet).
    void VersioneDalRecord(const QVariant &azienda, const QVariant &menu);

    // The statement that reads the company's counter alone, and the one that
    // reads it with the menu's whose table is `tabellaVersioneMenu`.
    static const QString SqlVersione;
    static QString SqlVersioni(const QString &tabellaVersioneMenu);

  private:
    Lettura versione();

    bool m_passo = false;
    bool m_lettaNelPasso = false;
    Lettura m_versionePasso;
    bool m_senzaContatore = false; // the company's counter could not be read: no memory
    QString m_menu;                // the menu's counter table; empty: not read
    bool m_senzaMenu = false;      // the menu's counter could not be read: not tried again
    bool m_contatoriLetti = false; // the counters have been read on their own once
    bool m_conMenuLetto = false;   // and the menu's was among them
    Lettura m_versioneVoci;        // the counters the values kept were read under
    QHash<QString, QVariantList> m_voci;
};
