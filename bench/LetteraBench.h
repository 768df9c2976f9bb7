// The documents of one customer's letter of intent that the letters-of-intent
// benchmarks share: 1,000 invoices (one in fifty a credit note), 600 delivery
// notes and 400 orders; every tenth document carries a 2 % payment discount
// and five lines, so that the goods measure recomputes 200 of them.
#pragma once

#include <QSqlQuery>
#include <QString>

#include <cstdio>

namespace supporto_bench
{

struct LetteraBench {
    QString gruppo, mastro, conto;
    int lettera = 1;
    int anno = 2024;
};

constexpr int DocumentiLettera = 2000;
constexpr int DocumentiScontati = 200;

inline void EseguiBench(QSqlQuery &q, const QString &sql)
{
    if (!q.exec(sql))
        std::fprintf(stderr, "SQL failed: %s\n", qPrintable(sql));
}

// Inserts the documents (headers, and lines of the discounted ones) with the
// payment "RD", the currency "EUR", the VAT codes "22" and "10" and the
// document types "FT" and "NC", which the database must hold.
inline void InserisciDocumentiLettera(QSqlQuery &q, const LetteraBench &l)
{
    const char *tabelle[] = {"FatTest", "DdtTest", "OrdVenTest"};
    const char *righe[] = {"FatDett", "DdtDett", "OrdVenDett"};
    const int quanti[] = {1000, 600, 400};
    int documento = 0;
    for (int k = 0; k < 3; ++k) {
        for (int i = 1; i <= quanti[k]; ++i, ++documento) {
            const bool scontato = documento % (DocumentiLettera / DocumentiScontati) == 0;
            const double merce = 100 + (documento % 37) * 10.5;
            EseguiBench(
                q, QStringLiteral("INSERT INTO %1 (Anno, NumRif, DataRif, GruppoCli, MastroCli, ContoCli, "
                                  "Moneta, Pagamento, PrezziIvati, Acconto, PdcDicIntenti, ScontoPag, "
                                  "TotMerce, TotImpon, TotIva, TotDocum%2) VALUES (%3, %4, '%3-04-01', "
                                  "'%5', '%6', '%7', 'EUR', 'RD', 'N', 0, %8, %9, %10, %10, %11, %12%13)")
                       .arg(QLatin1String(tabelle[k]), k == 0 ? QStringLiteral(", FattDocumento") : QString())
                       .arg(l.anno)
                       .arg(i)
                       .arg(l.gruppo, l.mastro, l.conto)
                       .arg(l.lettera)
                       .arg(scontato ? QStringLiteral("'2'") : QStringLiteral("NULL"))
                       .arg(merce)
                       .arg(merce * 0.22)
                       .arg(merce * 1.22)
                       .arg(k == 0 ? (i % 50 == 0 ? QStringLiteral(", 'NC'") : QStringLiteral(", 'FT'"))
                                   : QString()));
            if (!scontato)
                continue;
            for (int r = 1; r <= 5; ++r)
                EseguiBench(
                    q, QStringLiteral("INSERT INTO %1 (Anno, NumRif, RigDet, RigLiv, TipoRiga, Omaggio, qta, "
                                      "ValUnitario, ValTotale, Iva, FlScontoPag, SoggRitAcc, gruppoven, "
                                      "MastroVen, contoVen) VALUES (%2, %3, %4, %4, 'M', 'N', 1, %5, %5, "
                                      "'%6', 'S', 'N', '04', '20', '0001')")
                           .arg(QLatin1String(righe[k]))
                           .arg(l.anno)
                           .arg(i)
                           .arg(r)
                           .arg(20.0 * r + 0.33)
                           .arg(r % 2 ? QStringLiteral("22") : QStringLiteral("10")));
        }
    }
}

} // namespace supporto_bench
