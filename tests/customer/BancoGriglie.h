// Test bench of the customer form's line grids: one account of the demo
// company emptied of its documents and letters, read into the form, with
// helpers that work a grid as the user does (cells, typing, commands).
#pragma once

#include "BancoClienti.h"

#include <QVariantMap>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

class GestLinee;
class QTableView;

class BancoGriglie : public BancoClienti
{
  protected:
    void SetUp() override;

    // Opens (again) the form on the account.
    void ApriConto(const QString &osParam = {});
    // Shows the page of grid g (0 documents, 1 letters of intent).
    void Pagina(int g);
    GestLinee *Griglia(int g) const;
    QTableView *Vista(int g) const;
    // Makes a cell of grid g current (campo by name).
    void Cella(int g, int riga, const QString &campo);
    // Types a text into the current cell's editor and presses Enter.
    void Scrivi(int g, const QString &testo, bool invio = true);
    // A line command of grid g, as from its toolbar.
    void Comando(int g, const QString &chiave);
    // A stored line of the account (values by column name).
    void Lettera(int codice, const QVariantMap &campi = {});
    void Documento(int ordine, const QString &descrizione, const QString &percorso = {});
    // WHERE condition of the account's rows.
    QString DelConto() const;
    int Righe(const QString &tabella) const;
    QString UltimoMessaggio() const;

    QString m_gruppo, m_mastro, m_conto;
};
