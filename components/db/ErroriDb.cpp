// Mapping of engine failures onto DAO error numbers and Italian explanations.
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"
#include "components/util/UtilGlob.h"

#include <QRegularExpression>
#include <QSqlError>
#include <sqlite3.h>

namespace ErroriDb
{

QString DettaglioErrore(int numero, const QString &descrizione)
{
    QString testo = descrizione.trimmed();
    const QString prefisso = QString::number(numero) + QStringLiteral(" - ");
    if (testo.startsWith(prefisso))
        testo = testo.mid(prefisso.size());
    return QStringLiteral("\nDettaglio: errore %1, %2").arg(numero).arg(testo);
}

QString NascondiPassword(const QString &testo)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\b(pwd|password)\s*=\s*(\{(?:[^}]|\}\})*\}?|[^;\]\s]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString s = testo;
    s.replace(re, QStringLiteral("\\1=***"));
    return s;
}

namespace
{

const QString testoDuplicato = QStringLiteral(
    "Impossibile eseguire le modifiche richieste: si creerebbero valori duplicati nell'indice, nella chiave "
    "primaria o nella relazione. Controllare il codice: esiste già un record con gli stessi valori.");
const QString testoNull =
    QStringLiteral("Il campo non può contenere un valore Null: compilare i campi obbligatori e riprovare.");
const QString testoCorrelato = QStringLiteral("Record correlato richiesto: un codice indicato non esiste "
                                              "nella tabella a cui rimanda. Controllare i codici.");
const QString testoRegola =
    QStringLiteral("Il valore non rispetta le regole del database: controllare i dati inseriti.");
const QString testoBloccato = QStringLiteral("Impossibile aggiornare: i dati sono in uso su un'altra "
                                             "postazione (bloccati da un altro utente o programma). "
                                             "Riprovare tra qualche istante.");
const QString testoSintassi = QStringLiteral(
    "Errore di sintassi nell'istruzione SQL: segnalare il problema all'assistenza con il dettaglio.");
const QString testoTabella =
    QStringLiteral("Tabella non trovata: il database non ha la struttura che il programma si aspetta "
                   "(versione diversa o database sbagliato). Controllare il database indicato nel file INI.");
const QString testoLungo =
    QStringLiteral("Il testo è troppo lungo per il campo del database: accorciarlo e riprovare.");
const QString testoConversione = QStringLiteral(
    "Un valore non è valido per il suo campo (numero, data o testo): controllare i dati inseriti.");
const QString testoGenerico = QStringLiteral("Il database ha rifiutato l'operazione. Riprovare; se l'errore "
                                             "si ripete, segnalarlo all'assistenza con il "
                                             "dettaglio.");

// An Italian explanation followed by the engine's own words.
QString conDettaglio(const QString &spiegazione, const QString &dettaglio)
{
    const QString d = NascondiPassword(dettaglio).trimmed();
    return d.isEmpty() ? spiegazione : spiegazione + QStringLiteral("\nDettaglio: ") + d;
}

VbErrore errore(int numero, const QString &spiegazione, const QString &dettaglio)
{
    return VbErrore(numero, conDettaglio(spiegazione, dettaglio));
}

// The server's words without Qt's and the driver's trailers.
QString dettaglioServer(const QSqlError &e)
{
    QString d = e.databaseText().trimmed();
    d.remove(QRegularExpression(QStringLiteral(";?\\s*Error while executing the query$")));
    return d.isEmpty() ? e.text().trimmed() : d.trimmed();
}

} // namespace

VbErrore DaSqlite(int codice, const QString &messaggio)
{
    const QString &m = messaggio;
    switch (codice) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return errore(VbErrore::ChiaveDuplicata, testoDuplicato, m);
    case SQLITE_CONSTRAINT_NOTNULL:
        return errore(CampoNonNullo, testoNull, m);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return errore(RecordCorrelato, testoCorrelato, m);
    case SQLITE_CONSTRAINT_CHECK:
        return errore(Generico, testoRegola, m);
    default:
        break;
    }
    switch (codice & 0xff) {
    case SQLITE_READONLY:
        return DatabaseSolaLettura(m);
    case SQLITE_CANTOPEN:
        return errore(
            FileNonTrovato,
            QStringLiteral("Impossibile aprire il database: controllare che il file esista e che la sua "
                           "cartella sia accessibile e scrivibile."),
            m);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return errore(RecordBloccato, testoBloccato, m);
    case SQLITE_FULL:
        return errore(Generico, QStringLiteral("Il disco del database è pieno: liberare spazio e riprovare."),
                      m);
    case SQLITE_IOERR:
        return errore(
            Generico,
            QStringLiteral("Errore di lettura o scrittura del file del database: controllare il disco "
                           "o la rete e riprovare."),
            m);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return errore(Generico,
                      QStringLiteral("Il file del database è danneggiato o non è un database del programma: "
                                     "ripristinare una copia di sicurezza."),
                      m);
    case SQLITE_TOOBIG:
        return errore(TestoTroppoLungo, testoLungo, m);
    case SQLITE_CONSTRAINT:
        return errore(Generico, testoRegola, m);
    default:
        break;
    }
    if (m.contains(QLatin1String("parser stack overflow")) || m.contains(QLatin1String("too large")))
        return VbErrore(
            JetSql::ErroreTroppoComplessa,
            QStringLiteral("Istruzione SQL troppo complessa per il database: troppe parentesi o funzioni "
                           "una dentro l'altra. ") +
                m);
    if (m.contains(QLatin1String("no such table")))
        return errore(TabellaNonTrovata, testoTabella, m);
    if (m.contains(QLatin1String("syntax error")) || m.contains(QLatin1String("no such column")) ||
        m.contains(QLatin1String("no such function")))
        return errore(ErroreSintassi, testoSintassi, m);
    return errore(Generico, testoGenerico, m);
}

