// Footer engine: creation, reset, SQL texts, error list, the run of the nine
// phases and the header and stamp-table phases.
#include "totals/scCalcPiedeFat.h"

#include "totals/LetturePiede.h"

#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/Importi.h"

namespace
{
QString letterale(const QVariant &valore, int tipo)
{
    return Globali::Util().ValoreSql(valore, tipo);
}

// A whole number written as the SQL literal helper writes it, without its
// detour through a double: these go into every text of every document.
QString numeroSql(int valore)
{
    return QString::number(valore);
}

bool eS(const QString &valore)
{
    return valore.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

// Upper bound of an open stamp bracket.
const Currency BollettaAperta = Currency(99999999999999LL);
} // namespace

scCalcPiedeFat::scCalcPiedeFat() = default;
scCalcPiedeFat::~scCalcPiedeFat() = default;

void scCalcPiedeFat::AzzeraVarPiede()
{
    if (!ogIve)
        ogIve = std::make_unique<scIve>();
    ogIve->Clear();
    odTotMerce = odTotEsente = odTotEsenteAppBol = odTotSpese = odTotFattura = odTotPagare = Currency();
    odTotImponibile = odTotIva = odTotBolli = odTotImpOmaggi = odTotOmaggiNoIva = odTotOmaggi = Currency();
    odTotImpRitAcc = odTotImpRitAccEff = odRitAcc = odAbbuono = odAcconto = odScontoPag = Currency();
    obFattEsente = obApplScontoPag = obOmaSIvaPres = obOmaTotPres = false;
    oiNumErrori = 0;
    oiNumSconti = 0;
    osErrori.clear();
    osGruppoBol.clear();
    osMastroBol.clear();
    osContoBol.clear();
    osScontoPag.clear();
    mdMerceSco.assign(1, 0.0);
    SvuotaListeSpese();
}

QString scCalcPiedeFat::SqlTestataPiede() const
{
    const QString &T = osTabTesta;
    const bool fattura = T.compare(QLatin1String("FatTest"), Qt::CaseInsensitive) == 0;
    const bool ddt = T.compare(QLatin1String("DdtTest"), Qt::CaseInsensitive) == 0;
    const bool ordAcq = T.compare(QLatin1String("OrdAcqTes"), Qt::CaseInsensitive) == 0;
    QString s = QLatin1String("SELECT ") + T + QLatin1String(".Acconto");
    if (TestataHaCampo(QStringLiteral("ScoPagSuDett")))
        s += QLatin1String(", ") + T + QLatin1String(".ScoPagSuDett");
    if (fattura)
        s += QLatin1String(", ") + T + QLatin1String(".Abbuono") + QLatin1String(", ") + T +
             QLatin1String(".Bolli");
    s += QLatin1String(", ") + T + QLatin1String(".DataRif");
    if (!ordAcq) {
        for (const char *c : {".GruppoCli", ".MastroCli", ".ContoCli", ".PercRitAcc"})
            s += QLatin1String(", ") + T + QLatin1String(c);
    } else {
        for (const char *c : {".GruppoFor", ".MastroFor", ".ContoFor"})
            s += QLatin1String(", ") + T + QLatin1String(c);
    }
    if (fattura || ddt)
        s += QLatin1String(", ") + T + QLatin1String(".Peso");
    for (const char *c : {".Moneta", ".Pagamento", ".PrezziIvati", ".ScontoPag"})
        s += QLatin1String(", ") + T + QLatin1String(c);
    s += QLatin1String(", FattDocumenti.RegimeMargine, FattDocumenti.Segno, FattDocumenti.FattDocumento") +
         QLatin1String(", Monete.NumDec") +
         QLatin1String(", PagTipi.TipoEffetto, PagTipi.AddBolli, Pagamenti.NumScad") +
         QLatin1String(", TabIva.TipoIva") + QLatin1String(", Stati.Cee,Stati.Iso");
    s += QLatin1String(" FROM") + QLatin1String(" ((((((") + T + QLatin1String(" ") +
         QLatin1String(" LEFT JOIN Monete ON ") + T + QLatin1String(".Moneta = Monete.Moneta)") +
         QLatin1String(" LEFT JOIN FattDocumenti ON ") + T +
         QLatin1String(".FattDocumento = FattDocumenti.FattDocumento)") +
         QLatin1String(" LEFT JOIN Pagamenti ON ") + T + QLatin1String(".Pagamento = Pagamenti.Pagamento)") +
         QLatin1String(" LEFT JOIN PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo)") +
         QLatin1String(" LEFT JOIN TabIva ON ") + T + QLatin1String(".Iva = TabIva.Iva)") +
         QLatin1String(" LEFT JOIN PianoConti") + QLatin1String(" ON ");
    const QLatin1String lato(osTipoGest.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0 ? "For"
                                                                                              : "Cli");
    s += T + QLatin1String(".Gruppo") + lato + QLatin1String(" = PianoConti.Gruppo") +
         QLatin1String(" AND ") + T + QLatin1String(".Mastro") + lato +
         QLatin1String(" = PianoConti.Mastro") + QLatin1String(" AND ") + T + QLatin1String(".Conto") + lato +
         QLatin1String(" = PianoConti.Conto)");
    s += QLatin1String(" LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato") + QLatin1String(" Where") +
         QLatin1String(" ") + T + QLatin1String(".NumRif = ") + numeroSql(mlNumRif) + QLatin1String(" And ") +
         T + QLatin1String(".Anno = ") + numeroSql(miAnno);
    return s;
}

QString scCalcPiedeFat::SqlDettagliPiede(bool pbCauzioni) const
{
    const QString &D = osTabDett;
    const QString &L = osTabLiv;
    const QString conto = D + QLatin1String(".gruppoven & ") + D + QLatin1String(".MastroVen & ") + D +
                          QLatin1String(".contoVen");
    const QString cauzione = pbCauzioni ? QStringLiteral(",Articoli.Cauzione as ArtCauzione")
                                        : QStringLiteral(",'N' as ArtCauzione");
    const QString articoli = pbCauzioni ? QLatin1String(") LEFT JOIN Articoli ON ") + D +
                                              QLatin1String(".Articolo = Articoli.Articolo")
                                        : QString();
    const QString apri = pbCauzioni ? QStringLiteral("(") : QString();
    QString s;
    if (!Globali::Util().ValoreVuoto(L, UtilGlob::TipoTesto, 1, false) && mbGesTaglie) {
        s = QLatin1String("SELECT") + QLatin1String(" ") + D + QLatin1String(".* ") + QLatin1String(",") +
            conto + QLatin1String(" AS Conto") + QLatin1String(",") + L + QLatin1String(".* ") +
            QLatin1String(",TabIva.*") + cauzione + QLatin1String(" FROM ") + apri + QLatin1String("(") + D +
            QLatin1String("  ") + QLatin1String(" LEFT JOIN TabIva ON ") + D +
            QLatin1String(".Iva = TabIva.Iva)") + QLatin1String(" LEFT JOIN ") + L + QLatin1String(" ON ") +
            D + QLatin1String(".RigLiv = ") + L + QLatin1String(".RigLiv") + QLatin1String(" AND ") + D +
            QLatin1String(".NumRif = ") + L + QLatin1String(".NumRif") + QLatin1String(" AND ") + D +
            QLatin1String(".Anno = ") + L + QLatin1String(".Anno") + articoli + QLatin1String(" Where") +
            QLatin1String(" ") + D + QLatin1String(".NumRif = ") + numeroSql(mlNumRif) +
            QLatin1String(" And ") + D + QLatin1String(".Anno = ") + numeroSql(miAnno) +
            QLatin1String(" and (") + D + QLatin1String(".TipoRiga = ") +
            letterale(QStringLiteral("M"), UtilGlob::TipoTesto) + QLatin1String(" or ") + D +
            QLatin1String(".TipoRiga = ") + letterale(QStringLiteral("A"), UtilGlob::TipoTesto) +
            QLatin1String(")");
    } else {
        s = QLatin1String("SELECT") + QLatin1String(" ") + D + QLatin1String(".*") + QLatin1String(",") +
            conto + QLatin1String(" AS Conto") + QLatin1String(",TabIva.*") + cauzione +
            QLatin1String(" FROM ") + apri + D + QLatin1String(" LEFT JOIN TabIva ON ") + D +
            QLatin1String(".Iva = TabIva.Iva") + articoli + QLatin1String(" Where") + QLatin1String(" ") + D +
            QLatin1String(".NumRif = ") + numeroSql(mlNumRif) + QLatin1String(" And ") + D +
            QLatin1String(".Anno = ") + numeroSql(miAnno);
    }
    s += QLatin1String(" order by ") + D + QLatin1String(".Iva,") + conto + QLatin1String(",") + D +
         QLatin1String(".RigDet");
    return s;
}

QString scCalcPiedeFat::SqlSpesePiede() const
{
    const QString &S = osTabSpese;
    return QLatin1String("SELECT ") + S + QLatin1String(".*") + QLatin1String(",TabIva.*") +
           QLatin1String(",Spese.*") + QLatin1String(" FROM") + QLatin1String(" (") + S +
           QLatin1String(" LEFT JOIN TabIva ON ") + S + QLatin1String(".Iva = TabIva.Iva)") +
           QLatin1String(" LEFT JOIN Spese ON ") + S + QLatin1String(".Spesa = Spese.Spesa") +
           QLatin1String(" Where") + QLatin1String(" ") + S + QLatin1String(".Anno = ") + numeroSql(miAnno) +
           QLatin1String(" And ") + S + QLatin1String(".NumRif = ") + numeroSql(mlNumRif) +
           QLatin1String(" Order BY") + QLatin1String(" ") + S + QLatin1String(".Iva") +
           QLatin1String(" ,spese.gruppo & spese.Mastro & spese.conto");
}

void scCalcPiedeFat::AccodaErrPiede(long plNumErr, const QString &psTesto)
{
    if (oiNumErrori < 30)
        osErrori += QStringLiteral("Errore n°") + Globali::Util().TestoErrore(int(plNumErr)) +
                    QLatin1String(" : ") + psTesto + QLatin1String(" in ") +
                    QLatin1String(" CalcPiedeFat (") + msFase + QLatin1String(") ") + QLatin1String("\r\n");
    else if (oiNumErrori == 30)
        osErrori += QLatin1String("..............");
    ++oiNumErrori;
}

void scCalcPiedeFat::CalcPiedeFat(int piAnno, int plNumRif, bool pbCalcRitAcc, double pdPercRitAcc,
                                  std::optional<QVariant> pvAddBolli)
{
    ScaBolRB.fill(Currency());
    BolloRB.fill(Currency());
    // Working values live only for the call: nothing of the previous document leaks in.
    ContoVenDefault.clear();
    GestVuotiCauz = false;
    PrezziIvati = QStringLiteral("N");
    NumDecDoc = 0;
    MonetaDoc.clear();
    TipoEffetto.clear();
    BolliLetti = false;
    IvaBolloLetta = false;
    BolliTrovati = false;
    CodEseBollo.clear();
    ContoBollo.clear();
    PercBolloTratte = MaxNoBollo = BolloEsente = ArrotondBollo = TotMerceRighe = Currency();
    try {
        MancaAddBolli = !pvAddBolli.has_value();
        mvAddBolli = pvAddBolli.value_or(QVariant());
        mbCalcRitAcc = pbCalcRitAcc;
        mdPercRitAcc = pdPercRitAcc;
        AzzeraVarPiede();
        miAnno = piAnno;
        mlNumRif = plNumRif;

        struct Fase {
            QString nome;
            bool (scCalcPiedeFat::*esegui)();
        };
        static const Fase fasi[] = {
            {QStringLiteral("Lettura testata"), &scCalcPiedeFat::LetturaTestata},
            {QStringLiteral("Lettura bolli"), &scCalcPiedeFat::LetturaBolli},
            {QStringLiteral("Lettura Dettagli Normali"), &scCalcPiedeFat::LetturaDettagli},
            {QStringLiteral("Lettura Spese"), &scCalcPiedeFat::LetturaSpese},
            {QStringLiteral("Ripartizione IVA spese"), &scCalcPiedeFat::RipartizioneIvaSpese},
            {QStringLiteral("Calcola ritenuta d'acconto"), &scCalcPiedeFat::CalcolaRitenuta},
            {QStringLiteral("Calcolo totali"), &scCalcPiedeFat::CalcoloTotali},
            {QStringLiteral("Calcolo Bolli"), &scCalcPiedeFat::CalcoloBolli},
            {QStringLiteral("Parte finale"), &scCalcPiedeFat::ParteFinale},
        };
        for (const Fase &f : fasi) {
            if (f.esegui == &scCalcPiedeFat::CalcolaRitenuta && mbCalcRitAcc)
                continue;
            if (f.esegui == &scCalcPiedeFat::CalcoloBolli && (mbCalcRitAcc || !BolliTrovati))
                continue;
            msFase = f.nome;
            if (!(this->*f.esegui)())
                break;
        }
    } catch (const VbErrore &e) {
        AccodaErrPiede(e.numero(), e.descrizione());
    } catch (const std::exception &e) {
        AccodaErrPiede(0, QString::fromLocal8Bit(e.what()));
    }
    msFase.clear();
    try {
        ChiudiLetture();
    } catch (...) {
    }
}

bool scCalcPiedeFat::LetturaTestata()
{
    mbGesTaglie = eS(ParametroHost(QStringLiteral("Mag.GesTaglie")));
    ContoVenDefault = ParametroHost(QStringLiteral("CauCon.GruppoVen")) +
                      ParametroHost(QStringLiteral("CauCon.MastroVen")) +
                      ParametroHost(QStringLiteral("CauCon.ContoVen"));
    GestVuotiCauz = eS(ParametroPersonale(QStringLiteral("Fatture"), QStringLiteral("GestVuotiCauz")));
    obCassaPrevNoImpon = eS(ParametroPersonale(QStringLiteral("Tutti"), QStringLiteral("CassaPrevNoImpon")));

    if (!mLetture)
        mLetture = std::make_unique<Letture>();
    Letture &L = *mLetture;
    // The text changes with the tables, the side and the optional column only.
    const bool scoPag = TestataHaCampo(QStringLiteral("ScoPagSuDett"));
    const bool fornitore = osTipoGest.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0;
    const QString chiave = osTabTesta + QLatin1Char(fornitore ? 'A' : 'C') + QLatin1Char(scoPag ? '1' : '0');
    SelezionePronta &t = Apri(
        L.testa, chiave, [this] { return SqlTestataPiede(); }, {qlonglong(mlNumRif), qlonglong(miAnno)},
        [this, &L](SelezionePronta &s) {
            const QString T = osTabTesta + QLatin1String(".");
            auto &c = L.t;
            c.scoPagSuDett = s.Campo(T + QLatin1String("ScoPagSuDett"));
            c.regimeMargine = s.Campo(QStringLiteral("FattDocumenti.RegimeMargine"));
            c.prezziIvati = s.Campo(T + QLatin1String("PrezziIvati"));
            c.numDec = s.Campo(QStringLiteral("Monete.NumDec"));
            c.moneta = s.Campo(T + QLatin1String("Moneta"));
            c.tipoEffetto = s.Campo(QStringLiteral("PagTipi.TipoEffetto"));
            c.abbuono = s.Campo(T + QLatin1String("Abbuono"));
            c.acconto = s.Campo(T + QLatin1String("Acconto"));
            c.scontoPag = s.Campo(T + QLatin1String("ScontoPag"));
            c.peso = s.Campo(T + QLatin1String("Peso"));
            c.percRitAcc = s.Campo(T + QLatin1String("PercRitAcc"));
            c.bolli = s.Campo(T + QLatin1String("Bolli"));
            c.segno = s.Campo(QStringLiteral("FattDocumenti.Segno"));
            c.addBolli = s.Campo(QStringLiteral("PagTipi.AddBolli"));
            c.numScad = s.Campo(QStringLiteral("Pagamenti.NumScad"));
            c.dataRif = s.Campo(T + QLatin1String("DataRif"));
            c.pagamento = s.Campo(T + QLatin1String("Pagamento"));
            c.gruppoCli = s.Campo(T + QLatin1String("GruppoCli"));
            c.mastroCli = s.Campo(T + QLatin1String("MastroCli"));
            c.contoCli = s.Campo(T + QLatin1String("ContoCli"));
        });
    if (t.FineDati()) {
        AccodaErrPiede(0, QStringLiteral("Non è stata trovata la testata del doc. ") +
                              QString::number(mlNumRif) + QLatin1String(" ") + QString::number(miAnno));
        return false;
    }
    const auto &c = L.t;
    mbScoPagSuDett = t.Uguale(c.scoPagSuDett, QLatin1String("S"));
    msRegimeMargine = t.Testo(c.regimeMargine);
    const QString ivati = t.Testo(c.prezziIvati);
    PrezziIvati = eS(ivati) ? ivati : QStringLiteral("N");
    // A currency missing from Monete leaves no decimals to round to: an error, not a guess.
    if (t.Nullo(c.numDec))
        throw VbErrore(VbErrore::UsoNonValidoNull,
                       QStringLiteral("Moneta del documento non trovata in Monete: ") + t.Testo(c.moneta));
    MonetaDoc = t.Testo(c.moneta);
    // Decimals out of what an amount holds end the run with an error naming the currency.
    NumDecDoc = DecimaliMoneta(MonetaDoc, t.Valore(c.numDec));
    TipoEffetto = t.Testo(c.tipoEffetto);
    odAbbuono = t.Importo(c.abbuono);
    odAcconto = t.Importo(c.acconto);

    osScontoPag = t.Testo(c.scontoPag).trimmed();
    odScontoPag = Currency();
    if (!osScontoPag.isEmpty()) {
        int errore = 0;
        const double sconto = ValutaNumero(osScontoPag, &errore, 0, 6);
        // A chain that cannot be read grants no discount, and says so.
        if (errore != 0)
            AccodaErrPiede(0, QStringLiteral("Sconto pagamento non valido \"") + osScontoPag +
                                  QStringLiteral("\": nessuno sconto pagamento applicato"));
        else
            odScontoPag = Currency::fromDouble(sconto);
    }
    return true;
}

bool scCalcPiedeFat::LetturaBolli()
{
    BolliTrovati = false;
    const bool lira = MonetaDoc.compare(Globali::CodLira, Qt::CaseInsensitive) == 0;
    const bool euro = MonetaDoc.compare(Globali::CodEuro, Qt::CaseInsensitive) == 0;
    if (!lira && !euro)
        return true;
    Letture &L = *mLetture;
    SelezionePronta &b = Apri(
        L.bolli, QStringLiteral("TaBolli"),
        [] {
            return QStringLiteral("Select TaBolli.* , Tabiva.*") +
                   QStringLiteral(" FROM TaBolli left join Tabiva on TaBolli.CodEseBollo = TabIva.Iva");
        },
        {},
        [&L](SelezionePronta &s) {
            auto &c = L.b;
            c.codEseBollo = s.Campo(QStringLiteral("TaBolli.CodEseBollo"));
            c.gruppoBol = s.Campo(QStringLiteral("TaBolli.GruppoBol"));
            c.mastroBol = s.Campo(QStringLiteral("TaBolli.MastroBol"));
            c.contoBol = s.Campo(QStringLiteral("TaBolli.ContoBol"));
            c.percBolloTratte = s.Campo(QStringLiteral("TaBolli.PercBolloTratte"));
            c.maxNoBollo = s.Campo(QStringLiteral("TaBolli.MaxNoBollo"));
            c.maxNoBolloLire = s.Campo(QStringLiteral("TaBolli.MaxNoBolloLire"));
            c.bolloEsente = s.Campo(QStringLiteral("TaBolli.BolloEsente"));
            c.bolloEsenteLire = s.Campo(QStringLiteral("TaBolli.BolloEsenteLire"));
            c.arrotond = s.Campo(QStringLiteral("TaBolli.Arrotond"));
            c.arrotondLire = s.Campo(QStringLiteral("TaBolli.ArrotondLire"));
            for (int i = 1; i <= 5; ++i) {
                const QString n = QString::number(i);
                c.sca[size_t(i)] = s.Campo(QStringLiteral("TaBolli.Sca") + n + QStringLiteral("BolRB"));
                c.scaLire[size_t(i)] =
                    s.Campo(QStringLiteral("TaBolli.Sca") + n + QStringLiteral("BolRBLire"));
                c.bollo[size_t(i)] = s.Campo(QStringLiteral("TaBolli.Bollo") + n + QStringLiteral("RB"));
                c.bolloLire[size_t(i)] =
                    s.Campo(QStringLiteral("TaBolli.Bollo") + n + QStringLiteral("RBLire"));
            }
            Letture::ColonneIva(s, c.iva);
        });
    BolliLetti = true;
    if (b.FineDati())
        return true;
    const auto &c = L.b;
    BolliTrovati = true;
    CodEseBollo = b.Testo(c.codEseBollo);
    osGruppoBol = b.Testo(c.gruppoBol);
    osMastroBol = b.Testo(c.mastroBol);
    osContoBol = b.Testo(c.contoBol);
    ContoBollo = osGruppoBol + osMastroBol + osContoBol;
    PercBolloTratte = b.Importo(c.percBolloTratte);
    MaxNoBollo = b.Importo(lira ? c.maxNoBolloLire : c.maxNoBollo);
    BolloEsente = b.Importo(lira ? c.bolloEsenteLire : c.bolloEsente);
    ArrotondBollo = b.Importo(lira ? c.arrotondLire : c.arrotond);
    for (size_t i = 1; i <= 5; ++i) {
        const int sca = lira ? c.scaLire[i] : c.sca[i];
        // An empty bracket bound is an open bracket; the cap comes before the
        // conversion, since a larger bound may not fit an amount at all.
        ScaBolRB[i] = b.Nullo(sca) || CampoDouble(b, sca) >= BollettaAperta.toDouble() ? BollettaAperta
                                                                                       : b.Importo(sca);
        BolloRB[i] = b.Importo(lira ? c.bolloLire[i] : c.bollo[i]);
    }
    return true;
}
