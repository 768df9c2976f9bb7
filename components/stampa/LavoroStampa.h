// The running print of the engine, shared by its source files (not a public
// header): the rows, the columns chosen, the texts and the page range.
#pragma once

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/SorgenteRighe.h"
#include "components/stampa/Stampatore.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTemporaryFile>
#include <memory>

class OpzStampa;

struct Stampatore::Lavoro {
    explicit Lavoro(SorgenteRighe &sorgente) : righe(sorgente) {}

    SorgenteRighe &righe;
    QString tipo;
    int orientamento = -1;
    QFont font;
    QList<ColonnaStampa> tutte;
    QList<int> indici;
    QList<ColonnaStampa> colonne;
    QString titolo, descrizione;
    int paginaDa = 1; // first page printed
    int paginaA = 0;  // last page printed; 0 to the end
};

namespace lavoro_stampa
{

// An empty temporary file (closed, removed with the object) named after
// `modello` ("clienti-stampa-XXXXXX.pdf"); nullptr with `errore` set.
std::unique_ptr<QTemporaryFile> FileTemporaneo(const QString &modello, QString &errore);
// A file name of the options: a relative one goes into the default folder.
QString PercorsoCompleto(const OpzStampa &opz, const QString &nome);
// Hands a finished file to the queue of `stampante`; true when the queue is
// printing it, else `esito` says why not (waiting in a stopped queue,
// refused).
bool InviaACoda(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                EsitoStampa &esito);

} // namespace lavoro_stampa
