// The record layer of the customer form's line grids: the callbacks through
// which each grid's GestLinee reads and writes its rows, always on grid
// LinAttuale. Grid 0 holds the account's attached documents (PianoContiDoc),
// grid 1 its letters of intent (PdcDicIntenti); each reads and writes through
// one updatable record set of its own.
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/RecDat.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

#include <QLineEdit>
#include <cmath>

namespace
{

// A key no account has: the grid opens with its columns and no rows.
const QString kNessunConto = QStringLiteral(" Where Gruppo = 'qspeftyàòéè§ò'");

// The letter's amount, asked by name or by position (a line is read at once
// by position): shown and edited the Italian way either way.
bool importoLettera(RecDat &rec, const QString &h, const QVariant &campo)
{
    const QString nome =
        UtilGlob::ValoreENumero(campo) ? rec.CampoDao(h, campo.toInt()).Name : campo.toString();
    return nome.compare(QLatin1String("ImportoDichIntenti"), Qt::CaseInsensitive) == 0;
}

// A cell's text in the kind of its column (DAO field type): amounts and whole
// numbers are read the way they are shown ("1.234,56" is 1234.56, never
// 1.234), dates in the company's format; an empty cell of a number or a date
// is Null. Values that are not text go as they are.
QVariant ValoreDaCella(const QVariant &valore, int tipoDao)
{
    if (valore.typeId() != QMetaType::QString)
        return valore;
    const QString t = valore.toString().trimmed();
    if (tipoDao == 10 || tipoDao == 12)
        return valore;
    if (t.isEmpty())
        return QVariant();
    const UtilGlob &u = Globali::Util();
    double n = 0;
    switch (tipoDao) {
    case 8:
        return u.ValoreData(t).isValid() ? u.ValoreData(t) : valore;
    case 2:
    case 3:
    case 4:
        // A number that is not whole stays text: the column refuses it.
        return UtilGlob::LeggiNumero(t, n) && n == std::trunc(n) ? QVariant(qlonglong(n)) : valore;
    case 5:
        return UtilGlob::LeggiNumero(t, n) ? QVariant::fromValue(Currency::fromDouble(n)) : valore;
    case 6:
    case 7:
        return UtilGlob::LeggiNumero(t, n) ? QVariant(n) : valore;
    default:
        return valore;
    }
}

// The transaction of a line's write or delete: ended whatever leaves its
// scope, an error of any kind (also after a lost connection: its end is
// still owed). A commit ends it even when it fails.
class TransazioneRiga
{
  public:
    explicit TransazioneRiga(DbMotore *db) : m_db(db) { m_db->IniziaTrans(Globali::DbAzienda); }
    ~TransazioneRiga()
    {
        if (m_aperta)
            try {
                m_db->AnnullaTrans(Globali::DbAzienda);
            } catch (...) {
            }
    }
    TransazioneRiga(const TransazioneRiga &) = delete;
    TransazioneRiga &operator=(const TransazioneRiga &) = delete;
    void Conferma()
    {
        m_aperta = false;
        m_db->ConfermaTrans(Globali::DbAzienda);
    }

  private:
    DbMotore *m_db;
    bool m_aperta = true;
};

// Whether the last commit lost its answer: the save or delete just tried may
// be stored or not, and only reading the line again tells.
bool confermaIncerta()
{
    DbMotore *db = Globali::DbComp();
    return db && db->EsisteConnessione(Globali::DbAzienda) && db->ConfermaIncerta(Globali::DbAzienda);
}

} // namespace

void frmClienti::GrigliaAttiva(GestLinee *griglia)
{
    if (griglia && griglia->Indice() >= 0)
        LinAttuale = griglia->Indice();
}

