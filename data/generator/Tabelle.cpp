// Lookup tables and the accounts that are not customers.
#include "data/generator/Generatore.h"
#include "data/generator/Inseritore.h"

#include <array>
#include <tuple>

namespace DemoInterno
{

namespace
{

void Codici(QSqlDatabase &db, const QString &tabella, const QString &chiave,
            std::initializer_list<std::pair<const char *, const char *>> righe)
{
    Inseritore ins(db, tabella, {chiave, QStringLiteral("Descrizione")});
    for (const auto &[codice, descrizione] : righe)
        ins(chiave, QString::fromUtf8(codice))(QStringLiteral("Descrizione"), QString::fromUtf8(descrizione))
            .scrivi();
}

int Conti(QSqlDatabase &db)
{
    Codici(db, "Gruppi", "Gruppo",
           {{"01", "ATTIVITA'"}, {"02", "PASSIVITA'"}, {"03", "COSTI"}, {"04", "RICAVI"}});
    Inseritore mastri(db, "Mastri", {"Gruppo", "Mastro", "Tipo", "Descrizione"});
    const std::initializer_list<std::array<const char *, 4>> righeMastri = {
        {"01", "05", "3", "CREDITI VERSO CLIENTI ITALIA"},
        {"01", "06", "3", "CREDITI VERSO CLIENTI ESTERO"},
        {"01", "10", "1", "BANCHE"},
        {"01", "15", "1", "CASSA"},
        {"02", "05", "4", "DEBITI VERSO FORNITORI"},
        {"02", "10", "1", "ERARIO"},
        {"02", "15", "1", "ENTI PREVIDENZIALI"},
        {"03", "01", "1", "ACQUISTI"},
        {"04", "01", "1", "RICAVI DELLE VENDITE"},
        {"04", "02", "1", "RICAVI ACCESSORI"}};
    for (const auto &m : righeMastri)
        mastri("Gruppo", m[0])("Mastro", m[1])("Tipo", m[2])("Descrizione", QString::fromUtf8(m[3])).scrivi();

    Inseritore conti(db, "PianoConti", {"Gruppo", "Mastro", "Conto", "Tipo", "Descrizione", "DataAp"});
    const std::initializer_list<std::array<const char *, 5>> righeConti = {
        {"01", "10", "0001", "1", "Intesa Sanpaolo c/c 1000/123"},
        {"01", "10", "0002", "1", "UniCredit c/c 4455"},
        {"01", "15", "0001", "1", "Cassa contanti"},
        {"02", "05", "0001", "4", "Cartiera Valsesia S.p.A."},
        {"02", "05", "0002", "4", "Trasporti Rapidi Padani S.r.l."},
        {"02", "05", "0003", "4", "Imballaggi Moretti S.n.c."},
        {"02", "10", "0001", "1", "Erario c/IVA"},
        {"02", "10", "0002", "1", "Erario c/ritenute subite"},
        {"02", "15", "0001", "1", "Cassa previdenza c/contributi"},
        {"03", "01", "0001", "1", "Merci c/acquisti"},
        {"04", "01", "0001", "1", "Vendite merci"},
        {"04", "01", "0002", "1", "Prestazioni di servizi"},
        {"04", "01", "0003", "1", "Vendite merci all'esportazione"},
        {"04", "02", "0001", "1", "Rimborso spese di trasporto"},
        {"04", "02", "0002", "1", "Rimborso spese di incasso"},
        {"04", "02", "0003", "1", "Rimborso spese bolli"},
        {"04", "02", "0004", "1", "Rimborso spese imballo"}};
    for (const auto &c : righeConti)
        conti("Gruppo", c[0])("Mastro", c[1])("Conto", c[2])("Tipo", c[3])("Descrizione",
                                                                           QString::fromUtf8(c[4]))
            .data("DataAp", QDate(2010, 1, 1))
            .scrivi();
    return conti.righe();
}

void Stati(QSqlDatabase &db)
{
    Inseritore ins(
        db, "Stati",
        {"Stato", "Descrizione", "Iso", "Cee", "LungPartIva", "LungPartIva2", "CodTabStato", "Moneta"});
    struct S {
        const char *stato, *descr, *cee;
        int lung, lung2;
        const char *moneta;
    };
    const S stati[] = {{"IT", "Italia", "S", 11, 0, "EUR"},
                       {"FR", "Francia", "S", 11, 0, "EUR"},
                       {"DE", "Germania", "S", 9, 0, "EUR"},
                       {"ES", "Spagna", "S", 9, 0, "EUR"},
                       {"AT", "Austria", "S", 9, 0, "EUR"},
                       {"BE", "Belgio", "S", 10, 0, "EUR"},
                       {"NL", "Paesi Bassi", "S", 12, 0, "EUR"},
                       {"PT", "Portogallo", "S", 9, 0, "EUR"},
                       {"SI", "Slovenia", "S", 8, 0, "EUR"},
                       {"GB", "Regno Unito", "N", 9, 12, "GBP"},
                       {"CH", "Svizzera", "N", 0, 0, "CHF"},
                       {"SM", "San Marino", "N", 5, 0, "EUR"},
                       {"MC", "Principato di Monaco", "N", 11, 0, ""},
                       {"US", "Stati Uniti d'America", "N", 0, 0, "USD"},
                       {"LI", "Liechtenstein", "N", 0, 0, "CHF"}};
    for (const S &s : stati)
        ins("Stato", s.stato)("Descrizione", QString::fromUtf8(s.descr))("Iso", s.stato)("Cee", s.cee)(
            "LungPartIva", s.lung)("LungPartIva2", s.lung2)("CodTabStato", s.stato)("Moneta", s.moneta)
            .scrivi();
}

void ComuniCod(QSqlDatabase &db, const std::vector<Comune> &comuni)
{
    Inseritore ins(db, "ComuniCod", {"CodErariale", "Comune", "Descrizione", "SiglaProv", "CAP"});
    for (const Comune &c : comuni)
        ins("CodErariale", c.codice)("Comune", c.nome)("Descrizione", c.nome)("SiglaProv", c.provincia)(
            "CAP", c.cap.isEmpty() ? QVariant() : QVariant(c.cap))
            .scrivi();
}

void Banche(QSqlDatabase &db)
{
    Inseritore ins(db, "Banche", {"Banca", "Descrizione", "Agenzia", "Abi", "Cab", "CodBic"});
    const std::initializer_list<std::array<const char *, 6>> righe = {
        {"ISP01", "Intesa Sanpaolo", "Milano Sede", "03069", "01600", "BCITITMM"},
        {"ISP02", "Intesa Sanpaolo", "Torino Centro", "03069", "01000", "BCITITMM"},
        {"UCR01", "UniCredit", "Roma Corso", "02008", "05077", "UNCRITMM"},
        {"UCR02", "UniCredit", "", "02008", "11910", "UNCRITMM"},
        {"BPM01", "Banco BPM", "Verona", "05034", "11750", "BAPPIT21"},
        {"MPS01", "Monte dei Paschi di Siena", "Siena Piazza Salimbeni", "01030", "14200", "PASCITMM"},
        {"BPR01", "BPER Banca", "Modena", "05387", "12900", "BPMOIT22"},
        {"CAI01", "Crédit Agricole Italia", "Parma", "06230", "12700", "CRPPIT2P"},
        {"BNL01", "BNL BNP Paribas", "Napoli Toledo", "01005", "03400", "BNLIITRR"},
        {"CRV01", "Banca di Credito Cooperativo", "Agenzia 3", "08327", "03210", "ICRAITRR"}};
    for (const auto &b : righe)
        ins("Banca", b[0])("Descrizione", QString::fromUtf8(b[1]))(
            "Agenzia", *b[2] ? QVariant(b[2]) : QVariant())("Abi", b[3])("Cab", b[4])("CodBic", b[5])
            .scrivi();
}

void Pagamenti(QSqlDatabase &db)
{
    Inseritore tipi(db, "PagTipi", {"PagTipo", "Descrizione", "TipoEffetto", "AddBolli"});
    const std::initializer_list<std::array<const char *, 4>> righeTipi = {
        {"RB", "Ricevuta bancaria", "1", "S"}, {"TR", "Tratta", "3", "S"},
        {"RD", "Rimessa diretta", "", "N"},    {"BB", "Bonifico bancario", "", "N"},
        {"CO", "Contanti", "", "N"},           {"RI", "RID / SDD", "2", "N"}};
    for (const auto &t : righeTipi)
        tipi("PagTipo", t[0])("Descrizione", t[1])("TipoEffetto", t[2])("AddBolli", t[3]).scrivi();

    QStringList colonne = {"Pagamento", "Descrizione", "PagTipo",     "Decorrenza", "Periodicita",
                           "NumScad",   "TrattamIva",  "GiornoFisso", "NumGGMM"};
    for (int i = 1; i <= 12; ++i)
        colonne << QStringLiteral("Periodo%1").arg(i) << QStringLiteral("Percentuale%1").arg(i);
    Inseritore ins(db, "Pagamenti", colonne);
    struct P {
        const char *codice, *descr, *tipo, *decorrenza, *periodicita;
        int numScad;
        const char *trattamIva;
        int giornoFisso, numGGMM;
        std::initializer_list<std::pair<int, double>> rate;
    };
    const P righe[] = {
        {"RD", "Rimessa diretta vista fattura", "RD", "D", "G", 1, "", 0, 0, {}},
        {"CONT", "Contanti alla consegna", "CO", "D", "G", 1, "", 0, 0, {}},
        {"BB30", "Bonifico 30 gg data fattura", "BB", "D", "G", 1, "", 0, 30, {}},
        {"BB60", "Bonifico 60 gg data fattura", "BB", "D", "G", 1, "", 0, 60, {}},
        {"RB30", "Ri.Ba. 30 gg fine mese", "RB", "F", "M", 1, "", 0, 1, {}},
        {"RB3060", "Ri.Ba. 30/60 gg fine mese", "RB", "F", "M", 2, "", 0, 1, {}},
        {"RB369", "Ri.Ba. 30/60/90 gg f.m. IVA prima rata", "RB", "F", "M", 3, "U", 0, 1, {}},
        {"RB6010", "Ri.Ba. 60 gg f.m. il 10", "RB", "F", "M", 1, "", 10, 2, {}},
        {"TR30", "Tratta 30 gg data fattura", "TR", "D", "G", 1, "", 0, 30, {}},
        {"TR3060", "Tratta 30/60 gg fine mese", "TR", "F", "M", 2, "P", 0, 1, {}},
        {"PERS", "Acconto 40% a 30 gg, saldo a 90 gg", "BB", "D", "T", 2, "", 0, 0, {{1, 40}, {2, 60}}},
        {"SDD", "Addebito diretto il 15 del mese successivo", "RI", "D", "A", 1, "", 15, 0, {{30, 0}}}};
    for (const P &p : righe) {
        ins("Pagamento", p.codice)("Descrizione", p.descr)("PagTipo", p.tipo)("Decorrenza", p.decorrenza)(
            "Periodicita", p.periodicita)("NumScad", p.numScad)("TrattamIva", p.trattamIva)(
            "GiornoFisso", p.giornoFisso)("NumGGMM", p.numGGMM);
        int i = 1;
        for (const auto &[periodo, percentuale] : p.rate) {
            ins(QStringLiteral("Periodo%1").arg(i), periodo)(QStringLiteral("Percentuale%1").arg(i),
                                                             percentuale);
            ++i;
        }
        ins.scrivi();
    }
}

void Iva(QSqlDatabase &db)
{
    Inseritore ins(
        db, "TabIva",
        {"Iva", "Aliquota", "TipoIva", "DescrizioneBreve", "Descrizione", "DescrMemo", "ApplBolloEse"});
    struct I {
        const char *codice;
        int aliquota;
        const char *tipo, *breve, *descr, *memo, *bollo;
    };
    const I righe[] = {{"22", 22, "", "IVA 22%", "Imponibile IVA 22%", "", "N"},
                       {"10", 10, "", "IVA 10%", "Imponibile IVA 10%", "", "N"},
                       {"04", 4, "", "IVA 4%", "Imponibile IVA 4%", "", "N"},
                       {"E8", 0, "3", "N.I. art.8", "Non imponibile art. 8 c.1 lett. c DPR 633/72",
                        "Operazione non imponibile ai sensi dell'art. 8, comma 1, lettera c) del DPR 633/72 "
                        "su dichiarazione "
                        "d'intento.",
                        "S"},
                       {"E10", 0, "5", "Esente art.10", "Esente art. 10 DPR 633/72", "", "S"},
                       {"E15", 0, "4", "Escl. art.15", "Escluso art. 15 DPR 633/72", "", "S"},
                       {"N1", 0, "2", "F.c. art.2", "Fuori campo IVA art. 2 DPR 633/72", "", "N"},
                       {"E41", 0, "3", "N.I. art.41",
                        "Non imponibile art. 41 DL 331/93 (cessioni intracomunitarie)", "", "S"}};
    for (const I &r : righe)
        ins("Iva", r.codice)("Aliquota", r.aliquota)("TipoIva", *r.tipo ? QVariant(r.tipo) : QVariant())(
            "DescrizioneBreve", QString::fromUtf8(r.breve))("Descrizione", QString::fromUtf8(r.descr))(
            "DescrMemo", *r.memo ? QVariant(QString::fromUtf8(r.memo)) : QVariant())("ApplBolloEse", r.bollo)
            .scrivi();
}

void Spese(QSqlDatabase &db)
{
    Inseritore ins(db, "Spese",
                   {"Spesa", "Descrizione", "gruppo", "Mastro", "conto", "Iva", "TipoAddebito", "AddebitoIva",
                    "RifStampa", "SoggScontoPagam", "Importo", "ImportoLire", "ImportoMin", "ImportoMax",
                    "Percentuale"});
    struct S {
        const char *codice, *descr, *conto, *iva, *tipo, *addIva, *rif, *soggSco;
        qint64 importo, lire, min, max; // hundredths
        double perc;
    };
    const S righe[] = {
        {"TRA", "Spese di trasporto", "0001", "22", "", "", "TRASPORTO", "S", 1500, 0, 0, 0, 0},
        {"TRAP", "Trasporto a peso (al kg)", "0001", "22", "S", "", "TRASPORTO", "N", 35, 0, 500, 8000, 0},
        {"IMB", "Imballo", "0004", "22", "P", "", "IMBALLO", "S", 0, 0, 500, 5000, 2},
        {"INC", "Spese di incasso per scadenza", "0002", "E15", "", "", "INCASSO", "A", 0, 1, 100, 500, 0},
        {"BOL", "Rimborso bolli", "0003", "E15", "", "", "BOLLI", "N", 200, 0, 0, 0, 0},
        {"GEN", "Spese generali (IVA ripartita)", "0001", "22", "", "R", "SPESE", "S", 1000, 0, 0, 0, 0},
        {"CP4", "Contributo integrativo cassa 4%", "0001", "22", "", "", "CASSA", "N", 0, 0, 0, 0, 4},
        {"CPF", "Contributo cassa fisso", "0001", "22", "I", "", "CASSA", "N", 2500, 0, 0, 0, 4},
        {"CON", "Contrassegno", "0002", "22", "", "", "INCASSO", "N", 800, 0, 0, 100000, 0}};
    for (const S &s : righe)
        ins("Spesa", s.codice)("Descrizione", QString::fromUtf8(s.descr))("gruppo", "04")("Mastro", "02")(
            "conto", s.conto)("Iva", s.iva)("TipoAddebito", s.tipo)("AddebitoIva", s.addIva)(
            "RifStampa", s.rif)("SoggScontoPagam", s.soggSco)
            .importo("Importo", s.importo)
            .importo("ImportoLire", s.lire)
            .importo("ImportoMin", s.min)
            .importo("ImportoMax", s.max)("Percentuale", s.perc)
            .scrivi();
}

void Varie(QSqlDatabase &db)
{
    Codici(db, "Categorie", "Categoria",
           {{"ING", "Ingrosso"},
            {"DET", "Dettaglio"},
            {"GDO", "Grande distribuzione"},
            {"PA", "Pubblica amministrazione"},
            {"PRI", "Privati"},
            {"PRO", "Professionisti"},
            {"HOR", "Ho.Re.Ca."}});
    Codici(db, "Zone", "Zona",
           {{"NO", "Nord-ovest"},
            {"NE", "Nord-est"},
            {"CE", "Centro"},
            {"SU", "Sud"},
            {"IS", "Isole"},
            {"EE", "Estero"}});
    Codici(
        db, "Lingue", "Lingua",
        {{"IT", "Italiano"}, {"EN", "Inglese"}, {"DE", "Tedesco"}, {"FR", "Francese"}, {"ES", "Spagnolo"}});
    Codici(db, "Listini", "Listino",
           {{"L1", "Listino al pubblico"},
            {"L2", "Listino rivenditori"},
            {"L3", "Listino grande distribuzione"},
            {"L4", "Listino export"}});
    Codici(db, "Rese", "Resa",
           {{"FF", "Franco fabbrica"},
            {"FD", "Franco destino"},
            {"EXW", "Ex works"},
            {"DAP", "Reso al luogo di destinazione"},
            {"ASS", "Porto assegnato"}});
    Codici(db, "Riclass", "Ricl",
           {{"R01", "Clienti ordinari"},
            {"R02", "Clienti in contenzioso"},
            {"R03", "Clienti infragruppo"},
            {"R04", "Clienti enti pubblici"}});
    Codici(db, "PdcCointTest", "Cointest",
           {{"C01", "Eredi Bianchi Giovanni"}, {"C02", "Comunione legale coniugi Verdi"}});

    Inseritore monete(db, "Monete",
                      {"Moneta", "Descrizione", "NumDec", "NumDecGest", "Operatore", "Cee", "Cambio"});
    monete("Moneta", "EUR")("Descrizione",
                            "Euro")("NumDec", 2)("NumDecGest", 2)("Operatore", "/")("Cee", "S")("Cambio", 1.0)
        .scrivi();
    monete("Moneta", "LIT")("Descrizione", "Lira italiana")("NumDec", 0)("NumDecGest", 0)("Operatore", "/")(
        "Cee", "S")("Cambio", 1936.27)
        .scrivi();
    monete("Moneta", "USD")("Descrizione", "Dollaro USA")("NumDec", 2)("NumDecGest", 4)("Operatore", "*")(
        "Cee", "N")("Cambio", 1.08)
        .scrivi();
    monete("Moneta", "CHF")("Descrizione", "Franco svizzero")("NumDec", 2)("NumDecGest", 4)("Operatore", "*")(
        "Cee", "N")("Cambio", 0.95)
        .scrivi();
    monete("Moneta", "GBP")("Descrizione", "Sterlina britannica")("NumDec", 2)("NumDecGest", 4)(
        "Operatore", "*")("Cee", "N")("Cambio", 0.86)
        .scrivi();

    Inseritore vettori(db, "Vettori", {"Vettore", "RagSoc", "Indirizzo", "Localita", "PartIva"});
    const std::initializer_list<std::array<const char *, 5>> righeVettori = {
        {"BRT", "BRT S.p.A.", "Via E. Mattei 42", "Bologna", "04507990150"},
        {"GLS", "General Logistics Systems Italy S.p.A.", "Via Basilicata 3", "Milano", "09148040151"},
        {"SDA", "SDA Express Courier S.p.A.", "Viale Europa 175", "Roma", "04604460173"},
        {"DHL", "DHL Express (Italy) S.r.l.", "Via Lombardia 4", "Milano", "04209680158"},
        {"PROP", "Mezzo proprio", "", "", ""}};
    for (const auto &v : righeVettori)
        vettori("Vettore", v[0])("RagSoc", v[1])("Indirizzo", v[2])("Localita", v[3])("PartIva", v[4])
            .scrivi();

    Inseritore agenti(db, "Agenti", {"Agente", "RagSoc", "Provv"});
    const std::initializer_list<std::tuple<const char *, const char *, double>> righeAgenti = {
        {"A01", "Ferrari Luca", 5},
        {"A02", "Esposito Anna", 4.5},
        {"A03", "Colombo Giorgio", 6},
        {"A04", "Ricci Paola", 3},
        {"A05", "Agenzia Commerciale Adriatica S.a.s.", 7.5}};
    for (const auto &[codice, nome, provv] : righeAgenti)
        agenti("Agente", codice)("RagSoc", nome)("Provv", provv).scrivi();

    // "A" exists in two classes: each customer attribute must join its own class.
    Inseritore attr(db, "PdcClasseAttr", {"PdcClasse", "PdcClasseAttr", "Descrizione"});
    const std::initializer_list<std::tuple<int, const char *, const char *>> righeAttr = {
        {1, "A", "Cliente strategico"},       {1, "B", "Cliente ordinario"},
        {1, "C", "Cliente occasionale"},      {2, "A", "Settore alimentare"},
        {2, "MEC", "Settore meccanico"},      {2, "TES", "Settore tessile"},
        {3, "NORD", "Area commerciale Nord"}, {3, "SUD", "Area commerciale Sud"},
        {4, "WEB", "Acquisito dal sito"},     {4, "FIE", "Acquisito in fiera"},
        {5, "VIP", "Trattamento prioritario"}};
    for (const auto &[classe, codice, descr] : righeAttr)
        attr("PdcClasse", classe)("PdcClasseAttr", codice)("Descrizione", descr).scrivi();

    Inseritore docs(db, "FattDocumenti", {"FattDocumento", "Descrizione", "RegimeMargine", "Segno"});
    const std::initializer_list<std::array<const char *, 4>> righeDocs = {
        {"FT", "Fattura immediata", "N", "+"},
        {"FD", "Fattura differita", "N", "+"},
        {"NC", "Nota di credito", "N", "-"},
        {"FM", "Fattura regime del margine", "S", "+"},
        {"PF", "Parcella", "N", "+"}};
    for (const auto &d : righeDocs)
        docs("FattDocumento", d[0])("Descrizione", d[1])("RegimeMargine", d[2])("Segno", d[3]).scrivi();

    Inseritore articoli(db, "Articoli", {"Articolo", "Descrizione", "Iva", "Prezzo", "Cauzione", "Inattivo"});
    const std::initializer_list<std::tuple<const char *, const char *, const char *, qint64, const char *>>
        righeArt = {{"OLIO1L", "Olio extravergine di oliva 1 L", "04", 895, "N"},
                    {"PASTA500", "Pasta di semola di grano duro 500 g", "04", 129, "N"},
                    {"VINORS", "Vino rosso Chianti DOCG 0,75 L", "22", 1150, "N"},
                    {"ACQUA", "Acqua minerale naturale 6 x 1,5 L", "22", 390, "N"},
                    {"CASSA", "Cassa in plastica a rendere", "22", 250, "S"},
                    {"BANCALE", "Bancale EPAL a rendere", "22", 1200, "S"},
                    {"CAFFE1K", "Caffè in grani 1 kg", "10", 1890, "N"},
                    {"PANETT", "Panettone artigianale 1 kg", "10", 2490, "N"},
                    {"BULL8", "Bulloni zincati M8 (conf. 100)", "22", 1450, "N"},
                    {"TRAP18", "Trapano avvitatore 18 V", "22", 12900, "N"},
                    {"TESS50", "Tessuto cotone h 150 (al metro)", "22", 790, "N"},
                    {"LIBRO", "Manuale di contabilità", "04", 3500, "N"},
                    {"CONSUL", "Consulenza tecnica (ora)", "22", 8000, "N"},
                    {"MANUT", "Canone di manutenzione mensile", "22", 15000, "N"},
                    {"USATO1", "Macchinario usato (regime del margine)", "22", 450000, "N"},
                    {"FUORI", "Articolo fuori produzione", "22", 1000, "N"}};
    for (const auto &[codice, descr, iva, prezzo, cauzione] : righeArt)
        articoli("Articolo", codice)("Descrizione", QString::fromUtf8(descr))("Iva", iva)
            .importo("Prezzo", prezzo)("Cauzione", cauzione)("Inattivo",
                                                             QString(codice) == "FUORI" ? "S" : "N")
            .scrivi();

    // The stamp-duty settings: exempt amounts over 77.47 bear a 2.00 stamp.
    Inseritore bolli(db, "TaBolli",
                     {"CodEseBollo",    "GruppoBol",     "MastroBol",       "ContoBol",    "PercBolloTratte",
                      "MaxNoBolloLire", "MaxNoBollo",    "BolloEsenteLire", "BolloEsente", "ArrotondLire",
                      "Arrotond",       "Sca1BolRBLire", "Sca2BolRBLire",   "Sca1BolRB",   "Sca2BolRB",
                      "Bollo1RBLire",   "Bollo2RBLire",  "Bollo3RBLire",    "Bollo1RB",    "Bollo2RB",
                      "Bollo3RB"});
    bolli("CodEseBollo", "E15")("GruppoBol", "04")("MastroBol", "02")("ContoBol", "0003")
        .importo("PercBolloTratte", 1200)
        .importo("MaxNoBolloLire", 150000, 0)
        .importo("MaxNoBollo", 7747)
        .importo("BolloEsenteLire", 2500, 0)
        .importo("BolloEsente", 200)
        .importo("ArrotondLire", 100, 0)
        .importo("Arrotond", 1)
        .importo("Sca1BolRBLire", 250000, 0)
        .importo("Sca2BolRBLire", 500000, 0)
        .importo("Sca1BolRB", 12911)
        .importo("Sca2BolRB", 25823)
        .importo("Bollo1RBLire", 3500, 0)
        .importo("Bollo2RBLire", 4000, 0)
        .importo("Bollo3RBLire", 5000, 0)
        .importo("Bollo1RB", 181)
        .importo("Bollo2RB", 207)
        .importo("Bollo3RB", 258)
        .scrivi();
}

} // namespace

int ScriviTabelle(QSqlDatabase &db, const std::vector<Comune> &comuni)
{
    const int conti = Conti(db);
    Stati(db);
    ComuniCod(db, comuni);
    Banche(db);
    Pagamenti(db);
    Iva(db);
    Spese(db);
    Varie(db);
    return conti;
}

} // namespace DemoInterno
