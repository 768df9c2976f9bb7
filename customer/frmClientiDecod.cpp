// Descriptions of the codes of each page, decoded the first time the page is
// shown for the record on display: one joined query per page over the
// customer row and its lookup tables. And the clearing of each page's
// descriptions when the form is cleared.
#include "customer/FormatiCampi.h"
#include "customer/ScritturaProgramma.h"
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/JetSql.h"
#include "components/db/RecDat.h"
#include "components/db/Schema.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "services/Decodifica.h"
#include "services/Globali.h"
#include "services/Importi.h"
#include "services/UtilPrg.h"

#include <QLabel>
#include <QLineEdit>

namespace
{

// One page's query: opened on the company connection, read, released.
class LetturaPagina
{
  public:
    LetturaPagina(const QString &sql, int opzioni = 0)
    {
        m_h = m_rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), sql, false, RecDat::TipoSnapshot,
                           opzioni);
    }
    // The customer row itself was not found (an account not saved yet).
    bool Vuota() const { return m_rs.FineDati(m_h); }
    QString Testo(const QString &campo) const
    {
        return m_rs.LeggiCampo(m_h, campo, UtilGlob::TipoTesto).toString();
    }
    int Intero(const QString &campo) const
    {
        return m_rs.LeggiCampo(m_h, campo, UtilGlob::TipoLungo).toInt();
    }
    QVariant Valore(const QString &campo) const { return m_rs.LeggiCampo(m_h, campo); }
    // The joined IndSped row as a three-line address.
    QString Indirizzo() const
    {
        const auto t = [this](const char *c) { return Testo(QStringLiteral("IndSped.") + QLatin1String(c)); };
        return BloccoIndirizzo(t("RagSoc"), t("RagSoc2"), t("Indirizzo"), t("Cap"), t("Localita"), t("Pr"),
                               t("Stato"));
    }

  private:
    RecDat m_rs;
    QString m_h;
};

// The countries table of the common menu database joined as StatiEle: by its
// schema on a server, as an attached file otherwise; empty when the program
// has no menu database. `passThrough` tells whether the option 64 applies.
QString joinTabStati(bool &passThrough)
{
    const QString tabella = MemoriaDecodifiche::TabellaMenu(QStringLiteral("TabStati"), &passThrough);
    if (tabella.isEmpty())
        return {};
    return QStringLiteral(" left join ") + tabella +
           QStringLiteral(" as StatiEle On Stati.CodTabStato = StatiEle.StatoIso");
}

QString selectCliente()
{
    return QStringLiteral("SELECT") +
           QStringLiteral(" Pianoconti.Gruppo,Pianoconti.Mastro,Pianoconti.Conto,");
}

// " FROM" the customer row with its two countries: `campo` in Stati, `campo2` in
// Stati again as `alias2`; then the common countries table when there is one.
QString fromDueStati(const QString &campo, const QString &alias2, const QString &campo2,
                     const QString &tabStati)
{
    const bool conMenu = !tabStati.isEmpty();
    return QStringLiteral(" FROM") +
           (conMenu ? QStringLiteral(" ((Pianoconti") : QStringLiteral(" (Pianoconti")) +
           QStringLiteral(" LEFT JOIN Stati") + QStringLiteral(" ON PianoConti.") + campo +
           QStringLiteral(" = Stati.Stato)") + QStringLiteral(" LEFT JOIN Stati AS ") + alias2 +
           QStringLiteral(" ON PianoConti.") + campo2 + QStringLiteral(" = ") + alias2 +
           QStringLiteral(".Stato") + (conMenu ? QStringLiteral(")") : QString()) + tabStati;
}

void svuota(std::initializer_list<QLabel *> etichette)
{
    for (QLabel *l : etichette)
        l->clear();
}

} // namespace

QString frmClienti::CondizioneCliente() const
{
    const UtilGlob &u = Globali::Util();
    return QStringLiteral(" WHERE") + QStringLiteral(" PianoConti.Gruppo = ") + u.ValoreSql(txt(10)->text()) +
           QStringLiteral(" AND PianoConti.Mastro = ") + u.ValoreSql(txt(20)->text()) +
           QStringLiteral(" AND PianoConti.Conto = ") + u.ValoreSql(txt(30)->text());
}

