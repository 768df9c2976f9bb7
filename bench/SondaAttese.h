// The waits of a list window's gestures as the user has them: how long the
// window's event loop did not turn (the freeze: the longest gap between the
// beats of a 1 ms timer), and when the grid painted the result (what its
// cells showed, taken from the grid's own painting).
#pragma once

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QScrollBar>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>

namespace sonda_attese
{

// What the grid painted: per row, the texts of its first columns as its
// cells were last painted. It is the grid's delegate (the item view's own
// kind, drawing as it does) and notes the texts only while painting.
class Dipinto : public QStyledItemDelegate
{
  public:
    explicit Dipinto(QTableView *griglia, int colonne = 4)
        : QStyledItemDelegate(griglia), m_griglia(griglia), m_colonne(colonne)
    {
        griglia->setItemDelegate(this);
    }

    // Forgets what was painted until now.
    void Azzera()
    {
        m_righe.clear();
        m_celle = 0;
    }
    // Cells painted since Azzera.
    int Celle() const { return m_celle; }
    // The texts of row `riga` last painted (nullptr when not painted).
    const QStringList *Riga(int riga) const
    {
        const auto i = m_righe.find(riga);
        return i == m_righe.end() ? nullptr : &i->second;
    }
    // The first and last rows the grid shows now (-1, -1 when none).
    std::pair<int, int> Visibili() const
    {
        const int n = m_griglia->model() ? m_griglia->model()->rowCount() : 0;
        const int prima = m_griglia->rowAt(0);
        if (n == 0 || prima < 0)
            return {-1, -1};
        const int ultima = m_griglia->rowAt(m_griglia->viewport()->height() - 1);
        return {prima, ultima < 0 ? n - 1 : ultima};
    }
    // Whether row `riga` was painted with its first columns filled in.
    bool Piena(int riga) const
    {
        const QStringList *r = Riga(riga);
        if (!r)
            return false;
        for (const QString &t : *r)
            if (t.trimmed().isEmpty())
                return false;
        return true;
    }
    // Whether every row the grid shows now was painted filled in.
    bool SchermoPieno() const
    {
        const auto [prima, ultima] = Visibili();
        if (prima < 0)
            return false;
        for (int r = prima; r <= ultima; ++r)
            if (!Piena(r))
                return false;
        return true;
    }
    // Whether row `riga` is on the screen and was painted with these first
    // columns (the key: group, ledger, account).
    bool Mostra(int riga, const QStringList &inizio) const
    {
        const auto [prima, ultima] = Visibili();
        const QStringList *r = Riga(riga);
        if (riga < prima || riga > ultima || !r)
            return false;
        for (qsizetype i = 0; i < inizio.size(); ++i)
            if (r->value(i).trimmed() != inizio[i].trimmed())
                return false;
        return true;
    }

    void paint(QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) const override
    {
        m_pittura = true;
        QStyledItemDelegate::paint(p, o, i);
        m_pittura = false;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem *o, const QModelIndex &i) const override
    {
        QStyledItemDelegate::initStyleOption(o, i);
        if (!m_pittura || i.column() >= m_colonne)
            return;
        QStringList &r = m_righe[i.row()];
        while (r.size() < m_colonne)
            r << QString();
        r[i.column()] = o->text;
        ++m_celle;
    }

  private:
    QTableView *m_griglia;
    int m_colonne;
    mutable bool m_pittura = false;
    mutable std::unordered_map<int, QStringList> m_righe;
    mutable int m_celle = 0;
};

// The scroll bar's thumb dragged to `posizione` and let go, as the mouse does.
inline void Trascina(QScrollBar *barra, int posizione)
{
    barra->setSliderDown(true);
    barra->setSliderPosition(posizione);
    barra->triggerAction(QAbstractSlider::SliderMove);
    barra->setSliderDown(false);
}

struct Esito {
    bool avviato = false;  // the moment for the gesture came
    bool riuscito = false; // its result came before the limit
    qint64 freeze = 0;     // ns: the longest time the event loop did not turn
    qint64 tempo = 0;      // ns from the gesture to its result (to the limit when it never came)
};

// In the event loop, a beat every millisecond: until `pronto` holds (at most
// `attesaMs`) nothing is measured; then the gesture runs inside that beat
// and the clock starts, and at every beat after it `fatto` is asked, with the
// ns since the gesture, whether its result is there, at most `limiteMs`.
// The freeze is the longest time between two beats from the gesture on: the
// gesture's own synchronous part is the first of them.
inline Esito Misura(const std::function<bool()> &pronto, const std::function<void()> &gesto,
                    const std::function<bool(qint64)> &fatto, double limiteMs, double attesaMs = 60000)
{
    Esito e;
    QEventLoop ciclo;
    QTimer battito;
    battito.setTimerType(Qt::PreciseTimer);
    battito.setInterval(1);
    QElapsedTimer orologio;
    orologio.start();
    qint64 inizio = -1, ultimo = 0;
    QObject::connect(&battito, &QTimer::timeout, &ciclo, [&] {
        const qint64 ora = orologio.nsecsElapsed();
        if (inizio < 0) {
            if (pronto()) {
                e.avviato = true;
                inizio = ultimo = orologio.nsecsElapsed();
                gesto();
            } else if (ora > qint64(attesaMs * 1e6)) {
                ciclo.quit();
            }
            return;
        }
        e.freeze = std::max(e.freeze, ora - ultimo);
        ultimo = ora;
        e.tempo = ora - inizio;
        if (fatto(ora - inizio)) {
            e.riuscito = true;
            ciclo.quit();
        } else if (ora - inizio > qint64(limiteMs * 1e6)) {
            ciclo.quit();
        }
    });
    battito.start();
    ciclo.exec();
    battito.stop();
    return e;
}

} // namespace sonda_attese
