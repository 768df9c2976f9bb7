// The program's general utility object: VB-style value conversions, SQL
// literals, rounding, number and date formatting with Italian conventions,
// text and path helpers, error texts and the command-line switches.
#pragma once

#include "components/util/Currency.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class QLineEdit;

class UtilGlob
{
  public:
    // VB value kinds (VarType numbers) used by the callers.
    static constexpr int TipoIntero = 2;    // Integer
    static constexpr int TipoLungo = 3;     // Long
    static constexpr int TipoSingolo = 4;   // Single
    static constexpr int TipoDoppio = 5;    // Double
    static constexpr int TipoImporto = 6;   // Currency
    static constexpr int TipoData = 7;      // Date
    static constexpr int TipoTesto = 8;     // String
    static constexpr int TipoBooleano = 11; // Boolean

    UtilGlob();

    // ---- Values (UtilValori.cpp) ----

    // True for Null, an invalid QVariant, an empty text and, with `modo` 1, a
    // text of blanks only. With `zeroVuoto` a numeric kind (2..6) also counts 0
    // (or a text reading 0) as empty.
    bool ValoreVuoto(const QVariant &valore, int tipo = TipoTesto, int modo = 1,
                     bool zeroVuoto = false) const;

    // Numeric value of a value as typed by a user: "1.234,56", "1234,56",
    // "1234.56", "-5", " 12 ". Null, empty and non-numbers give 0.
    // `virgolaDecimale`: a lone ',' is the decimal separator (else grouping).
    // `inizioNumerico`: a text that is not wholly a number gives the number its
    // beginning holds ("12 pezzi" -> 12, as VB's Val); otherwise 0.
    double ValoreNumerico(const QVariant &valore, bool virgolaDecimale = true,
                          bool inizioNumerico = true) const;
    // The same reading, answering a number QVariant: an int when the value is
    // whole and fits, else a double. A value that is not a number gives 0 with
    // `zeroSeNonNumero`, else Null (an invalid QVariant).
    QVariant TestoInNumero(const QVariant &valore, bool zeroSeNonNumero = true, bool intero = false) const;
    // Decimal reader of amounts and percentages (same reading as ValoreNumerico).
    double ValoreDecimale(const QVariant &valore, bool virgolaDecimale = true) const;
    // Strict reading: true and the number when the whole (trimmed) text is one
    // number, in either the Italian or the plain notation.
    static bool LeggiNumero(const QString &testo, double &numero, bool virgolaDecimale = true);
    // True for a non-empty text of the digits 0-9 only.
    static bool SoloCifre(QStringView testo);
    // True when the value is held as a number (integers, doubles, booleans, Currency), not as text.
    static bool ValoreENumero(const QVariant &valore);

    // Date value of a field: a QDate/QDateTime, or a text in the company format
    // ("dd/mm/yyyy", also "d/m/yy", "dd-mm-yyyy", "dd.mm.yyyy", "ddmmyy",
    // "ddmmyyyy", "yyyy-mm-dd"). Null (invalid QVariant) when empty or not a date.
    QVariant ValoreData(const QVariant &valore) const;
    static QDate LeggiData(const QString &testo);

    // ---- SQL literals (UtilSql.cpp) ----

    // The value written as a Jet-dialect literal of the kind: text in single
    // quotes with quotes doubled (kind 8; Null gives ''), whole numbers (2, 3),
    // decimals with '.' (4, 5, 6), dates as #mm/dd/yyyy# (7; with the time when
    // there is one), booleans as -1/0 (11). Null or blank for a non-text kind
    // gives Null. A value that is not of the kind throws VbErrore 13, so that
    // user text can never reach the statement unquoted.
    QString ValoreSql(const QVariant &valore, int tipo = TipoTesto) const;
    // User text as a quoted Jet LIKE pattern that matches the text literally:
    // "[" "*" "?" "#" escaped as "[[]" "[*]" "[?]" "[#]", quotes doubled, with
    // "*" added before and/or after when asked.
    QString ValoreSqlLike(const QString &testo, bool jollyInizio = false, bool jollyFine = true) const;
    // Only the escaping of the wildcards, without quotes.
    static QString ProteggiJolly(const QString &testo);