void frmClienti::visDecodPagina(int piPag, bool pbMostra)
{
    if (piPag < 0 || piPag > 10)
        return;
    if (mvPagDecod[size_t(piPag)]) {
        const int stato = m_comPag ? m_comPag->StatoPagina() : 0;
        if (pbMostra || stato == GestPagine::StatoRecord) {
            if (piPag == 7)
                visDatiDaLin(0, pbMostra);
            else if (piPag == 9)
                visDatiDaLin(1, pbMostra);
        }
        return;
    }
    // Set first: an event raised while the page decodes does not decode it again.
    mvPagDecod[size_t(piPag)] = true;
    switch (piPag) {
    case 0:
        visDecodPagPri();
        break;
    case 2:
        visDecodClaAttr();
        break;
    case 3:
        visDecodCoge();
        break;
    case 4:
        visDecodFatturazione();
        break;
    case 6:
        VisDatiDaPdcProg();
        break;
    case 7:
        visDatiDaLin(0, false);
        break;
    case 9:
        visDatiDaLin(1, false);
        break;
    case 10:
        visDecodPagRapFisc();
        break;
    default:
        break;
    }
}

void frmClienti::visDecodPagPri()
{
    bool passThrough = false;
    const QString tabStati = joinTabStati(passThrough);
    const bool conMenu = !tabStati.isEmpty();
    const QString sql = selectCliente() + QStringLiteral(" Stati.*,") + QStringLiteral(" Sta1.descrizione") +
                        (conMenu ? QStringLiteral(", StatiEle.BlackList") : QString()) +
                        fromDueStati(QStringLiteral("Stato"), QStringLiteral("Sta1"),
                                     QStringLiteral("StatoNascita"), tabStati) +
                        CondizioneCliente();
    // The countries as read for an earlier record with the same two, while
    // the company's change counter stays still, and the menu database's too
    // when its black list is joined.
    m_memoria.ImpostaMenu(MemoriaDecodifiche::TabellaMenu(Schema::TabellaVersioneMenu));
    const QString letti = ChiaveStatiLetti();
    const QString chiave =
        letti.isEmpty() ? QString() : (conMenu ? QStringLiteral("Menu|") : QString()) + letti;
    MemoriaDecodifiche::Lettura letta;
    std::optional<QVariantList> stati =
        chiave.isEmpty() ? std::nullopt : m_memoria.Cerca(chiave, letta, conMenu);
    if (!stati) {
        LetturaPagina r(sql, passThrough ? RecDat::OpzPassThrough : 0);
        if (!r.Vuota()) {
            stati = QVariantList{r.Testo(QStringLiteral("Stati.Descrizione")),
                                 r.Testo(QStringLiteral("Stati.Iso")),
                                 r.Testo(QStringLiteral("Stati.Stato")),
                                 r.Intero(QStringLiteral("Stati.LungPartIva")),
                                 r.Intero(QStringLiteral("Stati.LungPartIva2")),
                                 r.Testo(QStringLiteral("Sta1.Descrizione")),
                                 conMenu && r.Testo(QStringLiteral("StatiEle.BlackList"))
                                                    .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0};
            if (!chiave.isEmpty())
                m_memoria.Ricorda(chiave, *stati, letta);
        }
    }
    if (!stati) {
        pulDecodPagPri();
    } else {
        const QVariantList &v = *stati;
        Lab(1050)->setText(v[0].toString());
        labIso(1050)->setText(v[1].toString());
        msStatoCod = v[2].toString();
        msStatoIso = labIso(1050)->text();
        miLungPartIva = v[3].toInt();
        miLungPartIva2 = v[4].toInt();
        Lab(1180)->setText(v[5].toString());
        LabBlackList->setVisible(v[6].toBool());
        // Towns and their cadastral codes, looked up within the province the
        // record holds (an empty one too); none for an address abroad.
        DescrizioneComune(1030);
        DescrizioneComune(1160);
    }
    // The birth fields follow the stored legal status, not a user's edit.
    ScritturaProgramma p(m_inSpecchio);
    AbilDisabPersFis();
}

void frmClienti::pulDecodPagPri()
{
    svuota({Lab(1050), labIso(1050), Lab(1180), Lab(1030), Lab(1032), Lab(1160), Lab(1162)});
    LabBlackList->hide();
    // A cleared form checks VAT numbers against the country it now holds
    // (the default one), never against the previous record's.
    ParametriStato(txt(1050)->text());
}

