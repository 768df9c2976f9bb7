// Footer engine of a stored sales document (order, delivery note, invoice):
// goods, expenses, VAT per key, counter-account and cost centre, gifts,
// withholding tax, social-security fund, stamp duty and the amount due,
// computed in nine phases from the header, lines, levels and expenses.
#pragma once

#include "components/util/Currency.h"
#include "totals/scIve.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ListaValori;
class SelezionePronta;

class scCalcPiedeFat
{
  public:
    scCalcPiedeFat();
    ~scCalcPiedeFat();
    scCalcPiedeFat(const scCalcPiedeFat &) = delete;
    scCalcPiedeFat &operator=(const scCalcPiedeFat &) = delete;

    std::unique_ptr<scIve> ogIve;
    Currency odTotMerce;
    Currency odTotEsente;
    Currency odTotEsenteAppBol;
    Currency odTotSpese;
    Currency odTotFattura;
    Currency odTotPagare;
    Currency odTotImponibile;
    Currency odTotIva;
    Currency odTotBolli;
    Currency odTotImpOmaggi;
    Currency odTotOmaggiNoIva;
    Currency odTotOmaggi;
    Currency odTotImpRitAcc;
    Currency odTotImpRitAccEff;
    Currency odRitAcc;
    Currency ouPercCassaPrev;
    Currency ouTotCassaPrev;
    Currency odAbbuono;
    Currency odAcconto;
    bool obFattEsente = false;
    QString osGruppoBol;
    QString osMastroBol;
    QString osContoBol;
    Currency odScontoPag;
    QString osScontoPag;
    bool obApplScontoPag = false;
    std::shared_ptr<ListaValori> ogSpese;
    std::shared_ptr<ListaValori> ogSpesePerc;
    bool obOmaSIvaPres = false;
    bool obOmaTotPres = false;
    QString osTabTesta;
    QString osTabDett;
    QString osTabLiv;
    QString osTabSpese;
    double odTotBolliScad = 0;
    bool obBolliEsenti = false;
    QString osTipoGest;
    bool obErrNoDett = true;
    QString osErrori;
    int oiNumErrori = 0;
    int oiNumSconti = 0;
    bool obCassaPrevNoImpon = false;
    QString osCassaPrevGruppo;
    QString osCassaPrevMastro;
    QString osCassaPrevConto;

    // One document: year, number, withholding-only run, withholding percentage
    // (negative: the header's) and the stamp-duty flag replacing the header's.
    void CalcPiedeFat(int piAnno, int plNumRif, bool pbCalcRitAcc, double pdPercRitAcc,
                      std::optional<QVariant> pvAddBolli = std::nullopt);
    void AzzeraVarPiede();
    void CalcRitAcc(double pdPercRitAcc, int piNumDec);
    // Expense of due date i; an index outside the array is VB error 9.
    double odSpeseScad(int i) const;
    void odSpeseScad(int i, double pdNewValue);
    int oiSpeseScadNum() const;
    void CalcIvSpese(int piNumDec);
    // A Double for the levels 1..oiNumSconti, the Integer 0 otherwise.
    QVariant odTotMerceSco(int i) const;

  private:
    friend class scCalcPiedeFatProva;

    void CalcScontoPag(const QString &psPrezziIvati, int piNumDec);
    void CalcIvaPiede(const QString &psPrezziIvati, int piNumDec);
    QString SqlTestataPiede() const;
    QString SqlDettagliPiede(bool pbCauzioni) const;
    QString SqlSpesePiede() const;
    void AccodaErrPiede(long plNumErr, const QString &psTesto);

    // The phases; each answers false when the run must end after it.
    bool LetturaTestata();       // 1 "Lettura testata"
    bool LetturaBolli();         // 2 "Lettura bolli"
    bool LetturaDettagli();      // 3 "Lettura Dettagli Normali"
    bool LetturaSpese();         // 4 "Lettura Spese"
    bool RipartizioneIvaSpese(); // 5 "Ripartizione IVA spese"
    bool CalcolaRitenuta();      // 6 "Calcola ritenuta d'acconto"
    bool CalcoloTotali();        // 7 "Calcolo totali"
    bool CalcoloBolli();         // 8 "Calcolo Bolli"
    bool ParteFinale();          // 9 "Parte finale"

    // Goods of one line by discount level (lines phase).
    void MerceScontiRiga(scIva &iva, Currency puPrezzo, double pdQta, const QString &psSconti);
    double PercentualeSconti(const QString &psCatena);

