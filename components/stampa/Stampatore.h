// Stampatore: the print engine. The list component hands it the preview, the
// progress window, the current printer and the print options, then calls
// Stampa with its rows: the engine lays the rows out in pages and sends them
// where the options say (printer, preview, export file, fixed-length print,
// PDF), calling the progress window after each page and the preview's
// Continua, stopping when Interrompi is set. From its start to its end, on
// every way out (errors, stops and exceptions included), StaAtt is 1
// (StatoStampa.h): the engine alone sets and clears it.
//
// The engine must not be destroyed while Stampa runs (StaAtt is 1): owners
// release it with deleteLater once the print has returned.
#pragma once

#include "components/pagine/MessaggioComponente.h"
#include "components/stampa/FinestreStampa.h"
#include "components/stampa/Stampante.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

class ImpaginazioneLista;
class LettorePagine;
class MisuraColonne;
class OpzStampa;
class SorgenteRighe;
class QTemporaryDir;

struct EsitoStampa {
    bool eseguita = false;   // the output was produced (a stopped print is not)
    bool interrotta = false; // stopped by the user
    // The job reached the printer's queue but waits there (printer stopped,
    // job held): not printed; `errore` says so and what to do.
    bool inAttesa = false;
    // Why it failed, for the user ("" when it did not); with `eseguita` a
    // notice about an output that was produced (cells overflowing, e-mail).
    QString errore;
    // The system's own words behind `errore` (an SMTP server's answer), for
    // the detail of the message; "" when none.
    QString dettaglio;
    // Fixed-length print: amounts too wide for their column, marked as such.
    int celleFuoriMisura = 0;
    int pagine = 0; // pages produced (rows written, for a file)
    QString file;   // the file written (export, fixed-length, PDF)
    // What the print made, for the user: the file written and where, the
    // e-mail sent and to whom ("" when there is nothing to say).
    QString fatto;
};

class Stampatore : public QObject
{
    Q_OBJECT
  public:
    explicit Stampatore(QObject *parent = nullptr);
    ~Stampatore() override;

    // ---- Wiring, set before each print ----
    void ofrmVStampa(VistaStampa *anteprima) { m_vista = anteprima; }
    VistaStampa *ofrmVStampa() const { return m_vista; }
    void ofrmStampaInCorso(AvanzamentoStampa *avanzamento) { m_avanzamento = avanzamento; }
    AvanzamentoStampa *ofrmStampaInCorso() const { return m_avanzamento; }
    void ogPrtStam(const Stampante &stampante) { m_stampante = stampante; }
    Stampante ogPrtStam() const { return m_stampante; }
    void ogOpzSta(OpzStampa *opzioni) { m_opz = opzioni; }
    OpzStampa *ogOpzSta() const { return m_opz; }
    // How the engine asks the user (the list's own message box; a plain box
    // over `genitore` when none), e.g. before replacing an existing file.
    void ImpostaMessaggi(FunzioneMessaggio funzione, QWidget *genitore = nullptr)
    {
        m_messaggi = std::move(funzione);
        m_genitoreMessaggi = genitore;
    }
    // The sender of PDF prints by e-mail.
    void ImpostaInvioEmail(InvioEmail *invio) { m_invio = invio; }

    // 1 stop, 2 stop from the preview's exit button.
    void Interrompi(int valore) { m_interrompi = valore; }
    int Interrompi() const { return m_interrompi; }
    // The options of the running print.
    OpzStampa *OpzioniStampa() const { return m_opz; }

    // ---- Preview state ----
    // The page files of a preview go in a folder of this engine, readable by
    // its user only and removed with the engine: PrefissoPagine is that
    // folder with its separator, PercorsoPagine the start of the file names.
    QString PrefissoPagine() const;
    QVariant PercorsoPagine() const { return QStringLiteral("pagina"); }
    QWidget *FormCollegata() const { return m_formCollegata; }
    void FormCollegata(QWidget *form) { m_formCollegata = form; }
    int PaginaCorrente() const { return m_paginaCorrente; }
    void PaginaCorrente(int v) { m_paginaCorrente = v; }
    int UltimaPagina() const { return m_ultimaPagina; }
    void UltimaPagina(int v) { m_ultimaPagina = v; }
    int UltimaPaginaSalvata() const { return m_ultimaPaginaSalvata; }
    void UltimaPaginaSalvata(int v) { m_ultimaPaginaSalvata = v; }
    bool MemorizzaPagine() const { return m_memorizzaPagine; }
    void MemorizzaPagine(bool v) { m_memorizzaPagine = v; }
    bool ChiusuraRichiesta() const { return m_chiusuraRichiesta; }
    void ChiusuraRichiesta(bool v) { m_chiusuraRichiesta = v; }

    // ---- The print ----
    // Prints the rows: `tipo` "V" visible columns, "T" all ("" the list's
    // visible ones); `orientamento` 2 landscape, 1 portrait, -1 the paper's
    // own (portrait). StaAtt is 1 while it runs.
    EsitoStampa Stampa(SorgenteRighe &righe, const QString &tipo, int orientamento, const QFont &font);
    bool InStampa() const { return m_inStampa; }

    // How a finished PDF is opened when the print options ask for it (the
    // desktop's viewer unless replaced).
    static void ImpostaApriFile(std::function<bool(const QUrl &)> apri);

  private:
    struct Lavoro;
    EsitoStampa esegui(Lavoro &l);
    EsitoStampa esportaFile(Lavoro &l);
    EsitoStampa stampaFissa(Lavoro &l);
    EsitoStampa stampaPagine(Lavoro &l);
    EsitoStampa anteprima(Lavoro &l);
    // Measures the columns of the print, from the first rows (read ahead
    // into `lettore`) and the limits the source tells, if any; false when
    // the user stopped it.
    bool misuraColonne(Lavoro &l, MisuraColonne &misura, LettorePagine &lettore);
    // The pages of the whole print for "Pag. n di m" (0 when not asked or
    // the rows' count is not known, -1 when the user stopped it): from the
    // rows' count when every row takes one line, else by paging the rows
    // once (the reading then starts again from the first row).
    int contaPagine(Lavoro &l, const ImpaginazioneLista &impaginazione, LettorePagine &lettore);
    // An export file that exists already is replaced only when the user says
    // so; false when the answer is no.
    bool sostituireFile(const QString &percorso);
    bool dopoPagina(int pagina);
    bool fermata() const { return m_interrompi != 0; }
    void inviaEmail(Lavoro &l, EsitoStampa &esito);
    static bool apriPdf(const QString &file);

    VistaStampa *m_vista = nullptr;
    AvanzamentoStampa *m_avanzamento = nullptr;
    InvioEmail *m_invio = nullptr;
    FunzioneMessaggio m_messaggi;
    QPointer<QWidget> m_genitoreMessaggi;
    Stampante m_stampante;
    OpzStampa *m_opz = nullptr;
    int m_interrompi = 0;
    QPointer<QWidget> m_formCollegata;
    int m_paginaCorrente = 1, m_ultimaPagina = 1, m_ultimaPaginaSalvata = 0;
    bool m_memorizzaPagine = true;
    bool m_chiusuraRichiesta = false;
    bool m_inStampa = false;
    mutable std::unique_ptr<QTemporaryDir> m_cartellaPagine;
};
