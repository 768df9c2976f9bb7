// ServerCups: the CUPS server of the print tests, with its PDF queue (jobs
// become PDF files in a folder) and its laser queue behind a socket port
// (jobs land as bytes in a folder). Uses the server scripts/test started
// (CLIENTI_CUPS_* in the environment) or starts a private one with
// scripts/services and stops it at the end. With CI=true a server that cannot
// be had is a failure, never a skip.
#pragma once

#include <QString>
#include <functional>

class ServerCups
{
  public:
    // The shared server, started on first use; nullptr (and `motivo` set)
    // when none can be had.
    static ServerCups *Istanza(QString *motivo = nullptr);

    // Points this process's libcups and Qt at the server.
    void Attiva() const;

    QString server, codaPdf, cartellaPdf, codaGrezza, cartellaGrezza;

    // The first file of `cartella` (checked every 100 ms for up to
    // `millisecondi`) whose name satisfies `scelta`; "" when none came.
    static QString AttendiFile(const QString &cartella, const std::function<bool(const QString &)> &scelta,
                               int millisecondi = 60000);

    ~ServerCups();

  private:
    ServerCups() = default;
    QString m_cartellaPrivata;
};

bool CupsObbligatorio();
