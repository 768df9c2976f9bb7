// RigheLista: pages of a list's rows, read on demand and found by the values
// of their neighbouring rows.
#include "components/lista/RigheLista.h"

#include "components/db/CursoreSqlite.h"
#include "components/db/DbMotore.h"
#include "components/db/JetSql.h"

#include <algorithm>
#include <climits>

namespace
{

QString nomeNudo(const QString &colonna)
{
    const qsizetype punto = colonna.lastIndexOf(QLatin1Char('.'));
    QString n = punto >= 0 ? colonna.mid(punto + 1) : colonna;
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    return n;
}

bool numerico(Risultato::Tipo t)
{
    return t == Risultato::Tipo::Intero || t == Risultato::Tipo::Reale || t == Risultato::Tipo::Decimale;
}

// A value read elsewhere as the engine's text, as a value of its column's kind
// (invalid when the text is not one).
QVariant valoreDelTipo(const QVariant &v, Risultato::Tipo tipo)
{
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return v;
    const QString t = v.toString().trimmed();
    switch (tipo) {
    case Risultato::Tipo::Data:
        return QDate::fromString(t.left(10), Qt::ISODate);
    case Risultato::Tipo::DataOra:
        return QDateTime::fromString(QString(t).replace(QLatin1Char(' '), QLatin1Char('T')), Qt::ISODate);
    case Risultato::Tipo::Intero: {
        bool ok = false;
        const qlonglong n = t.toLongLong(&ok);
        return ok ? QVariant(n) : QVariant();
    }
    case Risultato::Tipo::Reale: {
        bool ok = false;
        const double d = t.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case Risultato::Tipo::Booleano:
        return t != QLatin1String("0") && t.compare(QLatin1String("f"), Qt::CaseInsensitive) != 0 &&
               t.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    default:
        return v; // texts as they are, exact amounts as the engine wrote them
    }
}

// Appends the rows of `da` to `a`; the last first when `rovesciate` (rows read
// backwards from a row).
void accoda(Risultato &a, const Risultato &da, bool rovesciate = false)
{
    const int n = da.numRighe();
    for (int i = 0; i < n; ++i)
        a.aggiungiRiga(da.riga(rovesciate ? n - 1 - i : i));
}

} // namespace

RigheLista::RigheLista() = default;
RigheLista::~RigheLista() = default;

void RigheLista::ImpostaDatabase(DbMotore *db, const QString &connessione)
{
    m_db = db;
    m_connessione = connessione;
}

// The translator gives Jet's order on every engine: Null before every value.
bool RigheLista::nulliPiccoli() const
{
    return true;
}

// Every page is read in the list's order: the engine keeps it on the order's index
// whatever its statistics say (DbMotore::LetturaInOrdine).
std::unique_ptr<Risultato> RigheLista::leggi(const QString &sql)
{
    ++m_stat.pagine;
    return m_db->Seleziona(m_connessione, sql, DbMotore::LetturaInOrdine);
}

std::unique_ptr<Risultato> RigheLista::leggiDopo(const QString &condizione, const QStringList &chiave,
                                                 bool prima, int limite, bool pagina, qint64 salto)
{
    if (pagina)
        ++m_stat.pagine;
    std::unique_ptr<Risultato> righe;
    for (const QString &pezzo : SqlLista::CondizioniDopo(m_ordine, chiave, nulliPiccoli(), prima)) {
        const int mancano = righe ? limite - righe->numRighe() : limite;
        if (mancano <= 0)
            break;
        const QString cond = condizione.isEmpty() ? pezzo : condizione + QStringLiteral(" And ") + pezzo;
        std::unique_ptr<Risultato> r = m_db->Seleziona(
            m_connessione,
            SqlLista::Pagina(m_parti, cond, m_ordine, prima, mancano, int(std::min<qint64>(salto, INT_MAX))),
            DbMotore::LetturaInOrdine);
        if (salto > 0 && r->numRighe() == 0) {
            // The rows to skip go beyond this piece: skip the whole piece.
            salto = std::max<qint64>(0, salto - conta(cond));
            continue;
        }
        salto = 0;
        if (!righe)
            righe = std::move(r);
        else
            accoda(*righe, *r);
    }
    return righe ? std::move(righe) : std::make_unique<Risultato>(m_colonne);
}

int RigheLista::conta(const QString &condizione)
{
    ++m_stat.conteggi;
    const QString sql = SqlLista::Conteggio(m_parti) +
                        (m_parti.haWhere ? QStringLiteral(" And ") : QStringLiteral(" Where ")) + condizione;
    auto r = m_db->Seleziona(m_connessione, sql);
    return r->numRighe() > 0 ? r->valore(0, 0).toInt() : 0;
}

// The ordering: the SELECT's own columns, then the key columns it lacks. Read
// by neighbouring values only when every one of them is selected.
void RigheLista::preparaOrdine()
{
    if (m_ordinePronto)
        return;
    m_ordinePronto = true;
    m_ordine = m_parti.ordine;
    m_perChiave = false;
    if (!m_parti.semplice || !m_parti.ordineSemplice)
        return;
    const JetSql::AnalisiSelect a = JetSql::Analizza(m_parti.testo);
    if (!a.valida)
        return;
    // Without a record form's key, the primary key of the one table read.
    QStringList chiave = m_chiave;
    if (chiave.isEmpty() && a.tabelle.size() == 1 && a.tabelle[0].databaseJet.isEmpty() && m_db)
        chiave = m_db->ChiavePrimaria(m_connessione, a.tabelle[0].tabella, a.tabelle[0].schema);
    if (chiave.isEmpty())
        return;
    bool tutte = false;
    QStringList selezionate;
    for (const JetSql::VoceSelect &v : a.voci) {
        if (v.campo == QLatin1String("*") && v.qualifica.isEmpty())
            tutte = true;
        selezionate << (v.alias.isEmpty() ? v.campo : v.alias).toLower();
    }
    auto selezionata = [&](const QString &colonna) {
        return tutte || selezionate.contains(nomeNudo(colonna).toLower());
    };
    for (const SqlLista::VoceOrdine &v : std::as_const(m_ordine))
        if (!selezionata(v.colonna))
            return;
    // The key's columns follow in the direction of the last column, so that
    // one index of the whole ordering is read in one direction; a record's
    // key is never Null.
    const bool discendente = !m_ordine.isEmpty() && m_ordine.back().discendente;
    for (const QString &k : std::as_const(chiave)) {
        if (!selezionata(k))
            return;
        auto stessa = [&](const SqlLista::VoceOrdine &v) {
            return nomeNudo(v.colonna).compare(nomeNudo(k), Qt::CaseInsensitive) == 0;
        };
        if (auto v = std::find_if(m_ordine.begin(), m_ordine.end(), stessa); v != m_ordine.end())
            v->maiNullo = true;
        else
            m_ordine << SqlLista::VoceOrdine{k, discendente, true};
    }
    m_perChiave = true;
}

void RigheLista::Apri(const QString &sql)
{
    apri(sql, {}, -1);
}

int RigheLista::ApriIntorno(const QString &sql, const QVariantList &valoriChiave, int totale)
{
    return apri(sql, valoriChiave, totale);
}

int RigheLista::apri(const QString &sql, const QVariantList &intorno, int totale)
{
    // The new reading is made apart and replaces this one only once its first
    // page is read: a SELECT that fails leaves the rows that were there.
    RigheLista nuova;
    nuova.m_db = m_db;
    nuova.m_connessione = m_connessione;
    nuova.m_chiave = m_chiave;
    nuova.m_apertura = m_apertura;
    nuova.m_ancoraggio = m_ancoraggio;
    nuova.m_avvisoSpostamento = m_avvisoSpostamento;
    nuova.m_righeVicine = m_righeVicine;
    // The same SELECT again (a refresh, the same search) keeps its reading.
    if (sql == m_parti.testo) {
        nuova.m_parti = m_parti;
        nuova.m_ordine = m_ordine;
        nuova.m_perChiave = m_perChiave;
        nuova.m_ordinePronto = m_ordinePronto;
    } else {
        nuova.m_parti = SqlLista::Scomponi(sql);
    }
    const int riga = nuova.leggiPrimaPagina(intorno, totale);
    nuova.m_scarti = std::make_unique<Scarti>(
        Scarti{std::move(m_pagine), std::move(m_confini), std::move(m_segnaposti), std::move(m_scarti)});
    *this = std::move(nuova);
    return riga;
}

void RigheLista::Riapri()
{
    Apri(m_parti.testo);
}

int RigheLista::leggiPrimaPagina(const QVariantList &intorno, int totale)
{
    Chiudi();
    m_stat = {};
    if (!m_db || m_parti.testo.isEmpty())
        return -1;
    preparaOrdine();
    std::unique_ptr<Risultato> primo;
    if (m_perChiave && !intorno.isEmpty() && intorno.size() == m_chiave.size()) {
        // Straight to the rows around the row of this key, when it is there.
        primo = rigaDellaChiave(intorno);
        if (primo->numRighe() > 0 && colonneDa(*primo)) {
            if (totale >= 0)
                m_totale = totale;
            return ancora(std::move(primo));
        }
        primo.reset();
        m_perChiave = true;
        // The row is gone: the rows changed since they were counted.
        totale = -1;
    }
    if (m_perChiave) {
        primo = leggi(SqlLista::Pagina(m_parti, {}, m_ordine, false, RighePagina));
        colonneDa(*primo);
    }
    if (!m_perChiave) {
        m_ordine = m_parti.ordine;
        primo = leggi(SqlLista::Pagina(m_parti, {}, {}, false, RighePagina));
    }
    // A reading that proved impossible is not tried again for this SELECT.
    m_ordinePronto = m_perChiave || m_ordine == m_parti.ordine;
    m_colonne.assign(primo->numColonne(), {});
    for (int i = 0; i < primo->numColonne(); ++i)
        m_colonne[size_t(i)] = primo->colonna(i);
    m_nomi = std::make_shared<Risultato>(m_colonne);
    m_aperta = true;
    if (totale >= 0)
        m_totale = totale;
    const bool ultima = primo->numRighe() < RighePagina;
    ricorda(0, std::move(primo), ultima);
    return -1;
}

bool RigheLista::colonneDa(const Risultato &r)
{
    m_colOrdine.clear();
    m_numOrdine.clear();
    for (const SqlLista::VoceOrdine &v : std::as_const(m_ordine)) {
        const int i = r.indice(v.colonna);
        m_colOrdine.push_back(i);
        m_numOrdine.push_back(i >= 0 && numerico(r.colonna(i).tipo));
        if (i < 0)
            m_perChiave = false;
    }
    if (!m_perChiave)
        return false;
    m_ordinePronto = true;
    m_colonne.assign(r.numColonne(), {});
    for (int i = 0; i < r.numColonne(); ++i)
        m_colonne[size_t(i)] = r.colonna(i);
    m_nomi = std::make_shared<Risultato>(m_colonne);
    m_aperta = true;
    return true;
}

void RigheLista::Chiudi()
{
    ++m_apertura;
    m_pagine.clear();
    m_confini.clear();
    m_segnaposti.clear();
    m_passo = 0;
    m_segnapostiInArrivo = false;
    m_aperta = false;
    m_totale = -1;
    m_righeViste = 0;
    m_fine = -1;
    m_uso = 0;
    m_provvisoria = false;
    m_parziale = false;
    m_chiaveAncora.clear();
    m_rigaAncora.reset();
    m_scarti.reset();
}

bool RigheLista::InizioComeIntervallo()
{
    return m_db && m_db->TipoSql(m_connessione) && m_db->OrdinePerCodici(m_connessione);
}

int RigheLista::IndiceColonna(const QString &nome) const
{
    return m_nomi ? m_nomi->indice(nome) : -1;
}

int RigheLista::RigheNote() const
{
    return m_totale >= 0 ? m_totale : m_righeViste;
}

int RigheLista::Conta()
{
    if (!m_aperta)
        return 0;
    if (m_totale < 0) {
        ++m_stat.conteggi;
        auto r = m_db->Seleziona(m_connessione, SqlLista::Conteggio(m_parti));
        m_totale = r->numRighe() > 0 ? r->valore(0, 0).toInt() : 0;
    }
    return m_totale;
}

void RigheLista::ImpostaConteggio(int apertura, int righe)
{
    if (!m_aperta || apertura != m_apertura || m_totale >= 0)
        return;
    ++m_stat.conteggi;
    m_totale = std::max(righe, m_righeViste);
}

QString RigheLista::SqlOrdinata() const
{
    if (!m_perChiave || m_ordine.isEmpty())
        return {};
    SqlLista::Parti colonne = m_parti;
    QStringList nomi;
    for (const SqlLista::VoceOrdine &v : m_ordine)
        nomi << v.colonna;
    colonne.selezione = QStringLiteral("Select ") + nomi.join(QStringLiteral(", "));
    return SqlLista::Pagina(colonne, {}, m_ordine, false, 0);
}

void RigheLista::ImpostaSegnaposti(int apertura, int passo, const QList<QVariantList> &righe)
{
    if (!m_aperta || apertura != m_apertura)
        return;
    // Those that come, or none: no more are coming.
    m_segnapostiInArrivo = false;
    if (!m_perChiave || passo <= 0)
        return;
    // The engine's texts become values of the ordering columns' kinds, then literals.
    std::vector<QStringList> segnaposti;
    segnaposti.reserve(size_t(righe.size()));
    for (const QVariantList &r : righe) {
        if (r.size() != qsizetype(m_ordine.size()))
            return;
        QStringList k;
        for (qsizetype i = 0; i < r.size(); ++i) {
            const int col = m_colOrdine[size_t(i)];
            const QVariant v = valoreDelTipo(r[i], m_colonne[size_t(col)].tipo);
            if (r[i].isValid() && !v.isValid())
                return; // not read as its column's kind: no landmarks rather than wrong ones
            k << SqlLista::Letterale(v, m_numOrdine[size_t(i)]);
        }
        segnaposti.push_back(std::move(k));
    }
    m_segnaposti = std::move(segnaposti);
    m_passo = passo;
}

QStringList RigheLista::chiaveRiga(const Risultato &r, int riga) const
{
    QStringList k;
    for (size_t i = 0; i < m_colOrdine.size(); ++i)
        k << SqlLista::Letterale(r.valore(riga, m_colOrdine[i]), m_numOrdine[i]);
    return k;
}

void RigheLista::ricorda(int p, std::unique_ptr<Risultato> r, bool ultima)
{
    const int n = r->numRighe();
    if (n > 0 && m_perChiave)
        m_confini[p] = Confine{chiaveRiga(*r, 0), chiaveRiga(*r, n - 1)};
    if (ultima) {
        m_fine = p;
        m_totale = p * RighePagina + n;
        m_righeViste = m_totale;
    } else {
        m_righeViste = std::max(m_righeViste, p * RighePagina + n);
    }
    m_pagine[p] = Pagina{std::move(r), ++m_uso};
    while (int(m_pagine.size()) > PagineTenute) {
        auto vecchia = std::min_element(m_pagine.begin(), m_pagine.end(), [](const auto &a, const auto &b) {
            return a.second.uso < b.second.uso;
        });
        // A page that goes keeps its boundary values only every few pages:
        // a page far from those in memory is reached from the nearest kept one.
        if (vecchia->first % ConfiniRadi != 0)
            m_confini.erase(vecchia->first);
        m_pagine.erase(vecchia);
    }
}

std::unique_ptr<Risultato> RigheLista::rovescia(const Risultato &r) const
{
    auto out = std::make_unique<Risultato>(m_colonne);
    accoda(*out, r, true);
    return out;
}

std::unique_ptr<Risultato> RigheLista::leggiPagina(int p, bool &avanti)
{
    const int P = RighePagina;
    avanti = true;
    if (!m_perChiave) {
        ++m_stat.perSalto;
        m_stat.righeSaltate += qint64(p) * P;
        return leggi(SqlLista::Pagina(m_parti, {}, {}, false, P, p * P));
    }
    if (p == 0)
        return leggi(SqlLista::Pagina(m_parti, {}, m_ordine, false, P));
    if (auto c = m_confini.find(p - 1); c != m_confini.end()) {
        ++m_stat.perChiave;
        return leggiDopo({}, c->second.ultimo, false, P);
    }
    if (auto c = m_confini.find(p + 1); c != m_confini.end()) {
        ++m_stat.perChiave;
        avanti = false;
        return rovescia(*leggiDopo({}, c->second.primo, true, P));
    }
    return leggiLontana(p, avanti);
}

RigheLista::Vicini RigheLista::vicini(int p) const
{
    const qint64 P = RighePagina, inizio = qint64(p) * P;
    // The known row nearest before the page (-1: the list's start) and after
    // it (the end once counted, else none), with their values.
    Vicini v;
    qint64 &sotto = v.sotto, &sopra = v.sopra;
    sopra = LLONG_MAX;
    auto prima = [&](qint64 riga, const QStringList &valori) {
        if (riga < inizio && riga > sotto) {
            sotto = riga;
            v.daSotto = &valori;
        }
    };
    auto dopo = [&](qint64 riga, const QStringList &valori) {
        if (riga >= inizio + P && riga < sopra) {
            sopra = riga;
            v.daSopra = &valori;
        }
    };
    for (const auto &[k, c] : m_confini) {
        prima((k + 1) * P - 1, c.ultimo);
        dopo(k * P, c.primo);
    }
    if (m_passo > 0 && !m_segnaposti.empty()) {
        const qint64 n = qint64(m_segnaposti.size());
        if (const qint64 j = inizio / m_passo - 1; j >= 0)
            prima((std::min(j, n - 1) + 1) * m_passo - 1, m_segnaposti[size_t(std::min(j, n - 1))]);
        if (const qint64 j = (inizio + P + m_passo) / m_passo - 1; j < n)
            dopo((j + 1) * m_passo - 1, m_segnaposti[size_t(j)]);
    }
    if (m_totale >= 0 && m_totale <= sopra) {
        sopra = m_totale;
        v.dallaFine = true;
    }
    v.salto = inizio - sotto - 1;
    v.limite = v.dallaFine ? int(std::min<qint64>(P, m_totale - inizio)) : int(P);
    v.indietro = sopra == LLONG_MAX ? LLONG_MAX : std::max<qint64>(0, sopra - inizio - v.limite);
    return v;
}

std::unique_ptr<Risultato> RigheLista::leggiLontana(int p, bool &avanti)
{
    const Vicini v = vicini(p);
    ++m_stat.perSalto;
    if (v.indietro < v.salto) {
        m_stat.righeSaltate += v.indietro;
        avanti = false;
        if (v.dallaFine)
            return rovescia(*leggi(SqlLista::Pagina(m_parti, {}, m_ordine, true, v.limite, int(v.indietro))));
        return rovescia(*leggiDopo({}, *v.daSopra, true, v.limite, true, v.indietro));
    }
    m_stat.righeSaltate += v.salto;
    if (v.sotto < 0)
        return leggi(SqlLista::Pagina(m_parti, {}, m_ordine, false, RighePagina, int(v.salto)));
    return leggiDopo({}, *v.daSotto, false, RighePagina, true, v.salto);
}

bool RigheLista::DaRinviare(int riga) const
{
    if (!m_segnapostiInArrivo || !m_aperta || !m_perChiave || m_provvisoria || riga < RighePagina)
        return false;
    const int p = riga / RighePagina;
    // A page in memory, past the end, or next to a page read costs nothing
    // or one seek (see pagina and leggiPagina).
    if (m_pagine.count(p) || (m_fine >= 0 && p > m_fine) ||
        (m_totale >= 0 && qint64(p) * RighePagina >= m_totale) || m_confini.count(p - 1) ||
        m_confini.count(p + 1))
        return false;
    const Vicini v = vicini(p);
    return std::min(v.salto, v.indietro) > SaltoSenzaSegnaposti;
}

Risultato *RigheLista::pagina(int p)
{
    if (!m_aperta || p < 0)
        return nullptr;
    if (auto it = m_pagine.find(p); it != m_pagine.end()) {
        it->second.uso = ++m_uso;
        return it->second.righe.get();
    }
    if ((m_fine >= 0 && p > m_fine) || (m_totale >= 0 && qint64(p) * RighePagina >= m_totale))
        return nullptr;
    if (m_provvisoria) {
        // Only the pages next to those read, found from their rows; the
        // list's end is not known until the rows have their places.
        bool avanti = true;
        if (!m_confini.count(p - 1) && !m_confini.count(p + 1))
            return nullptr;
        std::unique_ptr<Risultato> r = leggiPagina(p, avanti);
        // None there: the page stays empty, not sought again (Vuota).
        if (r->numRighe() == 0) {
            m_pagine[p] = Pagina{std::move(r), ++m_uso};
            return nullptr;
        }
        const int n = r->numRighe();
        m_confini[p] = Confine{chiaveRiga(*r, 0), chiaveRiga(*r, n - 1)};
        m_pagine[p] = Pagina{std::move(r), ++m_uso};
        return m_pagine[p].righe.get();
    }
    bool avanti = true;
    std::unique_ptr<Risultato> r = leggiPagina(p, avanti);
    if (r->numRighe() == 0) {
        // Rows went away since the list was counted: it ends before this page.
        if (avanti) {
            m_totale = p * RighePagina;
            m_righeViste = std::min(m_righeViste, m_totale);
            m_fine = p - 1;
        }
        return nullptr;
    }
    const bool ultima = avanti && r->numRighe() < RighePagina;
    ricorda(p, std::move(r), ultima);
    return m_pagine[p].righe.get();
}

bool RigheLista::Vuota(int riga) const
{
    if (!m_provvisoria || riga < 0)
        return false;
    // Of the page around the row shown only a screen is read: the rest of
    // it comes as soon as it is asked for, no other page before it.
    if (m_parziale)
        return riga >= RighePagina;
    const int p = riga / RighePagina;
    if (const auto letta = m_pagine.find(p); letta != m_pagine.end())
        return riga % RighePagina >= letta->second.righe->numRighe();
    // A page not read yet is read only after a whole page read (pagina):
    // after one that ended short the list ends.
    const auto prima = m_pagine.find(p - 1);
    return prima == m_pagine.end() || prima->second.righe->numRighe() < RighePagina;
}

QVariant RigheLista::Valore(int riga, int col)
{
    if (riga < 0 || col < 0 || col >= NumeroColonne())
        return {};
    if (m_parziale && (riga < m_primaLetta || riga > m_ultimaLetta))
        CompletaIntorno();
    Risultato *r = pagina(riga / RighePagina);
    const int i = riga % RighePagina;
    if (!r || i >= r->numRighe())
        return {};
    return r->valore(i, col);
}

bool RigheLista::Esiste(int riga)
{
    if (m_parziale && (riga < m_primaLetta || riga > m_ultimaLetta))
        CompletaIntorno();
    Risultato *r = riga >= 0 ? pagina(riga / RighePagina) : nullptr;
    return r && riga % RighePagina < r->numRighe();
}

QVariantList RigheLista::Valori(int riga, const QStringList &colonne)
{
    QVariantList out;
    for (const QString &c : colonne)
        out << Valore(riga, IndiceColonna(c));
    return out;
}

int RigheLista::contaPrima(const QStringList &chiave)
{
    // On a server a level of the ordering at a time (SqlLista::CondizioniDopo).
    const bool perLivelli = m_db->TipoSql(m_connessione);
    int n = 0;
    for (const QString &pezzo : SqlLista::CondizioniDopo(m_ordine, chiave, nulliPiccoli(), true, perLivelli))
        n += conta(pezzo);
    return n;
}

// The position of the row whose ordering values are `chiave`; its page is
// read around it (the rows before it backwards, the row, the rows after it),
// so that showing it costs a count of the rows before it and a few index seeks.
int RigheLista::posiziona(const QStringList &chiave, const Risultato &riga)
{
    const int pos = contaPrima(chiave);
    if (!m_pagine.count(pos / RighePagina))
        leggiIntorno(pos, chiave, riga);
    return pos;
}

void RigheLista::leggiIntorno(int pos, const QStringList &chiave, const Risultato &riga)
{
    const int p = pos / RighePagina, k = pos % RighePagina;
    auto pagina = std::make_unique<Risultato>(m_colonne);
    if (k > 0) {
        auto prima = leggiDopo({}, chiave, true, k);
        if (prima->numRighe() != k)
            return; // the list changed meanwhile: the page is read when shown
        accoda(*pagina, *prima, true);
    }
    pagina->aggiungiRiga(riga.riga(0));
    auto dopo = RighePagina - k - 1 > 0 ? leggiDopo({}, chiave, false, RighePagina - k - 1)
                                        : std::make_unique<Risultato>(m_colonne);
    accoda(*pagina, *dopo);
    ++m_stat.perChiave;
    const bool ultima = dopo->numRighe() < RighePagina - k - 1;
    ricorda(p, std::move(pagina), ultima);
}

std::unique_ptr<Risultato> RigheLista::rigaDellaChiave(const QVariantList &valori)
{
    QStringList letterali;
    for (int i = 0; i < valori.size(); ++i) {
        const int col = IndiceColonna(m_chiave[i]);
        const int tipo = valori[i].typeId();
        const bool numero = col >= 0 ? numerico(m_colonne[size_t(col)].tipo)
                                     : tipo == QMetaType::Int || tipo == QMetaType::LongLong ||
                                           tipo == QMetaType::Double || tipo == QMetaType::UInt ||
                                           tipo == QMetaType::ULongLong;
        letterali << SqlLista::Letterale(valori[i], numero);
    }
    // Sought by the key alone (its own index), not in the list's order: an
    // equality on the key is no use to the order's index.
    ++m_stat.pagine;
    return m_db->Seleziona(
        m_connessione,
        SqlLista::Pagina(m_parti, SqlLista::CondizioneUguale(m_chiave, letterali), {}, false, 1));
}

int RigheLista::ancora(std::unique_ptr<Risultato> riga)
{
    const QStringList chiave = chiaveRiga(*riga, 0);
    const int meta = RighePagina / 2, resto = RighePagina - meta - 1;
    // A screen's worth each side first (m_righeVicine), the rest later.
    const int sopra = m_righeVicine > 0 ? std::min(m_righeVicine, meta) : meta;
    const int sotto = m_righeVicine > 0 ? std::min(m_righeVicine, resto) : resto;
    auto prima = leggiDopo({}, chiave, true, sopra);
    if (prima->numRighe() < sopra) {
        // Fewer rows before it than were asked for: its place is known. Rows
        // shown provisionally before it (MostraChiave) lose their numbers.
        if (m_provvisoria) {
            m_pagine.clear();
            m_confini.clear();
            m_fine = -1;
            m_provvisoria = false;
            m_parziale = false;
            m_chiaveAncora.clear();
            m_rigaAncora.reset();
            ++m_ancoraggio;
        }
        const int pos = prima->numRighe();
        leggiIntorno(pos, chiave, *riga);
        return pos;
    }
    // The rows read around it are numbered from the first row of its page
    // until the count of the rows before it comes; the page's rows not read
    // yet are blank until CompletaIntorno reads them.
    auto pagina = std::make_unique<Risultato>(m_colonne);
    const QVariantList vuota(qsizetype(m_colonne.size()));
    for (int i = 0; i < meta - sopra; ++i)
        pagina->aggiungiRiga(vuota);
    accoda(*pagina, *prima, true);
    pagina->aggiungiRiga(riga->riga(0));
    auto dopo = leggiDopo({}, chiave, false, sotto);
    accoda(*pagina, *dopo);
    m_pagine.clear();
    m_confini.clear();
    m_fine = -1;
    m_provvisoria = true;
    ++m_ancoraggio;
    m_rigaProvvisoria = meta;
    m_chiaveAncora = chiave;
    m_rigaAncora = std::move(riga);
    const int n = pagina->numRighe();
    m_primaLetta = meta - sopra;
    m_ultimaLetta = n - 1;
    // Fewer rows after it than were asked for: the list ends there.
    m_parziale = sopra < meta || (sotto < resto && dopo->numRighe() == sotto);
    m_righeViste = std::max(m_righeViste, n);
    if (!m_parziale)
        m_confini[0] = Confine{chiaveRiga(*pagina, 0), chiaveRiga(*pagina, n - 1)};
    m_pagine[0] = Pagina{std::move(pagina), ++m_uso};
    return meta;
}

void RigheLista::CompletaIntorno()
{
    if (!m_parziale)
        return;
    m_parziale = false;
    auto it = m_pagine.find(0);
    if (!m_provvisoria || it == m_pagine.end())
        return;
    const Risultato &letta = *it->second.righe;
    auto pagina = std::make_unique<Risultato>(m_colonne);
    if (m_primaLetta > 0) {
        auto prima = leggiDopo({}, chiaveRiga(letta, m_primaLetta), true, m_primaLetta);
        if (prima->numRighe() < m_primaLetta) {
            // Rows before it went away meanwhile: fewer than its page
            // needs, so their number is its place.
            ImpostaPosizione(m_ancoraggio, prima->numRighe() + m_rigaProvvisoria - m_primaLetta);
            return;
        }
        accoda(*pagina, *prima, true);
    }
    for (int i = m_primaLetta; i <= m_ultimaLetta; ++i)
        pagina->aggiungiRiga(letta.riga(i));
    if (const int mancano = RighePagina - 1 - m_ultimaLetta; mancano > 0) {
        accoda(*pagina, *leggiDopo({}, chiaveRiga(letta, m_ultimaLetta), false, mancano));
    }
    const int n = pagina->numRighe();
    m_righeViste = std::max(m_righeViste, n);
    m_confini[0] = Confine{chiaveRiga(*pagina, 0), chiaveRiga(*pagina, n - 1)};
    m_pagine[0] = Pagina{std::move(pagina), ++m_uso};
}

QStringList RigheLista::SqlPosizione() const
{
    if (!m_provvisoria)
        return {};
    // As contaPrima counts them: on a server a level of the ordering at a
    // time (a count each), on a file the pieces in one count.
    const bool perLivelli = m_db->TipoSql(m_connessione);
    const QString base = SqlLista::Conteggio(m_parti) +
                         (m_parti.haWhere ? QStringLiteral(" And (") : QStringLiteral(" Where ("));
    QStringList pezzi;
    for (const QString &pezzo :
         SqlLista::CondizioniDopo(m_ordine, m_chiaveAncora, nulliPiccoli(), true, perLivelli))
        pezzi << (perLivelli ? base + pezzo + QLatin1Char(')') : QLatin1Char('(') + pezzo + QLatin1Char(')'));
    if (perLivelli)
        return pezzi;
    return {base + pezzi.join(QStringLiteral(" Or ")) + QLatin1Char(')')};
}

int RigheLista::ImpostaPosizione(int ancoraggio, int righePrima)
{
    if (!m_provvisoria || ancoraggio != m_ancoraggio || righePrima < 0)
        return 0;
    m_provvisoria = false;
    m_parziale = false;
    m_pagine.clear();
    m_confini.clear();
    m_fine = -1;
    if (m_totale >= 0 && righePrima >= m_totale)
        m_totale = righePrima + 1; // rows added since the list was counted
    const int spostamento = righePrima - m_rigaProvvisoria;
    const std::unique_ptr<Risultato> riga = std::move(m_rigaAncora);
    const QStringList chiave = std::move(m_chiaveAncora);
    m_chiaveAncora.clear();
    leggiIntorno(righePrima, chiave, *riga);
    if (m_avvisoSpostamento)
        m_avvisoSpostamento(spostamento);
    return spostamento;
}

int RigheLista::Assesta()
{
    if (!m_provvisoria)
        return 0;
    return ImpostaPosizione(m_ancoraggio, contaPrima(m_chiaveAncora));
}

void RigheLista::assestaSeProvvisoria()
{
    if (m_provvisoria)
        Assesta();
}

int RigheLista::Trova(const QString &condizione, const std::function<bool(int)> &verifica, int da,
                      bool avanti)
{
    if (!m_aperta)
        return -1;
    if (!TrovaConSql(condizione)) {
        // Rows placed provisionally get their places, and `da` with them.
        const int spostamento = m_provvisoria ? Assesta() : 0;
        if (da >= 0)
            da += spostamento;
        const int n = Conta();
        int r = da < 0 ? (avanti ? 0 : n - 1) : (avanti ? da + 1 : da - 1);
        for (; r >= 0 && r < n; r += avanti ? 1 : -1)
            if (Esiste(r) && verifica && verifica(r))
                return r;
        return -1;
    }
    const QString sql = SqlTrova(condizione, da, avanti);
    if (sql.isEmpty())
        return -1;
    ++m_stat.pagine;
    std::unique_ptr<Risultato> trovata = m_db->Seleziona(m_connessione, sql, DbMotore::LetturaFiltrata);
    if (trovata->numRighe() == 0)
        return -1;
    // Shown at once among its neighbours; its place follows (see ApriIntorno).
    return ancora(std::move(trovata));
}

QString RigheLista::SqlTrova(const QString &condizione, int da, bool avanti)
{
    if (!TrovaConSql(condizione))
        return {};
    // One statement, whose answer is the first row meeting the condition in
    // the list's order (after the row `da`): the rows meeting it are found
    // and sorted, never sought one by one along the order's index.
    QString cond = QLatin1Char('(') + condizione + QLatin1Char(')');
    if (da >= 0) {
        const QString dopo = condizioneDopo(da, avanti);
        if (dopo.isEmpty())
            return {};
        cond += QStringLiteral(" And ") + dopo;
    }
    return SqlLista::Pagina(m_parti, cond, m_ordine, !avanti, 1);
}

QString RigheLista::SqlScorri(int da, bool avanti)
{
    if (!m_aperta || !m_perChiave)
        return {};
    const QString dopo = da >= 0 ? condizioneDopo(da, avanti) : QString();
    if (da >= 0 && dopo.isEmpty())
        return {};
    return SqlLista::Pagina(m_parti, dopo, m_ordine, !avanti, 0);
}

QString RigheLista::condizioneDopo(int da, bool avanti)
{
    if (!Esiste(da))
        return {};
    const Risultato *p = pagina(da / RighePagina);
    QStringList pezzi;
    for (const QString &pezzo :
         SqlLista::CondizioniDopo(m_ordine, chiaveRiga(*p, da % RighePagina), nulliPiccoli(), !avanti))
        pezzi << QLatin1Char('(') + pezzo + QLatin1Char(')');
    return QLatin1Char('(') + pezzi.join(QStringLiteral(" Or ")) + QLatin1Char(')');
}

QVariantList RigheLista::ChiaveDi(const QVariantList &riga) const
{
    QVariantList chiave;
    for (const QString &colonna : m_chiave) {
        const int i = IndiceColonna(colonna);
        if (i < 0 || i >= riga.size() || size_t(i) >= m_colonne.size())
            return {};
        chiave << valoreDelTipo(riga[i], m_colonne[size_t(i)].tipo);
    }
    return chiave;
}

int RigheLista::PosizioneChiave(const QVariantList &valori)
{
    if (!m_aperta || valori.size() != m_chiave.size())
        return -1;
    assestaSeProvvisoria();
    if (!m_perChiave) {
        return Trova(
            {},
            [&](int r) {
                const QVariantList v = Valori(r, m_chiave);
                for (int i = 0; i < v.size(); ++i)
                    if (v[i].toString().compare(valori[i].toString(), Qt::CaseInsensitive) != 0)
                        return false;
                return true;
            },
            -1, true);
    }
    auto r = rigaDellaChiave(valori);
    if (r->numRighe() == 0)
        return -1;
    return posiziona(chiaveRiga(*r, 0), *r);
}

int RigheLista::MostraChiave(const QVariantList &valori)
{
    if (!m_aperta || !m_perChiave || valori.size() != m_chiave.size())
        return -1;
    auto r = rigaDellaChiave(valori);
    if (r->numRighe() == 0)
        return -1;
    return mostra(std::move(r));
}

int RigheLista::mostra(std::unique_ptr<Risultato> riga)
{
    // A row of the pages read already has its number.
    const QStringList chiave = chiaveRiga(*riga, 0);
    if (!m_provvisoria && !m_parziale)
        for (const auto &[p, letta] : m_pagine)
            for (int i = 0; i < letta.righe->numRighe(); ++i)
                if (chiaveRiga(*letta.righe, i) == chiave)
                    return p * RighePagina + i;
    return ancora(std::move(riga));
}

QStringList RigheLista::ValoriOrdine(int riga) const
{
    if (!m_aperta || !m_perChiave || riga < 0)
        return {};
    const auto it = m_pagine.find(riga / RighePagina);
    const int i = riga % RighePagina;
    if (it == m_pagine.end() || i >= it->second.righe->numRighe() ||
        (m_parziale && (riga < m_primaLetta || riga > m_ultimaLetta)))
        return {};
    return chiaveRiga(*it->second.righe, i);
}

int RigheLista::MostraDopo(const QStringList &valori)
{
    if (!m_aperta || !m_perChiave || valori.size() != qsizetype(m_ordine.size()))
        return -1;
    // One seek each way on the order's index, as a page is found from its
    // neighbour: the rows before it are counted elsewhere, never here.
    std::unique_ptr<Risultato> r = leggiDopo({}, valori, false, 1, false);
    if (r->numRighe() == 0)
        r = leggiDopo({}, valori, true, 1, false);
    if (r->numRighe() == 0)
        return -1;
    return mostra(std::move(r));
}

RigheLista::Lettura::Lettura(RigheLista &righe) : m_righe(righe) {}

RigheLista::Lettura::~Lettura() = default;

bool RigheLista::Lettura::Successiva(QVariantList &valori)
{
    if (!Successiva())
        return false;
    if (!m_cursore || m_cursore->Completo()) {
        valori = m_pagina->riga(m_indice - 1);
        return true;
    }
    valori.clear();
    for (int c = 0; c < m_pagina->numColonne(); ++c)
        valori << m_cursore->Valore(c);
    return true;
}

QVariant RigheLista::Lettura::Valore(int colonna) const
{
    if (!m_pagina || m_indice < 1 || colonna < 0 || colonna >= m_pagina->numColonne())
        return QVariant();
    if (m_cursore && !m_cursore->Completo())
        return m_cursore->Valore(colonna);
    return m_pagina->valore(m_indice - 1, colonna);
}

QByteArrayView RigheLista::Lettura::TestoUtf8(int colonna) const
{
    if (!m_pagina || m_indice < 1 || colonna < 0 || colonna >= m_pagina->numColonne())
        return {};
    if (m_cursore && !m_cursore->Completo())
        return m_cursore->TestoUtf8(colonna);
    // The rows held (a step read from a server, a completed cursor) keep
    // their texts as UTF-8 already.
    return m_pagina->testoUtf8(m_indice - 1, colonna);
}

// On SQLite, the first step: the list's SELECT in list order (the same
// statement the pages are cut from) run once and stepped, when it reads only
// the list's own tables. Elsewhere the rows come a step at a time.
void RigheLista::Lettura::primaLettura()
{
    DbMotore *db = m_righe.m_db;
    const SqlLista::Parti &parti = m_righe.m_parti;
    if (db->TipoMotore(m_righe.m_connessione) != DbMotore::Motore::SQLite)
        return;
    const JetSql::AnalisiSelect a = JetSql::Analizza(parti.testo);
    if (!a.valida || parti.testo.contains(QLatin1String("[;")))
        return;
    for (const auto &t : a.tabelle)
        if (!t.databaseJet.isEmpty() || !t.schema.isEmpty())
            return;
    const QString sql = SqlLista::Pagina(
        parti, {}, m_righe.m_perChiave ? m_righe.m_ordine : QList<SqlLista::VoceOrdine>(), false, 0);
    m_pagina = db->SelezionaCursore(m_righe.m_connessione, sql, m_cursore, DbMotore::LetturaInOrdine);
    // Without a cursor (a file that cannot keep one open) the answer holds every row.
    m_intera = true;
    m_indice = 0;
}

bool RigheLista::Lettura::Successiva()
{
    if (m_finita || !m_righe.m_aperta)
        return false;
    if (!m_pagina && m_letti == 0)
        primaLettura();
    if (m_cursore && !m_cursore->Completo()) {
        if (m_cursore->Avanza()) {
            ++m_indice;
            ++m_letti;
            return true;
        }
        if (!m_cursore->Completo()) {
            m_cursore.reset();
            m_finita = true;
            return false;
        }
    }
    // A cursor the connection had to complete (it wrote meanwhile) left
    // every row in m_pagina: the reading goes on there.
    m_cursore.reset();
    if (m_intera) {
        if (m_indice >= m_pagina->numRighe()) {
            m_finita = true;
            return false;
        }
        ++m_indice;
        ++m_letti;
        return true;
    }
    if (!m_pagina || m_indice >= m_pagina->numRighe()) {
        if (m_pagina && m_pagina->numRighe() < RigheLettura) {
            m_finita = true;
            return false;
        }
        const auto &parti = m_righe.m_parti;
        if (!m_righe.m_perChiave)
            m_pagina = m_righe.m_db->Seleziona(m_righe.m_connessione,
                                               SqlLista::Pagina(parti, {}, {}, false, RigheLettura, m_letti));
        else if (m_ultimo.isEmpty())
            m_pagina = m_righe.m_db->Seleziona(
                m_righe.m_connessione, SqlLista::Pagina(parti, {}, m_righe.m_ordine, false, RigheLettura),
                DbMotore::LetturaInOrdine);
        else
            m_pagina = m_righe.leggiDopo({}, m_ultimo, false, RigheLettura, false);
        m_indice = 0;
        if (m_pagina->numRighe() == 0) {
            m_finita = true;
            return false;
        }
        if (m_righe.m_perChiave)
            m_ultimo = m_righe.chiaveRiga(*m_pagina, m_pagina->numRighe() - 1);
    }
    ++m_indice;
    ++m_letti;
    return true;
}
