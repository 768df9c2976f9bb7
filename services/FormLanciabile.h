// The launch contract of a window that the form dispatcher opens by name, and
// the registry of the factories of those windows. A window (the customer form)
// registers its factory under its name; the shell opens it with the host's keys.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QWidget;

class FormLanciabile
{
  public:
    virtual ~FormLanciabile() = default;

    // Launch variables: set by the dispatcher before the load.
    QString osKeyLancia;    // key of the program that launched the window ("" when none)
    QString osKeySecLancia; // secondary key of the launching program
    QString osParamLancia;  // parameter of the launching program
    QString osParam;        // opening parameter ("/RO" under the key "RO": read-only)

    virtual QString osKeySec() const = 0;
    virtual void osKeySec(const QString &psKeySec) = 0;

    // Load state as an Integer Variant: -1 (True) means the load failed; the
    // customer form gives 1 after a complete load.
    virtual QVariant oiLoadOk() const = 0;

    // Runs the window's load (the factory only constructs it).
    virtual void Form_Load() = 0;

    // Hands the current record to another program through the menu host.
    virtual void PassaA() = 0;

    // Runs a toolbar or menu command by name ("Aggiorna" from the host).
    virtual void ButtonComando(const QString &psKey) = 0;

    // The window itself; it is shown by the dispatcher and closed to unload.
    virtual QWidget *finestra() = 0;
};

// Builds a window without loading it. The object it answers must be the window
// itself (or be owned by it): deleting the window releases it.
using FabbricaForm = std::function<FormLanciabile *()>;

// Factories of the windows that can be opened by name. Names compare without
// regard to case ("frmClienti" and "frmclienti" are one window).
class RegistroForm
{
  public:
    // descrizione is what a launcher shows to the user ("Clienti").
    static void Registra(const QString &nome, FabbricaForm fabbrica, const QString &descrizione = {})
    {
        mappa().insert(nome.trimmed().toLower(), Voce{nome.trimmed(), descrizione, std::move(fabbrica)});
    }
    static void Rimuovi(const QString &nome) { mappa().remove(nome.trimmed().toLower()); }
    static bool Esiste(const QString &nome) { return mappa().contains(nome.trimmed().toLower()); }
    static FabbricaForm Cerca(const QString &nome)
    {
        return mappa().value(nome.trimmed().toLower()).fabbrica;
    }
    static QString Descrizione(const QString &nome)
    {
        const Voce v = mappa().value(nome.trimmed().toLower());
        return v.descrizione.isEmpty() ? v.nome : v.descrizione;
    }
    // Registered names as written at registration, sorted.
    static QStringList Nomi()
    {
        QStringList nomi;
        for (const Voce &v : mappa())
            nomi << v.nome;
        nomi.sort(Qt::CaseInsensitive);
        return nomi;
    }

  private:
    struct Voce {
        QString nome;
        QString descrizione;
        FabbricaForm fabbrica;
    };
    static QHash<QString, Voce> &mappa()
    {
        static QHash<QString, Voce> m;
        return m;
    }
};
