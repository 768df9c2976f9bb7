// What the lookup library needs to know of one lookup kind: where its rows
// live, which expression is the code and which the description, which fixed
// condition narrows them and which columns the window shows. The program's
// decoding service builds one for each kind it knows.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DbMotore;

struct ColonnaRicerca {
    QString nome;      // column (or alias) of the SELECT, the name RetVal answers to
    QString titolo;    // caption in the lookup window
    int larghezza = 0; // characters; 0 = fit to the contents
};

struct DefRicerca {
    QString tipo;          // lookup kind ("Banca", "Conto"...)
    QString titolo;        // title of the lookup window
    QString tabella;       // FROM text (a table, or a join)
    QString codice;        // code column or Jet expression (written into the code box)
    QString descrizione;   // description column or Jet expression
    QString colonnaCodice; // name under which the code is read back ("Banca"); "" = codice
    QString ricercaCodice; // column searched by the code search (F5); "" = the code
    QStringList chiave;    // columns of a composed code, with `spezza` cutting the code into them
    std::function<QStringList(const QString &)> spezza;
    QString filtro;                // fixed condition, Jet dialect; "" = none
    QStringList altreColonne;      // further columns read with each row (RetVal)
    QList<ColonnaRicerca> colonne; // columns shown after code and description
    QString ordineCodice;          // ORDER BY of the code order; "" = the code
    QString ordineDescrizione;     // ORDER BY of the description order; "" = the description
    bool perDescrizione = false;   // the window opens in description order
    // Where the rows are: nullptr and "" take the library's context (DbComp, DbAzienda).
    DbMotore *db = nullptr;
    QString connessione;
    // Program launched by the window's "Nuovo" button ("" = none).
    QString programma;
};
