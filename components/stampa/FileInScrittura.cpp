// Buffered writing of an export file.
#include "components/stampa/FileInScrittura.h"

namespace {

constexpr qsizetype Blocco = 256 * 1024;

} // namespace

bool FileInScrittura::Apri(const QString &percorso, QString &errore)
{
    Scarta();
    m_file = std::make_unique<QSaveFile>(percorso);
    if (!m_file->open(QIODevice::WriteOnly)) {
        errore = QStringLiteral("Impossibile creare il file %1: %2").arg(percorso, m_file->errorString());
        m_file.reset();
        return false;
    }
    m_buffer.reserve(Blocco + 64 * 1024);
    m_errore = false;
    return true;
}

void FileInScrittura::svuota()
{
    if (m_file && !m_buffer.isEmpty() && m_file->write(m_buffer) != m_buffer.size())
        m_errore = true;
    m_buffer.clear();
}

void FileInScrittura::Aggiunto()
{
    if (m_buffer.size() >= Blocco)
        svuota();
}

bool FileInScrittura::Conferma(QString &errore)
{
    if (!m_file) {
        errore = QStringLiteral("Il file di stampa non è aperto");
        return false;
    }
    svuota();
    const QString nome = m_file->fileName();
    const bool ok = !m_errore && m_file->commit();
    if (!ok)
        errore = QStringLiteral("Impossibile scrivere il file %1: %2").arg(nome, m_file->errorString());
    m_file.reset();
    return ok;
}

void FileInScrittura::Scarta()
{
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset();
    }
    m_buffer.clear();
}
