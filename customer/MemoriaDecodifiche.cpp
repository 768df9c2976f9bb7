#include "customer/MemoriaDecodifiche.h"

#include "components/db/DbMotore.h"
#include "components/db/Risultato.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

namespace
{

// Beyond this many values the memory starts again: a long walk over the
// customers does not grow it without end.
constexpr qsizetype MassimoVoci = 4096;

} // namespace

const QString MemoriaDecodifiche::SqlVersione =
    QStringLiteral("SELECT Versione FROM VersioneDecodifiche WHERE Id = 1");

std::optional<qint64> MemoriaDecodifiche::versione()
{
    if (m_senzaContatore)
        return std::nullopt;
    if (m_passo && m_lettaNelPasso)
        return m_versionePasso;
    DbMotore *db = Globali::DbComp();
    // Inside a transaction a failed read could spoil it on a server: the
    // tables are read instead.
    if (!db || !db->EsisteConnessione(Globali::DbAzienda) || db->LivelloTrans(Globali::DbAzienda) > 0)
        return std::nullopt;
    std::optional<qint64> v;
    try {
        const std::unique_ptr<Risultato> r = db->Seleziona(Globali::DbAzienda, SqlVersione);
        // No row yet: nothing has changed since the table was made.
        v = r->numRighe() == 0 ? 0 : r->valore(0, 0).toLongLong();
    } catch (const VbErrore &) {
        // A company without the counter (an old file that could not take it):
        // every look-up goes to the tables, and the counter is not tried again.
        m_senzaContatore = true;
        m_voci.clear();
        m_versioneVoci.reset();
        return std::nullopt;
    }
    if (m_passo) {
        m_versionePasso = v;
        m_lettaNelPasso = true;
    }
    return v;
}

std::optional<QVariantList> MemoriaDecodifiche::Cerca(const QString &chiave, std::optional<qint64> &letta)
{
    const std::optional<qint64> v = versione();
    letta = v;
    if (!v || v != m_versioneVoci) {
        m_voci.clear();
        m_versioneVoci = v;
        return std::nullopt;
    }
    const auto it = m_voci.constFind(chiave);
    if (it == m_voci.cend())
        return std::nullopt;
    return *it;
}

void MemoriaDecodifiche::Ricorda(const QString &chiave, const QVariantList &valori,
                                 std::optional<qint64> letta)
{
    if (!letta || letta != m_versioneVoci)
        return;
    if (m_voci.size() >= MassimoVoci)
        m_voci.clear();
    m_voci.insert(chiave, valori);
}
