// Find and replace in a text field: the dialog the Ctrl-keys open, and the
// searches themselves, usable without it.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace Trova
{

// Position (0-based) of `cerca` in `testo` from `da` on, wrapping round to the
// beginning; -1 when absent.
int Posizione(const QString &testo, const QString &cerca, int da, bool maiuscole);

// Selects the next occurrence after the field's cursor or selection; false
// (and a message) when there is none.
bool TrovaSuccessivo(QWidget *campo, const QString &cerca, bool maiuscole, bool avvisa = true);
// Replaces the selection when it is `cerca`, then finds the next one.
bool Sostituisci(QWidget *campo, const QString &cerca, const QString &con, bool maiuscole);
// Replaces every occurrence; answers how many.
int SostituisciTutto(QWidget *campo, const QString &cerca, const QString &con, bool maiuscole);

// The text and case switch of the last search (Ctrl+G repeats it).
QString UltimaRicerca();
bool UltimeMaiuscole();

// Opens the dialog on the field (with `sostituire` the replace part too).
// Tests queue answers of kind "trova": a map with "cerca", "sostituisci",
// "azione" ("trova", "sostituisci", "tutto") and "maiuscole".
void Apri(QWidget *campo, bool sostituire);

} // namespace Trova

class frmTrova : public QDialog
{
    Q_OBJECT
  public:
    frmTrova(QWidget *campo, bool sostituire, QWidget *parent = nullptr);
    ~frmTrova() override;

    QLineEdit *txtCerca() const { return m_cerca; }
    QLineEdit *txtSostituisci() const { return m_con; }
    QCheckBox *cheMaiuscole() const { return m_maiuscole; }
    QPushButton *comTrova() const { return m_trova; }
    QPushButton *comSostituisci() const { return m_sostituisci; }
    QPushButton *comTutto() const { return m_tutto; }

  private:
    QWidget *m_campo;
    QLineEdit *m_cerca, *m_con;
    QCheckBox *m_maiuscole;
    QPushButton *m_trova, *m_sostituisci, *m_tutto, *m_chiudi;
};
