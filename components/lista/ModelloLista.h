// The table model behind a list grid: rows from a RigheLista (read a page at a
// time as the view asks for them) or from rows already in memory (a small
// pick list), and the column layout the window gives (captions, widths in
// twips, alignment, hidden columns). The view only ever asks for the rows it
// paints, so a list of any length costs the same to show.
#pragma once

#include "components/db/Risultato.h"

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

class RigheLista;
class QWidget;

struct ColonnaLista {
    QString campo;      // the result column it shows
    QString didascalia; // header caption
    int larghezza = -1; // twips; -1 the view's own
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
    bool visibile = true;
    bool numerica = false; // the column holds numbers
};

class ModelloLista : public QAbstractTableModel
{
    Q_OBJECT
  public:
    explicit ModelloLista(QObject *parent = nullptr);

    // The rows to show; nullptr shows none. The column layout starts again
    // from the result's columns when they are not the same as before.
    void ImpostaRighe(RigheLista *righe);
    void ImpostaRisultato(const Risultato *righe);
    void Svuota();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A blank row that stands for no row while the rows are placed
    // provisionally (RigheLista::Vuota) is neither clicked nor reached by
    // the keys.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The view asks for more rows when it stands at the end of those it
    // knows of: the rows are counted then, unless they are counted
    // elsewhere (ImpostaConteggioAltrove).
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    // Asked by fetchMore first: true when the count is under way (or made)
    // elsewhere, whose answer then comes through Sincronizza; false has
    // fetchMore count here. Called as often as the view asks: cheap.
    void ImpostaConteggioAltrove(std::function<bool()> contaAltrove)
    {
        m_contaAltrove = std::move(contaAltrove);
    }

    std::vector<ColonnaLista> &Colonne() { return m_colonne; }
    const std::vector<ColonnaLista> &Colonne() const { return m_colonne; }
    // Column by index or by caption (as the window names it); -1 when none.
    int IndiceColonna(const QVariant &colonna) const;
    void AggiornaIntestazioni();

    // The raw value of a cell, and the text the grid shows for it.
    QVariant Valore(int riga, int col) const;
    QString Testo(int riga, int col) const;
    QString TestoValore(const QVariant &v) const { return TestoValore(v, m_formatoData); }
    // The same with the dates' format given: callable from any thread.
    static QString TestoValore(const QVariant &v, const QString &formatoData);
    void ImpostaFormatoData(const QString &formato) { m_formatoData = formato; }
    const QString &FormatoData() const { return m_formatoData; }

    // Pixels of a width given in twips on `griglia`: 15 twips to a pixel,
    // widened when the grid's digits are wider than the 6 pixels of the
    // 8-point font the widths were chosen for, so that a column sized for
    // an 11-digit VAT number still shows it whole.
    static int Pixel(double twips, const QWidget *griglia);

    // Brings the rows the view knows of in line with the rows known to be
    // there (after a count, or after pages found the list shorter).
    void Sincronizza();
    // Every row may show other values (the rows moved to other places).
    void Rinfresca();
    // The cells painted blank because their page was too far to read before
    // the landmarks came (RigheLista::DaRinviare) are painted again.
    void RinfrescaRinviate();

  signals:
    // A page could not be read; reported once after the paint that asked.
    void erroreDati(int numero, const QString &descrizione);

  private:
    void colonneDa(const std::vector<Risultato::Colonna> &colonne);
    void pianificaSincronia() const;
    int righeFonte() const;

    RigheLista *m_righe = nullptr;
    const Risultato *m_risultato = nullptr;
    std::vector<ColonnaLista> m_colonne;
    int m_numRighe = 0;
    QString m_formatoData = QStringLiteral("dd/mm/yyyy");
    mutable bool m_guasto = false; // a page read failed: no more reads until reopened
    mutable bool m_sincroniaPianificata = false;
    mutable bool m_rinviate = false; // cells painted blank for now (DaRinviare)
    std::function<bool()> m_contaAltrove;
};
