// The lookup library: the rows' SQL, decoding, the lookup by key code and the
// scripted answers that stand for the window in tests.
#include "components/aiuto/AiutoDecod.h"

#include "components/aiuto/frmRicerca.h"
#include "components/db/DbMotore.h"
#include "components/db/Risultato.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/ContestoPrg.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

namespace RP = RisposteProgrammate;

const QString AiutoDecod::AliasCodice = QStringLiteral("CodRic");
const QString AiutoDecod::AliasDescrizione = QStringLiteral("DescrRic");

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

QString ePoi(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty())
        return b;
    if (b.trimmed().isEmpty())
        return a;
    return QStringLiteral("(") + a + QStringLiteral(") AND (") + b + QStringLiteral(")");
}

// Whether a name is a plain column (not an expression) the SELECT can carry as it is.
bool colonnaSemplice(const QString &s)
{
    for (QChar c : s)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.')))
            return false;
    return !s.isEmpty();
}

} // namespace

QVariant RicercaAiuto::RetVal(const QString &colonna) const
{
    for (int i = 0; i < m_colonne.size(); ++i)
        if (m_colonne.at(i).compare(colonna, Qt::CaseInsensitive) == 0)
            return m_valori.value(i);
    return {};
}

void RicercaAiuto::ImpostaRiga(const QString &codice, const QString &descrizione, const QStringList &colonne,
                               const QVariantList &valori)
{
    m_trovato = true;
    m_codice = codice;
    m_descrizione = descrizione;
    m_colonne = colonne;
    m_valori = valori;
}

void RicercaAiuto::AzzeraRiga()
{
    m_trovato = false;
    m_codice.clear();
    m_descrizione.clear();
    m_colonne.clear();
    m_valori.clear();
}

AiutoDecod::AiutoDecod(QObject *parent) : QObject(parent) {}

AiutoDecod::~AiutoDecod() = default;

QList<ColonnaRicerca> AiutoDecod::ColonneFinestra(const DefRicerca &def, const QStringList &campi) const
{
    // Captions set on ParColonne as NomeCol<k>/DescCol<k>.
    QList<ColonnaRicerca> scelte;
    for (int k = 1; k <= 99; ++k) {
        const QString nome = m_parColonne.ovLeggiPar(QStringLiteral("NomeCol%1").arg(k)).toString().trimmed();
        if (nome.isEmpty()) {
            if (!m_parColonne.Esiste(QStringLiteral("NomeCol%1").arg(k)))
                break;
            continue;
        }
        const QString titolo = m_parColonne.ovLeggiPar(QStringLiteral("DescCol%1").arg(k)).toString();
        scelte.append({nome, titolo.isEmpty() ? nome : titolo, 0});
    }
    auto titoloDi = [&](const QString &nome) {
        for (const ColonnaRicerca &c : scelte)
            if (c.nome.compare(nome, Qt::CaseInsensitive) == 0)
                return c.titolo;
        for (const ColonnaRicerca &c : def.colonne)
            if (c.nome.compare(nome, Qt::CaseInsensitive) == 0)
                return c.titolo;
        return nome;
    };

    // A handful of columns: looked through, not hashed.
    QList<ColonnaRicerca> out;
    auto metti = [&](const ColonnaRicerca &c) {
        if (c.nome.isEmpty())
            return;
        for (const ColonnaRicerca &m : std::as_const(out))
            if (m.nome.compare(c.nome, Qt::CaseInsensitive) == 0)
                return;
        out.append(c);
    };
    const ColonnaRicerca codice{AliasCodice, QStringLiteral("Codice"), 0};
    const ColonnaRicerca descr{AliasDescrizione, QStringLiteral("Descrizione"), 40};

    bool conPri = false;
    for (const QString &voce : campi) {
        const QString v = voce.trimmed();
        if (v.compare(QStringLiteral("§pri§"), Qt::CaseInsensitive) == 0) {
            metti(codice);
            metti(descr);
            conPri = true;
        } else if (v.compare(QStringLiteral("§dop§"), Qt::CaseInsensitive) == 0) {
            for (const ColonnaRicerca &c : def.colonne)
                metti(c);
        } else if (!v.isEmpty()) {
            metti({v, titoloDi(v), 0});
        }
    }
    if (!conPri) {
        // Code and description always lead, whatever the field list says.
        QList<ColonnaRicerca> resto = out;
        out.clear();
        metti(codice);
        metti(descr);
        for (const ColonnaRicerca &c : resto)
            metti(c);
    }
    for (const ColonnaRicerca &c : scelte)
        metti(c);
    if (campi.isEmpty())
        for (const ColonnaRicerca &c : def.colonne)
            metti(c);
    return out;
}