void frmClienti::ParametriStato(const QString &stato)
{
    msStatoCod = stato;
    msStatoIso.clear();
    miLungPartIva = miLungPartIva2 = 0;
    if (Globali::Util().ValoreVuoto(stato))
        return;
    LetturaPagina r(QStringLiteral("Select Iso, LungPartIva, LungPartIva2 From Stati Where Stato = ") +
                    Globali::Util().ValoreSql(stato));
    if (r.Vuota())
        return;
    msStatoIso = r.Testo(QStringLiteral("Iso"));
    miLungPartIva = r.Intero(QStringLiteral("LungPartIva"));
    miLungPartIva2 = r.Intero(QStringLiteral("LungPartIva2"));
}

void frmClienti::visDecodPagRapFisc()
{
    bool passThrough = false;
    const QString tabStati = joinTabStati(passThrough);
    const QString sql = selectCliente() + QStringLiteral(" Stati.*,Stati1.*") +
                        fromDueStati(QStringLiteral("FAStabOrgStato"), QStringLiteral("Stati1"),
                                     QStringLiteral("FARappFiscStato"), tabStati) +
                        CondizioneCliente();
    LetturaPagina r(sql, passThrough ? RecDat::OpzPassThrough : 0);
    if (r.Vuota()) {
        pulDecodPagRapFisc();
        return;
    }
    const auto iso = [](const QString &codice) {
        return codice.isEmpty() ? QString() : QStringLiteral("Iso: ") + codice;
    };
    Lab(8040)->setText(r.Testo(QStringLiteral("Stati.Descrizione")));
    labIso(8040)->setText(iso(r.Testo(QStringLiteral("Stati.Iso"))));
    Lab(8070)->setText(r.Testo(QStringLiteral("Stati1.Descrizione")));
    labIso(8070)->setText(iso(r.Testo(QStringLiteral("Stati1.Iso"))));
}

void frmClienti::pulDecodPagRapFisc()
{
    svuota({Lab(8040), labIso(8040), Lab(8070), labIso(8070)});
}

void frmClienti::visDecodCoge()
{
    // The columns and joins never change: only the customer's condition does.
    static const QString colonneEJoin =
        QStringLiteral(" Ban.descrizione, Ban.Agenzia,") + QStringLiteral(" Pag.descrizione,") +
        QStringLiteral(" Pag2.descrizione,") + QStringLiteral(" Cat.descrizione,") +
        QStringLiteral(" Zon.descrizione,") + QStringLiteral(" Mon.Descrizione,") +
        QStringLiteral(" Ling.Descrizione,") + QStringLiteral(" PiaCon1.Descrizione,") +
        QStringLiteral(" PdcCointTest.Descrizione,") + QStringLiteral(" IndSped.*") +
        QStringLiteral(" FROM") + QStringLiteral(" (((((((((Pianoconti") +
        QStringLiteral(" LEFT JOIN Banche AS Ban") + QStringLiteral(" ON PianoConti.Banca = Ban.Banca)") +
        QStringLiteral(" LEFT JOIN Pagamenti AS Pag") +
        QStringLiteral(" ON PianoConti.Pagamento = Pag.Pagamento)") +
        QStringLiteral(" LEFT JOIN Pagamenti AS Pag2") +
        QStringLiteral(" ON PianoConti.Pagamento2 = Pag2.Pagamento)") +
        QStringLiteral(" LEFT JOIN Categorie AS Cat") +
        QStringLiteral(" ON PianoConti.Categoria = Cat.Categoria)") +
        QStringLiteral(" LEFT JOIN Zone AS Zon") + QStringLiteral(" ON PianoConti.Zona = Zon.Zona)") +
        QStringLiteral(" LEFT JOIN Monete AS Mon") + QStringLiteral(" ON PianoConti.Moneta = Mon.Moneta)") +
        QStringLiteral(" LEFT JOIN Lingue AS Ling") + QStringLiteral(" ON PianoConti.Lingua = Ling.Lingua)") +
        QStringLiteral(" LEFT JOIN Pianoconti AS PiaCon1") +
        QStringLiteral(" ON ((PianoConti.GruppoContr = PiaCon1.Gruppo)") +
        QStringLiteral(" AND (PianoConti.MastroContr = PiaCon1.Mastro)") +
        QStringLiteral(" AND (PianoConti.ContoContr = PiaCon1.Conto)))") +
        QStringLiteral(" LEFT JOIN IndSped") + QStringLiteral(" ON ((PianoConti.Gruppo = IndSped.Gruppo)") +
        QStringLiteral(" AND (PianoConti.Mastro = IndSped.Mastro)") +
        QStringLiteral(" AND (PianoConti.Conto = IndSped.Conto)") +
        QStringLiteral(" AND (PianoConti.IndAmm = IndSped.IndSped)))") +
        QStringLiteral(" LEFT JOIN PdcCointTest") +
        QStringLiteral(" ON PianoConti.Cointest = PdcCointTest.Cointest");
    const QString sql = selectCliente() + colonneEJoin + CondizioneCliente();
    LetturaPagina r(sql);
    if (r.Vuota()) {
        pulDecodCoge();
        return;
    }
    QString banca = r.Testo(QStringLiteral("Ban.Descrizione"));
    const QString agenzia = r.Testo(QStringLiteral("Ban.Agenzia"));
    if (!Globali::Util().ValoreVuoto(agenzia))
        banca = (banca + QLatin1Char('-') + agenzia).trimmed();
    Lab(4000)->setText(banca);
    Lab(4020)->setText(r.Testo(QStringLiteral("Pag.Descrizione")));
    Lab(4025)->setText(r.Testo(QStringLiteral("Pag2.Descrizione")));
    Lab(4080)->setText(r.Testo(QStringLiteral("Cat.Descrizione")));
    Lab(4090)->setText(r.Testo(QStringLiteral("Zon.Descrizione")));
    Lab(4100)->setText(r.Testo(QStringLiteral("Mon.Descrizione")));
    Lab(4130)->setText(r.Testo(QStringLiteral("Ling.Descrizione")));
    Lab(4120)->setText(r.Testo(QStringLiteral("PiaCon1.Descrizione")));
    // No address code: no address, never the previous customer's.
    Lab(4180)->setText(txt(4180)->text().isEmpty() ? QString() : r.Indirizzo());
    txtAppo(4074)->setText(IbanAGruppi(txt(4074)->text()));
    Lab(4220)->setText(r.Testo(QStringLiteral("PdcCointTest.Descrizione")));
}

