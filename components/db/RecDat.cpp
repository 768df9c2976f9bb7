// RecDat: record sets in memory over DbMotore, with DAO-like moves and edits.
#include "components/db/RecDat.h"
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"
#include "components/util/Currency.h"

#include <QSet>
#include <cmath>

struct RecDat::Insieme {
    DbMotore *db = nullptr;
    QString conn, sql;
    int tipo = TipoSnapshot;
    int opzioni = 0;
    std::unique_ptr<Risultato> r;
    // Steps the rows of r while they are not all in memory (declared after
    // r, which it fills when it is completed).
    std::unique_ptr<CursoreSqlite> cur;
    int pos = 0;             // -1 before the first row, numRighe() past the last
    bool cancellato = false; // the current row was deleted
    int modo = ModoNessuno;
    QVariantList buffer;  // row being edited or added
    QSet<int> modificati; // columns written by ScriviCampo
    int ultimo = -1;      // row last added or updated
    QString tabella;      // base table of an updatable set, empty when read-only
    QList<int> chiave;    // columns that find a row again

    // Still reading forward: rows before pos are gone, pos is the cursor's row.
    bool scorre() const { return cur && !cur->Completo(); }
    // Every row in memory, at the position the set stands on.
    void completa()
    {
        if (scorre())
            cur->Completa();
    }
    int n() const { return r ? r->numRighe() : 0; }
    bool bof() const
    {
        if (scorre())
            return cur->Finito() && cur->Righe() == 0;
        return n() == 0 || pos < 0;
    }
    bool eof() const
    {
        if (scorre())
            return cur->Finito();
        return n() == 0 || pos >= n();
    }
    QVariant valore(int col) const { return scorre() ? cur->Valore(col) : r->valore(pos, col); }
};

namespace
{
QString chiaveH(const QString &h)
{
    return h.trimmed().toLower();
}

VbErrore nessunCorrente()
{
    return VbErrore(VbErrore::NessunRecordCorrente, QStringLiteral("Nessun record corrente."));
}
} // namespace

RecDat::RecDat() = default;
RecDat::~RecDat() = default;

RecDat::Insieme *RecDat::cerca(const QString &h) const
{
    if (m_ultimo && h == m_ultimoH)
        return m_ultimo;
    auto it = m_insiemi.find(chiaveH(h));
    if (it == m_insiemi.end())
        return nullptr;
    m_ultimoH = h;
    m_ultimo = it->get();
    return m_ultimo;
}

RecDat::Insieme &RecDat::ins(const QString &h) const
{
    Insieme *s = cerca(h);
    if (!s)
        throw VbErrore(ErroriDb::ElementoNonTrovato, QStringLiteral("Record set '%1' non aperto.").arg(h));
    return *s;
}

bool RecDat::Esiste(const QString &h) const
{
    return cerca(h) != nullptr;
}

QString RecDat::ApriRec(DbMotore *db, const QString &conn, const QString &nome, const QString &sql, bool,
                        int tipo, int opzioni)
{
    if (!db)
        throw VbErrore(VbErrore::OggettoNonImpostato, QStringLiteral("Variabile oggetto non impostata."));
    const QString h = nome.trimmed().isEmpty() ? QStringLiteral("Rec%1").arg(++m_contatore) : nome.trimmed();
    auto s = std::make_shared<Insieme>();
    s->db = db;
    s->conn = conn;
    s->sql = sql;
    s->tipo = tipo;
    s->opzioni = opzioni;
    carica(*s);
    dimenticaUltimo();
    m_insiemi.insert(chiaveH(h), s);
    return h;
}