QString AiutoDecod::SqlRighe(const DefRicerca &def, const QList<ColonnaRicerca> &colonne,
                             const QString &testo, Cerca modo, bool perDescrizione,
                             const QString &condizione) const
{
    QStringList sel{def.codice + QStringLiteral(" AS ") + AliasCodice,
                    def.descrizione + QStringLiteral(" AS ") + AliasDescrizione};
    // The names already taken: the two aliases, then each column added.
    QStringList messe{AliasCodice, AliasDescrizione};
    auto aggiungi = [&](const QString &nome) {
        if (nome.isEmpty() || messe.contains(nome, Qt::CaseInsensitive) || !colonnaSemplice(nome))
            return;
        messe.append(nome);
        sel.append(nome);
    };
    if (colonnaSemplice(def.codice))
        aggiungi(def.codice);
    aggiungi(def.colonnaCodice);
    for (const QString &c : def.chiave)
        aggiungi(c);
    if (colonnaSemplice(def.descrizione))
        aggiungi(def.descrizione);
    for (const QString &c : def.altreColonne)
        aggiungi(c);
    for (const ColonnaRicerca &c : def.colonne)
        aggiungi(c.nome);
    for (const ColonnaRicerca &c : colonne)
        aggiungi(c.nome);

    QString dove = ePoi(def.filtro, condizione);
    const QString t = testo.trimmed();
    if (!t.isEmpty()) {
        const QString inizia = util().ValoreSqlLike(t, false, true);
        const QString contiene = util().ValoreSqlLike(t, true, true);
        const QString colCodice = def.ricercaCodice.isEmpty() ? def.codice : def.ricercaCodice;
        QStringList o;
        if (modo != Cerca::Descrizione)
            o << colCodice + QStringLiteral(" like ") + inizia;
        if (modo != Cerca::Codice)
            o << def.descrizione + QStringLiteral(" like ") + contiene;
        if (modo == Cerca::Tutto) {
            if (!def.ricercaCodice.isEmpty())
                o << def.codice + QStringLiteral(" like ") + inizia;
            // The last part of a composed code alone finds it too ("0001" the account 01-05-0001).
            if (!def.chiave.isEmpty() && !def.colonnaCodice.isEmpty())
                o << def.colonnaCodice + QStringLiteral(" like ") + inizia;
            // The further columns shown are searched too: an e-mail address finds its customer.
            for (const ColonnaRicerca &c : colonne)
                if (c.nome != AliasCodice && c.nome != AliasDescrizione && colonnaSemplice(c.nome))
                    o << c.nome + QStringLiteral(" like ") + contiene;
        }
        dove = ePoi(dove, o.join(QStringLiteral(" OR ")));
    }
    QString sql =
        QStringLiteral("SELECT ") + sel.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + def.tabella;
    if (!dove.isEmpty())
        sql += QStringLiteral(" WHERE ") + dove;
    const QString ordine = perDescrizione
                               ? (def.ordineDescrizione.isEmpty() ? def.descrizione : def.ordineDescrizione)
                               : (def.ordineCodice.isEmpty() ? def.codice : def.ordineCodice);
    sql += QStringLiteral(" ORDER BY ") + ordine;
    return sql;
}

std::unique_ptr<Risultato> AiutoDecod::Righe(const DefRicerca &def, const QString &sql) const
{
    DbMotore *db = def.db ? def.db : (m_contesto ? m_contesto->Db() : nullptr);
    const QString conn =
        !def.connessione.isEmpty() ? def.connessione : (m_contesto ? m_contesto->Connessione() : QString());
    if (!db || conn.isEmpty())
        throw VbErrore(91, QStringLiteral("Ricerca %1: nessun database collegato").arg(def.tipo));
    return db->Seleziona(conn, sql);
}