    // ---- Rounding (UtilArrotonda.cpp) ----

    // Rounds to a multiple of unita x 10^esponente (Arrotonda(x, "A", 1, -2) to
    // hundredths; Arrotonda(x, "S", 0.5) up to halves). Modes: "A" half away
    // from zero, "S" up (towards +infinity), "I" down (towards -infinity), "T"
    // truncation (towards zero); an empty or unknown mode is "A". A unit of 0
    // leaves the value unchanged. Computed in exact decimal arithmetic. The
    // exponent is held to +-MaxEsponenteArrotonda: an amount has four decimals
    // and a double fifteen significant digits, so finer or coarser steps
    // change nothing more (and would only cost time).
    static constexpr int MaxEsponenteArrotonda = 30;
    Currency Arrotonda(Currency valore, const QString &modo = QStringLiteral("A"), Currency unita = 1,
                       int esponente = 0) const;
    double Arrotonda(double valore, const QString &modo = QStringLiteral("A"), double unita = 1,
                     int esponente = 0) const;
    double Arrotonda(double valore, const QString &modo, Currency unita, int esponente = 0) const;
    // Currency stays Currency, any other number becomes a double; Null stays Null.
    QVariant Arrotonda(const QVariant &valore, const QString &modo = QStringLiteral("A"), double unita = 1,
                       int esponente = 0) const;

    // Quotient of two amounts at full precision; 0 when the divisor is 0.
    double DividiImporti(Currency dividendo, Currency divisore) const;
    double DividiImporti(double dividendo, double divisore) const;

    // ---- Comparisons (UtilValori.cpp) ----

    // The smaller / larger of values: numbers numerically (Currency exactly),
    // dates as dates, texts without regard to case; Null entries are skipped
    // (Null when all are Null).
    QVariant ValoreMinimo(const QVariantList &valori) const;
    QVariant ValoreMassimo(const QVariantList &valori) const;
    QVariant Minimo(const QVariantList &valori) const { return ValoreMinimo(valori); }
    QVariant Massimo(const QVariantList &valori) const { return ValoreMassimo(valori); }
    double ValoreMinimo(double a, double b) const { return b < a ? b : a; }
    double ValoreMassimo(double a, double b) const { return b > a ? b : a; }
    Currency ValoreMinimo(Currency a, Currency b) const { return b < a ? b : a; }
    Currency ValoreMassimo(Currency a, Currency b) const { return b > a ? b : a; }
    // Three-way comparison used by the above: -1, 0, 1.
    static int ConfrontaValori(const QVariant &a, const QVariant &b);

    // Checks a typed value against a kind: 2 and 3 whole number, 4 and 5
    // number, 6 and 7 amount (four decimals at most), 8 any text. Empty values
    // are accepted (required fields are checked elsewhere). On refusal
    // `messaggio` receives the reason in Italian.
    bool ControllaValore(const QVariant &valore, int tipo, QString *messaggio = nullptr) const;
    // A "from .. to" range: 1 when both ends are given and from > to (texts
    // without regard to case, kind 7 as dates, 2..6 as numbers), else 0.
    int ControllaIntervallo(const QVariant &da, const QVariant &a, int tipo = TipoTesto) const;
    // Display width in characters of a database field of the DAO type with the
    // declared size (text 10, memo 12, integer 3, long 4, currency 5, single 6,
    // double 7, date 8, boolean 1, byte 2).
    int DimensioneCampo(int tipoDao, int dimensione) const;

    // ---- Dates ----

    QDate FineMese(const QDate &data) const;

    // ---- Formatting (UtilFormato.cpp) ----

    // VB's Format with the Italian conventions ("." thousands, "," decimals):
    // number patterns with up to four ';' sections ("#,##0.00", "0", "#,###",
    // "0.00%", "0.0E+00"; '^' is a decimal digit always shown), date patterns
    // ("dd/mm/yyyy", "d mmmm yyyy", "hh:nn"), text patterns ("@", ">", "<") and
    // the named formats "General Number", "Fixed", "Standard", "Percent",
    // "Short Date", "Medium Date", "Long Date", "Short Time", "Long Time",
    // "Yes/No", "True/False", "On/Off". An empty pattern gives the value as text.
    QString Formatta(const QVariant &valore, const QString &formato) const;

