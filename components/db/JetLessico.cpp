// Tokenizer of Jet SQL texts.
#include "components/db/JetLessico.h"
#include "components/db/JetSql.h"

namespace JetSql
{

namespace
{
bool inizioParola(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'$' || c == u'@';
}
bool continuaParola(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'@';
}
} // namespace

std::vector<Token> Tokenizza(const QString &sql)
{
    std::vector<Token> out;
    const int n = int(sql.size());
    int i = 0;
    auto aggiungi = [&](TipoToken t, int da, int a, QString valore = QString()) {
        out.push_back(Token{t, sql.mid(da, a - da), std::move(valore)});
    };
    while (i < n) {
        const QChar c = sql[i];
        const int da = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            aggiungi(TipoToken::Spazio, da, i);
        } else if (c == SegnapostoOwner[0] && QStringView(sql).mid(i).startsWith(SegnapostoOwner)) {
            i += int(SegnapostoOwner.size());
            aggiungi(TipoToken::Punto, da, i);
        } else if (c == u'\'' || c == u'"') {
            // Jet doubles the quote inside a literal; both quote marks make text.
            QString valore;
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        valore += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                valore += sql[i++];
            }
            aggiungi(TipoToken::Stringa, da, i, valore);
        } else if (c == u'[') {
            int fine = int(sql.indexOf(u']', i + 1));
            if (fine < 0)
                fine = n - 1;
            const QString dentro = sql.mid(i + 1, fine - i - 1);
            i = fine + 1;
            if (dentro.startsWith(u';')) {
                QString percorso;
                const auto parti = dentro.split(u';', Qt::SkipEmptyParts);
                for (const QString &p : parti)
                    if (p.trimmed().startsWith(QLatin1String("database="), Qt::CaseInsensitive))
                        percorso = p.trimmed().mid(9);
                aggiungi(TipoToken::Allegato, da, i, percorso);
            } else {
                aggiungi(TipoToken::Quotato, da, i, dentro);
            }
        } else if (c == u'#') {
            int fine = int(sql.indexOf(u'#', i + 1));
            if (fine < 0) {
                ++i;
                aggiungi(TipoToken::Operatore, da, i);
            } else {
                i = fine + 1;
                aggiungi(TipoToken::Data, da, i, sql.mid(da + 1, fine - da - 1).trimmed());
            }
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit() &&
                                   (out.empty() || out.back().tipo != TipoToken::Parola))) {
            while (i < n && sql[i].isDigit())
                ++i;
            if (i < n && inizioParola(sql[i])) {
                // A name that begins with digits (0_ClientHotelArdeno).
                while (i < n && continuaParola(sql[i]))
                    ++i;
                aggiungi(TipoToken::Parola, da, i);
                continue;
            }
            if (i < n && sql[i] == u'.' && i + 1 < n && sql[i + 1].isDigit()) {
                ++i;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            if (i + 1 < n && (sql[i] == u'e' || sql[i] == u'E') &&
                (sql[i + 1].isDigit() ||
                 ((sql[i + 1] == u'+' || sql[i + 1] == u'-') && i + 2 < n && sql[i + 2].isDigit()))) {
                i += 2;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            aggiungi(TipoToken::Numero, da, i);
        } else if (inizioParola(c)) {
            // The owner placeholder begins with a letter: a name ends where it starts.
            while (i < n && continuaParola(sql[i]) &&
                   !(sql[i] == SegnapostoOwner[0] && QStringView(sql).mid(i).startsWith(SegnapostoOwner)))
                ++i;
            aggiungi(TipoToken::Parola, da, i);
        } else if (c == u'(') {
            aggiungi(TipoToken::ParAperta, da, ++i);
        } else if (c == u')') {
            aggiungi(TipoToken::ParChiusa, da, ++i);
        } else if (c == u',') {
            aggiungi(TipoToken::Virgola, da, ++i);
        } else if (c == u'.') {
            aggiungi(TipoToken::Punto, da, ++i);
        } else {
            const QString due = sql.mid(i, 2);
            if (due == QLatin1String("<>") || due == QLatin1String("<=") || due == QLatin1String(">=") ||
                due == QLatin1String("!=") || due == QLatin1String("||"))
                i += 2;
            else
                ++i;
            aggiungi(TipoToken::Operatore, da, i);
        }
    }
    return out;
}

} // namespace JetSql