void RecDat::carica(Insieme &s)
{
    std::unique_ptr<CursoreSqlite> cur;
    std::unique_ptr<Risultato> r = s.tipo == TipoSnapshot
                                       ? s.db->SelezionaCursore(s.conn, s.sql, cur, s.opzioni)
                                       : s.db->Seleziona(s.conn, s.sql, s.opzioni);
    // The first row is stepped now, so that a failing SELECT fails here.
    if (cur) {
        cur->Avanza();
        cur->CompletaAlRiposo();
    }
    s.cur.reset();
    s.r = std::move(r);
    s.cur = std::move(cur);
    s.pos = 0;
    s.cancellato = false;
    s.modo = ModoNessuno;
    s.buffer.clear();
    s.modificati.clear();
    s.ultimo = -1;
    s.tabella.clear();
    s.chiave.clear();
    if (s.tipo == TipoSnapshot)
        return;
    // Updatable only on one table of the connection's own database.
    const JetSql::AnalisiSelect a = JetSql::Analizza(s.sql);
    if (!a.valida || a.tabelle.size() != 1 || !a.tabelle[0].databaseJet.isEmpty() ||
        !a.tabelle[0].schema.isEmpty())
        return;
    const QString tab = a.tabelle[0].tabella;
    for (const QString &k : s.db->ChiavePrimaria(s.conn, tab)) {
        const int i = s.r->indice(k);
        if (i < 0) {
            s.chiave.clear();
            break;
        }
        s.chiave << i;
    }
    if (s.chiave.isEmpty())
        for (int i = 0; i < s.r->numColonne(); ++i)
            if (s.r->colonna(i).tabella.compare(tab, Qt::CaseInsensitive) == 0)
                s.chiave << i;
    if (!s.chiave.isEmpty())
        s.tabella = tab;
}

void RecDat::Riapri(const QString &h, const QString &sql, int tipo)
{
    Insieme &s = ins(h);
    s.sql = sql;
    s.tipo = tipo;
    carica(s);
}

void RecDat::Riesegui(const QString &h)
{
    carica(ins(h));
}

void RecDat::ChiudiRec(const QString &h)
{
    dimenticaUltimo();
    m_insiemi.remove(chiaveH(h));
}

void RecDat::ChiudiTutti()
{
    dimenticaUltimo();
    m_insiemi.clear();
}

bool RecDat::FineDati(const QString &h) const
{
    return NessunRecord(h);
}

bool RecDat::FineFile(const QString &h) const
{
    return ins(h).eof();
}

bool RecDat::InizioFile(const QString &h) const
{
    return ins(h).bof();
}

bool RecDat::NessunRecord(const QString &h) const
{
    const Insieme &s = ins(h);
    return s.cancellato || s.bof() || s.eof();
}

int RecDat::NumRecord(const QString &h) const
{
    Insieme &s = ins(h);
    s.completa();
    return s.n();
}

int RecDat::Posizione(const QString &h) const
{
    const Insieme &s = ins(h);
    return s.cancellato || s.bof() || s.eof() ? -1 : s.pos;
}

void RecDat::ImpostaPosizione(const QString &h, int pos)
{
    Insieme &s = ins(h);
    s.completa();
    if (pos < 0 || pos >= s.n())
        throw VbErrore(ErroriDb::ArgomentoNonValido, QStringLiteral("Argomento non valido."));
    s.pos = pos;
    s.cancellato = false;
    s.modo = ModoNessuno;
}

void RecDat::MuoviPrimo(const QString &h)
{
    Insieme &s = ins(h);
    s.modo = ModoNessuno;
    if (s.scorre() && s.pos == 0 && !s.cur->Finito())
        return; // still on the first row
    if (s.scorre() && s.cur->Finito() && s.cur->Righe() == 0)
        throw nessunCorrente();
    s.completa();
    if (s.n() == 0)
        throw nessunCorrente();
    s.pos = 0;
    s.cancellato = false;
}

void RecDat::MuoviUltimo(const QString &h)
{
    Insieme &s = ins(h);
    s.modo = ModoNessuno;
    s.completa();
    if (s.n() == 0)
        throw nessunCorrente();
    s.pos = s.n() - 1;
    s.cancellato = false;
}

void RecDat::MuoviSuccessivo(const QString &h)
{
    Insieme &s = ins(h);
    s.modo = ModoNessuno;
    if (s.scorre()) {
        if (s.cur->Finito())
            throw nessunCorrente();
        s.cur->Avanza();
        ++s.pos;
        return;
    }
    if (s.cancellato) {
        // The rows after a deleted one moved up: the next row already stands at pos.
        s.cancellato = false;
        s.pos = std::min(s.pos, s.n());
        return;
    }
    if (s.eof())
        throw nessunCorrente();
    ++s.pos;
}

