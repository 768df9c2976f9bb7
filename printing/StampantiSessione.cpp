// Printers of terminal sessions and the printer list.
#include "printing/AziendaUtilStampe.h"

#include "components/stampa/ProfiloStampanti.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"

#include <QRegularExpression>

namespace
{

const QString Segnaposto = QStringLiteral("%§");

// The template as a pattern: `numero` where the marker stands (a capture of
// any number when empty), never touching a longer number ("S3" is not
// "S31", "3-" is not "13-").
QRegularExpression espressioneSessione(const QString &modello, const QString &numero = QString())
{
    const int i = modello.indexOf(Segnaposto);
    const QString prima = modello.left(i);
    const QString dopo = modello.mid(i + Segnaposto.size());
    const QString cifre = numero.isEmpty() ? QStringLiteral("(\\d+)") : QRegularExpression::escape(numero);
    QString espressione = QRegularExpression::escape(prima);
    if (prima.isEmpty())
        espressione += QStringLiteral("(?<!\\d)");
    espressione += cifre + QStringLiteral("(?!\\d)") + QRegularExpression::escape(dopo);
    return QRegularExpression(espressione, QRegularExpression::CaseInsensitiveOption);
}

bool modelloValido(const QString &m)
{
    return !m.trimmed().isEmpty() && m.contains(Segnaposto);
}

} // namespace

QString ModelloStampanteSessione()
{
    return ProfiloStampanti::ModelloStampanteSessione();
}

QString LeggiStampanteSessione(const QString &nome)
{
    const QString m = ModelloStampanteSessione();
    if (Globali::SessioneTS < 2 || !modelloValido(m))
        return nome;
    QString r = nome;
    QString sostituto = m;
    sostituto.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    r.replace(espressioneSessione(m, QString::number(Globali::SessioneTS)), sostituto);
    return r;
}

QString StampanteDaSessione(const QString &nome)
{
    const QString m = ModelloStampanteSessione();
    if (Globali::SessioneTS < 2 || !modelloValido(m) || !nome.contains(m, Qt::CaseInsensitive))
        return nome;
    QString proprio = m;
    proprio.replace(Segnaposto, QString::number(Globali::SessioneTS));
    QString r = nome;
    r.replace(m, proprio, Qt::CaseInsensitive);
    return r;
}

bool CercaStampanteAltraSessione(const QString &nome, long sessione)
{
    const QString m = ModelloStampanteSessione();
    if (!modelloValido(m) || sessione < 2 || nome.trimmed().isEmpty())
        return false;
    QRegularExpressionMatchIterator it = espressioneSessione(m).globalMatch(nome);
    while (it.hasNext()) {
        bool ok = false;
        const long n = it.next().captured(1).toLong(&ok);
        if (ok && n >= 2 && n != sessione)
            return true;
    }
    return false;
}

void ElencoStampantiPorte(QStringList &nomi, QStringList &porte)
{
    QString cliente;
    const long sessione = IdentificaPostazione(cliente);
    QStringList n, p;
    for (const QString &candidato : ProfiloStampanti::NomiPorte()) {
        if (candidato.trimmed().isEmpty() || CercaStampanteAltraSessione(candidato, sessione))
            continue;
        QString driver;
        n << candidato;
        p << LeggiPortaStampante(candidato, driver);
    }
    if (n.isEmpty())
        return;
    nomi = n;
    porte = p;
}
