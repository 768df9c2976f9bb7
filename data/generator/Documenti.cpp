// Sales documents of the demo company: orders, delivery notes and invoices
// with lines, size levels and expenses, varied so that the footer engine
// meets every case it handles.
#include "data/generator/Casuale.h"
#include "data/generator/Generatore.h"
#include "data/generator/Inseritore.h"

#include <QHash>
#include <QMap>
#include <cmath>

namespace DemoInterno
{

namespace
{

struct Articolo {
    const char *codice, *descrizione, *iva;
    qint64 prezzo; // hundredths of euro
};
const Articolo Articoli[] = {{"OLIO1L", "Olio extravergine di oliva 1 L", "04", 895},
                             {"PASTA500", "Pasta di semola 500 g", "04", 129},
                             {"VINORS", "Vino rosso Chianti DOCG 0,75 L", "22", 1150},
                             {"ACQUA", "Acqua minerale 6 x 1,5 L", "22", 390},
                             {"CAFFE1K", "Caffè in grani 1 kg", "10", 1890},
                             {"PANETT", "Panettone artigianale 1 kg", "10", 2490},
                             {"BULL8", "Bulloni zincati M8 (conf. 100)", "22", 1450},
                             {"TRAP18", "Trapano avvitatore 18 V", "22", 12900},
                             {"TESS50", "Tessuto cotone h 150 (al metro)", "22", 790},
                             {"LIBRO", "Manuale di contabilità", "04", 3500},
                             {"CASSA", "Cassa in plastica a rendere", "22", 250}};
const Articolo Servizi[] = {{"CONSUL", "Consulenza tecnica (ora)", "22", 8000},
                            {"MANUT", "Canone di manutenzione mensile", "22", 15000}};

int Aliquota(const QString &iva)
{
    return iva == "22" ? 22 : iva == "10" ? 10 : iva == "04" ? 4 : 0;
}

qint64 Arrotonda(double x)
{
    return qint64(std::llround(x));
}

// The single percentage of a discount chain such as "10+5".
double Sconto(const QString &catena)
{
    double r = 0;
    for (const QString &p : catena.split(u'+', Qt::SkipEmptyParts))
        r = 100 - (100 - r) * (100 - p.toDouble()) / 100;
    return r;
}

struct Tipo {
    const char *testa, *dett, *liv, *spese;
    bool scoPagSuDett, peso, fattura;
};
const Tipo Tipi[] = {{"OrdVenTest", "OrdVenDett", "OrdVenLiv", "OrdVenSpese", true, false, false},
                     {"DdtTest", "DdtDett", "DdtLiv", "DdtSpese", false, true, false},
                     {"FatTest", "FatDett", "FatLiv", "FatSpese", true, true, true}};

class Scrittore
{
  public:
    Scrittore(QSqlDatabase &db, Casuale &caso) : m_caso(caso)
    {
        for (const Tipo &t : Tipi) {
            QStringList testa = {"Anno",          "NumRif",      "DataRif",       "NumDoc",   "GruppoCli",
                                 "MastroCli",     "ContoCli",    "FattDocumento", "Moneta",   "Pagamento",
                                 "Iva",           "PrezziIvati", "ScontoPag",     "Acconto",  "PercRitAcc",
                                 "PdcDicIntenti", "Stato",       "TotMerce",      "TotImpon", "TotIva",
                                 "TotDocum"};
            if (t.scoPagSuDett)
                testa << "ScoPagSuDett";
            if (t.peso)
                testa << "Peso";
            if (t.fattura)
                testa << "Abbuono"
                      << "Bolli";
            m_testa.emplace_back(db, t.testa, testa);
            m_dett.emplace_back(db, t.dett,
                                QStringList{"Anno",        "NumRif",     "RigDet",        "RigLiv",
                                            "TipoRiga",    "Articolo",   "Descrizione",   "qta",
                                            "ValUnitario", "Scontotot",  "ValTotale",     "Iva",
                                            "Omaggio",     "SoggRitAcc", "FlScontoPag",   "gruppoven",
                                            "MastroVen",   "contoVen",   "CentroDiCosto", "CompGiornMens",
                                            "DataCompDa",  "DataCompA",  "BeneUsato"});
            m_liv.emplace_back(
                db, t.liv, QStringList{"Anno", "NumRif", "RigLiv", "Livello1", "ValUnitario", "ValTotale"});
            m_spese.emplace_back(db, t.spese,
                                 QStringList{"Anno", "NumRif", "Riga", "Spesa", "Iva", "TipoAddebito",
                                             "Percentuale", "Importo", "ImportoMin", "ImportoMax",
                                             "SoggRitAcc", "CassaPrev"});
        }
    }

