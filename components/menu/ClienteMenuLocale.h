// Standalone back-end of the menu client, for running without a menu program:
// parameters come from a flat JSON object file (name -> value, names compared
// without regard to case), writes stay in memory (optionally saved back), and
// the requests that only a menu program could carry out are logged and kept.
#pragma once

#include "components/menu/ClienteMenu.h"

#include <QHash>
#include <QList>
#include <QStringList>

class ClienteMenuLocale : public ClienteMenu
{
    Q_OBJECT
  public:
    // One operation that a menu program would have carried out.
    struct Operazione {
        QString
            nome; // "ImpostaValore", "Richiesta", "PassaAProgramma", "Attiva", "ParametroHost", "ScriviPar"
        QVariantList argomenti;
    };

    // `fileParametri`: this terminal's parameters; `fileComuni`: the parameters
    // common to all terminals ("" = "<name>-comuni.json" beside the first).
    explicit ClienteMenuLocale(const QString &fileParametri = {}, const QString &fileComuni = {},
                               QObject *parent = nullptr);

    // Reads the files (the common one first, this terminal's over it). A missing
    // file holds no parameters; a file that is not a JSON object throws VbErrore.
    void Carica();
    // With `salva` on, every ScriviPar is written back to this terminal's file.
    void ImpostaSalvataggio(bool salva) { m_salva = salva; }
    void SalvaFile();

    QVariant LeggiPar(const QString &nome, const QVariant &predef = QString()) override;
    using ClienteMenu::LeggiPar;
    void ScriviPar(const QString &nome, const QVariant &valore) override;
    void ImpostaValore(const QString &nome, int tipo, bool flag, const QVariant &valore) override;
    void Richiesta(const QString &ambito, const QString &richiesta) override;
    void PassaAProgramma(const QString &programma, const QString &form, const QString &chiave) override;
    void Attiva(const QString &ambito, const QVariant &procId) override;
    void ParametroHost(const QString &nome, const QString &ambito, const QVariant &valore) override;
    void NomeTerminale(QString &valore) override;
    using ClienteMenu::NomeTerminale;

    // Parameters held, and whether one is held (without regard to case).
    bool Esiste(const QString &nome) const;
    QStringList Nomi() const;
    // Values stored for the next program (ImpostaValore), by name.
    QVariant ValorePerLancio(const QString &nome) const;
    // Everything a menu program would have done, in order.
    const QList<Operazione> &Registro() const { return m_registro; }
    // Messages the host would have shown ("MsgBox").
    const QStringList &Messaggi() const { return m_messaggi; }

    const QString &FileParametri() const { return m_file; }
    const QString &FileComuni() const { return m_fileComuni; }

  private:
    struct Voce {
        QString nome; // as first written
        QVariant valore;
    };
    void Registra(const QString &nome, const QVariantList &argomenti);
    void Imposta(QHash<QString, Voce> &dove, const QString &nome, const QVariant &valore);
    void EseguiIniComuni(const QString &selezione);
    void RileggiIniComuni();

    QString m_file, m_fileComuni;
    QHash<QString, Voce> m_par; // case-folded name -> value
    QHash<QString, Voce> m_perLancio;
    QList<Operazione> m_registro;
    QStringList m_messaggi;
    bool m_salva = false;
};
