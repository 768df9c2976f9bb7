// A relay between the program and the tests' PostgreSQL server that cuts a
// connection at its COMMIT, before or after the server has it
// (scripts/taglia-conferma): a commit whose answer is lost.
#pragma once

#include <QProcess>
#include <QString>
#include <memory>

class TagliaConferma
{
  public:
    // Starts the relay towards `portaServer`; Porta() is 0 when it failed.
    explicit TagliaConferma(int portaServer);
    ~TagliaConferma();
    int Porta() const { return m_porta; }
    // The connect text with its port turned to the relay's.
    QString Attraverso(const QString &connect) const;
    // The next COMMIT is cut: `dopo` once the server has it, otherwise before.
    void Arma(bool dopo);
    // The first message matching `espressione` cuts the connection before
    // the server has it.
    void ArmaSu(const QString &espressione);
    // True once the armed COMMIT has been cut.
    bool Usato() const;

  private:
    std::unique_ptr<QProcess> m_processo;
    QString m_arma;
    int m_porta = 0;
};
