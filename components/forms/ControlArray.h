// Control arrays: the controls of one kind on a window, indexed by field
// number (txt(1130), Lab(40), Che(1200)...). Each control carries its array's
// name as objectName and its index as the property "vbIndice", so code that
// only has the widget (the active control, a field in error) can tell which
// one it is.
#pragma once

#include "components/util/VbErrore.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <map>
#include <utility>

// Name and index of a control that belongs to an array (index -1 otherwise).
inline const char *const ProprietaIndice = "vbIndice";
inline int IndiceControllo(const QObject *w)
{
    if (!w)
        return -1;
    const QVariant v = w->property(ProprietaIndice);
    return v.isValid() ? v.toInt() : -1;
}
inline QString NomeControllo(const QObject *w)
{
    return w ? w->objectName() : QString();
}

template <typename T> class ControlArray
{
  public:
    explicit ControlArray(QString nome) : m_nome(std::move(nome)) {}

    const QString &Nome() const { return m_nome; }

    // Adds a control under `indice`; an index already loaded is VB error 360.
    T *Aggiungi(int indice, T *controllo)
    {
        if (Esiste(indice))
            throw VbErrore(360, QStringLiteral("Oggetto già caricato: %1(%2)").arg(m_nome).arg(indice));
        controllo->setObjectName(m_nome);
        controllo->setProperty(ProprietaIndice, indice);
        m_voci[indice] = controllo;
        return controllo;
    }
    void Rimuovi(int indice) { m_voci.erase(indice); }

    bool Esiste(int indice) const
    {
        auto it = m_voci.find(indice);
        return it != m_voci.end() && !it->second.isNull();
    }
    // The control, or nullptr when the array has no such element.
    T *Trova(int indice) const
    {
        auto it = m_voci.find(indice);
        return it == m_voci.end() ? nullptr : it->second.data();
    }
    // The control; a missing element is error 340 (element does not exist).
    T *operator()(int indice) const
    {
        if (T *c = Trova(indice))
            return c;
        throw VbErrore(340, QStringLiteral("L'elemento %2 della matrice di controlli '%1' non esiste")
                                .arg(m_nome)
                                .arg(indice));
    }
    T *operator[](int indice) const { return (*this)(indice); }

    // Whether `w` is one of this array's controls, and its index.
    bool Contiene(const QObject *w) const
    {
        const int i = IndiceControllo(w);
        return i >= 0 && w->objectName() == m_nome && Trova(i) == w;
    }

    int Count() const
    {
        int n = 0;
        for (const auto &v : m_voci)
            n += v.second.isNull() ? 0 : 1;
        return n;
    }
    // Lowest and highest index (0 and -1 when empty, as VB's LBound/UBound pair never overlap).
    int LBound() const { return m_voci.empty() ? 0 : m_voci.begin()->first; }
    int UBound() const { return m_voci.empty() ? -1 : m_voci.rbegin()->first; }
    QList<int> Indici() const
    {
        QList<int> r;
        for (const auto &v : m_voci)
            if (!v.second.isNull())
                r.append(v.first);
        return r;
    }

    // Range-for in ascending index order, yielding (index, control).
    class iterator
    {
      public:
        using Base = typename std::map<int, QPointer<T>>::const_iterator;
        iterator(Base it, Base fine) : m_it(it), m_fine(fine) { salta(); }
        std::pair<int, T *> operator*() const { return {m_it->first, m_it->second.data()}; }
        iterator &operator++()
        {
            ++m_it;
            salta();
            return *this;
        }
        bool operator!=(const iterator &o) const { return m_it != o.m_it; }
        bool operator==(const iterator &o) const { return m_it == o.m_it; }

      private:
        void salta()
        {
            while (m_it != m_fine && m_it->second.isNull())
                ++m_it;
        }
        Base m_it, m_fine;
    };
    iterator begin() const { return iterator(m_voci.begin(), m_voci.end()); }
    iterator end() const { return iterator(m_voci.end(), m_voci.end()); }

  private:
    QString m_nome;
    std::map<int, QPointer<T>> m_voci;
};
