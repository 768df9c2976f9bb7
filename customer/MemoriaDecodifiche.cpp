#include "customer/MemoriaDecodifiche.h"

#include "components/db/DbMotore.h"
#include "components/db/JetSql.h"
#include "components/db/Risultato.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"

namespace
{

// Beyond this many values the memory starts again: a long walk over the
// customers does not grow it without end.
constexpr qsizetype MassimoVoci = 4096;

// A counter's value: no row yet means nothing has changed since its table was made.
qint64 valoreContatore(const QVariant &v)
{
    return v.isNull() ? 0 : v.toLongLong();
}

} // namespace

const QString MemoriaDecodifiche::SqlVersione =
    QStringLiteral("SELECT Versione FROM VersioneDecodifiche WHERE Id = 1");

QString MemoriaDecodifiche::SqlVersioni(const QString &tabellaVersioneMenu)
{
    // One round trip for both: each counter's row, or Null when it has none yet.
    return QStringLiteral("SELECT (SELECT Versione FROM VersioneDecodifiche WHERE Id = 1) AS Azienda, "
                          "(SELECT Versione FROM ") +
           tabellaVersioneMenu + QStringLiteral(" WHERE Id = 1) AS Menu");
}

QString MemoriaDecodifiche::TabellaMenu(const QString &tabella, bool *passThrough)
{
    const bool server = TipoConnOdbc(Globali::NomeDbAzienda);
    if (passThrough)
        *passThrough = server;
    if (server) {
        QString schema =
            Globali::DbComp()->Parametro(QStringLiteral("SchemaMenu:") + Globali::DbAzienda).toString();
        if (schema.isEmpty())
            schema = QStringLiteral("menu");
        return schema + JetSql::SegnapostoOwner + tabella;
    }
    if (Globali::NomeDbMenu.isEmpty())
        return {};
    return QStringLiteral("[;Database=") + Globali::NomeDbMenu + Globali::PwdConnectMenu +
           QStringLiteral(";].") + tabella;
}

void MemoriaDecodifiche::ImpostaMenu(const QString &tabellaVersioneMenu)
{
    if (tabellaVersioneMenu == m_menu)
        return;
    m_menu = tabellaVersioneMenu;
    m_senzaMenu = false;
    m_contatoriLetti = false;
}

QString MemoriaDecodifiche::ColonneVersioni() const
{
    if (m_senzaContatore || !m_contatoriLetti)
        return {};
    QString colonne =
        QStringLiteral("(SELECT Versione FROM VersioneDecodifiche WHERE Id = 1) AS VersioneAzienda");
    if (m_conMenuLetto)
        colonne += QStringLiteral(", (SELECT Versione FROM ") + m_menu +
                   QStringLiteral(" WHERE Id = 1) AS VersioneMenu");
    return colonne;
}

void MemoriaDecodifiche::VersioneDalRecord(const QVariant &azienda, const QVariant &menu)
{
    if (!m_passo || m_senzaContatore)
        return;
    m_versionePasso = Versione{valoreContatore(azienda),
                               m_conMenuLetto ? std::optional<qint64>(valoreContatore(menu)) : std::nullopt};
    m_lettaNelPasso = true;
}

MemoriaDecodifiche::Lettura MemoriaDecodifiche::versione()
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
    Lettura v;
    if (!m_menu.isEmpty() && !m_senzaMenu) {
        try {
            const std::unique_ptr<Risultato> r = db->Seleziona(Globali::DbAzienda, SqlVersioni(m_menu));
            if (r->numRighe() > 0)
                v = Versione{valoreContatore(r->valore(0, 0)), valoreContatore(r->valore(0, 1))};
        } catch (const VbErrore &) {
            // A menu without its counter (made before it and read-only, or
            // not there): its countries are read every time, and the menu's
            // counter is not tried again.
            m_senzaMenu = true;
        }
    }
    if (!v) {
        try {
            const std::unique_ptr<Risultato> r = db->Seleziona(Globali::DbAzienda, SqlVersione);
            v = Versione{r->numRighe() == 0 ? 0 : valoreContatore(r->valore(0, 0)), std::nullopt};
        } catch (const VbErrore &) {
            // A company without the counter (an old file that could not take
            // it): every look-up goes to the tables, and the counter is not
            // tried again.
            m_senzaContatore = true;
            m_voci.clear();
            m_versioneVoci.reset();
            return std::nullopt;
        }
    }
    if (m_passo) {
        m_versionePasso = v;
        m_lettaNelPasso = true;
    }
    m_contatoriLetti = true;
    m_conMenuLetto = v->menu.has_value();
    return v;
}

std::optional<QVariantList> MemoriaDecodifiche::Cerca(const QString &chiave, Lettura &letta, bool dalMenu)
{
    const Lettura v = versione();
    letta = v;
    if (!v || v != m_versioneVoci) {
        m_voci.clear();
        m_versioneVoci = v;
    } else if (const auto it = m_voci.constFind(chiave); it != m_voci.cend() && (!dalMenu || v->menu)) {
        return *it;
    }
    // Values the menu's tables give are not kept without its counter.
    if (dalMenu && v && !v->menu)
        letta.reset();
    return std::nullopt;
}

void MemoriaDecodifiche::Ricorda(const QString &chiave, const QVariantList &valori, const Lettura &letta)
{
    if (!letta || letta != m_versioneVoci)
        return;
    if (m_voci.size() >= MassimoVoci)
        m_voci.clear();
    m_voci.insert(chiave, valori);
}
