// Line-grid engine: a line's save or delete whose commit lost its answer.
// Once the server answers, the rows are read again and the line sent is
// looked for; the grid shows it as it is stored, and the edits waiting in the
// grid stay where they were.
#include "components/linee/GestLinee.h"

#include "components/linee/ModelloLinee.h"

#include <QTableView>
#include <algorithm>

QList<int> GestLinee::ColonneModificate() const
{
    QList<int> colonne = m_modello->modificata() ? m_modello->modifiche().keys() : QList<int>();
    std::sort(colonne.begin(), colonne.end());
    return colonne;
}

QVariant GestLinee::ValoreRiga(int riga, const QVariant &colonna) const
{
    return m_modello->valore(riga, IndiceColonna(colonna));
}

int GestLinee::RileggiRiga(const QVariantList &inviata, const QList<int> &confronto,
                           const QVariantList &mostrata)
{
    // The line waiting in the grid, with its edits: reading the rows drops them.
    const bool inAttesa = m_modello->modificata();
    const int attesa = m_modello->rigaInModifica();
    const bool nuova = inAttesa && m_modello->rigaNuova(attesa);
    const QHash<int, QVariant> modifiche = m_modello->modifiche();
    QVariantList ora;
    for (int c = 0; inAttesa && c < m_modello->columnCount(); ++c)
        ora << m_modello->valore(attesa, c);
    const int colonna = ColonnaCorrente();
    Ricarica(true);

    auto uguali = [this](const QVariant &a, const QVariant &b) {
        return a == b || m_modello->testoValore(a, {}) == m_modello->testoValore(b, {});
    };
    int trovata = -1;
    for (int r = 0; r < NumeroRighe() && trovata < 0; ++r)
        if (stessaChiave(r, inviata))
            trovata = r;
    int esito = trovata < 0 ? -1 : 1;
    for (int c : confronto)
        if (esito == 1 && !uguali(m_modello->valore(trovata, c), inviata.value(c)))
            esito = 0;

    int dove = trovata;
    if (inAttesa) {
        // The line sent, still waiting: same key cells as when it was sent.
        bool stessa = !mostrata.isEmpty();
        for (int c = 0; stessa && c < m_modello->columnCount(); ++c)
            if (m_modello->colonne()[size_t(c)].chiave && ora.value(c) != mostrata.value(c))
                stessa = false;
        QHash<int, QVariant> rimetti;
        if (stessa && esito == 1) {
            // Stored as sent: only what was typed since waits on it.
            for (int c = 0; c < ora.size(); ++c)
                if (ora.value(c) != mostrata.value(c))
                    rimetti.insert(c, ora.value(c));
        } else if (nuova) {
            dove = m_modello->aggiungiNuova();
            rimetti = modifiche;
        } else {
            dove = -1;
            for (int r = 0; r < NumeroRighe() && dove < 0; ++r)
                if (stessaChiave(r, ora))
                    dove = r;
            rimetti = modifiche;
        }
        if (dove >= 0)
            for (auto it = rimetti.constBegin(); it != rimetti.constEnd(); ++it)
                m_modello->impostaModifica(dove, it.key(), it.value());
    }
    if (m_griglia && dove >= 0 && dove < NumeroRighe()) {
        m_riposiziona = true;
        m_griglia->setCurrentIndex(m_modello->index(dove, std::max(0, colonna)));
        m_riposiziona = false;
    }
    aggiornaContatore();
    aggiornaBarra();
    return esito;
}
