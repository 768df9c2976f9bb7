// Test documents for the footer engine's expenses, withholding tax, fund and
// stamp duty: the bench's lookup rows plus expense codes, payment kinds with
// stamps per due date, and builders of headers, lines and expense rows.
#pragma once

#include "BancoPiede.h"

#include "components/util/Currency.h"
#include "totals/scCalcPiedeFat.h"

#include <QDate>
#include <QStringList>
#include <gtest/gtest.h>

inline void PrintTo(const Currency &c, std::ostream *os)
{
    *os << c.toString(4).toStdString();
}

inline Currency Imp(const char *testo)
{
    Currency c;
    EXPECT_TRUE(Currency::parse(QString::fromLatin1(testo), c)) << testo;
    return c;
}

class BaseDocumenti
{
  protected:
    // False with the reason when the engine cannot be had.
    bool prepara(BancoPiede::Motore m, QString &motivo)
    {
        if (!banco.Apri(m, &motivo))
            return false;
        banco.Anagrafiche();
        struct Spesa {
            const char *codice, *conto, *tipo, *addebitoIva, *rif, *soggSconto;
            double importoLire, min;
        };
        for (const Spesa &s : {Spesa{"TRA", "0001", "F", "", "Trasporto", "N", 0, 0},
                               Spesa{"IMB", "0002", "P", "", "Imballo", "N", 0, 0},
                               Spesa{"PES", "0001", "S", "", "Trasporto", "N", 0, 0},
                               Spesa{"VAR", "0003", "F", "", "Varie", "N", 0, 0},
                               Spesa{"RIP", "0004", "F", "R", "Ripartite", "N", 0, 0},
                               Spesa{"RIQ", "0008", "F", "R", "Ripartite", "N", 0, 0},
                               Spesa{"INC", "0005", "", "", "Incasso", "S", 0.5, 1},
                               Spesa{"CAS", "0006", "", "", "Cassa", "N", 0, 0},
                               Spesa{"CAR", "0006", "", "R", "Cassa", "N", 0, 0},
                               Spesa{"CAF", "0006", "I", "", "Cassa", "N", 0, 0},
                               Spesa{"SCO", "0007", "F", "", "Soggette", "S", 0, 0},
                               Spesa{"SCP", "0007", "P", "", "Soggette", "S", 0, 0}})
            banco.Inserisci(QStringLiteral("Spese"), {{"Spesa", QString::fromLatin1(s.codice)},
                                                      {"gruppo", "07"},
                                                      {"Mastro", "01"},
                                                      {"conto", QString::fromLatin1(s.conto)},
                                                      {"TipoAddebito", QString::fromLatin1(s.tipo)},
                                                      {"AddebitoIva", QString::fromLatin1(s.addebitoIva)},
                                                      {"RifStampa", QString::fromLatin1(s.rif)},
                                                      {"SoggScontoPagam", QString::fromLatin1(s.soggSconto)},
                                                      {"ImportoLire", s.importoLire},
                                                      {"ImportoMin", s.min},
                                                      {"ImportoMax", 0},
                                                      {"Percentuale", 4}});
        banco.Inserisci(QStringLiteral("PagTipi"),
                        {{"PagTipo", "RB"}, {"TipoEffetto", "1"}, {"AddBolli", "S"}});
        banco.Inserisci(QStringLiteral("PagTipi"),
                        {{"PagTipo", "TR"}, {"TipoEffetto", "3"}, {"AddBolli", "S"}});
        for (const auto &[codice, tipo, n] :
             {std::tuple{"RB1", "RB", 1}, std::tuple{"RB2", "RB", 2}, std::tuple{"TR2", "TR", 2}})
            banco.Inserisci(QStringLiteral("Pagamenti"), {{"Pagamento", QString::fromLatin1(codice)},
                                                          {"PagTipo", QString::fromLatin1(tipo)},
                                                          {"Decorrenza", "D"},
                                                          {"Periodicita", "M"},
                                                          {"NumScad", n},
                                                          {"NumGGMM", 1},
                                                          {"GiornoFisso", 0},
                                                          {"TrattamIva", ""},
                                                          {"Periodo1", 0},
                                                          {"Percentuale1", 0},
                                                          {"Periodo2", 0},
                                                          {"Percentuale2", 0}});
        motore.osTabTesta = QStringLiteral("FatTest");
        motore.osTabDett = QStringLiteral("FatDett");
        motore.osTabLiv = QStringLiteral("FatLiv");
        motore.osTabSpese = QStringLiteral("FatSpese");
        return true;
    }