void RecDat::MuoviPrecedente(const QString &h)
{
    Insieme &s = ins(h);
    s.modo = ModoNessuno;
    s.completa();
    if (s.cancellato) {
        s.cancellato = false;
        s.pos = std::max(s.pos - 1, -1);
        return;
    }
    if (s.bof())
        throw nessunCorrente();
    s.pos = std::min(s.pos, s.n()) - 1;
}

void RecDat::Muovi(const QString &h, int codice)
{
    switch (codice) {
    case MuoviPrimoCod:
        return MuoviPrimo(h);
    case MuoviUltimoCod:
        return MuoviUltimo(h);
    case MuoviSuccessivoCod:
        return MuoviSuccessivo(h);
    case MuoviPrecedenteCod:
        return MuoviPrecedente(h);
    default:
        return;
    }
}

void RecDat::MuoviNuovo(const QString &h)
{
    Insieme &s = ins(h);
    if (s.ultimo < 0 || s.ultimo >= s.n())
        throw nessunCorrente();
    s.modo = ModoNessuno;
    s.pos = s.ultimo;
    s.cancellato = false;
}

void RecDat::richiediCorrente(const Insieme &s) const
{
    if (s.cancellato)
        throw VbErrore(3167, QStringLiteral("Il record è eliminato."));
    if (s.bof() || s.eof())
        throw nessunCorrente();
}

void RecDat::richiediAggiornabile(const Insieme &s) const
{
    if (s.tabella.isEmpty())
        throw VbErrore(ErroriDb::SolaLettura,
                       QStringLiteral("Impossibile aggiornare. Il database o l'oggetto è di sola lettura."));
}

void RecDat::ModificaRec(const QString &h)
{
    Insieme &s = ins(h);
    richiediAggiornabile(s);
    richiediCorrente(s);
    s.buffer = s.r->riga(s.pos);
    s.modificati.clear();
    s.modo = ModoModifica_;
}

void RecDat::AggiungiRec(const QString &h)
{
    Insieme &s = ins(h);
    richiediAggiornabile(s);
    s.buffer = QVariantList();
    for (int i = 0; i < s.r->numColonne(); ++i)
        s.buffer << QVariant();
    s.modificati.clear();
    s.modo = ModoNuovo;
}

int RecDat::ModoModifica(const QString &h) const
{
    return ins(h).modo;
}

void RecDat::AnnullaModifica(const QString &h)
{
    Insieme &s = ins(h);
    s.modo = ModoNessuno;
    s.buffer.clear();
    s.modificati.clear();
}

void RecDat::ScriviCampo(const QString &h, const QString &campo, const QVariant &valore)
{
    Insieme &s = ins(h);
    if (s.modo == ModoNessuno)
        throw VbErrore(ErroriDb::AggiornaSenzaModifica, QStringLiteral("Aggiornamento senza AddNew o Edit."));
    const int i = s.r->indice(campo);
    if (i < 0)
        throw VbErrore(ErroriDb::ElementoNonTrovato,
                       QStringLiteral("Elemento '%1' non trovato in questo insieme.").arg(campo));
    const Risultato::Colonna &col = s.r->colonna(i);
    if (col.tabella.compare(s.tabella, Qt::CaseInsensitive) != 0)
        throw VbErrore(3164, QStringLiteral("Impossibile aggiornare il campo '%1'.").arg(campo));
    QVariant conv;
    if (!Risultato::converti(valore, col.tipo, conv))
        throw VbErrore(ErroriDb::ConversioneDati,
                       QStringLiteral("Errore di conversione dei dati: '%1' per il campo %2.")
                           .arg(valore.toString(), campo));
    if (col.tipo == Risultato::Tipo::Testo && col.lunghezza > 0 && conv.toString().size() > col.lunghezza)
        throw VbErrore(3163,
                       QStringLiteral("Il campo %1 è troppo piccolo per la quantità di dati che si desidera "
                                      "aggiungere.")
                           .arg(campo));
    s.buffer[i] = conv;
    s.modificati.insert(i);
}

