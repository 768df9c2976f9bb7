// The lookup library: decoding of codes into descriptions and the modal
// lookup window, with its two parameter objects (ParColonne: the columns the
// next lookup offers; NuovaRicerca: what the last lookup found) and its events
// as Qt signals, which the program's receiver handles.
//
// Key codes of a lookup: F2 opens the window on the text typed (code prefix or
// description containing it); F3 decodes the text (an exact code, else an
// exact description) and opens the window only when that finds no single row;
// F4 opens it searching and ordered by description, F5 searching and ordered
// by code; F6 to F12 open it on the whole list (F12 in description order).
// A negative key code decodes only and never opens a window.
#pragma once

#include "components/aiuto/DefRicerca.h"
#include "components/aiuto/ParametriAiuto.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class ContestoPrg;
class Risultato;
class QWidget;

// The lookup of the last lookup or decoding: its parameters ("RetField": the
// column of the cell the user picked, "Text": that cell's text) and the row found.
class RicercaAiuto : public ParametriAiuto
{
  public:
    // A column of the row chosen or decoded; an invalid QVariant when there is
    // none or the lookup did not read that column.
    QVariant RetVal(const QString &colonna) const;
    bool Trovato() const { return m_trovato; }
    QString Codice() const { return m_codice; }
    QString Descrizione() const { return m_descrizione; }
    QStringList Colonne() const { return m_colonne; }

    void ImpostaRiga(const QString &codice, const QString &descrizione, const QStringList &colonne,
                     const QVariantList &valori);
    void AzzeraRiga();

  private:
    bool m_trovato = false;
    QString m_codice, m_descrizione;
    QStringList m_colonne;
    QVariantList m_valori;
};

// One lookup request.
struct RichiestaRicerca {
    QString testo;      // text of the code box
    int tasto = 113;    // key code (F2 by default)
    QString condizione; // further condition, Jet dialect ("" = none)
    QStringList campi; // field list: column names, "§pri§" code and description, "§dop§" the kind's columns
    bool nuovo = false; // offer the "Nuovo" button that launches the kind's program
    QWidget *parent = nullptr;
};

class AiutoDecod : public QObject
{
    Q_OBJECT
  public:
    // Search modes of the rows' SELECT.
    enum class Cerca { Tutto, Codice, Descrizione };

    explicit AiutoDecod(QObject *parent = nullptr);
    ~AiutoDecod() override;

    // The data-access object, company connection and main window the library works with.
    void ImpostaContesto(ContestoPrg *contesto) { m_contesto = contesto; }
    ContestoPrg *Contesto() const { return m_contesto; }

    ParametriAiuto &ParColonne() { return m_parColonne; }
    RicercaAiuto &NuovaRicerca() { return m_nuovaRicerca; }
    // The library's own settings ("PathDbMenu"...).
    ParametriAiuto &Parametri() { return m_parametri; }

    // Decodes `codice` (a composed code is cut by def.spezza): true when the
    // row exists, with NuovaRicerca holding it; `condizione` narrows further.
    // An empty code is never found.
    bool Decodifica(const DefRicerca &def, const QString &codice, const QString &condizione = {});

    // Runs a lookup by key code (see the top of this file). True when the user
    // chose a row, which NuovaRicerca then holds; false leaves NuovaRicerca
    // without a row. The columns set on ParColonne are used and then cleared.
    bool Ricerca(const DefRicerca &def, const RichiestaRicerca &richiesta);

    // The columns the window shows for `def` with the field list and ParColonne.
    QList<ColonnaRicerca> ColonneFinestra(const DefRicerca &def, const QStringList &campi) const;
    // The rows' SELECT: `testo` searched as `modo` says, in code or description order.
    QString SqlRighe(const DefRicerca &def, const QList<ColonnaRicerca> &colonne, const QString &testo,
                     Cerca modo, bool perDescrizione, const QString &condizione = {}) const;
    std::unique_ptr<Risultato> Righe(const DefRicerca &def, const QString &sql) const;
    // Makes row `riga` of `righe` the found row of NuovaRicerca; `colonna` is
    // the column of the cell picked ("" when none).
    void ScegliRiga(const DefRicerca &def, const Risultato &righe, int riga, const QString &colonna);

    // Asks the program to launch another one on a key (the window's "Nuovo").
    void LanciaProgramma(const QString &chiavePrim, const QString &chiaveSec);

    // The condition that finds `codice` (each part of a composed code on its column).
    static QString CondizioneCodice(const DefRicerca &def, const QString &codice);

    // Aliases under which the SELECT carries the code and the description.
    static const QString AliasCodice, AliasDescrizione;

  signals:
    // The library asks for the program's main window (parent of its windows).
    void ClsMainMenuFrm(QWidget *&frm);
    // A decoding or lookup of `tipo` is about to run.
    void ClsPrepDecod(const QString &tipo);
    // A lookup asks to launch another program with these keys.
    void LanciaKeyPrim(const QString &chiave);
    void LanciaKeySec(const QString &chiave);

  private:
    bool cercaUnica(const DefRicerca &def, const QList<ColonnaRicerca> &colonne, const QString &testo,
                    const QString &condizione);
    bool rispostaProgrammata(const DefRicerca &def, const QList<ColonnaRicerca> &colonne,
                             const RichiestaRicerca &r, bool perDescrizione, Cerca modo,
                             const QString &testo);

    ContestoPrg *m_contesto = nullptr;
    ParametriAiuto m_parColonne, m_parametri;
    RicercaAiuto m_nuovaRicerca;
};