QString AiutoDecod::CondizioneCodice(const DefRicerca &def, const QString &codice)
{
    if (!def.chiave.isEmpty() && def.spezza) {
        const QStringList parti = def.spezza(codice);
        QStringList c;
        for (int i = 0; i < def.chiave.size(); ++i)
            c << def.chiave.at(i) + QStringLiteral(" = ") +
                     util().ValoreSql(parti.value(i), UtilGlob::TipoTesto);
        return c.join(QStringLiteral(" AND "));
    }
    return def.codice + QStringLiteral(" = ") + util().ValoreSql(codice, UtilGlob::TipoTesto);
}

void AiutoDecod::ScegliRiga(const DefRicerca &def, const Risultato &righe, int riga, const QString &colonna)
{
    QStringList nomi;
    QVariantList valori;
    for (int c = 0; c < righe.numColonne(); ++c) {
        nomi << righe.colonna(c).nome;
        valori << righe.valore(riga, c);
    }
    const int ic = righe.indice(AliasCodice), id = righe.indice(AliasDescrizione);
    const QString codice = ic >= 0 ? righe.valore(riga, ic).toString() : QString();
    const QString descr = id >= 0 ? righe.valore(riga, id).toString().trimmed() : QString();
    m_nuovaRicerca.ImpostaRiga(codice, descr, nomi, valori);
    const int icol = colonna.isEmpty() ? -1 : righe.indice(colonna);
    if (icol < 0)
        return;
    // The caller reads the column by its own name, never by our aliases.
    QString nome = colonna;
    if (colonna.compare(AliasCodice, Qt::CaseInsensitive) == 0)
        nome = !def.colonnaCodice.isEmpty()
                   ? def.colonnaCodice
                   : (colonnaSemplice(def.codice) ? def.codice : QStringLiteral("Codice"));
    else if (colonna.compare(AliasDescrizione, Qt::CaseInsensitive) == 0)
        nome = colonnaSemplice(def.descrizione) ? def.descrizione : QStringLiteral("Descrizione");
    m_nuovaRicerca.ovLeggiPar(QStringLiteral("RetField"), nome);
    m_nuovaRicerca.ovLeggiPar(QStringLiteral("Text"), righe.valore(riga, icol).toString());
}

bool AiutoDecod::Decodifica(const DefRicerca &def, const QString &codice, const QString &condizione)
{
    m_nuovaRicerca.AzzeraRiga();
    emit ClsPrepDecod(def.tipo);
    if (codice.trimmed().isEmpty())
        return false;
    const QList<ColonnaRicerca> colonne = ColonneFinestra(def, {});
    QString sql = SqlRighe(def, colonne, QString(), Cerca::Tutto, false,
                           ePoi(condizione, CondizioneCodice(def, codice)));
    std::unique_ptr<Risultato> r = Righe(def, sql);
    if (r->numRighe() == 0)
        return false;
    ScegliRiga(def, *r, 0, QString());
    return true;
}

bool AiutoDecod::cercaUnica(const DefRicerca &def, const QList<ColonnaRicerca> &colonne, const QString &testo,
                            const QString &condizione)
{
    if (testo.trimmed().isEmpty())
        return false;
    const QString esatto = util().ValoreSql(testo.trimmed(), UtilGlob::TipoTesto);
    const QStringList prove{CondizioneCodice(def, testo.trimmed()),
                            def.descrizione + QStringLiteral(" = ") + esatto};
    for (const QString &prova : prove) {
        std::unique_ptr<Risultato> r =
            Righe(def, SqlRighe(def, colonne, QString(), Cerca::Tutto, false, ePoi(condizione, prova)));
        if (r->numRighe() == 1) {
            ScegliRiga(def, *r, 0, QString());
            return true;
        }
        if (r->numRighe() > 1)
            return false;
    }
    return false;
}

