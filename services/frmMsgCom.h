// The program's message box window: a text and up to three buttons; answers
// the 1-based number of the button pressed. Escape presses the last button.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;
class QVBoxLayout;

class frmMsgCom : public QDialog
{
    Q_OBJECT
  public:
    // Everything one message asks for.
    struct Richiesta {
        QString testo;
        QStringList pulsanti; // 1 to 3 captions, with & mnemonics
        QString titolo;
        int largForm = 0; // widest share of the screen, percent (0: 60%)
        bool suona = false;
        int latiForm = 0;       // added to the widest width, twips
        int fontSize = 0;       // points, 0 = default
        int comDefault = 1;     // the button that has the focus first
        int widthCom = 0;       // button width, twips, 0 = fit
        bool sempreTxt = false; // text box even for a short text
    };

    // Texts longer than this (or with more lines) go into a scrolling text box.
    static constexpr int MaxCaratteriEtichetta = 600;
    static constexpr int MaxRigheEtichetta = 15;

    // The shared instance, created on first use.
    static frmMsgCom &Istanza();
    ~frmMsgCom() override;

    // Lays the message out and runs it modally; the button pressed (1-based).
    // With answers queued for tests, takes the next one instead of waiting.
    int Mostra(const Richiesta &r);

    // Lays the message out without running it (tests drive it themselves).
    void Prepara(const Richiesta &r);
    // The button pressed last (0 while none).
    int Premuto() const { return m_premuto; }

    QPushButton *Pulsante(int numero) const; // 1-based, nullptr when absent
    QLabel *Etichetta() const { return m_etichetta; }
    QPlainTextEdit *Testo() const { return m_testo; }
    // The system's words of the message, shown by the "Dettagli..." button.
    QPlainTextEdit *Dettaglio() const { return m_dettaglio; }
    QPushButton *MostraDettaglio() const { return m_mostraDettaglio; }
    bool UsaTesto() const;

  protected:
    void keyPressEvent(QKeyEvent *e) override;
    void reject() override;
    void closeEvent(QCloseEvent *e) override;

  private:
    explicit frmMsgCom(QWidget *parent = nullptr);
    void premi(int numero);
    // Width of the box for a message: what the text needs, within bounds.
    int larghezzaPer(const Richiesta &r, const QString &testo, bool usaTesto) const;
    int larghezzaMassima(const Richiesta &r) const;
    // What the label's margins and the box's take beside the text.
    int marginiEtichetta() const;
    // Whether a word of the text is wider than the widest box.
    bool parolaTroppoLunga(const Richiesta &r, const QString &testo) const;

    QLabel *m_etichetta;
    QPlainTextEdit *m_testo;
    QPlainTextEdit *m_dettaglio;
    QPushButton *m_mostraDettaglio;
    QHBoxLayout *m_rigaPulsanti;
    QList<QPushButton *> m_pulsanti;
    int m_premuto = 0;
};
