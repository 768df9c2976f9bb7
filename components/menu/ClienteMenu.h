// The menu host's client object: named parameters, launch requests, hand-over
// to other programs and the host's commands. One interface, two back-ends:
// ClienteMenuLocale (no menu program: parameters from a JSON file) and
// ClienteMenuSocket (a real menu program on a local socket).
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// What the host hands over when it launches the program.
struct DatiLancio {
    QString ChiLancia;    // the program (or form) that launched us
    QString KeySecLancia; // the key to open
    QString ParamLancia;  // launch parameters ("/RO"...)
};

class ClienteMenu : public QObject
{
    Q_OBJECT
  public:
    // The host's answer for a "Personal." parameter it does not hold.
    static inline const QString NonTrovato = QStringLiteral("§ç~$!^");
    // Run-time error raised when the host is gone or does not answer.
    static constexpr int ErroreHostAssente = 462;
    // Names of the launch data among the host's parameters.
    static inline const QString ParChiLancia = QStringLiteral("ChiLancia");
    static inline const QString ParKeySecLancia = QStringLiteral("KeySecLancia");
    static inline const QString ParParamLancia = QStringLiteral("ParamLancia");

    explicit ClienteMenu(QObject *parent = nullptr) : QObject(parent) {}
    ~ClienteMenu() override = default;

    // The named parameter; `predef` when the host does not hold it, except for
    // names beginning with "Personal.", which answer NonTrovato.
    virtual QVariant LeggiPar(const QString &nome, const QVariant &predef = QString()) = 0;
    void LeggiPar(const QString &nome, const QVariant &predef, QVariant &valore)
    {
        valore = LeggiPar(nome, predef);
    }

    // Stores a named value in the host, keeping its type. The names
    // "ScriviIniComuni" and "LeggiIniComuni" make the host save/delete
    // parameters in its INI files or read them again.
    virtual void ScriviPar(const QString &nome, const QVariant &valore) = 0;

    // Stores a named value for the next program the host launches
    // (tipo 12 = Variant, flag True in every call of the program).
    virtual void ImpostaValore(const QString &nome, int tipo, bool flag, const QVariant &valore) = 0;
    // Hands a launch request to the host ("Tutti", "TipoGruppoMastroContoFisso").
    virtual void Richiesta(const QString &ambito, const QString &richiesta) = 0;
    // Hands the current record to another program.
    virtual void PassaAProgramma(const QString &programma, const QString &form, const QString &chiave) = 0;
    // Brings the menu program to the front.
    virtual void Attiva(const QString &ambito, const QVariant &procId) = 0;
    // Host parameter operation: with the name "MsgBox" the host shows `valore`
    // as a message.
    virtual void ParametroHost(const QString &nome, const QString &ambito, const QVariant &valore) = 0;
    // The name of the terminal the program runs on.
    virtual void NomeTerminale(QString &valore) = 0;
    QString NomeTerminale()
    {
        QString v;
        NomeTerminale(v);
        return v;
    }

    // The launch data, read as the parameters ParChiLancia, ParKeySecLancia,
    // ParParamLancia (empty when the host holds none).
    DatiLancio LeggiDatiLancio();

    // Runs a host command: emits EseguiComando and answers the text the
    // handler gave through RispondiComando ("" when it gave none). The
    // back-ends call it for the commands they receive; the standalone program
    // and tests may call it to play the host.
    QString EseguiComandoHost(const QString &comando, const QVariant &param);
    // The answer to the command being run (call from an EseguiComando handler),
    // e.g. "No Chiudi" to a refused "fine".
    void RispondiComando(const QString &risposta) { m_risposta = risposta; }

    // True when `nome` is a personal parameter ("Personal." prefix, any case).
    static bool NomePersonale(const QString &nome);

  signals:
    // A command of the host: "fine", "esiste", "ritornoa", "attiva", "passaa",
    // "preppassaa", "keyprgprim", "keyprgsec", "paramprgclie", "comandoprgclie",
    // "FEInvio", "FEAttesa". Connect with a direct connection: the answer is
    // taken when the signal returns.
    void EseguiComando(const QString &comando, const QVariant &param);
    // The host closed the link (socket back-end only).
    void HostScomparso();

  private:
    QString m_risposta;
};

// The client the program should use: the socket back-end when the environment
// variable CLIENTI_MENU_SOCKET names a server (connected, or VbErrore), else
// the standalone back-end on `fileParametri`.
ClienteMenu *CreaClienteMenu(const QString &fileParametri, QObject *parent = nullptr);
