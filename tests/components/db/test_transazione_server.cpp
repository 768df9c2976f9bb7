// A statement that fails inside a transaction on the server undoes only
// itself: the work before it and after it is committed, as on SQLite.
#include "ProvaMotori.h"

#include "components/db/ErroriDb.h"
#include "components/db/SelezionePronta.h"

#include <functional>

namespace
{

const QString kInserisci =
    QStringLiteral("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) "
                   "VALUES ('01','05','0001',%1,'Lettera %1')");

} // namespace

class TransazioneServer : public ProvaMotori
{
};

TEST_P(TransazioneServer, UnaLetturaFallitaNonGuastaLaTransazione)
{
    struct Caso {
        const char *nome;
        int errore; // the number the failing statement raises
        std::function<void()> fallisce;
    };
    const Caso casi[] = {
        {"record set su tabella inesistente", ErroriDb::TabellaNonTrovata,
         [this] { Apri(QStringLiteral("SELECT * FROM TabellaCheNonEsiste")); }},
        {"record set letto dal driver, colonna inesistente", ErroriDb::ErroreSintassi,
         [this] {
             db->ImpostaParametro(QStringLiteral("IstruzioniProprie:") + C, false);
             try {
                 db->Seleziona(C, QStringLiteral("SELECT Nessuna FROM PdcDicIntenti"));
             } catch (...) {
                 db->ImpostaParametro(QStringLiteral("IstruzioniProprie:") + C, true);
                 throw;
             }
         }},
        {"cursore con conversione impossibile", ErroriDb::ConversioneDati,
         [this] {
             std::unique_ptr<CursoreSqlite> cursore;
             db->SelezionaCursore(C, QStringLiteral("SELECT CLng(Descrizione) FROM PdcDicIntenti"), cursore);
         }},
        {"selezione pronta con colonna inesistente", ErroriDb::ErroreSintassi,
         [this] {
             SelezionePronta s(db.get(), C,
                               QStringLiteral("SELECT Nessuna FROM PdcDicIntenti WHERE Gruppo = '01'"));
             s.Esegui({QStringLiteral("01")});
         }},
        {"scrittura con chiave doppia", VbErrore::ChiaveDuplicata, [this] { Esegui(kInserisci.arg(1)); }},
    };
    Esegui(kInserisci.arg(1));
    int numero = 10;
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.nome);
        const int prima = numero++, dopo = numero++;
        int errore = 0;
        try {
            db->IniziaTrans(C);
            Esegui(kInserisci.arg(prima));
            try {
                caso.fallisce();
            } catch (const VbErrore &e) {
                errore = e.numero();
            }
            Esegui(kInserisci.arg(dopo));
            db->ConfermaTrans(C);
        } catch (const VbErrore &e) {
            ADD_FAILURE() << "transazione guastata: " << e.descrizione().toStdString();
            while (db->LivelloTrans(C) > 0)
                db->AnnullaTrans(C);
        }
        EXPECT_EQ(errore, caso.errore);
        const auto r = db->Seleziona(
            C, QStringLiteral("SELECT PdcDicIntenti FROM PdcDicIntenti WHERE PdcDicIntenti IN (%1, %2)")
                   .arg(prima)
                   .arg(dopo));
        EXPECT_EQ(r->numRighe(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, TransazioneServer, ::testing::Values(MotoreProva::PostgreSQL), NomeMotore);