    // The SELECTs of the run (LetturePiede.h). Apri runs one for the current
    // document: prepared from the text `testo` builds while `chiave` (what the
    // text depends on besides the document) stays the same, with `valori`,
    // the literals that change per document, in place of the first literals
    // of the text. `colonne` numbers the columns the phases read.
    struct Lettura;
    struct Letture;
    SelezionePronta &Apri(Lettura &l, const QString &chiave, const std::function<QString()> &testo,
                          const QVariantList &valori, const std::function<void(SelezionePronta &)> &colonne);
    // Lets every SELECT of the run go, as the end of a run does.
    void ChiudiLetture();
    // Reads of the current row with the engine's rules: a Null or absent
    // amount reads as 0 and a Null text as "".
    double CampoDouble(const SelezionePronta &s, int campo) const;
    int CampoIntero(const SelezionePronta &s, int campo) const;
    QDate CampoData(const SelezionePronta &s, int campo) const;
    // Creates the two expense lists when absent and empties them.
    void SvuotaListeSpese();
    // Whether the header table carries a column (asked of the company database).
    bool TestataHaCampo(const QString &psCampo) const;
    // Host and personal parameters ("" when there is no host).
    QString ParametroHost(const QString &psNome) const;
    QString ParametroPersonale(const QString &psSezione, const QString &psNome) const;

    std::unique_ptr<Letture> mLetture;
    // The engine of the withholding-only run, kept for the next document.
    std::unique_ptr<scCalcPiedeFat> mSeconda;
    mutable QHash<QString, bool> mCampiTestata; // optional header columns, by table and column
    QHash<QString, double> mPercentualiSconti;  // discount chains already worked out
    int miAnno = 0;
    int mlNumRif = 0;
    bool mbGesTaglie = false;
    QString msFase;
    QString msRegimeMargine;
    bool mbScoPagSuDett = false;
    std::vector<double> mdSpesaScad; // index = due date, 1..n; empty until sized
    std::vector<double> mdMerceSco = std::vector<double>(1, 0.0);

    // Arguments of the running call.
    bool mbCalcRitAcc = false;
    double mdPercRitAcc = -1;
    QVariant mvAddBolli;
    bool MancaAddBolli = true;

    // Working values of one run, handed from the phase that sets them to later ones.
    QString ContoVenDefault;
    bool GestVuotiCauz = false;
    QString PrezziIvati;
    int NumDecDoc = 0;
    QString MonetaDoc;
    QString TipoEffetto;
    bool BolliLetti = false; // the stamp table's row of the run is current
    bool BolliTrovati = false;
    QString CodEseBollo;
    QString ContoBollo;
    Currency PercBolloTratte;
    Currency MaxNoBollo;
    Currency BolloEsente;
    Currency ArrotondBollo;
    std::array<Currency, 6> ScaBolRB{};
    std::array<Currency, 6> BolloRB{};
    Currency TotMerceRighe;

    // Expenses, spreading, withholding tax and fund, stamp duty.
    // One expense row's keys and VAT data.
    struct RigaSpesa {
        QString chiaveIva;
        QString conto;
        QString descrizione, descrLunga, descrMemo, tipoIva, applBolloEse;
        QString rifStampa;
        Currency aliquota;
        bool esente = false;
    };
    // The expense rows of the document (the expenses and the fund phases).
    SelezionePronta &ApriSpese();
    RigaSpesa LeggiRigaSpesa(const SelezionePronta &s) const;
    void ApriVoceSpesa(const RigaSpesa &r);
    void SommaSpesaRif(const QString &psRifStampa, Currency puImporto);
    bool AddebitoFisso(Currency puMin, Currency puMax) const;
    void RipartisciSpese();
    void RipartisciProporzionale(const QString &psIva, Currency puIncid);
    void RipartisciIntera(const QString &psIva);
    bool LeggiCassaPrev(SelezionePronta &k);
    void AggiungiBolli(Currency puBolli);
    QVariant DatoIvaBollo(int piDato);
    void AccodaErroriScadenze(int piNumErr, const QString &psErrori);

    bool SpesaScadTrovata = false;
    QString ModoArrotSpesaScad;
    double MinSpesaScad = 0;
    double MaxSpesaScad = 0;
    double PercRitAccDoc = 0;
    bool CassaPrevPresente = false; // the expenses phase met a fund row
    bool IvaBolloLetta =
        false; // TabIva row of CodEseBollo read, when the stamp table's join does not carry it
};
