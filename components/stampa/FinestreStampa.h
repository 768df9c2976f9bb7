// What the print engine needs of the windows around a print: the preview it
// draws the pages into, the progress window with its stop button, and the
// sender of a PDF by e-mail. The windows implement these; tests give doubles.
#pragma once

#include <QImage>
#include <QString>
#include <QVariant>
#include <functional>

class OpzStampa;
class Stampatore;

// The on-screen preview. The engine draws each page into Tela(), tells the
// preview with TelaDisegnata(), sets the four page arrows (1 first,
// 2 previous, 3 next, 4 last) and waits in Continua() until the user asks for
// the next page (the preview sets UltimaPagina and returns) or leaves it (the
// preview sets Interrompi or ChiusuraRichiesta on the engine and returns).
class VistaStampa
{
  public:
    virtual ~VistaStampa() = default;

    // Hands the engine over (the preview resets the engine's page state and
    // reads the first page of the range); nullptr releases it.
    virtual void ogStampa(Stampatore *motore) = 0;
    virtual Stampatore *ogStampa() const = 0;
    virtual void Mostra() = 0;
    virtual bool obAttivo() const = 0;
    virtual QImage &Tela() = 0;
    virtual void TelaDisegnata() = 0;
    virtual void Continua() = 0;
    virtual void AbilitaFreccia(int indice, bool abilitata) = 0;
    virtual void SistImgFrecce() = 0;
    // The message line of the preview ("Stampa Terminata" at the end).
    virtual void ScriviMessaggio(const QString &testo) = 0;
};

// The progress window shown while the engine prints to a printer or a file.
// Its stop button sets the engine's Interrompi to 1; the engine gives events
// a turn after each page, so that the click arrives.
class AvanzamentoStampa
{
  public:
    virtual ~AvanzamentoStampa() = default;

    virtual void ogStampa(Stampatore *motore) = 0;
    virtual void Mostra() = 0;
    virtual void Nascondi() = 0;
    // The page being printed, or for a file the rows written so far.
    virtual void PaginaInStampa(int pagina) = 0;
    virtual void RigheInStampa(qint64 righe) { (void)righe; }
    // The pages are done and the PDF `file` is being sent by e-mail.
    virtual void EmailInCorso(const QString &file) { (void)file; }
    // After Nascondi, a print that made something: `testo` says what and
    // where, shown without keeping the user from going on.
    virtual void Terminata(const QString &testo) { (void)testo; }
    // Asks the user for the e-mail login data; true when confirmed.
    virtual QVariant ChiediEmailLogPwd() = 0;
};

// Sends a PDF the engine produced, with the e-mail keys of the print options.
// `errore` is one sentence for the user; the server's or the system's own
// words go to `Dettaglio`. `Consegnato`: the message was handed to the
// desktop's mail program, which sends it only when the user does;
// `DatiMancanti`: the login data are not there (asked like a refused login);
// `Interrotto`: `Fermata` answered true while the send ran.
class InvioEmail
{
  public:
    enum class Esito { Inviato, LoginRifiutato, Errore, Consegnato, DatiMancanti, Interrotto };
    virtual ~InvioEmail() = default;
    virtual Esito Invia(OpzStampa &opz, const QString &filePdf, QString &errore) = 0;

    // Asked while a send runs (the engine's stop button); true stops it.
    std::function<bool()> Fermata;
    // Set by Invia: the system's words about a failure, and a notice about a
    // send that went (the e-mail log could not be written); "" when none.
    QString Dettaglio;
    QString Avviso;
};
