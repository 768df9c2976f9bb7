// Test bench of the footer engine: a fresh company database on SQLite or
// PostgreSQL opened as the company connection, the lookup rows documents
// need, a standalone menu host, and a helper to write rows.
#pragma once

#include <QString>
#include <QVariantMap>
#include <memory>

class ClienteMenuLocale;

class BancoPiede
{
  public:
    enum class Motore { SQLite, PostgreSQL };

    BancoPiede();
    ~BancoPiede();

    // False with the reason when the engine cannot be had (PostgreSQL outside CI).
    bool Apri(Motore motore, QString *motivo);
    // Currencies EUR (2 decimals), LIT (0) and USD, VAT codes 22, 10, 04, E8
    // (exempt, counts for stamp duty), N1 (exempt, does not), document types
    // FT, NC (sign "-") and RM (margin scheme), payment RD30, the stamp table,
    // the customer 01/03/0001.
    void Anagrafiche();
    // INSERT of one row; values: QString, numbers, QDate, or an invalid QVariant for Null.
    void Inserisci(const QString &tabella, const QVariantMap &valori);
    void Esegui(const QString &sql);
    // A named parameter of the menu host ("Personal.<section>.§<name>" for personal ones).
    void ParametroHost(const QString &nome, const QVariant &valore);

  private:
    std::unique_ptr<ClienteMenuLocale> m_menu;
    QString m_dir;
    QString m_pgDatabase;
    QString m_codEuroPrima, m_codLiraPrima;
};
