// Finding the program INI and choosing among several INI files.
#pragma once

#include <QList>
#include <QString>

// Default name of the program INI.
inline const QString NomeIniPredefinito = QStringLiteral("morvane.ini");
// Environment variable that names the program INI (scripts, the demo).
inline const QString AmbienteIni = QStringLiteral("CLIENTI_INI");

// The program INI: psIni (switch "I", or the environment's CLIENTI_INI) taken
// as it is when it names a folder or is absolute; else the file of that name
// (morvane.ini when empty) in the program folder's "main" subfolder, then in
// the current folder. Empty when none exists.
QString CercaIni(const QString &psIni, const QString &psDirProgramma, const QString &psDirCorrente);

struct VoceIni {
    QString percorso;    // full path
    QString descrizione; // shown to the user
};

// The INI files to choose from: [Parametri Generali] NumIni entries IniN
// (paths, relative to the folder of psPathIni) described by DescIniN (else by
// their [Connessioni] NomeDB, else by the file name); with OrdIniDBase "S"
// sorted by description. Empty when NumIni is 0 or missing.
QList<VoceIni> ElencoIni(const QString &psPathIni);

// Lets the user pick one (kind of scripted answer "sceltaIni": the index, or
// -1 for none). The chosen path, or "" when the user gave up.
QString ScegliIni(const QList<VoceIni> &elenco);
