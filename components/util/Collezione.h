// Keyed collection in the manner of VB's Collection: items kept in insertion
// order, looked up by a text key compared without regard to case.
#pragma once

#include "components/util/VbErrore.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// A text key that hashes and compares without regard to case, as the key's
// case-folded copy would, without making that copy.
struct ChiaveSenzaMaiuscole {
    QString testo;
    friend bool operator==(const ChiaveSenzaMaiuscole &a, const ChiaveSenzaMaiuscole &b)
    {
        return a.testo == b.testo || a.testo.toCaseFolded() == b.testo.toCaseFolded();
    }
    friend size_t qHash(const ChiaveSenzaMaiuscole &k, size_t seme = 0)
    {
        size_t h = seme;
        const QChar *p = k.testo.constData();
        const qsizetype n = k.testo.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = p[i].unicode();
            if (p[i].isHighSurrogate() && i + 1 < n && p[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(p[i], p[i + 1]);
                ++i;
            }
            h = (h ^ QChar::toCaseFolded(c)) * 1099511628211ULL;
        }
        return h;
    }
};

template <typename T> class Collezione
{
  public:
    bool Esiste(const QString &key) const { return m_index.contains(norm(key)); }
    int Count() const { return int(m_items.size()); }

    // Adds under the key; a key already held is VB error 457.
    T &Add(const QString &key, T item = T())
    {
        const ChiaveSenzaMaiuscole k = norm(key);
        if (m_index.contains(k))
            throw VbErrore(457, QStringLiteral("Questa chiave è già associata a un elemento dell'insieme"));
        m_items.push_back({key, std::make_unique<T>(std::move(item))});
        m_index.insert(k, m_items.back().value.get());
        return *m_items.back().value;
    }
    // A key that is not held is VB error 5.
    T &Item(const QString &key)
    {
        auto it = m_index.find(norm(key));
        if (it == m_index.end())
            throw VbErrore(VbErrore::ElementoNonTrovato,
                           QStringLiteral("Chiamata di routine o argomento non validi"));
        return **it;
    }
    const T &Item(const QString &key) const { return const_cast<Collezione *>(this)->Item(key); }
    T *Trova(const QString &key)
    {
        auto it = m_index.find(norm(key));
        return it == m_index.end() ? nullptr : *it;
    }
    // 0-based position, insertion order.
    T &At(int i) { return *m_items.at(size_t(i)).value; }
    const T &At(int i) const { return *m_items.at(size_t(i)).value; }
    const QString &KeyAt(int i) const { return m_items.at(size_t(i)).key; }

    void Remove(const QString &key)
    {
        const ChiaveSenzaMaiuscole k = norm(key);
        if (!m_index.contains(k))
            throw VbErrore(VbErrore::ElementoNonTrovato,
                           QStringLiteral("Chiamata di routine o argomento non validi"));
        m_index.remove(k);
        for (auto it = m_items.begin(); it != m_items.end(); ++it)
            if (norm(it->key) == k) {
                m_items.erase(it);
                break;
            }
    }
    void Clear()
    {
        m_items.clear();
        m_index.clear();
    }

    // Range-for over the items in insertion order.
    struct Entry {
        QString key;
        std::unique_ptr<T> value;
    };
    class iterator
    {
      public:
        explicit iterator(typename std::vector<Entry>::iterator it) : m_it(it) {}
        T &operator*() const { return *m_it->value; }
        iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const iterator &o) const { return m_it != o.m_it; }

      private:
        typename std::vector<Entry>::iterator m_it;
    };
    iterator begin() { return iterator(m_items.begin()); }
    iterator end() { return iterator(m_items.end()); }

  private:
    static ChiaveSenzaMaiuscole norm(const QString &k) { return {k}; }
    std::vector<Entry> m_items;
    QHash<ChiaveSenzaMaiuscole, T *> m_index;
};
