// CacheLru: a bounded map from text keys to values that forgets the entry used
// least recently when it is full. Keys are compared exactly (SQL texts).
#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <list>
#include <utility>

template <typename T> class CacheLru
{
  public:
    explicit CacheLru(int capienza) : m_capienza(capienza < 1 ? 1 : capienza) {}
    CacheLru(const CacheLru &) = delete;
    CacheLru &operator=(const CacheLru &) = delete;

    // The value held under `chiave`, made the most recent; nullptr when not held.
    T *trova(const QString &chiave)
    {
        auto it = m_indice.constFind(chiave);
        if (it == m_indice.constEnd())
            return nullptr;
        auto pos = *it;
        if (pos != m_voci.begin())
            m_voci.splice(m_voci.begin(), m_voci, pos);
        return &pos->second;
    }

    // Stores `valore` under `chiave` (replacing what was there) and answers it;
    // the least recent entry goes when the cache is full.
    T &inserisci(const QString &chiave, T valore)
    {
        auto it = m_indice.find(chiave);
        if (it != m_indice.end()) {
            scarta(std::move((*it)->second));
            m_voci.erase(*it);
            m_indice.erase(it);
        }
        m_voci.emplace_front(chiave, std::move(valore));
        m_indice.insert(chiave, m_voci.begin());
        while (int(m_voci.size()) > m_capienza) {
            m_indice.remove(m_voci.back().first);
            scarta(std::move(m_voci.back().second));
            m_voci.pop_back();
        }
        return m_voci.front().second;
    }

    void svuota()
    {
        for (auto &v : m_voci)
            scarta(std::move(v.second));
        m_voci.clear();
        m_indice.clear();
    }

    int numero() const { return int(m_voci.size()); }
    int capienza() const { return m_capienza; }

    // Called with every value the cache lets go (to free what it holds).
    std::function<void(T &&)> alloScarto;

  private:
    void scarta(T &&v)
    {
        if (alloScarto)
            alloScarto(std::move(v));
    }

    using Voce = std::pair<QString, T>;
    int m_capienza;
    std::list<Voce> m_voci; // most recent first
    QHash<QString, typename std::list<Voce>::iterator> m_indice;
};
