// The footer tests' view of the engine's private steps and working values.
// One definition for every test file: the engine befriends this one class.
#pragma once

#include "totals/scCalcPiedeFat.h"

#include <memory>

class scCalcPiedeFatProva
{
  public:
    // Gives the engine its VAT collection, as the reset at the start of a run does,
    // so that tests may fill totals by hand without a run.
    explicit scCalcPiedeFatProva(scCalcPiedeFat &m) : e(m)
    {
        if (!e.ogIve)
            e.ogIve = std::make_unique<scIve>();
    }

    // Steps run on hand-filled totals.
    void documento(int anno, int numero)
    {
        e.miAnno = anno;
        e.mlNumRif = numero;
    }
    void gesTaglie(bool v) { e.mbGesTaglie = v; }
    void scoPagSuDett(bool v) { e.mbScoPagSuDett = v; }
    void fase(const char *nome) { e.msFase = QString::fromUtf8(nome); }
    QString fase() const { return e.msFase; }
    QString sqlTestata() const { return e.SqlTestataPiede(); }
    QString sqlDettagli(bool cauzioni) const { return e.SqlDettagliPiede(cauzioni); }
    QString sqlSpese() const { return e.SqlSpesePiede(); }
    void errore(long n, const QString &t) { e.AccodaErrPiede(n, t); }
    void scontoPag(const char *ivati, int dec) { e.CalcScontoPag(QString::fromLatin1(ivati), dec); }
    void iva(const char *ivati, int dec) { e.CalcIvaPiede(QString::fromLatin1(ivati), dec); }

    // The payment discount and VAT steps on what a run read, as the later phases run them.
    void ricalcolaIva()
    {
        e.CalcScontoPag(e.PrezziIvati, e.NumDecDoc);
        e.CalcIvaPiede(e.PrezziIvati, e.NumDecDoc);
    }

    // Working values a run leaves behind.
    QString prezziIvati() const { return e.PrezziIvati; }
    int numDec() const { return e.NumDecDoc; }
    Currency totMerceRighe() const { return e.TotMerceRighe; }
    bool bolliTrovati() const { return e.BolliTrovati; }
    Currency maxNoBollo() const { return e.MaxNoBollo; }
    Currency bolloEsente() const { return e.BolloEsente; }
    Currency arrotondBollo() const { return e.ArrotondBollo; }
    Currency percBolloTratte() const { return e.PercBolloTratte; }
    Currency scaBolRB(int i) const { return e.ScaBolRB[size_t(i)]; }
    Currency bolloRB(int i) const { return e.BolloRB[size_t(i)]; }
    QString contoBollo() const { return e.ContoBollo; }
    QString codEseBollo() const { return e.CodEseBollo; }

  private:
    scCalcPiedeFat &e;
};
