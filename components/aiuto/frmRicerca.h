// The modal lookup window: a search box that narrows the rows as the user
// types, the rows in a table, Enter or a double click to choose, Escape to
// leave without a choice.
#pragma once

#include "components/aiuto/AiutoDecod.h"

#include <QDialog>

class ModelloRicerca;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

class frmRicerca : public QDialog
{
    Q_OBJECT
  public:
    frmRicerca(AiutoDecod &aiuto, const DefRicerca &def, const QList<ColonnaRicerca> &colonne,
               QWidget *parent = nullptr);
    ~frmRicerca() override;

    // Starting text, how it is searched, the order, a further condition, and
    // whether the "Nuovo" button is offered. Reads the rows at once.
    void Imposta(const QString &testo, AiutoDecod::Cerca modo, bool perDescrizione, const QString &condizione,
                 bool nuovo);

    // Reads the rows again for the text in the search box (typing does it after a short pause).
    void AggiornaOra();

    // The row chosen (-1 when none) and the column of the cell it was chosen from.
    int RigaScelta() const { return m_riga; }
    QString ColonnaScelta() const { return m_colonna; }
    const Risultato *Righe() const;

    QLineEdit *txtCerca() const { return m_cerca; }
    QTableView *Griglia() const { return m_griglia; }
    QPushButton *comSeleziona() const { return m_seleziona; }
    QPushButton *comNuovo() const { return m_nuovo; }
    int NumRighe() const;

  protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;

  private:
    void scegli();
    void spostaRiga(int tastoQt);
    void aggiornaStato();
    void adattaColonne();

    AiutoDecod &m_aiuto;
    DefRicerca m_def;
    QString m_condizione;
    AiutoDecod::Cerca m_modo = AiutoDecod::Cerca::Tutto;
    bool m_perDescrizione = false;
    int m_riga = -1;
    QString m_colonna;

    ModelloRicerca *m_modello = nullptr;
    QLineEdit *m_cerca = nullptr;
    QTableView *m_griglia = nullptr;
    QLabel *m_stato = nullptr;
    QRadioButton *m_optCodice = nullptr, *m_optDescrizione = nullptr;
    QPushButton *m_seleziona = nullptr, *m_nuovo = nullptr, *m_annulla = nullptr;
    QTimer *m_attesa = nullptr;
};
