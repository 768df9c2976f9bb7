// A check on PianoConti that the database makes only at COMMIT (deferred),
// on SQLite and on PostgreSQL: the write itself goes through, its
// transaction does not commit.
#pragma once

#include <QString>
#include <QStringList>

// The statements that set it up: `evento` "Update" or "Delete", `quando` a
// condition on the row written ("NEW.RagSoc = 'X'"), empty for every row.
inline QStringList GuardiaAlCommit(bool sqlite, const QString &evento, const QString &quando = QString())
{
    if (sqlite) {
        const QString riga =
            evento == QLatin1String("Delete") ? QStringLiteral("OLD") : QStringLiteral("NEW");
        return {
            QStringLiteral("PRAGMA foreign_keys = ON"),
            QStringLiteral("Create Table Nessuno (Conto Text Primary Key)"),
            QStringLiteral("Create Table Guardia (Conto Text References Nessuno (Conto) "
                           "Deferrable Initially Deferred)"),
            QStringLiteral("Create Trigger Regge After %1 On PianoConti %2Begin Insert Into Guardia Values "
                           "(%3.Conto); End")
                .arg(evento, quando.isEmpty() ? QString() : QStringLiteral("When ") + quando + u' ', riga)};
    }
    return {QStringLiteral("Create Function NonRegge() Returns Trigger Language plpgsql As "
                           "$f$ Begin Raise Exception 'non regge'; End $f$"),
            QStringLiteral("Create Constraint Trigger Regge After %1 On PianoConti Deferrable Initially "
                           "Deferred For Each Row %2Execute Function NonRegge()")
                .arg(evento, quando.isEmpty() ? QString()
                                              : QStringLiteral("When (") + quando + QStringLiteral(") "))};
}

// The statement that takes it away.
inline QString TogliGuardia(bool sqlite)
{
    return sqlite ? QStringLiteral("Drop Trigger Regge") : QStringLiteral("Drop Trigger Regge On PianoConti");
}
