// Deterministic random numbers for the demo data: the same seed gives the same
// sequence on every machine and library (no std:: distributions).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <vector>

class Casuale
{
  public:
    explicit Casuale(std::uint64_t seme) : m_stato(seme ^ 0x9E3779B97F4A7C15ULL) {}

    std::uint64_t prossimo()
    {
        // splitmix64
        std::uint64_t z = (m_stato += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // In [0, n).
    int intero(int n) { return n <= 0 ? 0 : int(prossimo() % std::uint64_t(n)); }
    // In [da, a].
    int tra(int da, int a) { return da + intero(a - da + 1); }
    // True with the given percentage.
    bool percento(int p) { return intero(100) < p; }
    template <typename T> const T &scegli(const std::vector<T> &v)
    {
        return v[std::size_t(intero(int(v.size())))];
    }
    QString scegli(const QStringList &v) { return v.at(intero(int(v.size()))); }
    QString scegli(std::initializer_list<const char *> v)
    {
        return QString::fromUtf8(*(v.begin() + intero(int(v.size()))));
    }
    QString cifre(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + intero(10));
        return s;
    }

  private:
    std::uint64_t m_stato;
};