QVariant frmClienti::DatiPrepara(const QVariant &pvOrdin, bool pbVuoto)
{
    const int g = LinAttuale;
    const UtilGlob &u = Globali::Util();
    const QString dove = pbVuoto ? kNessunConto
                                 : QStringLiteral(" Where Gruppo = ") + u.ValoreSql(txt(10)->text()) +
                                       QStringLiteral(" And Mastro = ") + u.ValoreSql(txt(20)->text()) +
                                       QStringLiteral(" And Conto = ") + u.ValoreSql(txt(30)->text());
    QString sql;
    QString ordine;
    if (g == 0) {
        sql = QStringLiteral("SELECT Gruppo, Mastro, Conto ") + QStringLiteral(", Ordine") +
              QStringLiteral(", Descrizione") + QStringLiteral(", Percorso") +
              QStringLiteral(" From PianoContiDoc");
        ordine = QStringLiteral(" Order by Ordine");
    } else {
        sql = QStringLiteral("SELECT Gruppo, Mastro, Conto ") + QStringLiteral(", PdcDicIntenti") +
              QStringLiteral(
                  ", Descrizione, Attivo, ProtRicezione, DataRicAE, NrDichIntenti, DataDichIntenti") +
              QStringLiteral(", NrPrgIntenti, DataRicComIntenti, RifComunicIntenti") +
              QStringLiteral(", ImportoDichIntenti, DataDAIntenti, DataAIntenti") +
              QStringLiteral(" From PdcDicIntenti");
        ordine = QStringLiteral(" Order by PdcDicIntenti");
    }
    if (pvOrdin.isValid() && !pvOrdin.toString().isEmpty())
        ordine = pvOrdin.toString();
    sql += dove + ordine;
    auto &rec = RecLin[size_t(g)];
    if (!rec)
        rec = std::make_unique<RecDat>();
    if (!IdRecLin[size_t(g)].isEmpty())
        rec->Riapri(IdRecLin[size_t(g)], sql, RecDat::TipoDinamico);
    else
        IdRecLin[size_t(g)] =
            rec->ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), sql, false, RecDat::TipoDinamico);
    olNumRecTot(rec->NumRecord(IdRecLin[size_t(g)]));
    return {};
}

int frmClienti::DatiOrdinaSql(const QVariant &pvColIndex)
{
    int esito = 1;
    try {
        const QString nome = ovField(pvColIndex, QStringLiteral("name")).toString();
        if (nome.isEmpty())
            return esito;
        DatiPrepara(QStringLiteral(" Order by ") + nome, false);
        esito = 0;
    } catch (const VbErrore &) {
    }
    return esito;
}

void frmClienti::DatiRequery()
{
    const int g = LinAttuale;
    if (NoLettura == 1 || !RecLin[size_t(g)] || IdRecLin[size_t(g)].isEmpty()) {
        NumRecLin[size_t(g)] = 0;
        return;
    }
    RecLin[size_t(g)]->Riesegui(IdRecLin[size_t(g)]);
    NumRecLin[size_t(g)] = RecLin[size_t(g)]->NumRecord(IdRecLin[size_t(g)]);
}

void frmClienti::DatiMove(int piTipoMov)
{
    if (piTipoMov < 0 || piTipoMov > 3)
        return;
    RecDat &rec = *RecLin[size_t(LinAttuale)];
    const QString &h = IdRecLin[size_t(LinAttuale)];
    try {
        rec.Muovi(h, piTipoMov);
    } catch (const VbErrore &e) {
        // Past either end the move just ends; another failure tries once
        // to settle on the rows there are.
        if (e.numero() == VbErrore::NessunRecordCorrente)
            return;
        try {
            rec.MuoviPrimo(h);
            rec.MuoviUltimo(h);
        } catch (const VbErrore &) {
        }
    }
}

void frmClienti::DatiMoveRecNew()
{
    RecLin[size_t(LinAttuale)]->MuoviNuovo(IdRecLin[size_t(LinAttuale)]);
}

bool frmClienti::obRecNoVal()
{
    return RecLin[size_t(LinAttuale)]->NessunRecord(IdRecLin[size_t(LinAttuale)]);
}

