// The deterministic demo company database and its common menu database.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class Casuale;

struct OpzioniDemo {
    QString percorso;     // company database (SQLite file), replaced if present
    QString percorsoMenu; // common menu database; empty: "menu.db" beside percorso
    int clienti = 300;
    std::uint64_t seme = 1;
};

struct EsitoDemo {
    int clienti = 0, altriConti = 0, documenti = 0, righe = 0, comuni = 0;
    QString percorsoMenu;
};

// Writes both databases; throws VbErrore when a file cannot be written.
EsitoDemo GeneraDemo(const OpzioniDemo &opzioni);

// The working year and date the demo is built around (host parameters
// "CoGe.AnnoCorr" and the working date agree with them).
constexpr int AnnoDemo = 2024;
inline QDate DataLavoroDemo()
{
    return QDate(AnnoDemo, 11, 15);
}

namespace DemoInterno
{

struct Comune {
    QString nome, provincia, codice, cap;
    int popolazione = 0, zona = 0;
};

// What the customers' documents need to know about them.
struct Cliente {
    QString gruppo, mastro, conto;
    QString moneta, pagamento, sconto, scontoPag;
    bool professionista = false, privato = false, estero = false, bolli = false;
    int dicIntenti = 0; // number of the active letter of intent, 0 when none
    int archetipo = -1; // the first customers are fixed kinds, so every demo has them all
};

// Municipalities of the resource, in cadastral-code order.
std::vector<Comune> LeggiComuni();

// The steps of GeneraDemo, each inside the caller's transaction.
int ScriviTabelle(QSqlDatabase &db, const std::vector<Comune> &comuni); // answers the accounts written
std::vector<Cliente> ScriviClienti(QSqlDatabase &db, Casuale &caso, const std::vector<Comune> &comuni, int n);
int ScriviDocumenti(QSqlDatabase &db, Casuale &caso, const std::vector<Cliente> &clienti, int &righe);
void ScriviMenu(QSqlDatabase &db);

} // namespace DemoInterno