void frmClienti::pulDecodCoge()
{
    svuota({Lab(4000), Lab(4020), Lab(4025), Lab(4080), Lab(4090), Lab(4100), Lab(4130), Lab(4120), Lab(4180),
            Lab(4220)});
    txtAppo(4074)->clear();
}

void frmClienti::visDecodFatturazione()
{
    const QString sql =
        selectCliente() + QStringLiteral(" Listini.descrizione,") + QStringLiteral(" Tabiva.descrizione,") +
        QStringLiteral(" Vettori.RagSoc,") + QStringLiteral(" Rese.descrizione,") +
        QStringLiteral(" Spese.Descrizione,") + QStringLiteral(" Agenti.*,") + QStringLiteral(" Age2.*,") +
        QStringLiteral(" IndSped.*") + QStringLiteral(" FROM") + QStringLiteral(" (((((((Pianoconti") +
        QStringLiteral(" LEFT JOIN Listini") + QStringLiteral(" ON PianoConti.Listino = Listini.Listino)") +
        QStringLiteral(" LEFT JOIN Tabiva") + QStringLiteral(" ON PianoConti.Iva = Tabiva.Iva)") +
        QStringLiteral(" LEFT JOIN Vettori") + QStringLiteral(" ON PianoConti.Vettore = Vettori.Vettore)") +
        QStringLiteral(" LEFT JOIN Rese") + QStringLiteral(" ON PianoConti.Resa = Rese.Resa)") +
        QStringLiteral(" LEFT JOIN Spese") + QStringLiteral(" ON PianoConti.Spesa = Spese.Spesa)") +
        QStringLiteral(" LEFT JOIN Agenti") + QStringLiteral(" ON PianoConti.Agente1 = Agenti.Agente)") +
        QStringLiteral(" LEFT JOIN Agenti AS Age2") +
        QStringLiteral(" ON PianoConti.Agente2 = Age2.Agente)") + QStringLiteral(" LEFT JOIN IndSped") +
        QStringLiteral(" ON ((PianoConti.Gruppo = IndSped.Gruppo)") +
        QStringLiteral(" AND (PianoConti.Mastro = IndSped.Mastro)") +
        QStringLiteral(" AND (PianoConti.Conto = IndSped.Conto)") +
        QStringLiteral(" AND (PianoConti.IndSped = IndSped.IndSped))") + CondizioneCliente();
    {
        LetturaPagina r(sql);
        if (r.Vuota()) {
            pulDecodFatturazione();
        } else {
            Lab(5000)->setText(r.Testo(QStringLiteral("Listini.Descrizione")));
            Lab(5020)->setText(r.Testo(QStringLiteral("Tabiva.Descrizione")));
            Lab(5030)->setText(r.Testo(QStringLiteral("Vettori.RagSoc")));
            Lab(5040)->setText(r.Testo(QStringLiteral("Rese.Descrizione")));
            Lab(5050)->setText(r.Testo(QStringLiteral("Spese.Descrizione")));
            Lab(5150)->setText(r.Testo(QStringLiteral("Agenti.RagSoc")));
            labProv(5150)->setText(TestoNumero(r.Valore(QStringLiteral("Agenti.Provv"))));
            Lab(5160)->setText(r.Testo(QStringLiteral("Age2.RagSoc")));
            labProv(5160)->setText(TestoNumero(r.Valore(QStringLiteral("Age2.Provv"))));
            Lab(5140)->setText(txt(5140)->text().isEmpty() ? QString() : r.Indirizzo());
        }
    }
    // The single discount equal to the chain typed, also for an account not saved yet.
    const QString sconto = txt(5010)->text();
    Lab(5010)->setText(sconto.isEmpty() ? QString() : TestoNumero(ValutaNumero(sconto, nullptr, 0, 6)));
}