    void Documento(int k, const Cliente &cli, bool conLettera,
                   char forza = 0); // forza: 'L' Lira, 'N' credit note
    int righe = 0, documenti = 0;

  private:
    Casuale &m_caso;
    std::vector<Inseritore> m_testa, m_dett, m_liv, m_spese;
    QHash<QString, int> m_numeri;
};

void Scrittore::Documento(int k, const Cliente &cli, bool conLettera, char forza)
{
    Casuale &caso = m_caso;
    const Tipo &tipo = Tipi[k];
    const bool lira = forza == 'L' || (forza == 0 && tipo.fattura && !cli.estero && caso.percento(2));
    const int anno = lira ? 2001 : (caso.percento(70) ? AnnoDemo : AnnoDemo - 1);
    const int numRif = ++m_numeri[QString(tipo.testa) + QString::number(anno)];
    const QDate data = anno == AnnoDemo
                           ? QDate(anno, 1, 2).addDays(caso.intero(DataLavoroDemo().dayOfYear() - 1))
                           : QDate(anno, 1, 2).addDays(caso.intero(360));
    const int numDec = lira ? 0 : 2;
    const double cambio = lira ? 1936.27 : 1.0;
    const bool prezziIvati = cli.privato && caso.percento(80);
    const QString scontoPag = cli.scontoPag.isEmpty() ? (caso.percento(10) ? "0" : "") : cli.scontoPag;
    const bool scoPagAttivo = !scontoPag.isEmpty() && scontoPag != "0";
    const bool scoPagSuDett = tipo.scoPagSuDett && scoPagAttivo && caso.percento(30);
    const bool lettera = conLettera && cli.dicIntenti > 0;
    QString fattDoc;
    if (tipo.fattura)
        fattDoc = forza == 'N'         ? "NC"
                  : cli.professionista ? "PF"
                  : caso.percento(10)  ? "NC"
                  : caso.percento(3)   ? "FM"
                                       : caso.scegli({"FT", "FT", "FD"});
    const bool margine = fattDoc == "FM";

    Inseritore &dett = m_dett[std::size_t(k)];
    QMap<QString, qint64> basi; // VAT code -> taxable amount net of VAT
    qint64 merce = 0;
    const int quante = caso.tra(1, 6);
    for (int r = 1; r <= quante; ++r) {
        ++righe;
        const int scelta = caso.intero(100);
        const QString tipoRiga = scelta < 75 ? "M" : scelta < 90 ? "A" : "D";
        dett("Anno", anno)("NumRif", numRif)("RigDet", r * 10)("TipoRiga", tipoRiga);
        if (tipoRiga == "D") {
            dett("RigLiv", 0)("Descrizione", "Merce consegnata presso il vostro magazzino").scrivi();
            continue;
        }
        const Articolo &art =
            margine ? Articolo{"USATO1", "Macchinario usato (regime del margine)", "22", 450000}
            : tipoRiga == "A" || cli.professionista ? Servizi[caso.intero(2)]
                                                    : Articoli[caso.intero(int(std::size(Articoli)))];
        const double qta = tipoRiga == "A" ? caso.tra(1, 8) : caso.tra(1, 60);
        const qint64 prezzo = Arrotonda(art.prezzo * cambio / (lira ? 100.0 : 1.0));
        const QString scontoRiga = caso.percento(60) ? cli.sconto : caso.scegli({"", "10", "10+5", "5+3+2"});
        const qint64 valore = Arrotonda(qta * prezzo * (100 - Sconto(scontoRiga)) / 100);
        QString iva = lettera ? "E8" : cli.estero ? (QString(cli.moneta) == "EUR" ? "E41" : "E8") : art.iva;
        if (!lettera && !cli.estero && caso.percento(4))
            iva = caso.scegli({"E10", "N1", "E15"});
        const QString omaggio = caso.percento(90) ? "N" : caso.scegli({"I", "S"});
        dett("Articolo", art.codice)("Descrizione", QString::fromUtf8(art.descrizione))("qta", qta)
            .importo("ValUnitario", prezzo, numDec)("Scontotot",
                                                    scontoRiga.isEmpty() ? QVariant() : scontoRiga)
            .importo("ValTotale", valore, numDec)("Iva", iva)("Omaggio", omaggio)(
                "SoggRitAcc", cli.professionista ? "S" : "N")("FlScontoPag",
                                                              scoPagAttivo && caso.percento(80) ? "S" : "N");
        if (caso.percento(70))
            dett("gruppoven", "04")("MastroVen", "01")("contoVen", cli.estero        ? "0003"
                                                                   : tipoRiga == "A" ? "0002"
                                                                                     : "0001");
        if (caso.percento(20))
            dett("CentroDiCosto", caso.scegli({"CDC01", "CDC02"}));
        if (QString(art.codice) == "MANUT") {
            const QDate da(anno, data.month(), 1);
            dett("CompGiornMens", "M").data("DataCompDa", da).data("DataCompA", da.addMonths(1).addDays(-1));
        }
        if (margine)
            dett("BeneUsato", QStringLiteral("BU%1").arg(caso.tra(1, 999), 3, 10, QChar(u'0')));
        // Lines with a size grid carry their values on the level row.
        if (tipoRiga == "M" && caso.percento(20)) {
            dett("RigLiv", r * 10);
            m_liv[std::size_t(k)]("Anno", anno)("NumRif", numRif)("RigLiv", r * 10)(
                "Livello1", caso.scegli({"TG S", "TG M", "TG L", "TG 42", "TG 44"}))
                .importo("ValUnitario", prezzo, numDec)
                .importo("ValTotale", valore, numDec)
                .scrivi();
        } else {
            dett("RigLiv", 0);
        }
        dett.scrivi();
        if (omaggio == "S")
            continue;
        const qint64 netto = prezziIvati ? Arrotonda(valore * 100.0 / (100 + Aliquota(iva))) : valore;
        basi[iva] += netto;
        merce += netto;
    }

    // Expenses
    Inseritore &spese = m_spese[std::size_t(k)];
    int riga = 0;
    const double peso = caso.tra(5, 800);
    auto spesa = [&](const char *codice, const char *iva, const char *addebito, double perc, qint64 importo,
                     qint64 min, qint64 max) {
        spese("Anno", anno)("NumRif", numRif)("Riga", ++riga)("Spesa", codice)("Iva", lettera ? "E8" : iva)(
            "TipoAddebito", addebito)("Percentuale", perc)
            .importo("Importo", importo, numDec)
            .importo("ImportoMin", min, numDec)
            .importo("ImportoMax", max, numDec)("SoggRitAcc", cli.professionista ? "S" : "N")(
                "CassaPrev", QString(codice).startsWith("CP") ? "S" : "N")
            .scrivi();
    };
    const qint64 l = lira ? 20 : 1; // lire per cent, roughly
    if (caso.percento(35)) {
        spesa("TRA", "22", "", 0, 1500 * l, 0, 0);
        basi[lettera ? "E8" : "22"] += 1500 * l;
    }
    if (caso.percento(15)) {
        spesa("IMB", "22", "", 2, 0, 500 * l, 5000 * l);
        basi[lettera ? "E8" : "22"] += std::clamp<qint64>(Arrotonda(merce * 0.02), 500 * l, 5000 * l);
    }
    if (tipo.peso && caso.percento(10)) {
        spesa("TRAP", "22", "", 0, 35 * l, 500 * l, 8000 * l);
        basi[lettera ? "E8" : "22"] += std::clamp<qint64>(Arrotonda(peso * 35 * l), 500 * l, 8000 * l);
    }
    if (cli.pagamento.startsWith("TR") || caso.percento(5))
        spesa("INC", "E15", "T", 0.5, 0, 100 * l, 500 * l);
    if (caso.percento(5)) {
        spesa("GEN", "22", "", 0, 1000 * l, 0, 0);
        basi[lettera ? "E8" : "22"] += 1000 * l;
    }
    if (cli.professionista) {
        if (caso.percento(80))
            spesa("CP4", "22", "", 4, 0, 0, 0);
        else
            spesa("CPF", "22", "", 0, 2500 * l, 0, 0);
    }

    // Totals as the program that wrote the document would have stored them.
    const double scoPag = scoPagAttivo ? Sconto(scontoPag) : 0;
    qint64 impon = 0, iva = 0, esente = 0;
    for (auto it = basi.cbegin(); it != basi.cend(); ++it) {
        const qint64 base = Arrotonda(it.value() * (100 - scoPag) / 100);
        const int aliq = Aliquota(it.key());
        if (aliq > 0 || it.key() == "22" || it.key() == "10" || it.key() == "04") {
            impon += base;
            iva += Arrotonda(base * aliq / 100.0);
        } else {
            esente += base;
        }
    }
    qint64 bollo = 0;
    if (tipo.fattura && cli.bolli && esente > (lira ? 150000 : 7747))
        bollo = lira ? 2500 : 200;

    Inseritore &testa = m_testa[std::size_t(k)];
    testa("Anno", anno)("NumRif", numRif)
        .data("DataRif", data)("NumDoc", QStringLiteral("%1/%2").arg(numRif).arg(anno))(
            "GruppoCli", cli.gruppo)("MastroCli", cli.mastro)("ContoCli", cli.conto)(
            "FattDocumento", fattDoc.isEmpty() ? QVariant() : fattDoc)("Moneta",
                                                                       lira ? QString("LIT") : cli.moneta)(
            "Pagamento", cli.pagamento)("Iva", lettera ? QVariant("E8") : QVariant())(
            "PrezziIvati", prezziIvati ? (caso.percento(10) ? "s" : "S")
                                       : "N")("ScontoPag", scontoPag.isEmpty() ? QVariant() : scontoPag)
        .importo("Acconto", caso.percento(5) ? 10000 * l : 0,
                 numDec)("PercRitAcc", cli.professionista ? (caso.percento(15) ? 2300.5 : 20.0) : 0.0)(
            "PdcDicIntenti", lettera ? QVariant(cli.dicIntenti) : QVariant())
        .importo("TotMerce", merce, numDec)
        .importo("TotImpon", impon, numDec)
        .importo("TotIva", iva, numDec)
        .importo("TotDocum", impon + esente + iva + bollo, numDec);
    if (k == 0)
        testa("Stato", caso.percento(60) ? QVariant() : QVariant("E"));
    else if (k == 1)
        testa("Stato", caso.percento(40) ? QVariant() : QVariant(caso.scegli({"S", "F"})));
    if (tipo.scoPagSuDett)
        testa("ScoPagSuDett", scoPagSuDett ? "S" : "N");
    if (tipo.peso)
        testa("Peso", peso);
    if (tipo.fattura)
        testa.importo("Abbuono", caso.percento(3) ? 50 * l : 0, numDec)("Bolli", cli.bolli ? "S" : "N");
    testa.scrivi();
    ++documenti;
}

} // namespace

int ScriviDocumenti(QSqlDatabase &db, Casuale &caso, const std::vector<Cliente> &clienti, int &righe)
{
    Scrittore scrittore(db, caso);
    for (const Cliente &cli : clienti) {
        if (cli.archetipo >= 0) {
            for (int k = 0; k < 3; ++k)
                scrittore.Documento(k, cli, true);
            if (cli.archetipo == 4) {
                scrittore.Documento(2, cli, false, 'L');
                scrittore.Documento(2, cli, false, 'N');
            }
        }
        if (cli.dicIntenti > 0) {
            // Every kind of document under the letter, and one outside it.
            for (int k = 0; k < 3; ++k)
                for (int j = caso.tra(1, 3); j > 0; --j)
                    scrittore.Documento(k, cli, true);
            scrittore.Documento(2, cli, false);
            continue;
        }
        for (int j = caso.intero(3); j > 0; --j) {
            const int p = caso.intero(100);
            scrittore.Documento(p < 25 ? 0 : p < 50 ? 1 : 2, cli, false);
        }
    }
    righe = scrittore.righe;
    return scrittore.documenti;
}

} // namespace DemoInterno