void frmClienti::DatiEdit()
{
    RecLin[size_t(LinAttuale)]->ModificaRec(IdRecLin[size_t(LinAttuale)]);
}

void frmClienti::DatiAddNew()
{
    RecLin[size_t(LinAttuale)]->AggiungiRec(IdRecLin[size_t(LinAttuale)]);
}

bool frmClienti::DatiUpdate()
{
    const int g = LinAttuale;
    GestLinee *lin = GestLin(g);
    try {
        bool cancel = false;
        if (VerifPrimaUpdate(*lin, cancel))
            return false;
        const int colonne = int(lin->Colonne().size());
        for (int c = 0; c < colonne; ++c) {
            if (lin->ColonnaBloccata(c))
                continue;
            if (!DatiValidi(g, c, false, std::nullopt)) {
                lin->ImpostaColonnaCorrente(c);
                return false;
            }
        }
        LinAttuale = g;
        if (g == 1 && !VerifObbligatoriDic())
            return false;
        RecDat &rec = *RecLin[size_t(g)];
        const QString &h = IdRecLin[size_t(g)];
        if (rec.ModoModifica(h) == RecDat::ModoNuovo) {
            rec.ScriviCampo(h, QStringLiteral("Gruppo"), txt(10)->text());
            rec.ScriviCampo(h, QStringLiteral("Mastro"), txt(20)->text());
            rec.ScriviCampo(h, QStringLiteral("Conto"), txt(30)->text());
        }
        // The line as the grid shows it now: what this save sends.
        QVariantList mostrata;
        for (int c = 0; c < colonne; ++c)
            mostrata << lin->ValoreCella(c);
        {
            // The write may wait for another desk's lock. It is made under
            // the customer's own lock, taken first as the form's save and
            // delete take it: a customer another desk has deleted gets no
            // line left without it (for a customer later made with its code
            // to inherit).
            UtilFinestre::CursoreOccupato attesa;
            DbMotore *db = Globali::DbComp();
            TransazioneRiga trans(db);
            if (!db->BloccaRiga(Globali::DbAzienda, QStringLiteral("PianoConti"),
                                {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")},
                                {txt(10)->text(), txt(20)->text(), txt(30)->text()}))
                throw VbErrore(
                    VbErrore::NessunRecordCorrente,
                    QStringLiteral("Il cliente %1-%2-%3 (%4) è stato cancellato da un'altra postazione: "
                                   "la riga non è stata salvata e resta nella griglia.")
                            .arg(txt(10)->text(), txt(20)->text(), txt(30)->text(), txt(40)->text()) +
                        ErroriDb::DettaglioErrore(
                            VbErrore::NessunRecordCorrente,
                            QStringLiteral("la riga del cliente non esiste più nella tabella PianoConti.")));
            rec.AggiornaRec(h);
            try {
                trans.Conferma();
            } catch (const VbErrore &) {
                if (confermaIncerta()) {
                    // The line as the record layer wrote it, to be found again.
                    QVariantList inviata;
                    try {
                        DatiMoveRecNew();
                        ovDatiValueVet(inviata, colonne);
                    } catch (const VbErrore &) {
                    }
                    verificaLineaDopoConfermaIncerta(g, GestPagine::OpSalva, inviata,
                                                     lin->ColonneModificate(), mostrata);
                }
                throw;
            }
        }
        NumRecLin[size_t(g)] = rec.NumRecord(h);
        return true;
    } catch (const VbErrore &e) {
        int errore = e.numero(), risposta = 0;
        lin->RicordaErrore(errore == VbErrore::ChiaveDuplicata ? codiceDoppio(g, e.descrizione())
                                                               : e.descrizione());
        DatiErrore(*lin, errore, risposta);
        return false;
    }
}

QString frmClienti::codiceDoppio(int g, const QString &dettaglio)
{
    // The line's key within the account is its one column the user types: a
    // duplicate can only be that value, said in the user's words and with the
    // user put back on it. A value no other line of this grid shows was
    // saved since the rows were read here: by another desk.
    GestLinee *lin = GestLin(g);
    const QString chiave = g == 1 ? QStringLiteral("PdcDicIntenti") : QStringLiteral("Ordine");
    lin->ImpostaColonnaCorrente(chiave);
    const QString valore = lin->ValoreCella(chiave).toString().trimmed();
    double numero = 0;
    const bool eNumero = UtilGlob::LeggiNumero(valore, numero);
    bool inGriglia = false;
    for (int r = 0; r < lin->NumeroRighe() && !inGriglia; ++r) {
        if (r == lin->RigaCorrente())
            continue;
        const QString altro = lin->ValoreRiga(r, chiave).toString().trimmed();
        double n = 0;
        inGriglia = altro == valore || (eNumero && UtilGlob::LeggiNumero(altro, n) && n == numero);
    }
    // The line whose save lost its answer, saved again before it was read
    // back: the number is taken by that save itself, which the server kept.
    const VerificaLinea &v = m_verificaLinea[size_t(g)];
    const int colonnaChiave = lin->IndiceColonna(chiave);
    if (!inGriglia && v.attesa && v.operazione == GestPagine::OpSalva && colonnaChiave >= 0 &&
        v.inviata.value(colonnaChiave).toString().trimmed() == valore) {
        const QString cosa = g == 1 ? QStringLiteral("Il codice ") : QStringLiteral("Il numero d'ordine ");
        return cosa + valore +
               QStringLiteral(" risulta già nel database: il salvataggio precedente di questa riga, di cui "
                              "il server non aveva confermato l'esito, è stato mantenuto. La riga non è "
                              "stata salvata una seconda volta e tra un istante viene riletta e mostrata "
                              "come è salvata.") +
               ErroriDb::DettaglioErrore(VbErrore::ChiaveDuplicata, dettaglio);
    }
    const QString assegnato = inGriglia ? QStringLiteral(" è già assegnato a ")
                                        : QStringLiteral(" è stato assegnato nel frattempo da un'altra "
                                                         "postazione a ");
    const QString testo =
        g == 1 ? QStringLiteral("Il codice ") + valore + assegnato +
                     QStringLiteral("un'altra dichiarazione d'intenti di questo cliente: la riga non è stata "
                                    "salvata e resta nella griglia; indicare un codice diverso e salvare di "
                                    "nuovo.")
               : QStringLiteral("Il numero d'ordine ") + valore + assegnato +
                     QStringLiteral("un altro documento di questo cliente: la riga non è stata salvata e "
                                    "resta nella griglia; indicare un numero diverso e salvare di nuovo.");
    return testo + ErroriDb::DettaglioErrore(VbErrore::ChiaveDuplicata, dettaglio);
}

void frmClienti::DatiAnnEdit()
{
    RecDat &rec = *RecLin[size_t(LinAttuale)];
    const QString &h = IdRecLin[size_t(LinAttuale)];
    // Moving drops the pending edit or new row and leaves no current row.
    try {
        rec.MuoviPrimo(h);
    } catch (const VbErrore &) {
    }
    try {
        rec.MuoviPrecedente(h);
    } catch (const VbErrore &) {
    }
}

void frmClienti::DatiDelete()
{
    const int g = LinAttuale;
    RecDat &rec = *RecLin[size_t(g)];
    const QString &h = IdRecLin[size_t(g)];
    try {
        {
            // The line as it was read: found again, or not, if the commit
            // loses its answer.
            QVariantList letta;
            ovDatiValueVet(letta, int(GestLin(g)->Colonne().size()));
            UtilFinestre::CursoreOccupato attesa;
            TransazioneRiga trans(Globali::DbComp());
            rec.EliminaRec(h);
            try {
                trans.Conferma();
            } catch (const VbErrore &) {
                if (confermaIncerta())
                    verificaLineaDopoConfermaIncerta(g, GestPagine::OpCancella, letta, {}, {});
                throw;
            }
        }
        DatiMove(3);
        if (rec.FineFile(h) && !rec.InizioFile(h))
            DatiMove(1);
        NumRecLin[size_t(g)] = rec.NumRecord(h);
    } catch (const VbErrore &e) {
        GestLinee *lin = GestLin(g);
        int errore = e.numero(), risposta = 0;
        lin->RicordaErrore(e.descrizione());
        DatiErrore(*lin, errore, risposta);
    }
}

QVariant frmClienti::DatiErrore(GestLinee &griglia, int &DataError, int &Response)
{
    (void)griglia;
    return GestLin(LinAttuale)->ErroreGriglia(DataError, Response);
}

int frmClienti::olRecPosition()
{
    return RecLin[size_t(LinAttuale)]->Posizione(IdRecLin[size_t(LinAttuale)]);
}

void frmClienti::olRecPosition(int plRecPosition)
{
    try {
        RecLin[size_t(LinAttuale)]->ImpostaPosizione(IdRecLin[size_t(LinAttuale)], plRecPosition);
    } catch (const VbErrore &) {
        DatiMove(3);
        DatiMove(2);
    }
}

int frmClienti::olNumRecTot()
{
    return NumRecLin[size_t(LinAttuale)];
}

void frmClienti::olNumRecTot(int plNumRecTot)
{
    NumRecLin[size_t(LinAttuale)] = plNumRecTot;
    AggApproxCount();
}

QVariant frmClienti::ovDatiValue(const QVariant &pvCampo)
{
    RecDat &rec = *RecLin[size_t(LinAttuale)];
    const QString &h = IdRecLin[size_t(LinAttuale)];
    if (LinAttuale == 0)
        return UtilGlob::ValoreENumero(pvCampo) ? rec.ValoreCampoIdx(h, pvCampo)
                                                : rec.LeggiCampo(h, pvCampo.toString());
    const QVariant v = rec.ValoreCampoIdx(h, pvCampo);
    if (importoLettera(rec, h, pvCampo))
        return Globali::Util().FormattaImporto(v, Globali::NumDecEuro, QStringLiteral("0"), false,
                                               QStringLiteral("#,###"), 0, QString(), QStringLiteral("^"));
    return v;
}

void frmClienti::ovDatiValue(const QVariant &pvCampo, const QVariant &pvDatiValue)
{
    RecDat &rec = *RecLin[size_t(LinAttuale)];
    const QString &h = IdRecLin[size_t(LinAttuale)];
    const QString nome = ovField(pvCampo, QStringLiteral("name")).toString();
    rec.ScriviCampo(h, nome, ValoreDaCella(pvDatiValue, rec.CampoDao(h, nome).Type));
}

QVariant frmClienti::ovField(const QVariant &pvColIndex, const QString &psProprieta)
{
    RecDat &rec = *RecLin[size_t(LinAttuale)];
    const QString &h = IdRecLin[size_t(LinAttuale)];
    int indice = -1;
    if (UtilGlob::ValoreENumero(pvColIndex))
        indice = pvColIndex.toInt();
    else
        indice = GestLin(LinAttuale)->IndiceColonna(pvColIndex.toString());
    if (indice < 0)
        return {};
    try {
        const QString p = psProprieta.toLower();
        if (p == QLatin1String("type"))
            return rec.CampoDao(h, indice).Type;
        if (p == QLatin1String("name"))
            return rec.CampoDao(h, indice).Name;
        if (p == QLatin1String("dataupdatable"))
            return true;
        if (p == QLatin1String("fieldsize"))
            return rec.LunghezzaCampo(h, indice);
    } catch (const VbErrore &) {
    }
    return {};
}
