// Test helpers of the shell: a window that keeps the launch contract and can
// be told to fail its load or refuse to close, and a fixture that gives each
// test a fresh main window and scripted message boxes.
#pragma once

#include "services/FormLanciabile.h"

#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[' << l.join(QStringLiteral(" | ")).toStdString() << ']';
}

class frmProva : public QWidget, public FormLanciabile
{
    Q_OBJECT
  public:
    // How the next windows behave.
    static inline bool falliraCaricamento = false;
    static inline bool eccezioneNelCaricamento = false;
    static inline int istanzeVive = 0;

    explicit frmProva(QWidget *parent = nullptr);
    ~frmProva() override;

    QString osKeySec() const override { return m_keySec; }
    void osKeySec(const QString &psKeySec) override { m_keySec = psKeySec; }
    QVariant oiLoadOk() const override { return m_loadOk; }
    void Form_Load() override;
    void PassaA() override { ++passaA; }
    void ButtonComando(const QString &psKey) override;
    QWidget *finestra() override { return this; }

    bool rifiutaChiusura = false;
    int passaA = 0;
    int caricamenti = 0;
    QStringList comandi;
    // Launch variables as Form_Load found them.
    QString keySecAlCaricamento, keyLanciaAlCaricamento, paramAlCaricamento;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    QString m_keySec;
    int m_loadOk = -1;
};

// Runs the event loop until `condizione` holds (at most `ms`); whether it
// did. QTRY_* would return silently from a GoogleTest body on failure.
template <typename F> bool attendi(F condizione, int ms = 5000)
{
    return QTest::qWaitFor(condizione, ms);
}

// Each test: a new hidden main window with the close hook installed, message
// boxes answered from the queue, the test window registered as "frmProva".
class ShellTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Closes every window still open and lets deferred deletions run.
    static void chiudiTutto();
    // Texts the message box showed, oldest first.
    static QStringList messaggi();
    // Runs the close polling's tick now, as timChiudi would.
    static void tickChiusura();

    int codiceChiusura = -100; // exit code the main window signalled, -100 when none
};
