// Test bench of the customer form: a demo company database copied for each
// test, the standalone menu host with the company's parameters, scripted
// message boxes, and the form opened through the dispatcher.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

#include "components/menu/ClienteMenuLocale.h"
class frmClienti;

class BancoClienti : public ::testing::Test
{
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The standalone host with the company's parameters, the working date.
    void PreparaHost();

    // Opens the customer form through the dispatcher; nullptr when it failed.
    frmClienti *Apri(const QString &osParam = {}, const QString &osKeyLancia = {});
    // Reads the account by its key, as the list window does.
    bool Leggi(const QString &gruppo, const QString &mastro, const QString &conto);
    // Opens the form on the first customer matching `condizione` (on
    // PianoConti, alias P), unless the fixture has opened it already.
    void ApriSulPrimo(const QString &condizione);
    // Closes the form (answering the unload questions with `risposta` when asked).
    void Chiudi();

    // One value of the company database (first row, first column).
    QVariant Valore(const QString &sql) const;
    int Conta(const QString &sql) const;
    void Esegui(const QString &sql) const;
    // Keys "G|M|C" of the customers matching a condition on PianoConti (alias P).
    QStringList Clienti(const QString &condizione, int quanti = 1) const;

    // Host parameter of the standalone menu client.
    void ParametroHost(const QString &nome, const QVariant &valore);
    void Personale(const QString &sezione, const QString &chiave, const QVariant &valore);

    // Queues message-box answers and reads what was shown.
    static void Rispondi(int pulsante);
    static QStringList Messaggi();
    static void DimenticaMessaggi();

    // Lets queued events (one-shot timers, deferred focus) run.
    static void Attendi(int volte = 3);
    // Also the lists' counts and searches on threads of their own: until they
    // have answered (or 30 s have gone).
    static void AttendiThread();

    static QString s_modello; // the demo database every test copies
    static QString s_menu;    // its common menu database (read only)
    QString m_percorso;       // this test's copy
    std::unique_ptr<ClienteMenuLocale> m_menu;
    frmClienti *m_form = nullptr;
};
