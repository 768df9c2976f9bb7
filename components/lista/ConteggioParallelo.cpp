// A list's count on a thread of its own.
#include "components/lista/ConteggioParallelo.h"

#include "components/db/DbMotore.h"
#include "components/util/VbErrore.h"

#include <QPointer>
#include <QSqlDriver>
#include <atomic>
#include <sqlite3.h>

// Whether the answer is still wanted; the thread's statement checks it every
// few thousand steps and gives up as soon as it is not.
struct ConteggioParallelo::Lavoro {
    std::atomic<bool> fermato{false};
};

namespace
{
std::atomic<int> g_inCorso{0};
}

int ConteggioParallelo::InCorso()
{
    return g_inCorso.load();
}

ConteggioParallelo::ConteggioParallelo(QObject *parent) : QObject(parent) {}

ConteggioParallelo::~ConteggioParallelo()
{
    Ferma();
    for (std::thread &t : m_thread)
        t.join();
}

void ConteggioParallelo::Ferma()
{
    if (m_lavoro)
        m_lavoro->fermato = true;
    m_lavoro.reset();
}

bool ConteggioParallelo::Avvia(DbMotore *db, const QString &connessione, const QString &sqlConta,
                               int etichetta)
{
    // A stopped count ends within a few thousand steps of its statement.
    Ferma();
    for (std::thread &t : m_thread)
        t.join();
    m_thread.clear();
    if (!db || !db->EsisteConnessione(connessione))
        return false;
    const DbMotore::FileSqlite file = db->DescriviFileSqlite(connessione);
    if (file.file.isEmpty())
        return false;
    auto lavoro = std::make_shared<Lavoro>();
    m_lavoro = lavoro;
    QPointer<ConteggioParallelo> io(this);
    // Goes with the last copy: the thread's, or the posted answer's once it
    // has run or been discarded.
    ++g_inCorso;
    std::shared_ptr<void> inCorso(nullptr, [](void *) { --g_inCorso; });
    m_thread.emplace_back([this, io, lavoro, file, sqlConta, etichetta, inCorso] {
        int righe = -1, numero = 0;
        QString descrizione;
        try {
            DbMotore motore;
            const QString c = QStringLiteral("Conteggio");
            motore.ApriFileSqlite(c, file);
            sqlite3 *h = *static_cast<sqlite3 *const *>(motore.DatabaseDao(c).driver()->handle().data());
            sqlite3_progress_handler(
                h, 4000, [](void *l) { return static_cast<Lavoro *>(l)->fermato.load() ? 1 : 0; },
                lavoro.get());
            const auto r = motore.Seleziona(c, sqlConta);
            righe = r->numRighe() > 0 ? r->valore(0, 0).toInt() : 0;
            sqlite3_progress_handler(h, 0, nullptr, nullptr);
        } catch (const VbErrore &e) {
            numero = e.numero();
            descrizione = e.descrizione();
        }
        if (lavoro->fermato)
            return;
        // Delivered on the window's thread, and dropped there when the count
        // was stopped meanwhile. The destructor waits for this thread, so the
        // object is alive while the call is posted.
        QMetaObject::invokeMethod(
            this,
            [io, lavoro, righe, numero, descrizione, etichetta, inCorso] {
                if (!io || lavoro->fermato)
                    return;
                if (righe >= 0)
                    emit io->Contate(etichetta, righe);
                else
                    emit io->Fallito(etichetta, numero, descrizione);
            },
            Qt::QueuedConnection);
    });
    return true;
}