void RecDat::AggiornaRec(const QString &h)
{
    Insieme &s = ins(h);
    if (s.modo == ModoNessuno)
        throw VbErrore(ErroriDb::AggiornaSenzaModifica, QStringLiteral("Aggiornamento senza AddNew o Edit."));
    QList<int> indici = s.modificati.values();
    std::sort(indici.begin(), indici.end());
    QStringList colonne;
    QVariantList valori;
    for (int i : indici) {
        colonne << s.r->colonna(i).nome;
        valori << s.buffer[i];
    }
    if (s.modo == ModoModifica_) {
        if (s.cancellato || s.bof() || s.eof())
            throw nessunCorrente();
        QStringList chiave;
        QVariantList valoriChiave, letti;
        for (int k : s.chiave) {
            chiave << s.r->colonna(k).nome;
            valoriChiave << s.r->valore(s.pos, k);
        }
        // Written only while the columns written hold what this set read:
        // another user's change is error 3197, never overwritten.
        for (int i : indici)
            letti << s.r->valore(s.pos, i);
        if (!colonne.isEmpty() &&
            s.db->AggiornaRigaLetta(s.conn, s.tabella, colonne, valori, letti, chiave, valoriChiave) == 0)
            throw VbErrore(3167, QStringLiteral("Il record è stato eliminato da un altro utente."));
        s.r->sostituisciRiga(s.pos, s.buffer);
        s.ultimo = s.pos;
    } else {
        s.db->InserisciRiga(s.conn, s.tabella, colonne, valori);
        const bool eraFine = s.pos >= s.n();
        s.r->aggiungiRiga(s.buffer);
        s.ultimo = s.n() - 1;
        if (eraFine)
            s.pos = s.n();
    }
    s.modo = ModoNessuno;
    s.buffer.clear();
    s.modificati.clear();
}

void RecDat::EliminaRec(const QString &h)
{
    Insieme &s = ins(h);
    richiediAggiornabile(s);
    richiediCorrente(s);
    QStringList chiave;
    QVariantList valoriChiave;
    for (int k : s.chiave) {
        chiave << s.r->colonna(k).nome;
        valoriChiave << s.r->valore(s.pos, k);
    }
    // Deleted only while the row holds what this set read of it: another
    // user's change is error 3197 and the row stays.
    QStringList colonne;
    QVariantList letti;
    for (int i = 0; i < s.r->numColonne(); ++i) {
        const Risultato::Colonna &col = s.r->colonna(i);
        if (col.tabella.compare(s.tabella, Qt::CaseInsensitive) != 0 ||
            colonne.contains(col.nome, Qt::CaseInsensitive))
            continue;
        colonne << col.nome;
        letti << s.r->valore(s.pos, i);
    }
    if (s.db->EliminaRigaLetta(s.conn, s.tabella, colonne, letti, chiave, valoriChiave) == 0)
        throw VbErrore(3167, QStringLiteral("Il record è stato eliminato da un altro utente."));
    s.r->eliminaRiga(s.pos);
    if (s.ultimo == s.pos)
        s.ultimo = -1;
    else if (s.ultimo > s.pos)
        --s.ultimo;
    s.cancellato = true;
    s.modo = ModoNessuno;
}

QVariant RecDat::LeggiCampo(const QString &h, const QString &campo, int tipo, const QVariant &, bool) const
{
    const Insieme &s = ins(h);
    const int i = s.r->indice(campo);
    QVariant v;
    if (s.modo != ModoNessuno) {
        if (i >= 0)
            v = s.buffer[i];
    } else {
        richiediCorrente(s);
        if (i >= 0)
            v = s.valore(i);
    }
    return ComeTipo(v, tipo, i >= 0 ? &s.r->colonna(i) : nullptr);
}

