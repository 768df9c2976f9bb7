// The context handed at start-up to the page, line-grid and lookup
// components: what they need of the program to work on its behalf.
#pragma once

#include <QString>

class QWidget;
class ClienteMenu;
class DbMotore;

class ContestoPrg
{
  public:
    ContestoPrg() = default;
    ContestoPrg(QWidget *formPrincipale, ClienteMenu *menuClient, DbMotore *db, const QString &connessione,
                const QString &pathIni)
        : m_formPrincipale(formPrincipale), m_menuClient(menuClient), m_db(db), m_connessione(connessione),
          m_pathIni(pathIni)
    {
    }

    // The program's (hidden) main window, parent of the components' windows.
    QWidget *FormPrincipale() const { return m_formPrincipale; }
    void ImpostaFormPrincipale(QWidget *form) { m_formPrincipale = form; }
    // The menu host's client; not owned.
    ClienteMenu *MenuClient() const { return m_menuClient; }
    void ImpostaMenuClient(ClienteMenu *client) { m_menuClient = client; }
    // The data-access object and the name of the company connection in it; not owned.
    DbMotore *Db() const { return m_db; }
    const QString &Connessione() const { return m_connessione; }
    void ImpostaDb(DbMotore *db, const QString &connessione)
    {
        m_db = db;
        m_connessione = connessione;
    }
    // The program INI of this terminal.
    const QString &PathIni() const { return m_pathIni; }
    void ImpostaPathIni(const QString &path) { m_pathIni = path; }

  private:
    QWidget *m_formPrincipale = nullptr;
    ClienteMenu *m_menuClient = nullptr;
    DbMotore *m_db = nullptr;
    QString m_connessione;
    QString m_pathIni;
};
