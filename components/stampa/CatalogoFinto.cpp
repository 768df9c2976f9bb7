// Printer catalogue for tests.
#include "components/stampa/CatalogoFinto.h"

#include <QFile>

void CatalogoFinto::Aggiungi(const Stampante &s, const QList<VoceCarta> &cassetti, const QList<VoceCarta> &carte)
{
    m_stampanti << s;
    m_cassetti.insert(s.DeviceName.toLower(), cassetti);
    m_carte.insert(s.DeviceName.toLower(), carte);
}

void CatalogoFinto::Svuota()
{
    m_stampanti.clear();
    m_cassetti.clear();
    m_carte.clear();
    m_predefinita.clear();
    m_lavori.clear();
}

QList<Stampante> CatalogoFinto::LeggiStampanti()
{
    QList<Stampante> r = m_stampanti;
    AggiungiStampantiPdf(r);
    return r;
}

QList<VoceCarta> CatalogoFinto::Cassetti(const QString &stampante)
{
    return m_cassetti.value(stampante.toLower());
}

QList<VoceCarta> CatalogoFinto::Carte(const QString &stampante)
{
    return m_carte.value(stampante.toLower());
}

bool CatalogoFinto::Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                          QString &errore)
{
    if (!Cerca(stampante).valida() || stampante.compare(m_rifiuta, Qt::CaseInsensitive) == 0) {
        errore = QStringLiteral("La stampante %1 non ha accettato la stampa").arg(stampante);
        return false;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        errore = QStringLiteral("File di stampa illeggibile: %1").arg(file);
        return false;
    }
    m_lavori << Lavoro{stampante, f.readAll(), opzioni};
    return true;
}