VbErrore DaQt(const QSqlError &e, bool odbc, const QString &statoSql)
{
    const QString m = odbc ? dettaglioServer(e) : e.text();
    const QString &s = statoSql;
    const QString testo = e.text();
    if (s == QLatin1String("23505") || testo.contains(QLatin1String("duplicate key")))
        return errore(VbErrore::ChiaveDuplicata, testoDuplicato, m);
    if (s == QLatin1String("23502") || testo.contains(QLatin1String("violates not-null")))
        return errore(CampoNonNullo, testoNull, m);
    if (s == QLatin1String("23503") || testo.contains(QLatin1String("violates foreign key")))
        return errore(RecordCorrelato, testoCorrelato, m);
    if (s.startsWith(QLatin1String("23")))
        return errore(Generico, testoRegola, m);
    if (s == QLatin1String("25006") || testo.contains(QLatin1String("read-only transaction")))
        return DatabaseSolaLettura(m);
    if (s == QLatin1String("42501") || testo.contains(QLatin1String("permission denied")))
        return errore(
            SolaLettura,
            QStringLiteral("L'utente del database non ha il permesso di eseguire l'operazione: chiedere "
                           "all'amministratore del database i permessi necessari."),
            m);
    if (s == QLatin1String("22001"))
        return errore(TestoTroppoLungo, testoLungo, m);
    if (s.startsWith(QLatin1String("22")))
        return errore(ConversioneDati, testoConversione, m);
    if (s == QLatin1String("42P01") ||
        (testo.contains(QLatin1String("relation")) && testo.contains(QLatin1String("does not exist"))))
        return errore(TabellaNonTrovata, testoTabella, m);
    if (s.startsWith(QLatin1String("42")))
        return errore(ErroreSintassi, testoSintassi, m);
    if (s == QLatin1String("40001") || s == QLatin1String("40P01") || s == QLatin1String("55P03"))
        return errore(RecordBloccato, testoBloccato, m);
    if (s.startsWith(QLatin1String("53")))
        return errore(Generico,
                      QStringLiteral("Il server del database non ha risorse sufficienti (disco, memoria o "
                                     "collegamenti): avvisare l'amministratore del database."),
                      m);
    if (IndicaConnessionePersa(e, s))
        return ConnessionePersa(m);
    if (odbc)
        return errore(VbErrore::ChiamataOdbcFallita,
                      QStringLiteral("ODBC: chiamata non riuscita. ") + testoGenerico, m);
    return errore(Generico, testoGenerico, m);
}

bool IndicaConnessionePersa(const QSqlError &e, const QString &statoSql)
{
    if (statoSql.startsWith(QLatin1String("08")) || statoSql == QLatin1String("57P01") ||
        statoSql == QLatin1String("57P02") || statoSql == QLatin1String("57P03"))
        return true;
    static const char *const parole[] = {
        "connection has been lost",    "connection lost",     "server closed the connection",
        "no connection to the server", "could not send data", "could not receive data",
        "terminating connection",      "connection dead",     "connection not open",
    };
    const QString t = e.text();
    for (const char *p : parole)
        if (t.contains(QLatin1String(p), Qt::CaseInsensitive))
            return true;
    return false;
}

bool ErroreDiSequenza(const QSqlError &e, const QString &statoSql)
{
    return statoSql == QLatin1String("HY010") || statoSql == QLatin1String("S1010") ||
           e.text().contains(QLatin1String("Function sequence error"), Qt::CaseInsensitive);
}

VbErrore ConnessionePersa(const QString &dettaglio)
{
    return errore(
        ConnessioneOdbcFallita,
        QStringLiteral("Il collegamento con il database è stato perso: il server non risponde. "
                       "L'operazione non è stata completata e i dati non salvati restano nella "
                       "maschera. Quando il server sarà di nuovo raggiungibile ripetere l'operazione: "
                       "il programma si ricollegherà da solo."),
        dettaglio);
}

VbErrore ConfermaIncerta(const QString &dettaglio)
{
    return errore(
        ConnessioneOdbcFallita,
        QStringLiteral("Il collegamento con il database si è interrotto mentre le modifiche venivano "
                       "confermate: non si può sapere se sono state salvate. I dati restano nella "
                       "maschera; appena il server risponde di nuovo il record viene riletto, e un "
                       "messaggio dice che cosa risulta salvato nel database."),
        dettaglio);
}

VbErrore RicollegamentoFallito(const QString &dettaglio)
{
    return errore(
        ConnessioneOdbcFallita,
        QStringLiteral("Il database non è ancora raggiungibile: il collegamento perso non si è potuto "
                       "ristabilire. Controllare che il server sia acceso e raggiungibile dalla rete, "
                       "poi ripetere l'operazione. I dati non salvati restano nella maschera."),
        dettaglio);
}

VbErrore DatabaseSolaLettura(const QString &dettaglio)
{
    return errore(
        SolaLettura,
        QStringLiteral("Impossibile salvare: il database è in sola lettura. Per poter salvare, chiedere "
                       "all'amministratore il permesso di scrittura sul database (il file e la sua "
                       "cartella, o l'utente del server), poi riavviare il programma."),
        dettaglio);
}

VbErrore RigaModificata()
{
    static const UtilGlob util;
    return VbErrore(RecordModificato, util.TestoErrore(RecordModificato));
}

} // namespace ErroriDb
