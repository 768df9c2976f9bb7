// INI files with the semantics of the Windows profile API: sections and keys
// without regard to case, the first match wins, writes keep the rest of the
// file (comments, blank lines, order, byte-order mark, encoding). Read as
// UTF-8, or Windows-1252 when the file (after any byte-order mark) is not
// valid UTF-8; written atomically in the encoding it was read in, UTF-8 for a
// new file, when a value written has no Windows-1252 byte, or when the
// Windows-1252 bytes written would read back as other text. Section and key
// names are compared trimmed and without regard to case.
#pragma once

#include <QString>
#include <QStringList>

class ProfiloIni
{
  public:
    explicit ProfiloIni(const QString &percorso) : m_percorso(percorso) {}

    const QString &Percorso() const { return m_percorso; }

    // The key's value with surrounding blanks and one pair of enclosing quotes
    // removed; `predefinito` when the file, the section or the key is missing.
    QString LeggiStringa(const QString &sezione, const QString &chiave,
                         const QString &predefinito = QString()) const;
    // GetPrivateProfileInt: the leading digits of the value; `predefinito`
    // when the key is missing, 0 when the value does not begin with a digit
    // or is negative.
    int LeggiIntero(const QString &sezione, const QString &chiave, int predefinito) const;
    bool EsisteChiave(const QString &sezione, const QString &chiave) const;
    bool EsisteSezione(const QString &sezione) const;

    // Keys of the (first) section and the sections of the file, in file order.
    QStringList Chiavi(const QString &sezione) const;
    QStringList Sezioni() const;

    // Writes key=value: replaces the value of the key where it stands, or adds
    // the key at the end of its section, or the section at the end of the
    // file. Line breaks in the value become blanks. False when the file
    // cannot be written or the section or key name is not a valid INI name.
    bool ScriviStringa(const QString &sezione, const QString &chiave, const QString &valore);
    // Removes the key from its section; true also when it was not there.
    bool EliminaChiave(const QString &sezione, const QString &chiave);
    // Removes the section with all its lines (every section of that name).
    bool EliminaSezione(const QString &sezione);

    // One-call forms.
    static QString Leggi(const QString &file, const QString &sezione, const QString &chiave,
                         const QString &predefinito = QString())
    {
        return ProfiloIni(file).LeggiStringa(sezione, chiave, predefinito);
    }
    static bool Scrivi(const QString &file, const QString &sezione, const QString &chiave,
                       const QString &valore)
    {
        return ProfiloIni(file).ScriviStringa(sezione, chiave, valore);
    }

    // Text of INI bytes, any UTF-8 byte-order mark dropped: UTF-8 when the
    // rest is valid UTF-8, else Windows-1252.
    static QString Decodifica(const QByteArray &dati);

  private:
    QString m_percorso;
};
