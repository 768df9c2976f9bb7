// Buffered writing of an export file.
#include "components/stampa/FileInScrittura.h"

#include "components/stampa/MessaggiStampa.h"

#include <cerrno>

namespace
{

constexpr qsizetype Blocco = 256 * 1024;

} // namespace

bool FileInScrittura::Apri(const QString &percorso, QString &errore)
{
    Scarta();
    m_file = std::make_unique<QSaveFile>(percorso);
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly)) {
        errore = messaggi_stampa::FileNonScrivibile(percorso, errno, m_file->errorString());
        m_file.reset();
        return false;
    }
    m_buffer.reserve(Blocco + 64 * 1024);
    m_errore = false;
    m_numeroErrore = 0;
    return true;
}

void FileInScrittura::svuota()
{
    if (m_file && !m_buffer.isEmpty()) {
        errno = 0;
        if (m_file->write(m_buffer) != m_buffer.size()) {
            if (!m_errore)
                m_numeroErrore = errno;
            m_errore = true;
        }
    }
    m_buffer.resize(0); // keeps its room for the next block
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
    errno = 0;
    const bool ok = !m_errore && m_file->commit();
    if (!ok)
        errore = messaggi_stampa::FileNonScrivibile(nome, m_errore ? m_numeroErrore : errno,
                                                    m_file->errorString());
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
