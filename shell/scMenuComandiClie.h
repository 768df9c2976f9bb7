// The link with the menu host: owns the host's client object and receives its
// commands, which it keeps as the last command and runs through the interpreter.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class ClienteMenu;

class scMenuComandiClie : public QObject
{
    Q_OBJECT
  public:
    // Takes ownership of the client.
    explicit scMenuComandiClie(ClienteMenu *client, QObject *parent = nullptr);
    ~scMenuComandiClie() override;

    ClienteMenu *ogMenuClient() const { return mgMenuClient; }

    QString UltCom;       // last command word
    QString UltParam;     // its parameter as text
    QVariant UltParamVar; // its parameter as it came

    void mgMenuClient_EseguiComando(const QString &comando, const QVariant &param);

  private:
    ClienteMenu *mgMenuClient;
};