QVariant RecDat::ComeTipo(const QVariant &v, int tipo, const Risultato::Colonna *colonna)
{
    const bool somma = colonna && colonna->zeroSeNullo;
    if (tipo == 0 && !somma)
        return v; // the common read, with nothing to convert
    const bool nullo = !v.isValid() || v.isNull();
    switch (tipo) {
    case 2:
    case 3: {
        // Integer (16 bits) and Long (32 bits): the exact value or overflow.
        if (nullo)
            return 0;
        qlonglong n = 0;
        const Risultato::Conversione c = Risultato::intero(v, n);
        if (c == Risultato::Conversione::Rifiutata)
            return 0; // text that is not a number
        const qlonglong limite = tipo == 2 ? 32767 : 2147483647;
        if (c == Risultato::Conversione::FuoriIntervallo || n > limite || n < -limite - 1)
            Currency::overflow();
        return int(n);
    }
    case 4:
    case 5:
    case 6: {
        if (nullo)
            return 0;
        const bool testo = v.typeId() == QMetaType::QString;
        // Numbers that no amount range can trouble are read as they are held.
        if (!testo &&
            (tipo != 6 || v.metaType() == QMetaType::fromType<Currency>() || v.typeId() == QMetaType::Int ||
             (v.typeId() == QMetaType::Double && std::fabs(v.toDouble()) < 9e14)))
            return v;
        Currency c;
        const Currency::Lettura l = testo ? Currency::leggi(v.toString(), c) : Currency::leggiValore(v, c);
        if (l == Currency::Lettura::FuoriIntervallo) {
            if (tipo == 6)
                Currency::overflow();
            // A Single or Double holds it: the number the text writes.
            return testo ? QVariant(QString(v.toString().trimmed()).replace(u',', u'.').toDouble()) : v;
        }
        if (testo && colonna && colonna->tipo == Risultato::Tipo::Testo)
            return l == Currency::Lettura::Numero ? QVariant(c.toString(4)) : QVariant(0);
        return v;
    }
    case 7:
        if (nullo)
            return QVariant();
        if (v.typeId() == QMetaType::QString) {
            QVariant d;
            return Risultato::converti(v, Risultato::Tipo::Data, d) ? d : QVariant();
        }
        return v;
    case 8:
        if (nullo)
            return QString();
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        return v.toString();
    case 11:
        return nullo ? false : v.toBool();
    default:
        if (nullo && somma)
            return 0;
        return v;
    }
}

QVariant RecDat::ValoreCampoIdx(const QString &h, const QVariant &campo) const
{
    const Insieme &s = ins(h);
    if (campo.typeId() == QMetaType::QString) {
        return LeggiCampo(h, campo.toString());
    }
    const int i = campo.toInt();
    if (i < 0 || i >= s.r->numColonne())
        throw VbErrore(ErroriDb::ElementoNonTrovato,
                       QStringLiteral("Elemento non trovato in questo insieme."));
    if (s.modo != ModoNessuno)
        return s.buffer[i];
    richiediCorrente(s);
    return s.valore(i);
}

int RecDat::NumCampi(const QString &h) const
{
    return ins(h).r->numColonne();
}

RecDat::InfoCampo RecDat::CampoDao(const QString &h, const QVariant &campo) const
{
    const Insieme &s = ins(h);
    const int i = campo.typeId() == QMetaType::QString ? s.r->indice(campo.toString()) : campo.toInt();
    if (i < 0 || i >= s.r->numColonne())
        throw VbErrore(ErroriDb::ElementoNonTrovato,
                       QStringLiteral("Elemento non trovato in questo insieme."));
    const Risultato::Colonna &c = s.r->colonna(i);
    InfoCampo f;
    f.Name = c.nome;
    switch (c.tipo) {
    case Risultato::Tipo::Intero:
        f.Type = 4;
        f.Size = 4;
        break;
    case Risultato::Tipo::Reale:
        f.Type = 7;
        f.Size = 8;
        break;
    case Risultato::Tipo::Decimale:
        f.Type = 5;
        f.Size = 8;
        break;
    case Risultato::Tipo::Data:
    case Risultato::Tipo::DataOra:
        f.Type = 8;
        f.Size = 8;
        break;
    case Risultato::Tipo::Booleano:
        f.Type = 1;
        f.Size = 1;
        break;
    default:
        f.Type = 10;
        f.Size = c.lunghezza > 0 ? c.lunghezza : 255;
    }
    return f;
}

int RecDat::LunghezzaCampo(const QString &h, const QVariant &campo) const
{
    return CampoDao(h, campo).Size;
}

const Risultato *RecDat::RecordsetDao(const QString &h) const
{
    Insieme &s = ins(h);
    s.completa();
    return s.r.get();
}

QString RecDat::SqlRec(const QString &h) const
{
    return ins(h).sql;
}
