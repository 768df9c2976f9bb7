// Footer engine: the SELECTs of a run (header, stamp table, lines, expenses
// and the stamp's VAT code), each prepared once for the text that the
// engine's tables and settings give and run per document with its numbers
// bound, and the columns each phase reads, numbered once.
#pragma once

#include "totals/scCalcPiedeFat.h"

#include "components/db/SelezionePronta.h"

#include <array>
#include <memory>

class DbMotore;

struct scCalcPiedeFat::Lettura {
    std::unique_ptr<SelezionePronta> sel;
    DbMotore *db = nullptr;
    QString conn;
    QString chiave; // what the text depends on besides the document; empty: prepare again
};

struct scCalcPiedeFat::Letture {
    // The VAT code's columns that the stamp duty reads, by the stamp table's
    // join or by the VAT table itself.
    enum DatoIva {
        IvaTipo,
        IvaDescrBreve,
        IvaDescrizione,
        IvaDescrMemo,
        IvaAliquota,
        IvaApplBolloEse,
        NumDatiIva
    };

    Lettura testa, bolli, dett, spese, ivaBollo;

    struct {
        int scoPagSuDett, regimeMargine, prezziIvati, numDec, moneta, tipoEffetto, abbuono, acconto,
            scontoPag;
        int peso, percRitAcc, bolli, segno, addBolli, numScad, dataRif, pagamento, gruppoCli, mastroCli,
            contoCli;
    } t{};

    struct {
        int codEseBollo, gruppoBol, mastroBol, contoBol, percBolloTratte;
        int maxNoBollo, maxNoBolloLire, bolloEsente, bolloEsenteLire, arrotond, arrotondLire;
        std::array<int, 6> sca, scaLire, bollo, bolloLire; // brackets 1..5
        std::array<int, NumDatiIva> iva;
    } b{};

    struct {
        int tipoRiga, soggRitAcc, omaggio, conto, centroDiCosto, compGiornMens, dataCompDa, dataCompA, iva,
            beneUsato;
        int aliquota, tipoIva, descrBreve, descrizione, descrMemo, applBolloEse;
        int livello1, valTotale, valTotaleLiv, valUnitario, valUnitarioLiv, flScontoPag, artCauzione, qta,
            scontoTot;
    } d{};

    struct {
        int spesaSpese, spesa, gruppo, mastro, conto, rifStampa, addebitoIva, iva, ivaTabIva, aliquota;
        int descrBreve, descrizione, descrMemo, tipoIva, applBolloEse;
        int cassaPrev, soggRitAcc, tipoAddebitoRiga, percentuale, importoLire, soggScontoPagam,
            importoMinSpesa, importoMaxSpesa, importoMax, importoMin, tipoAddebito, importo, riga,
            percentualeSpesa;
        int gruppoRiga, mastroRiga, contoRiga;
    } s{};

    std::array<int, NumDatiIva> ivaBolloCol{};

    // Numbers the VAT code's columns of `s` in the order of DatoIva.
    static void ColonneIva(SelezionePronta &s, std::array<int, NumDatiIva> &c)
    {
        c[IvaTipo] = s.Campo(QStringLiteral("TabIva.TipoIva"));
        c[IvaDescrBreve] = s.Campo(QStringLiteral("TabIva.DescrizioneBreve"));
        c[IvaDescrizione] = s.Campo(QStringLiteral("TabIva.Descrizione"));
        c[IvaDescrMemo] = s.Campo(QStringLiteral("TabIva.DescrMemo"));
        c[IvaAliquota] = s.Campo(QStringLiteral("TabIva.Aliquota"));
        c[IvaApplBolloEse] = s.Campo(QStringLiteral("TabIva.ApplBolloEse"));
    }
};