bool AiutoDecod::rispostaProgrammata(const DefRicerca &def, const QList<ColonnaRicerca> &colonne,
                                     const RichiestaRicerca &r, bool perDescrizione, Cerca modo,
                                     const QString &testo)
{
    QStringList nomi;
    for (const ColonnaRicerca &c : colonne)
        nomi << c.nome;
    RP::Registra(RP::Ricerca, {{QStringLiteral("tipo"), def.tipo},
                               {QStringLiteral("titolo"), def.titolo},
                               {QStringLiteral("testo"), testo},
                               {QStringLiteral("tasto"), r.tasto},
                               {QStringLiteral("colonne"), nomi},
                               {QStringLiteral("perDescrizione"), perDescrizione}});
    const QVariant risposta = RP::Prendi(RP::Ricerca).value_or(QVariant());
    if (!risposta.isValid())
        return false;
    // An int picks that row of the list as the window would open; a text picks
    // that code; a map may add the column of the cell picked.
    QVariantMap m;
    if (risposta.typeId() == QMetaType::QVariantMap)
        m = risposta.toMap();
    else if (risposta.typeId() == QMetaType::Int || risposta.typeId() == QMetaType::LongLong)
        m.insert(QStringLiteral("riga"), risposta);
    else
        m.insert(QStringLiteral("codice"), risposta);
    const QString colonna = m.value(QStringLiteral("colonna")).toString();
    std::unique_ptr<Risultato> righe;
    int riga = 0;
    if (m.contains(QStringLiteral("codice"))) {
        const QString cond =
            ePoi(r.condizione, CondizioneCodice(def, m.value(QStringLiteral("codice")).toString()));
        righe = Righe(def, SqlRighe(def, colonne, QString(), Cerca::Tutto, perDescrizione, cond));
    } else {
        righe = Righe(def, SqlRighe(def, colonne, testo, modo, perDescrizione, r.condizione));
        riga = m.value(QStringLiteral("riga")).toInt();
    }
    if (riga < 0 || riga >= righe->numRighe())
        return false;
    ScegliRiga(def, *righe, riga, colonna.isEmpty() ? AliasCodice : colonna);
    return true;
}

bool AiutoDecod::Ricerca(const DefRicerca &def, const RichiestaRicerca &r)
{
    m_nuovaRicerca.AzzeraRiga();
    // A pick of an earlier lookup must not read as a pick of this one.
    m_nuovaRicerca.ovLeggiPar(QStringLiteral("RetField"), QString());
    m_nuovaRicerca.ovLeggiPar(QStringLiteral("Text"), QString());
    const QList<ColonnaRicerca> colonne = ColonneFinestra(def, r.campi);
    m_parColonne.Azzera();
    emit ClsPrepDecod(def.tipo);

    const bool valido = r.tasto < 0 || (r.tasto >= CodiciTasto::F2 && r.tasto <= CodiciTasto::F12);
    if (!valido)
        return false;
    if (r.tasto < 0)
        return Decodifica(def, r.testo, r.condizione);
    if (r.tasto == CodiciTasto::F3 && cercaUnica(def, colonne, r.testo, r.condizione))
        return true;

    bool perDescrizione = def.perDescrizione;
    Cerca modo = Cerca::Tutto;
    QString testo = r.testo.trimmed();
    switch (r.tasto) {
    case CodiciTasto::F4:
        perDescrizione = true;
        modo = Cerca::Descrizione;
        break;
    case CodiciTasto::F5:
        perDescrizione = false;
        modo = Cerca::Codice;
        break;
    case CodiciTasto::F2:
    case CodiciTasto::F3:
        break;
    default:
        testo.clear();
        perDescrizione = r.tasto == CodiciTasto::F12;
        break;
    }

    if (RP::Attivo(RP::Ricerca))
        return rispostaProgrammata(def, colonne, r, perDescrizione, modo, testo);

    QWidget *padre = r.parent;
    if (!padre)
        emit ClsMainMenuFrm(padre);
    frmRicerca finestra(*this, def, colonne, padre);
    finestra.Imposta(testo, modo, perDescrizione, r.condizione, r.nuovo && !def.programma.isEmpty());
    if (UtilFinestre::MostraForm(&finestra, 1) != QDialog::Accepted || finestra.RigaScelta() < 0)
        return false;
    ScegliRiga(def, *finestra.Righe(), finestra.RigaScelta(), finestra.ColonnaScelta());
    return true;
}

void AiutoDecod::LanciaProgramma(const QString &chiavePrim, const QString &chiaveSec)
{
    emit LanciaKeyPrim(chiavePrim);
    emit LanciaKeySec(chiaveSec);
}
