// The printer catalogue: the printers of the system (names, device
// addresses, drivers, the default one), the paper trays and paper sizes of
// each, and the sending of a finished print to a queue. The program's own
// catalogue reads CUPS (CatalogoCups); tests install a fake (CatalogoFinto).
//
// Trays and papers carry numbers as the program's print options store them:
// papers take the Windows paper numbers (9 A4, 1 Letter, 11 A5, 8 A3...;
// sizes without one from 256 up), trays the Windows bin numbers where CUPS
// names one of those bins (1 upper, 2 lower, 3 middle, 4 manual, 5 envelope,
// 7 automatic, 8 tractor, 11 large capacity), "tray-N" as 256 + N, and any
// other tray from 300 up in the printer's order.
#pragma once

#include "components/stampa/Stampante.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <memory>

// A tray or a paper size of a printer.
struct VoceCarta {
    int numero = 0;
    QString nome;      // shown to the user
    QString chiave;    // the name CUPS knows it by ("tray-1", "iso_a4_210x297mm")
    QSizeF millimetri; // a paper's width and height (empty for a tray)
};

// What became of a job handed to a queue.
enum class EsitoInvio {
    Accettato, // the queue took it and is printing it
    InAttesa,  // the queue took it but holds it (printer stopped, job held): nothing printed yet
    Rifiutato, // the queue did not take it
};

// How a job goes to a queue.
struct OpzioniLavoro {
    QString titolo;
    int cassetto = 0; // tray number; 0 the printer's own choice
    int carta = 0;    // paper number; 0 the printer's own
    int copie = 1;
    bool grezzo = false; // bytes for the printer as they are (fixed-length print)
};

class CatalogoStampanti
{
  public:
    virtual ~CatalogoStampanti() = default;

    // Installed printers, the PDF printers the engine renders itself included.
    QList<Stampante> Stampanti();
    // The system's default printer ("" when none).
    QString Predefinita();
    virtual QList<VoceCarta> Cassetti(const QString &stampante) = 0;
    virtual QList<VoceCarta> Carte(const QString &stampante) = 0;
    // The paper sizes into `carte`; false when the printer declared a number
    // of sizes that differs from the sizes it then gave (a driver that
    // cannot be trusted on its papers): `carte` then holds what it gave.
    virtual bool LeggiCarte(const QString &stampante, QList<VoceCarta> &carte)
    {
        carte = Carte(stampante);
        return true;
    }
    // Sends a file (a PDF, or with `grezzo` the printer's own bytes) to the
    // queue, then reads the queue's and the job's state: a job that waits
    // (InAttesa) or was refused (Rifiutato) comes with `messaggio`, in
    // Italian, saying what happened and what to do.
    virtual EsitoInvio Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                             QString &messaggio) = 0;

    // The installed printer of that name (without regard to case), or an
    // invalid one.
    Stampante Cerca(const QString &nome);
    // The printer a fixed-length destination names: a queue by name, or the
    // queue whose port (device address) it is.
    Stampante CercaPerNomeOPorta(const QString &nomeOPorta);

  protected:
    // What the system says now (Stampanti and Predefinita answer from one
    // reading while a LetturaCatalogo lives).
    virtual QList<Stampante> LeggiStampanti() = 0;
    virtual QString LeggiPredefinita() = 0;
};

// While one lives, the catalogue in use answers the printers and the default
// printer from one reading of the system: a window that asks many times
// while it fills itself (each printer's port, the current printer, its
// label) asks the print server once. Nested ones share the reading.
class LetturaCatalogo
{
  public:
    LetturaCatalogo();
    ~LetturaCatalogo();
    LetturaCatalogo(const LetturaCatalogo &) = delete;
    LetturaCatalogo &operator=(const LetturaCatalogo &) = delete;
};

// The catalogue the program uses (CUPS unless replaced).
CatalogoStampanti &Catalogo();
// Replaces it (tests); nullptr goes back to CUPS.
void ImpostaCatalogo(std::unique_ptr<CatalogoStampanti> catalogo);

// Names of the PDF printers the engine renders itself.
QStringList StampantiPdf();
bool EStampantePdf(const QString &nome);
// Appends to a catalogue's list the PDF printers it does not name already.
void AggiungiStampantiPdf(QList<Stampante> &stampanti);
