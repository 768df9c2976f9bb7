// The names a CUPS queue's driver description gives its papers and trays,
// in Italian where it has them (the program speaks Italian whatever the
// system's language), else in its own words. A queue without one (a
// driverless printer) has no names here.
#pragma once

#include <QHash>
#include <QString>
#include <cups/cups.h>

struct ppd_file_s;

class NomiCodaCups
{
  public:
    NomiCodaCups(http_t *http, const char *coda);
    ~NomiCodaCups();
    NomiCodaCups(const NomiCodaCups &) = delete;
    NomiCodaCups &operator=(const NomiCodaCups &) = delete;

    // The paper of that size (hundredths of a millimetre), empty when none.
    QString Carta(int larghezza, int lunghezza) const;
    // The tray of a "media-source" keyword ("tray-1", "manual"), empty when none.
    QString Cassetto(const QString &chiave) const;

  private:
    QString testo(const char *opzione, const char *scelta) const;
    ppd_file_s *m_ppd = nullptr;
    // "PageSize/A4" -> the Italian text ("*it.PageSize A4/A4: \"\"").
    QHash<QString, QString> m_italiano;
};
