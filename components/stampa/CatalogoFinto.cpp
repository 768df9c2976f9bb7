// Printer catalogue for tests.
#include "components/stampa/CatalogoFinto.h"

#include "components/stampa/MessaggiStampa.h"

#include <QFile>

void CatalogoFinto::Aggiungi(const Stampante &s, const QList<VoceCarta> &cassetti,
                             const QList<VoceCarta> &carte)
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
    m_rifiuta.clear();
    m_ferma.clear();
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

bool CatalogoFinto::LeggiCarte(const QString &stampante, QList<VoceCarta> &carte)
{
    carte = Carte(stampante);
    return stampante.compare(m_carteIncoerenti, Qt::CaseInsensitive) != 0 || m_carteIncoerenti.isEmpty();
}

EsitoInvio CatalogoFinto::Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                                QString &messaggio)
{
    if (!Cerca(stampante).valida() || stampante.compare(m_rifiuta, Qt::CaseInsensitive) == 0) {
        messaggio = messaggi_stampa::CodaRifiuta(stampante);
        return EsitoInvio::Rifiutato;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        messaggio = messaggi_stampa::CodaRifiuta(stampante, f.errorString());
        return EsitoInvio::Rifiutato;
    }
    m_lavori << Lavoro{stampante, f.readAll(), opzioni};
    if (stampante.compare(m_ferma, Qt::CaseInsensitive) == 0) {
        messaggio = messaggi_stampa::StampanteFerma(stampante, int(m_lavori.size()));
        return EsitoInvio::InAttesa;
    }
    return EsitoInvio::Accettato;
}
