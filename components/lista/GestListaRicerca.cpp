// List engine: the text search of the search panel ("Cerca"). A search that
// finds nothing reads every row, so the command runs it on a thread and a
// connection of its own (ConteggioParallelo) while the window answers, with
// the busy cursor on it and Esc or "Cerca" again to stop it; the row found is
// shown among its neighbours, its number following as after a new order.
// A column no condition can search (a date, a number) is read there row by
// row in the list's order, its value compared as the list shows it. Where no
// thread can run it (a database in memory, a transaction), or the list is
// not read by key, the search runs here as CercaTesto does.
#include "components/lista/GestLista.h"

#include "components/db/DbMotore.h"
#include "components/forms/UtilFinestre.h"
#include "components/lista/ChiamanteLista.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

} // namespace

void GestLista::ImpostaPannelloCerca(QLineEdit *testo, QComboBox *colonna,
                                     const QList<QRadioButton *> &direzione)
{
    m_txtCerca = testo;
    m_cobCerca = colonna;
    m_optDirez.clear();
    for (QRadioButton *r : direzione)
        m_optDirez << r;
}

QString GestLista::condizioneRicerca(const QString &cercato, int colonna) const
{
    const Risultato::Colonna *info = InfoCampo(colonna);
    if (!info || info->tipo != Risultato::Tipo::Testo)
        return {};
    const QString nome =
        info->qualifica.isEmpty() ? info->nome : info->qualifica + QLatin1Char('.') + info->nome;
    if (!SqlLista::NomeSemplice(nome))
        return {};
    return nome + QStringLiteral(" Like ") + util().ValoreSqlLike(cercato, true, true);
}

int GestLista::CercaTesto(const QString &testo, int colonna, int direzione)
{
    if (!m_righe.Aperta() || testo.trimmed().isEmpty() || colonna < 0 || colonna >= NumeroColonne())
        return -1;
    const QString cercato = testo.trimmed();
    const QString condizione = condizioneRicerca(cercato, colonna);
    const bool avanti = direzione == 0 || direzione == 1;
    const int da = (direzione == 1 || direzione == 2) ? RigaCorrente() : -1;
    auto verifica = [&](int r) { return TestoCella(r, colonna).contains(cercato, Qt::CaseInsensitive); };
    int trovata = -1;
    {
        UtilFinestre::CursoreOccupato attesa;
        m_righe.ImpostaRigheVicine(righeSchermo());
        trovata = m_righe.Trova(condizione, verifica, da, avanti);
    }
    if (trovata >= 0)
        mostraTrovata(trovata, colonna);
    return trovata;
}

void GestLista::mostraTrovata(int riga, int colonna)
{
    m_modello->Sincronizza();
    m_modello->Rinfresca();
    ImpostaRigaCorrente(riga);
    if (m_griglia) {
        const QModelIndex i = m_modello->index(riga, colonna);
        m_griglia->setCurrentIndex(i);
        m_griglia->scrollTo(i);
    }
    avviaConteggio();
}

bool GestLista::cerca()
{
    // "Cerca" again while the search runs stops it.
    if (m_cercata.inCorso) {
        fermaRicerca();
        return false;
    }
    if (!m_txtCerca || !m_cobCerca)
        return false;
    const QString testo = m_txtCerca->text();
    if (testo.trimmed().isEmpty()) {
        chiedi(QStringLiteral("Scrivere il testo da cercare."));
        return false;
    }
    int colonna = m_cobCerca->currentData().isValid() ? m_cobCerca->currentData().toInt()
                                                      : m_modello->IndiceColonna(m_cobCerca->currentText());
    if (colonna < 0) {
        chiedi(QStringLiteral("Scegliere la colonna in cui cercare."));
        return false;
    }
    int direzione = 1;
    for (int i = 0; i < m_optDirez.size(); ++i)
        if (m_optDirez[i] && m_optDirez[i]->isChecked())
            direzione = i;
    if (avviaRicerca(testo.trimmed(), colonna, direzione))
        return true;
    int trovata = -1;
    try {
        trovata = CercaTesto(testo, colonna, direzione);
    } catch (const VbErrore &e) {
        // A search that could not be made (the server gone) leaves the rows
        // shown where they were.
        if (!m_righe.Aperta()) {
            erroreLettura(e.numero(), e.descrizione());
            return false;
        }
        ricercaFallita(e.numero(), e.descrizione());
        return false;
    }
    if (trovata < 0) {
        nessunaRiga(testo.trimmed(), colonna);
        return false;
    }
    dopoTrovata(direzione);
    return true;
}

