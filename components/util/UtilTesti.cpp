// Text replacement, path pieces, error texts, command-line switches and INI
// reading of the utility object.
#include "components/util/ProfiloIni.h"
#include "components/util/UtilGlob.h"

#include <QCoreApplication>
#include <QHash>

namespace
{
bool separatore(QChar c)
{
    return c == u'/' || c == u'\\';
}

qsizetype ultimoSeparatore(const QString &percorso)
{
    for (qsizetype i = percorso.size() - 1; i >= 0; --i)
        if (separatore(percorso[i]))
            return i;
    return -1;
}

// "-M", "-Mvalue", and "/Mvalue" with an upper-case letter: the letter, else a null QChar.
QChar letteraSwitch(const QString &arg)
{
    if (arg.size() < 2 || !arg[1].isLetter())
        return QChar();
    if (arg[0] == u'-')
        return arg[1].toUpper();
    if (arg[0] == u'/' && arg[1].isUpper() && !arg.mid(2).contains(u'/'))
        return arg[1];
    return QChar();
}

const QHash<int, QString> &testiErrore()
{
    static const QHash<int, QString> testi = {
        {3, QStringLiteral("Return senza GoSub")},
        {5, QStringLiteral("Chiamata di routine o argomento non validi")},
        {6, QStringLiteral("Overflow")},
        {7, QStringLiteral("Memoria esaurita")},
        {9, QStringLiteral("Indice non incluso nell'intervallo")},
        {11, QStringLiteral("Divisione per zero")},
        {13, QStringLiteral("Tipo non corrispondente")},
        {28, QStringLiteral("Spazio dello stack esaurito")},
        {35, QStringLiteral("Sub o Function non definita")},
        {48, QStringLiteral("Errore durante il caricamento della DLL")},
        {52, QStringLiteral("Nome o numero di file non valido")},
        {53, QStringLiteral("Impossibile trovare il file")},
        {54, QStringLiteral("Modalità del file non valida")},
        {55, QStringLiteral("File già aperto")},
        {57, QStringLiteral("Errore di I/O della periferica")},
        {58, QStringLiteral("File già esistente")},
        {61, QStringLiteral("Disco pieno")},
        {62, QStringLiteral("Input oltre la fine del file")},
        {67, QStringLiteral("Troppi file")},
        {68, QStringLiteral("Periferica non disponibile")},
        {70, QStringLiteral("Autorizzazione negata")},
        {71, QStringLiteral("Disco non pronto")},
        {75, QStringLiteral("Errore di accesso al percorso/file")},
        {76, QStringLiteral("Impossibile trovare il percorso")},
        {91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata")},
        {92, QStringLiteral("Ciclo For non inizializzato")},
        {94, QStringLiteral("Utilizzo non valido di Null")},
        {380, QStringLiteral("Valore della proprietà non valido")},
        {381, QStringLiteral("Indice della matrice di proprietà non valido")},
        {424, QStringLiteral("Necessario oggetto")},
        {429, QStringLiteral("Il componente ActiveX non può creare l'oggetto")},
        {438, QStringLiteral("Proprietà o metodo non supportati dall'oggetto")},
        {440, QStringLiteral("Errore di automazione")},
        {457, QStringLiteral("Questa chiave è già associata a un elemento dell'insieme")},
        {482, QStringLiteral("Errore della stampante")},
        {3001, QStringLiteral("Argomento non valido.")},
        {3011, QStringLiteral("Impossibile trovare l'oggetto.")},
        {3020, QStringLiteral("Update o CancelUpdate senza AddNew o Edit.")},
        {3021, QStringLiteral("Nessun record corrente.")},
        {3022, QStringLiteral("Le modifiche richieste non sono state apportate perché creerebbero valori "
                              "duplicati nell'indice, nella chiave primaria o nella relazione.")},
        {3024, QStringLiteral("Impossibile trovare il file.")},
        {3044, QStringLiteral("Percorso non valido.")},
        {3051, QStringLiteral("Impossibile aprire il file.")},
        {3061, QStringLiteral("Parametri insufficienti.")},
        {3075, QStringLiteral("Errore di sintassi nell'espressione della query.")},
        {3078, QStringLiteral("Impossibile trovare la tabella o la query di input.")},
        {3085, QStringLiteral("Funzione non definita nell'espressione.")},
        {3101, QStringLiteral("Impossibile trovare un record con la chiave corrispondente.")},
        {3134, QStringLiteral("Errore di sintassi nell'istruzione INSERT INTO.")},
        {3144, QStringLiteral("Errore di sintassi nell'istruzione UPDATE.")},
        {3146, QStringLiteral("Chiamata ODBC non riuscita.")},
        {3151, QStringLiteral("Connessione ODBC non riuscita.")},
        {3167, QStringLiteral("Il record è stato eliminato.")},
        {3197, QStringLiteral("Dati modificati da un altro utente nello stesso momento.")},
        {3201, QStringLiteral("Impossibile aggiungere o modificare un record: è necessario un record "
                              "correlato.")},
        {3218, QStringLiteral("Impossibile aggiornare: record bloccato.")},
        {3260, QStringLiteral("Impossibile aggiornare: bloccato da un altro utente.")},
        {3265, QStringLiteral("Elemento non trovato nell'insieme.")},
        {3314, QStringLiteral("Il campo deve contenere un valore.")},
        {3315, QStringLiteral("Il campo non può essere una stringa di lunghezza zero.")},
        {3421, QStringLiteral("Errore di conversione del tipo di dati.")},
    };
    return testi;
}
} // namespace

QString UtilGlob::SostituisciTesto(const QString &testo, const QString &cerca, const QString &sostituto,
                                   int confronto) const
{
    return SostituisciTesto(1, testo, cerca, sostituto, confronto);
}

QString UtilGlob::SostituisciTesto(int inizio, const QString &testo, const QString &cerca,
                                   const QString &sostituto, int confronto) const
{
    if (cerca.isEmpty())
        return testo;
    const qsizetype da = inizio > 1 ? qMin<qsizetype>(inizio - 1, testo.size()) : 0;
    QString coda = testo.mid(da);
    coda.replace(cerca, sostituto, confronto == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return testo.left(da) + coda;
}

QString UtilGlob::EstraiPercorso(const QString &percorso) const
{
    const qsizetype p = ultimoSeparatore(percorso);
    if (p < 0)
        return QString();
    if (p == 0)
        return percorso.left(1);
    if (p == 2 && percorso[1] == u':')
        return percorso.left(3);
    return percorso.left(p);
}

QString UtilGlob::NomeDaPercorso(const QString &percorso) const
{
    return percorso.mid(ultimoSeparatore(percorso) + 1);
}

QString UtilGlob::UnisciPercorso(const QString &cartella, const QString &file) const
{
    if (cartella.isEmpty())
        return file;
    if (file.isEmpty())
        return cartella;
    const QChar sep = cartella.contains(u'\\') && !cartella.contains(u'/') ? QChar(u'\\') : QChar(u'/');
    qsizetype fine = cartella.size();
    while (fine > 1 && separatore(cartella[fine - 1]))
        --fine;
    qsizetype inizio = 0;
    while (inizio < file.size() && separatore(file[inizio]))
        ++inizio;
    const QString base = cartella.left(fine);
    if (base.size() == 1 && separatore(base[0]))
        return base + file.mid(inizio);
    return base + sep + file.mid(inizio);
}

QString UtilGlob::TestoErrore(int numero) const
{
    const auto it = testiErrore().constFind(numero);
    if (it == testiErrore().constEnd())
        return QString::number(numero);
    return QString::number(numero) + QStringLiteral(" - ") + *it;
}

void UtilGlob::ImpostaRigaComando(const QStringList &argomenti)
{
    m_argomenti = argomenti;
    m_argomentiImpostati = true;
}

QStringList UtilGlob::argomenti() const
{
    if (m_argomentiImpostati)
        return m_argomenti;
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::arguments().mid(1);
}

QString UtilGlob::LeggiSwitch(const QString &lettera, bool *presente) const
{
    if (presente)
        *presente = false;
    const QString cercata = lettera.trimmed().toUpper();
    if (cercata.size() != 1)
        return QString();
    const QStringList args = argomenti();
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--")
            break;
        if (letteraSwitch(args[i]) != cercata[0])
            continue;
        if (presente)
            *presente = true;
        QStringList parole;
        if (args[i].size() > 2)
            parole << args[i].mid(2);
        for (qsizetype j = i + 1; j < args.size() && args[j] != u"--" && letteraSwitch(args[j]).isNull(); ++j)
            parole << args[j];
        return parole.join(u' ').trimmed();
    }
    return QString();
}

QString UtilGlob::LeggiIni(const QString &file, const QString &sezione, const QString &chiave,
                           const QString &predefinito) const
{
    return ProfiloIni(file).LeggiStringa(sezione, chiave, predefinito);
}
