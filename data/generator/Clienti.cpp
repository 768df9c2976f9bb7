// Customers of the demo company with their shipping addresses, documents,
// letters of intent, history, running totals and accounting movements.
#include "components/util/VbErrore.h"
#include "data/generator/Casuale.h"
#include "data/generator/CodiciDemo.h"
#include "data/generator/Generatore.h"
#include "data/generator/Inseritore.h"
#include "data/generator/Nomi.h"

#include <QSqlQuery>
#include <algorithm>

namespace DemoInterno
{

namespace
{

struct Banca {
    QString codice, abi, cab, bic;
};

std::vector<Banca> LeggiBanche(QSqlDatabase &db)
{
    std::vector<Banca> out;
    QSqlQuery q("SELECT Banca, Abi, Cab, CodBic FROM Banche ORDER BY Banca", db);
    while (q.next())
        out.push_back(
            {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
    return out;
}

// Account codes of at most four characters, in the order the "new code"
// button hands them out: 0001-9999, then A001-Z999, then AA01-ZZ99.
QString CodiceConto(int i)
{
    if (i < 9999)
        return QStringLiteral("%1").arg(i + 1, 4, 10, QChar(u'0'));
    i -= 9999;
    if (i < 26 * 999)
        return QChar(u'A' + i / 999) + QStringLiteral("%1").arg(i % 999 + 1, 3, 10, QChar(u'0'));
    i -= 26 * 999;
    return QString(QChar(u'A' + (i / 99) / 26 % 26)) + QChar(u'A' + (i / 99) % 26) +
           QStringLiteral("%1").arg(i % 99 + 1, 2, 10, QChar(u'0'));
}

// The accounts one ledger holds: every code CodiceConto hands out.
constexpr int ContiPerMastro = 9999 + 26 * 999 + 26 * 26 * 99;

// The ledger of the n-th customer of Italy or abroad: 05 and 06 first, as
// every demo has them; a ledger that is full goes on in the next free ledger
// of group 01, as a large company opens more customer ledgers.
QString MastroCliente(bool estero, int n)
{
    static const char *italia[] = {"05", "07", "08", "09", "11", "12", "13", "14", "16", "17", "18", "19"};
    static const char *esteri[] = {"06", "21", "22", "23", "24", "25", "26", "27", "28", "29"};
    const int i = n / ContiPerMastro;
    const int quanti = estero ? int(std::size(esteri)) : int(std::size(italia));
    if (i >= quanti)
        throw VbErrore(
            VbErrore::ChiamataOdbcFallita,
            QStringLiteral("Troppi clienti per i mastri della demo (%1 al massimo per mastro, %2 mastri)")
                .arg(ContiPerMastro)
                .arg(quanti));
    return QString::fromLatin1(estero ? esteri[i] : italia[i]);
}

// Municipalities drawn in proportion to their population.
class ScegliComune
{
  public:
    explicit ScegliComune(const std::vector<Comune> &comuni) : m_comuni(comuni)
    {
        qint64 tot = 0;
        for (const Comune &c : comuni)
            m_cumulata.push_back(tot += std::max(c.popolazione, 1));
    }
    const Comune &operator()(Casuale &caso) const
    {
        const qint64 x = qint64(caso.prossimo() % std::uint64_t(m_cumulata.back()));
        const auto it = std::upper_bound(m_cumulata.begin(), m_cumulata.end(), x);
        return m_comuni[std::size_t(it - m_cumulata.begin())];
    }

  private:
    const std::vector<Comune> &m_comuni;
    std::vector<qint64> m_cumulata;
};

QString Slug(const QString &testo)
{
    return CodiciDemo::SoloLettere(testo).toLower().left(20);
}

QString Telefono(Casuale &caso, bool cellulare)
{
    return cellulare ? QStringLiteral("3%1 %2").arg(caso.tra(20, 99)).arg(caso.cifre(7))
                     : QStringLiteral("0%1 %2").arg(caso.tra(10, 999)).arg(caso.cifre(6));
}

const char *ZonaDi(int zonaIstat)
{
    static const char *zone[] = {"EE", "NO", "NE", "CE", "SU", "IS"};
    return zone[(zonaIstat >= 1 && zonaIstat <= 5) ? zonaIstat : 0];
}

} // namespace

std::vector<Cliente> ScriviClienti(QSqlDatabase &db, Casuale &caso, const std::vector<Comune> &comuni, int n)
{
    const std::vector<Banca> banche = LeggiBanche(db);
    const ScegliComune comune(comuni);
    const QDate oggi = DataLavoroDemo();

    Inseritore pc(db, "PianoConti",
                  {"Gruppo",
                   "Mastro",
                   "Conto",
                   "Tipo",
                   "Descrizione",
                   "RagSoc",
                   "RagSoc2",
                   "Cognome",
                   "Nome",
                   "PersRiferimento",
                   "DataAp",
                   "DataChiu",
                   "Indirizzo",
                   "CAP",
                   "Localita",
                   "Comune",
                   "Pr",
                   "Stato",
                   "Telefono",
                   "Telefono1",
                   "Fax",
                   "EMail",
                   "EMail2",
                   "EMail3",
                   "EMail4",
                   "EmailFat",
                   "EmailDdt",
                   "EmailOrd",
                   "EmailAltro",
                   "EmailPEC",
                   "PartIva",
                   "CodFisc",
                   "StatoGiurid",
                   "BlackList",
                   "PassWordOnLine",
                   "DatNascita",
                   "Sesso",
                   "CapNascita",
                   "LocalitaNascita",
                   "PrNascita",
                   "StatoNascita",
                   "NoteCF",
                   "PdcClasseAttr1",
                   "PdcClasseAttr2",
                   "PdcClasseAttr3",
                   "Ricl1",
                   "AllegCF",
                   "Zona",
                   "Categoria",
                   "CliForFittizio",
                   "Lingua",
                   "SiValuta",
                   "Moneta",
                   "Banca",
                   "CCorrente",
                   "RagRB",
                   "Pagamento",
                   "Pagamento2",
                   "MeseNoEf1",
                   "MeseNoEf2",
                   "GioMesSucc1",
                   "GioMesSucc2",
                   "Iban",
                   "CodBic",
                   "GruppoContr",
                   "MastroContr",
                   "ContoContr",
                   "Rischio",
                   "IvaCassaDisabil",
                   "Fido",
                   "IndAmm",
                   "RifComunicIntenti",
                   "NrPrgIntenti",
                   "NrDichIntenti",
                   "DataRicComIntenti",
                   "DataDichIntenti",
                   "DataDAIntenti",
                   "DataAIntenti",
                   "ImportoDichIntenti",
                   "OperazRilev",
                   "DicIntenti",
                   "Sconto",
                   "Agente1",
                   "Agente2",
                   "Provv1",
                   "Provv2",
                   "TipoProvv",
                   "TipoProvv2",
                   "SpeseBan",
                   "Spesa",
                   "Bolli",
                   "RagDDT",
                   "RagOrd",
                   "StRifOrd",
                   "StRifCli",
                   "IvaSosp",
                   "FECodIPA",
                   "FEAllegPdf",
                   "FENoStampaLivelli",
                   "Iva",
                   "Listino",
                   "Vettore",
                   "IndSped",
                   "Resa",
                   "PrezzoDDT",
                   "SoggRitAcconto",
                   "PercRitAcc",
                   "CassaPrev",
                   "TSIncluso",
                   "flagOpposizione",
                   "NoteFattura",
                   "Cointest",
                   "FARappFiscRagSoc",
                   "FARappFiscStato",
                   "FARappFiscCodIdFisc"});
    Inseritore mastri(db, "Mastri", {"Gruppo", "Mastro", "Tipo", "Descrizione"});
    Inseritore sped(db, "IndSped",
                    {"Gruppo", "Mastro", "Conto", "IndSped", "Descrizione", "RagSoc", "RagSoc2", "Indirizzo",
                     "Cap", "Localita", "Pr", "Stato", "Telefono"});
    Inseritore doc(db, "PianoContiDoc", {"Gruppo", "Mastro", "Conto", "Ordine", "Descrizione", "Percorso"});
    Inseritore dic(db, "PdcDicIntenti",
                   {"Gruppo", "Mastro", "Conto", "PdcDicIntenti", "Descrizione", "Attivo", "ProtRicezione",
                    "DataRicAE", "NrDichIntenti", "DataDichIntenti", "NrPrgIntenti", "DataRicComIntenti",
                    "RifComunicIntenti", "ImportoDichIntenti", "DataDAIntenti", "DataAIntenti"});
    Inseritore sto(db, "PdcStorico",
                   {"Gruppo", "Mastro", "Conto", "DataVar", "Tipo", "Descrizione", "RagSoc", "RagSoc2",
                    "Indirizzo", "CAP", "Localita", "Pr", "Stato", "Comune"});
    Inseritore prog(db, "PdcProg",
                    {"Anno", "PartTipo", "CoPartGruppo", "CoPartMastro", "CoPartConto", "SaldoIniziale",
                     "ProgrDare", "ProgrAvere", "UltAgg", "SaldoAnnoPrec"});
    Inseritore mov(db, "MovPnDett",
                   {"Anno", "NumReg", "Riga", "DataReg", "Descrizione", "TipoPartita", "GruppoPartita",
                    "MastroPartita", "ContoPartita", "TipoCPartita", "GruppoCPartita", "MastroCPartita",
                    "ContoCPartita", "ImportoDare", "ImportoAvere"});

    std::vector<Cliente> clienti;
    clienti.reserve(std::size_t(n));
    int numItalia = 0, numEstero = 0, numReg = 0;
    for (int i = 0; i < n; ++i) {
        // Kinds every demo holds: a customer in dollars, a professional, an
        // exporter with letters of intent, a private person, a company with
        // payment discount, bills and stamp duty.
        Cliente cli;
        const int arch = i < 5 ? i : -1;
        cli.archetipo = arch;
        const bool estero = arch == 0 || (arch < 0 && caso.percento(5));
        const NomiDemo::Estero &paese =
            NomiDemo::Esteri[arch == 0 ? 5 : caso.intero(int(std::size(NomiDemo::Esteri)))];
        const bool persona = arch == 1 || arch == 3 || (arch < 0 && caso.percento(35));
        const bool professionista = arch == 1 || (arch < 0 && persona && caso.percento(40));
        const bool pa = arch < 0 && !persona && !estero && caso.percento(3);
        cli.gruppo = "01";
        const int numero = estero ? numEstero++ : numItalia++;
        cli.mastro = MastroCliente(estero, numero);
        cli.conto = CodiceConto(numero % ContiPerMastro);
        if (numero % ContiPerMastro == 0 && numero > 0)
            mastri("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Tipo", "3")(
                "Descrizione", QStringLiteral("CREDITI VERSO CLIENTI %1 (%2)")
                                   .arg(estero ? QStringLiteral("ESTERO") : QStringLiteral("ITALIA"))
                                   .arg(numero / ContiPerMastro + 1))
                .scrivi();
        cli.estero = estero;
        cli.privato = persona && !professionista;
        cli.professionista = professionista;
        const Comune &sede = comune(caso);
        const QDate dataAp = QDate(2010, 1, 1).addDays(caso.intero(5000));

        pc("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)("Tipo", "3")
            .data("DataAp", dataAp);
        if (caso.percento(2))
            pc.data("DataChiu", dataAp.addDays(caso.tra(400, 3000)));

        QString descrizione, dominio, cognome, nome;
        if (persona) {
            const bool femmina = caso.percento(45);
            cognome = caso.scegli(NomiDemo::Cognomi);
            nome = caso.scegli(femmina ? NomiDemo::NomiFemminili : NomiDemo::NomiMaschili);
            descrizione = cognome + ' ' + nome;
            const QDate nascita = QDate(1940, 1, 1).addDays(caso.intero(22000));
            const Comune &luogo = comune(caso);
            pc("Cognome", cognome)("Nome", nome)("Sesso", femmina ? "F" : "M")("StatoGiurid", "F")
                .data("DatNascita", nascita)("LocalitaNascita", luogo.nome)("PrNascita", luogo.provincia)(
                    "CapNascita", luogo.cap)("StatoNascita", "IT");
            if (!estero)
                pc("CodFisc", CodiciDemo::CodiceFiscale(cognome, nome, nascita, femmina, luogo.codice));
            if (professionista) {
                descrizione = (caso.percento(50) ? QStringLiteral("Studio ") : QString()) + descrizione;
                if (!estero)
                    pc("PartIva",
                       CodiciDemo::PartitaIva(
                           caso.cifre(7) + QStringLiteral("%1").arg(caso.tra(1, 100), 3, 10, QChar(u'0'))));
            }
            dominio = caso.scegli(NomiDemo::Provider);
        } else {
            const QString c1 = caso.scegli(NomiDemo::Cognomi);
            switch (caso.intero(5)) {
            case 0:
                descrizione = c1 + ' ' + caso.scegli(NomiDemo::AttivitaAziende);
                break;
            case 1:
                descrizione =
                    caso.scegli(NomiDemo::AttivitaAziende) + ' ' + caso.scegli(NomiDemo::NomiFantasia);
                break;
            case 2:
                descrizione = "Fratelli " + c1;
                break;
            case 3:
                descrizione = c1 + " & " + caso.scegli(NomiDemo::Cognomi);
                break;
            default:
                descrizione =
                    caso.scegli(NomiDemo::NomiFantasia) + ' ' + caso.scegli(NomiDemo::AttivitaAziende);
                break;
            }
            if (pa)
                descrizione = "Comune di " + sede.nome;
            else
                descrizione += ' ' + caso.scegli(NomiDemo::FormeGiuridiche);
            dominio =
                Slug(descrizione) + (estero ? "." + QString(paese.stato).toLower() : QStringLiteral(".it"));
            // A company's sex code is "M", as the customer form saves it.
            pc("StatoGiurid", "G")("Sesso", "M")("PersRiferimento", caso.scegli(NomiDemo::NomiMaschili) +
                                                                        ' ' + caso.scegli(NomiDemo::Cognomi));
            if (estero) {
                const QString stato = paese.stato;
                if (stato == "DE")
                    pc("PartIva", CodiciDemo::PartitaIvaTedesca(caso.cifre(8)));
                else if (stato == "FR" || stato == "MC")
                    pc("PartIva",
                       CodiciDemo::PartitaIvaFrancese(QString::number(caso.tra(1, 9)) + caso.cifre(8)));
                else if (stato == "SM")
                    pc("PartIva", caso.cifre(5));
            } else {
                const QString piva =
                    CodiciDemo::PartitaIva((pa ? QStringLiteral("8") + caso.cifre(6) : caso.cifre(7)) +
                                           QStringLiteral("%1").arg(caso.tra(1, 100), 3, 10, QChar(u'0')));
                pc("PartIva", piva)("CodFisc", piva);
            }
        }
        pc("Descrizione", descrizione.left(60))("RagSoc", descrizione.left(60));
        if (descrizione.size() > 60)
            pc("RagSoc2", descrizione.mid(60, 60));

        // Address
        const QString indirizzo = caso.scegli(NomiDemo::Vie) + QStringLiteral(" %1").arg(caso.tra(1, 180));
        if (estero) {
            pc("Indirizzo", indirizzo)("CAP", paese.cap)("Localita", QString::fromUtf8(paese.citta))(
                "Comune", QString::fromUtf8(paese.citta))("Pr", "EE")("Stato", paese.stato)("Zona", "EE")(
                "Lingua", paese.lingua)("Moneta", paese.moneta)("SiValuta",
                                                                QString(paese.moneta) == "EUR" ? "N" : "S")(
                "BlackList", QString(paese.stato) == "CH" || QString(paese.stato) == "SM" ? "S" : "N");
            cli.moneta = paese.moneta;
        } else {
            pc("Indirizzo", indirizzo)("CAP", sede.cap)("Localita", sede.nome)("Comune", sede.nome)(
                "Pr", sede.provincia)("Stato", "IT")("Zona", ZonaDi(sede.zona))("Lingua", "IT")(
                "Moneta", "EUR")("SiValuta", "N")("BlackList", "N");
            cli.moneta = "EUR";
        }
        pc("Telefono", Telefono(caso, persona));
        if (caso.percento(30))
            pc("Telefono1", Telefono(caso, true));
        if (!persona && caso.percento(40))
            pc("Fax", Telefono(caso, false));

        // E-mail: the certified address is one of the four, chosen by EmailPEC.
        if (persona) {
            pc("EMail", Slug(nome) + '.' + Slug(cognome) + '@' + dominio);
            if (professionista)
                pc("EMail2", Slug(nome) + '.' + Slug(cognome) + "@pec.it")("EmailPEC", "2");
        } else {
            pc("EMail", "info@" + dominio)("EMail2", "amministrazione@" + dominio)("EmailPEC", "2");
            if (!estero)
                pc("EMail2", Slug(descrizione) + "@pec.it");
            if (caso.percento(60))
                pc("EMail3", "commerciale@" + dominio);
            if (caso.percento(40))
                pc("EMail4", "spedizioni@" + dominio);
        }
        pc("EmailFat", persona ? "1" : "2")("EmailDdt", "0")("EmailOrd", "0")("EmailAltro", "1");

        // Accounting and billing
        const QString categoria = pa               ? "PA"
                                  : cli.privato    ? "PRI"
                                  : professionista ? "PRO"
                                                   : caso.scegli({"ING", "DET", "GDO", "HOR"});
        cli.pagamento = arch == 4     ? "TR30"
                        : estero      ? "BB30"
                        : cli.privato ? caso.scegli({"RD", "CONT", "SDD"})
                                      : caso.scegli({"RB30", "RB3060", "RB369", "BB30", "BB60", "RD", "TR30",
                                                     "TR3060", "PERS", "RB6010"});
        pc("Categoria", categoria)("Pagamento", cli.pagamento)("AllegCF", "S")("CliForFittizio", "N")(
            "RagRB", caso.percento(20) ? "S" : "N")("Rischio", "N")("IvaCassaDisabil", "N")("OperazRilev",
                                                                                            "N")(
            "TipoProvv", "N")("TipoProvv2", "N")("SpeseBan", caso.percento(30) ? "S" : "N")("RagDDT", "T")(
            "RagOrd", "S")("StRifOrd", "T")("StRifCli", "T")("IvaSosp", pa ? "S" : "N")("FEAllegPdf", "D")(
            "FENoStampaLivelli", "N")("PrezzoDDT", "T")("TSIncluso", "S")("flagOpposizione", "N")(
            "RifComunicIntenti", "O")("Listino", estero        ? "L4"
                                                 : cli.privato ? "L1"
                                                               : caso.scegli({"L2", "L2", "L3"}));
        if (caso.percento(25))
            pc("MeseNoEf1", 8)("GioMesSucc1", 10);
        if (caso.percento(10))
            pc("MeseNoEf2", 12)("GioMesSucc2", 10);
        if (!cli.privato && caso.percento(75)) {
            const Banca &b = caso.scegli(banche);
            const QString numero = caso.cifre(12);
            pc("Banca", b.codice)("CCorrente", numero.right(8))("CodBic", b.bic);
            if (!estero)
                pc("Iban", CodiciDemo::IbanItaliano(b.abi, b.cab, numero));
        }
        if (!persona && caso.percento(40))
            pc.importo("Fido", qint64(caso.tra(1, 50)) * 100000);
        if (!cli.privato) {
            const QString agente = caso.scegli({"A01", "A02", "A03", "A04", "A05"});
            pc("Agente1", agente)("Provv1", agente == "A05" ? 7.5 : 5.0);
        }
        cli.sconto = caso.percento(30) ? caso.scegli({"5", "10", "10+5", "3+2", "20+10+5"}) : QString();
        if (!cli.sconto.isEmpty())
            pc("Sconto", cli.sconto);
        cli.scontoPag = arch == 4                           ? QStringLiteral("3+2")
                        : !cli.privato && caso.percento(15) ? caso.scegli({"2", "3", "3+2"})
                                                            : QString();
        cli.bolli = arch == 4 || (!estero && caso.percento(40));
        pc("Bolli", cli.bolli ? "S" : "N")("Vettore", caso.scegli({"BRT", "GLS", "SDA", "DHL", "PROP"}))(
            "Resa", estero ? "EXW" : caso.scegli({"FF", "FD", "ASS"}))(
            "Spesa", caso.percento(30) ? QVariant("TRA") : QVariant());
        pc("SoggRitAcconto", professionista ? "S" : "N")("PercRitAcc", professionista ? 20.0 : 0.0)(
            "CassaPrev", professionista ? "S" : "N");
        if (pa)
            pc("FECodIPA", "UF" + caso.cifre(4));
        else if (!estero && !persona)
            pc("FECodIPA", caso.scegli({"0000000", "M5UXCR1", "KRRH6B9", "T04ZHR3", "USAL8PV", "SUBM70N"}));
        if (estero && caso.percento(50))
            pc("FARappFiscRagSoc", "Rappresentanze Fiscali Italia S.r.l.")("FARappFiscStato", "IT")(
                "FARappFiscCodIdFisc", "IT" + CodiciDemo::PartitaIva(caso.cifre(7) + "015"));
        pc("PdcClasseAttr1", caso.scegli({"A", "B", "C"}));
        if (caso.percento(50))
            pc("PdcClasseAttr2", caso.scegli({"A", "MEC", "TES"}));
        if (caso.percento(30))
            pc("PdcClasseAttr3", sede.zona <= 3 ? "NORD" : "SUD");
        if (caso.percento(20))
            pc("Ricl1", caso.scegli({"R01", "R02", "R03"}));
        if (caso.percento(1))
            pc("Cointest", "C01");
        if (caso.percento(8))
            pc("NoteCF", "Cliente segnalato da " + caso.scegli(NomiDemo::Cognomi) +
                             ".\nVerificare il fido prima "
                             "di nuovi ordini.");
        if (caso.percento(5))
            pc("NoteFattura", "Indicare sempre il numero d'ordine del cliente.");
        if (caso.percento(10))
            pc("PassWordOnLine", caso.cifre(8));

        // Shipping addresses
        if (!cli.privato && caso.percento(15)) {
            const int quanti = caso.tra(1, 3);
            for (int k = 1; k <= quanti; ++k) {
                const Comune &dove = comune(caso);
                const QString codice = QStringLiteral("%1").arg(k, 2, 10, QChar(u'0'));
                sped("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)("IndSped", codice)(
                    "Descrizione",
                    k == 1 ? QStringLiteral("Magazzino") : QStringLiteral("Filiale %1").arg(dove.nome))(
                    "RagSoc", descrizione.left(60))("RagSoc2", k == 1 ? "Magazzino" : "Filiale")(
                    "Indirizzo", caso.scegli(NomiDemo::Vie) + QStringLiteral(" %1").arg(caso.tra(1, 99)))(
                    "Cap", dove.cap)("Localita", dove.nome)("Pr", dove.provincia)("Stato", "IT")(
                    "Telefono", Telefono(caso, false))
                    .scrivi();
            }
            pc("IndSped", "01");
            if (quanti > 1)
                pc("IndAmm", "02");
        }

        // Letters of intent of regular exporters: documents carry the active one.
        if (!estero && !cli.privato && (arch == 2 || (arch < 0 && caso.percento(4)))) {
            const int quante = caso.tra(1, 2);
            for (int k = 1; k <= quante; ++k) {
                const int anno = AnnoDemo - quante + k;
                const bool attiva = k == quante;
                const bool periodo = caso.percento(40);
                const int nrDich = caso.tra(1, 200), nrPrg = caso.tra(100000, 999999);
                const qint64 importo = qint64(caso.tra(2, 40)) * 500000;
                dic("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)("PdcDicIntenti", k)(
                    "Descrizione",
                    QStringLiteral("Dichiarazione d'intento %1").arg(anno))("Attivo", attiva ? "S" : "N")(
                    "NrDichIntenti", nrDich)("NrPrgIntenti", nrPrg)("RifComunicIntenti", periodo ? "3" : "2")
                    .data("DataDichIntenti", QDate(anno, 1, 10))
                    .data("DataRicComIntenti", QDate(anno, 1, 15))
                    .importo("ImportoDichIntenti", importo);
                if (caso.percento(50))
                    dic("ProtRicezione",
                        QStringLiteral("%1%2-%3").arg(anno).arg(caso.cifre(10), caso.cifre(6)))
                        .data("DataRicAE", QDate(anno, 1, 12));
                if (periodo)
                    dic.data("DataDAIntenti", QDate(anno, 1, 1)).data("DataAIntenti", QDate(anno, 12, 31));
                dic.scrivi();
                if (attiva) {
                    cli.dicIntenti = k;
                    pc("Iva", "E8")("DicIntenti", QString::number(nrDich))("NrDichIntenti",
                                                                           QString::number(nrDich))(
                        "NrPrgIntenti", QString::number(nrPrg))("RifComunicIntenti", periodo ? "3" : "2")
                        .data("DataDichIntenti", QDate(anno, 1, 10))
                        .data("DataRicComIntenti", QDate(anno, 1, 15))
                        .importo("ImportoDichIntenti", importo);
                    if (periodo)
                        pc.data("DataDAIntenti", QDate(anno, 1, 1)).data("DataAIntenti", QDate(anno, 12, 31));
                }
            }
        }
        pc.scrivi();

        // Attached documents, history, running totals and movements
        if (caso.percento(5)) {
            doc("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)("Ordine", 1)(
                "Descrizione", "Contratto di fornitura")("Percorso", "§Documenti§/contratti/" + cli.mastro +
                                                                         cli.conto + ".pdf")
                .scrivi();
            doc("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)("Ordine", 2)(
                "Descrizione", "Visura camerale")("Percorso",
                                                  "§Documenti§/visure/" + cli.mastro + cli.conto + ".pdf")
                .scrivi();
        }
        if (caso.percento(5)) {
            const Comune &prima = comune(caso);
            sto("Gruppo", cli.gruppo)("Mastro", cli.mastro)("Conto", cli.conto)
                .data("DataVar", dataAp.addDays(caso.tra(30, 900)))("Tipo", "2")(
                    "Descrizione", descrizione.left(50) + " (vecchia denominazione)")("RagSoc",
                                                                                      descrizione.left(60))(
                    "Indirizzo", caso.scegli(NomiDemo::Vie) + " 1")("CAP", prima.cap)("Localita", prima.nome)(
                    "Pr", prima.provincia)("Stato", "IT")("Comune", prima.nome)
                .scrivi();
        }
        if (caso.percento(30)) {
            qint64 saldo = 0;
            for (int anno = AnnoDemo - 1; anno <= AnnoDemo; ++anno) {
                const qint64 dare = qint64(caso.tra(0, 5000000)), avere = qint64(caso.intero(int(dare + 1)));
                prog("Anno", anno)("PartTipo", "3")("CoPartGruppo", cli.gruppo)("CoPartMastro", cli.mastro)(
                    "CoPartConto", cli.conto)
                    .importo("ProgrDare", dare)
                    .data("UltAgg", anno == AnnoDemo ? oggi : QDate(anno, 12, 31));
                if (anno > AnnoDemo - 1 || caso.percento(50))
                    prog.importo("SaldoIniziale", saldo);
                if (dare != avere)
                    prog.importo("ProgrAvere", avere);
                prog.importo("SaldoAnnoPrec", saldo).scrivi();
                saldo += dare - avere;
            }
        }
        if (caso.percento(10)) {
            ++numReg;
            const qint64 importo = qint64(caso.tra(1000, 500000));
            mov("Anno", AnnoDemo)("NumReg", numReg)("Riga", 1)
                .data("DataReg", oggi.addDays(-caso.intero(300)))("Descrizione", "Incasso fattura")(
                    "TipoPartita", "3")("GruppoPartita", cli.gruppo)("MastroPartita", cli.mastro)(
                    "ContoPartita", cli.conto)("TipoCPartita", "1")("GruppoCPartita", "01")(
                    "MastroCPartita", "10")("ContoCPartita", "0001")
                .importo("ImportoAvere", importo)
                .scrivi();
            mov("Anno", AnnoDemo)("NumReg", numReg)("Riga", 2)
                .data("DataReg", oggi.addDays(-caso.intero(300)))("Descrizione", "Incasso fattura")(
                    "TipoPartita", "1")("GruppoPartita", "01")("MastroPartita", "10")("ContoPartita", "0001")(
                    "TipoCPartita", "3")("GruppoCPartita", cli.gruppo)("MastroCPartita",
                                                                       cli.mastro)("ContoCPartita", cli.conto)
                .importo("ImportoDare", importo)
                .scrivi();
        }
        clienti.push_back(cli);
    }
    return clienti;
}

} // namespace DemoInterno