bool GestLista::avviaRicerca(const QString &cercato, int colonna, int direzione)
{
    if (!m_righe.Aperta() || colonna >= NumeroColonne())
        return false;
    const QString condizione = condizioneRicerca(cercato, colonna);
    // The row found is shown by its key: a list without one searches here.
    // A column no condition can search (a date, a number: the text the list
    // shows for it is sought) is read row by row there.
    const bool conSql = m_righe.TrovaConSql(condizione);
    if ((!conSql && !m_righe.PerChiave()) || m_righe.Chiave().isEmpty())
        return false;
    const bool avanti = direzione == 0 || direzione == 1;
    const int da = (direzione == 1 || direzione == 2) ? RigaCorrente() : -1;
    if (!m_ricerca) {
        m_ricerca = new ConteggioParallelo(this);
        connect(m_ricerca, &ConteggioParallelo::Lette, this, &GestLista::ricercaLetta);
        connect(m_ricerca, &ConteggioParallelo::Fallito, this,
                [this](int etichetta, int numero, const QString &descrizione) {
                    if (!m_cercata.inCorso || etichetta != m_cercata.etichetta)
                        return;
                    occupa(false);
                    ricercaFallita(numero, descrizione);
                });
    }
    // Only the row the search starts from is read here (its page is in
    // memory but after a jump); a failure there, or a statement the engine
    // cannot take, is said by the search made here.
    try {
        if (conSql) {
            const QString sql = m_righe.SqlTrova(condizione, da, avanti);
            if (sql.isEmpty() || !m_ricerca->AvviaLettura(m_righe.Database(), m_righe.Connessione(), sql,
                                                          m_cercata.etichetta + 1, DbMotore::LetturaFiltrata))
                return false;
        } else {
            // The value as the list shows it, as CercaTesto compares it.
            const QString sql = m_righe.SqlScorri(da, avanti);
            std::vector<Risultato::Colonna> colonne;
            for (int i = 0; i < m_righe.NumeroColonne(); ++i)
                colonne.push_back(m_righe.Colonna(i));
            auto cercata = [cercato, formato = m_modello->FormatoData()](const QVariant &valore) {
                return ModelloLista::TestoValore(valore, formato).contains(cercato, Qt::CaseInsensitive);
            };
            if (sql.isEmpty() ||
                !m_ricerca->AvviaScorrimento(m_righe.Database(), m_righe.Connessione(), sql, colonne, colonna,
                                             cercata, m_cercata.etichetta + 1))
                return false;
        }
    } catch (const VbErrore &) {
        return false;
    }
    m_cercata = Ricerca{m_cercata.etichetta + 1, cercato, colonna, direzione, false};
    occupa(true);
    return true;
}

void GestLista::ricercaLetta(int etichetta, const QList<QVariantList> &righe)
{
    if (!m_cercata.inCorso || etichetta != m_cercata.etichetta)
        return;
    occupa(false);
    const Ricerca r = m_cercata;
    int trovata = -1;
    if (!righe.isEmpty()) {
        try {
            m_righe.ImpostaRigheVicine(righeSchermo());
            // Gone since it was found (another desk deleted it): as not found.
            trovata = m_righe.MostraChiave(m_righe.ChiaveDi(righe.first()));
        } catch (const VbErrore &e) {
            if (!m_righe.Aperta())
                erroreLettura(e.numero(), e.descrizione());
            else
                ricercaFallita(e.numero(), e.descrizione());
            return;
        }
    }
    if (trovata < 0 || r.colonna >= NumeroColonne()) {
        nessunaRiga(r.cercato, r.colonna);
        return;
    }
    mostraTrovata(trovata, r.colonna);
    dopoTrovata(r.direzione);
}

void GestLista::fermaRicerca()
{
    if (!m_cercata.inCorso)
        return;
    m_ricerca->Ferma();
    occupa(false);
}

void GestLista::occupa(bool occupata)
{
    if (occupata == m_cercata.inCorso)
        return;
    m_cercata.inCorso = occupata;
    if (occupata) {
        QWidget *finestra = m_griglia ? m_griglia->window() : m_owner ? m_owner->Finestra() : nullptr;
        m_occupata = finestra;
        if (finestra) {
            if (finestra->testAttribute(Qt::WA_SetCursor))
                m_cursorePrima = finestra->cursor();
            finestra->setCursor(Qt::BusyCursor);
        }
        // Esc is heard before the window's own key handling.
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
        if (m_occupata) {
            if (m_cursorePrima)
                m_occupata->setCursor(*m_cursorePrima);
            else
                m_occupata->unsetCursor();
        }
        m_occupata = nullptr;
        m_cursorePrima.reset();
    }
    emit ricercaCambiata(occupata);
}

bool GestLista::tastoRicerca(QObject *oggetto, QEvent *evento)
{
    if (!m_cercata.inCorso || evento->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent *>(evento)->key() != Qt::Key_Escape)
        return false;
    auto *w = qobject_cast<QWidget *>(oggetto);
    if (!w || !m_occupata || w->window() != m_occupata)
        return false;
    fermaRicerca();
    return true;
}

void GestLista::nessunaRiga(const QString &cercato, int colonna)
{
    // A caption ending with a period ("Data Ap.") ends the sentence.
    const QString didascalia = colonna >= 0 && colonna < NumeroColonne()
                                   ? m_modello->Colonne()[size_t(colonna)].didascalia
                                   : QString();
    chiedi(QStringLiteral("Nessuna riga contiene \"") + cercato + QStringLiteral("\" nella colonna ") +
           didascalia + (didascalia.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")));
}

void GestLista::ricercaFallita(int numero, const QString &descrizione)
{
    m_modello->Sincronizza();
    aggiornaContatore();
    chiedi(QStringLiteral("Impossibile cercare nella lista: restano le righe mostrate prima.\r\nErrore(") +
           QString::number(numero) + QStringLiteral("): ") + descrizione);
}

void GestLista::dopoTrovata(int direzione)
{
    // After the first (last) match the next search goes on from it.
    if (direzione == 0 && m_optDirez.value(1))
        m_optDirez[1]->setChecked(true);
    else if (direzione == 3 && m_optDirez.value(2))
        m_optDirez[2]->setChecked(true);
}