    // A value in its display mask: the named format "Conto" writes an account
    // key as G-M-C; any other mask is a Format pattern.
    QString FormattaMaschera(const QVariant &valore, const QString &maschera) const;
    // A value in its editing form: "Conto" gives the key without separators;
    // a number pattern gives the number without grouping and with the
    // pattern's decimals; a date pattern formats as FormattaMaschera.
    QString FormattaValore(const QVariant &valore, const QString &formato) const;
    // The text rewritten as a number of the kind (2, 3 whole, rounded; 4..6
    // decimal) in the pattern; a text that is not a number is left as it is.
    QString FormattaCampo(const QString &testo, int tipo, const QString &formato) const;
    void FormattaCampo(QLineEdit *campo, int tipo, const QString &formato) const;

    // Amount pattern for `decimali` decimals: the base mask with its last
    // integer placeholder set to `cifraUnita` ("#,###" and "0" give "#,##0"),
    // then "," and `decimali` times `segnoDecimale` ("#,##0.^^"). With
    // `soloFormato` that pattern is the answer; otherwise the value formatted
    // by it, right-aligned to `larghezza` characters when that is above 0, and
    // `testoVuoto` for a Null or empty value.
    QString FormattaImporto(const QVariant &valore, int decimali,
                            const QString &cifraUnita = QStringLiteral("0"), bool soloFormato = false,
                            const QString &maschera = QStringLiteral("#,###"), int larghezza = 0,
                            const QString &testoVuoto = QString(),
                            const QString &segnoDecimale = QStringLiteral("^")) const;

    // Lengths of the parts of an account key for the "Conto" mask (2, 2, 4);
    // lengths below 1 count as 1, and lengths whose sum is beyond an int are
    // an overflow (VB error 6) that keeps the mask as it was.
    void ImpostaMascheraConto(int lungGruppo, int lungMastro, int lungConto);

    // ---- Texts and paths (UtilTesti.cpp) ----

    // Every occurrence of `cerca` replaced, from position `inizio` (1-based) on;
    // `confronto` 1 compares without regard to case. An empty `cerca` changes nothing.
    QString SostituisciTesto(const QString &testo, const QString &cerca, const QString &sostituto,
                             int confronto = 0) const;
    QString SostituisciTesto(int inizio, const QString &testo, const QString &cerca, const QString &sostituto,
                             int confronto = 0) const;

    // Folder part of a path, without the final separator ("" when none; "/"
    // for a file in the root). Both '/' and '\' separate.
    QString EstraiPercorso(const QString &percorso) const;
    QString CartellaDaPercorso(const QString &percorso) const { return EstraiPercorso(percorso); }
    // File-name part of a path.
    QString NomeDaPercorso(const QString &percorso) const;
    // Folder and file name joined with exactly one separator.
    QString UnisciPercorso(const QString &cartella, const QString &file) const;

    // "3021 - Nessun record corrente." for the known VB/DAO error numbers,
    // the bare number for others.
    QString TestoErrore(int numero) const;

    // ---- Command line (UtilTesti.cpp) ----

    // The program's arguments (without the program name); by default those of
    // the running application.
    void ImpostaRigaComando(const QStringList &argomenti);
    // Value of switch `lettera` ("M", "P", "F", "H", "I"; any case): written
    // "-Mvalue", "-M value" or, Windows style, "/Mvalue"; the value runs over
    // the following words up to the next switch, joined by one blank. Empty
    // when the switch is absent; `presente` tells the two apart.
    QString LeggiSwitch(const QString &lettera, bool *presente = nullptr) const;

    // ---- INI files ----

    // Value of a key of an INI file (Windows semantics, see ProfiloIni).
    QString LeggiIni(const QString &file, const QString &sezione, const QString &chiave,
                     const QString &predefinito = QString()) const;

  private:
    QStringList argomenti() const;

    bool m_argomentiImpostati = false;
    QStringList m_argomenti;
    int m_lungGruppo = 2, m_lungMastro = 2, m_lungConto = 4;
};
