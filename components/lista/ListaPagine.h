// ListaPagine: what joins a list window to its record form. It keeps the
// window's search fields (RegistraCampoRicerca) and turns them into the
// list's condition, checks them (SelezioneErrata), and hands the chosen row
// to the record form's engine (OggettoBase, a GestPagine): "Seleziona" shows
// that record in the form, Avanti and Indietro show the next and previous
// record of the list.
#pragma once

#include "components/lista/CampiRicerca.h"
#include "components/pagine/GestPagine.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class ChiamanteLista;
class GestLista;
class QLineEdit;
class QToolBar;

class ListaPagine : public QObject
{
    Q_OBJECT
  public:
    explicit ListaPagine(QObject *parent = nullptr);
    ~ListaPagine() override;

    void ImpostaForm(ChiamanteLista *owner);
    void ImpostaToolbar(QToolBar *barra);
    void GestoreLista(GestLista *lista);
    GestLista *GestoreLista() const { return m_lista; }
    // A search field: its column (or "|sep|ColA|ColB" key), its operator,
    // its kind ("Conto", 8 a date) and an extra value ("A" on upper bounds).
    void RegistraCampoRicerca(QLineEdit *controllo, const QString &specifica, const QString &operatore,
                              const QVariant &tipo = {}, const QVariant &extra = {});
    int NumeroCampiRicerca() const { return int(m_campi.size()); }
    void ColoreErrore(long colore) { m_coloreErrore = colore; }
    void ColoreNormale(long colore) { m_coloreNormale = colore; }
    long ColoreErrore() const { return m_coloreErrore; }
    long ColoreNormale() const { return m_coloreNormale; }
    // Toolbar kind and image lists: the toolbar keeps the style's icons.
    void ImpostaImmagini(const QString &tipoToolbar, QObject *immagini1 = nullptr,
                         QObject *immagini2 = nullptr);

    // The record form's engine the chosen rows are handed to.
    void OggettoBase(GestPagine *pagine);
    GestPagine *OggettoBase() const { return m_base; }
    // Key of the current row, its key columns' values joined by "|" ("" none).
    QString ChiaveLista() const;

    // True when a search field holds what cannot be searched: a field painted
    // with the error colour, or a date that is not one.
    bool SelezioneErrata() const;
    // The condition of the filled search fields (Jet SQL, "" when none).
    QString CondizioneCampi() const;
    // That condition joined to the record form's search condition, when the
    // form opened the list from its search.
    QString CondizioneLista() const;
    // Shows the list window on the record form's search condition ("" none),
    // positioned on the record the form shows.
    void MostraLista(const QString &condizioneForm);

    // Commands of the window that concern the record form: "Seleziona".
    bool InoltraComando(const QString &chiave);
    // The chosen row becomes the record form's record. A row whose record
    // no longer exists (another desk deleted it) is said and taken away from
    // the list, the row in its place becoming current.
    bool Seleziona();
    void Avanti();
    void Indietro();
    // The area of the window the grid fills (pixels).
    QRect AreaLista() const;

  private:
    enum class Esito { Letto, NonLetto, Assente };
    Esito seleziona();
    // After a step to a record that was gone: the list's current row goes
    // back to the record the form shows.
    void tornaAlRecord();
    // The key of the record the form shows (empty when none).
    QVariantList chiaveMostrata() const;
    struct Registrato {
        QPointer<QLineEdit> controllo;
        CampoRicerca campo;
    };
    QStringList colonneChiave() const;

    ChiamanteLista *m_owner = nullptr;
    QPointer<GestLista> m_lista;
    QPointer<GestPagine> m_base;
    QPointer<QToolBar> m_barra;
    std::vector<Registrato> m_campi;
    long m_coloreErrore = 0xFFL;
    long m_coloreNormale = 0x80000005L;
    QString m_condizioneForm;
};