void frmClienti::pulDecodFatturazione()
{
    // The bank's description, shown on the accounting page, is emptied too.
    svuota({Lab(4000), Lab(5000), Lab(5020), Lab(5030), Lab(5040), Lab(5050), Lab(5150), Lab(5160),
            labProv(5150), labProv(5160), Lab(5140), Lab(5010)});
}

void frmClienti::visDecodClaAttr()
{
    QString sql = selectCliente();
    for (int i = 1; i <= 5; ++i)
        sql += QStringLiteral(" PdcClasseAttr%1.Descrizione,").arg(i);
    for (int i = 1; i <= 4; ++i)
        sql += QStringLiteral(" Ricla%1.Descrizione").arg(i) + (i < 4 ? QStringLiteral(",") : QString());
    sql += QStringLiteral(" FROM") + QStringLiteral(" ((((((((Pianoconti");
    for (int i = 1; i <= 5; ++i)
        sql += QStringLiteral(" LEFT JOIN PdcClasseAttr AS PdcClasseAttr%1").arg(i) +
               QStringLiteral(" ON PianoConti.PdcClasseAttr%1 = PdcClasseAttr%1.PdcClasseAttr)").arg(i);
    for (int i = 1; i <= 4; ++i)
        sql += QStringLiteral(" LEFT JOIN Riclass AS Ricla%1").arg(i) +
               QStringLiteral(" ON PianoConti.Ricl%1 = Ricla%1.Ricl").arg(i) +
               (i < 4 ? QStringLiteral(")") : QString());
    // Each attribute must belong to its own class: a code several classes
    // share joins once per class.
    sql += CondizioneCliente() + QStringLiteral(" AND (");
    for (int i = 1; i <= 5; ++i)
        sql += (i > 1 ? QStringLiteral(" AND") : QString()) +
               QStringLiteral(" (PdcClasseAttr%1.PdcClasse=%1 or PdcClasseAttr%1.PdcClasse is null)").arg(i);
    sql += QStringLiteral(")");
    LetturaPagina r(sql);
    if (r.Vuota()) {
        pulDecodClaAttr();
        return;
    }
    for (int i = 1; i <= 5; ++i)
        Lab(3000 + 10 * (i - 1))->setText(r.Testo(QStringLiteral("PdcClasseAttr%1.Descrizione").arg(i)));
    for (int i = 1; i <= 4; ++i)
        Lab(3050 + 10 * (i - 1))->setText(r.Testo(QStringLiteral("Ricla%1.Descrizione").arg(i)));
}

void frmClienti::pulDecodClaAttr()
{
    for (int i = 3000; i <= 3080; i += 10)
        Lab(i)->clear();
}
