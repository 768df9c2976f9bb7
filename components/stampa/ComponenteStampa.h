// How a list or a line grid is printed. On its "Stampa" command the component
// (GestLista of a list window, GestLinee of a grid) opens the list-print
// options dialog (FormStampaLista) for itself; the dialog wires the engine
// the component holds (ogSta, a Stampatore) and calls AvviaStampa, which runs
// the engine on the component's rows (StaAtt is 1 while the engine runs,
// StatoStampa.h). The dialog, the progress window and the engine are given to each
// component by the printing layer through the provider installed at start-up;
// without one, "Stampa" does nothing and says nothing.
#pragma once

#include <QFont>
#include <QString>
#include <functional>

class ComponenteStampa;
class SorgenteRighe;
class Stampatore;
class QWidget;

// The list-print options dialog ("Stampa dati della lista").
class FormStampaLista
{
  public:
    virtual ~FormStampaLista() = default;
    // Shows the dialog for `lista`; its print button calls lista.AvviaStampa.
    virtual void ApriPerLista(ComponenteStampa &lista) = 0;
};

class ComponenteStampa
{
  public:
    virtual ~ComponenteStampa() = default;

    virtual void ofrmComlinStampa(FormStampaLista *dialogo) = 0;
    virtual FormStampaLista *ofrmComlinStampa() const = 0;
    virtual void ofrmStampaInCorso(QWidget *attesa) = 0;
    virtual void ogSta(Stampatore *motore) = 0;
    virtual Stampatore *ogSta() const = 0;
    // Prints the rows (`tipo` "V" visible columns, "T" all, "" none chosen;
    // `orientamento` 2 landscape, 1 portrait, -1 none) and tells the user why
    // when it fails.
    virtual void AvviaStampa(const QString &tipo, int orientamento, QFont &font) = 0;
    virtual bool InStampa() const = 0;
    // The window the rows are shown in (the dialog opens over it).
    virtual QWidget *FinestraStampa() const = 0;

    // The print's own INI section ("" none), named by the window that owns
    // the component: its saved options, and the options and files the
    // list-print dialog keeps for it, are this print's alone.
    void ImpostaSezioneStampa(const QString &sezione) { m_sezioneStampa = sezione; }
    QString SezioneStampa() const { return m_sezioneStampa; }

    // The print's title, asked as each print starts (what the rows are and
    // whose they are, as the window shows them at that moment); without it
    // (or when it answers "") the print is titled with the window's caption.
    void ImpostaTitoloStampa(std::function<QString()> titolo) { m_titoloStampa = std::move(titolo); }
    QString TitoloStampa() const { return m_titoloStampa ? m_titoloStampa() : QString(); }

  private:
    QString m_sezioneStampa;
    std::function<QString()> m_titoloStampa;
};

// The printing layer installs a provider at start-up; each component asks it
// once while its window sets up.
using FornitoreStampa = std::function<void(ComponenteStampa &componente)>;
void ImpostaFornitoreStampa(FornitoreStampa fornitore);
void FornisciStampa(ComponenteStampa &componente);

// The run the components share: the engine over `righe` with `inStampa` set
// for as long as it prints. Answers the message for the user ("" when there
// is none to give).
QString EseguiStampa(Stampatore *motore, SorgenteRighe &righe, bool &inStampa, const QString &tipo,
                     int orientamento, const QFont &font);
