// Tokens of a Jet SQL text: the translator and the select-list reader work on
// these, so that nothing inside a string literal or a [bracketed] name is ever
// taken for SQL.
#pragma once

#include <QString>
#include <vector>

namespace JetSql
{

enum class TipoToken {
    Spazio,
    Parola, // identifier or keyword, as written
    Numero,
    Stringa,  // 'text' or "text": `valore` holds the text without quotes
    Data,     // #12/31/2024#: `valore` holds what stands between the hashes
    Quotato,  // [name]: `valore` holds the name
    Allegato, // [;Database=path;pwd=..;]: `valore` holds the path
    ParAperta,
    ParChiusa,
    Virgola,
    Punto,     // also the owner placeholder, which stands for one
    Operatore, // = <> < > <= >= + - * / & ; and the like
};

struct Token {
    TipoToken tipo;
    QString testo;  // as written
    QString valore; // see TipoToken
    bool parola(const char *kw) const
    {
        return tipo == TipoToken::Parola && testo.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }
    bool op(const char *o) const { return tipo == TipoToken::Operatore && testo == QLatin1String(o); }
};

std::vector<Token> Tokenizza(const QString &sql);

} // namespace JetSql