    void testata(int numero, const QVariantMap &altro = {})
    {
        QVariantMap v{{"Anno", 2024},          {"NumRif", numero},  {"DataRif", QDate(2024, 3, 15)},
                      {"GruppoCli", "01"},     {"MastroCli", "03"}, {"ContoCli", "0001"},
                      {"FattDocumento", "FT"}, {"Moneta", "EUR"},   {"Pagamento", "RD30"},
                      {"PrezziIvati", "N"},    {"Acconto", 0},      {"Abbuono", 0},
                      {"Bolli", "S"},          {"PercRitAcc", 0}};
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(QStringLiteral("FatTest"), v);
    }

    void riga(int numero, int rigDet, const char *iva, double totale, const QVariantMap &altro = {})
    {
        QVariantMap v{{"Anno", 2024},
                      {"NumRif", numero},
                      {"RigDet", rigDet},
                      {"RigLiv", rigDet},
                      {"TipoRiga", "M"},
                      {"Omaggio", "N"},
                      {"qta", 1},
                      {"Iva", QString::fromLatin1(iva)},
                      {"ValTotale", totale},
                      {"ValUnitario", totale},
                      {"gruppoven", "04"},
                      {"MastroVen", "20"},
                      {"contoVen", "0001"},
                      {"FlScontoPag", "N"},
                      {"SoggRitAcc", "N"}};
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(QStringLiteral("FatDett"), v);
    }

    void spesa(int numero, int rigaSpesa, const char *codice, const char *iva, const QVariantMap &altro = {})
    {
        QVariantMap v{{"Anno", 2024},
                      {"NumRif", numero},
                      {"Riga", rigaSpesa},
                      {"Spesa", QString::fromLatin1(codice)},
                      {"Iva", QString::fromLatin1(iva)},
                      {"TipoAddebito", ""},
                      {"Percentuale", 0},
                      {"Importo", 0},
                      {"ImportoMin", 0},
                      {"ImportoMax", 0},
                      {"SoggRitAcc", "N"},
                      {"CassaPrev", "N"}};
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(QStringLiteral("FatSpese"), v);
    }

    void calcola(int numero) { motore.CalcPiedeFat(2024, numero, false, -1); }

    scIva &iva(const char *codice) { return motore.ogIve->ogIva(QString::fromUtf8(codice)); }

    QStringList chiavi()
    {
        QStringList k;
        for (scIva &i : motore.ogIve->ocCollIva)
            k << i.osIva;
        return k;
    }

    // Base and VAT of a rate's counter-accounts, summed.
    std::pair<Currency, Currency> sommaConti(const scIva &i)
    {
        Currency impon, impos;
        for (const scControP &cp : const_cast<scIva &>(i).ocCollControPte) {
            impon += cp.odImpon;
            impos += cp.odImpos;
        }
        return {impon, impos};
    }

    BancoPiede banco;
    scCalcPiedeFat motore;
};

class DocumentiSpese : public ::testing::TestWithParam<BancoPiede::Motore>, protected BaseDocumenti
{
  protected:
    void SetUp() override
    {
        QString motivo;
        if (!prepara(GetParam(), motivo))
            GTEST_SKIP() << motivo.toStdString();
    }
};

inline std::string NomeMotore(BancoPiede::Motore m)
{
    return m == BancoPiede::Motore::SQLite ? "SQLite" : "PostgreSQL";
}

#define ISTANZIA_MOTORI(Suite)                                                                               \
    INSTANTIATE_TEST_SUITE_P(Motori, Suite,                                                                  \
                             ::testing::Values(BancoPiede::Motore::SQLite, BancoPiede::Motore::PostgreSQL),  \
                             [](const auto &info) { return NomeMotore(info.param); })
