// Test bench of the list windows: a demo company database copied for each
// test, a small record form over PianoConti (its page manager is the list's
// record engine), the customer list window loaded and handed to it, and
// scripted message boxes.
#pragma once

#include "components/pagine/ChiamantePagine.h"

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

class GestLista;
class GestPagine;
class frmClientiLis;

// A record form with the customer's key, its fixed kind and its name.
class SchedaProva : public QWidget, public ChiamantePagine
{
  public:
    SchedaProva();
    QVariant PersPagPri(int, QVariant &, QVariantList &) override { return 0; }
    QVariant PersPagDop(int, QVariant &, QVariantList &) override { return 0; }
    void ButtonComando(const QString &psKey) override;
    QWidget *Finestra() override { return this; }

    GestPagine *pagine = nullptr;
    QLineEdit *gruppo, *mastro, *conto, *tipo, *descrizione;
    int letture = 0;
};

class BancoLista : public ::testing::Test
{
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    // The company database of the test: a copy of the demo (SQLite); false
    // when it cannot be had (the test is then skipped or failed).
    virtual bool ApriDatabase();
    virtual void ChiudiDatabase();

    // Opens the list as the record form's "Lista" command does.
    void Apri();
    // Opens it the same way and lays the grid out, before the turn of the
    // event loop that would start its count.
    void ApriSenzaAttendere();
    // Whether the grid shows the row (whatever its columns shown).
    bool RigaVisibile(int riga) const;
    GestLista *Lista() const;
    int Righe() const;
    // Text of a cell of the grid.
    QString Cella(int riga, int colonna) const;
    // Account key "G-M-C" of a grid row.
    QString Chiave(int riga) const;
    // Fills a search field as the user does, and applies the search with Enter.
    void Scrivi(int campo, const QString &testo);
    void Cerca();

    QVariant Valore(const QString &sql) const;
    void Esegui(const QString &sql) const;
    // Adds `quanti` customers to group 01, ledger 05, accounts 9000 onwards.
    void AggiungiClienti(int quanti) const;
    // Shows the customer of this key in the form and opens the list from
    // it ("Lista"): the counts the list ran meanwhile.
    QStringList ApriSulCliente(const QStringList &chiave);

    static QStringList Messaggi();
    static void DimenticaMessaggi();
    static void Attendi(int volte = 3);

    static QString s_modello;
    QString m_percorso;
    std::unique_ptr<SchedaProva> m_scheda;
    frmClientiLis *m_lista = nullptr;
};
