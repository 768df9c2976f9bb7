// A file being written by an export: bytes gathered in a buffer and written
// in blocks under a temporary name; the file takes its name only when
// confirmed, so a stopped or failed export leaves the earlier file as it was.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <memory>

class FileInScrittura
{
  public:
    bool Apri(const QString &percorso, QString &errore);
    bool Aperto() const { return m_file != nullptr; }
    // The buffer to append to; Aggiunto() writes it out when it is large.
    QByteArray &Buffer() { return m_buffer; }
    void Aggiunto();
    // Writes what is left and puts the file in place.
    bool Conferma(QString &errore);
    void Scarta();

  private:
    void svuota();

    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_buffer;
    bool m_errore = false;
    int m_numeroErrore = 0; // errno of the first failed write
};
