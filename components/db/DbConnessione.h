// State of one named connection of DbMotore (private to components/db).
#pragma once

#include "components/db/CursoreSqlite.h"
#include "components/db/DbMotore.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

struct DbMotore::Connessione {
    QString nome;
    QString nomeQt;        // name of the QSqlDatabase connection
    Motore motore = Motore::SQLite;
    QSqlDatabase db;
    sqlite3 *h = nullptr;  // SQLite handle behind db
    int livello = 0;       // transaction depth
    int righeToccate = 0;  // RecordsAffected of the last statement
    // Cursors need a journal that lets other connections write while a
    // statement is open (WAL), or a database nobody else sees.
    bool cursoriAmmessi = false;
    std::shared_ptr<CursoreSqlite::Registro> cursori = std::make_shared<CursoreSqlite::Registro>();
    QHash<QString, QString> allegati;  // lower-case file path -> alias
    QHash<QString, QStringList> colonne;                    // "schema.table" lower -> columns
    QHash<QString, QHash<QString, Risultato::Tipo>> tipi;   // idem -> kinds
    QHash<QString, QHash<QString, int>> lunghezze;          // idem -> text sizes
    QHash<QString, QStringList> chiavi;                     // idem -> primary key

    JetSql::Dialetto dialetto() const
    {
        return motore == Motore::SQLite ? JetSql::Dialetto::SQLite : JetSql::Dialetto::PostgreSQL;
    }
    void dimenticaSchema()
    {
        colonne.clear();
        tipi.clear();
        lunghezze.clear();
        chiavi.clear();
    }
};
