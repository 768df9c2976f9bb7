// Print parameters: members, keyed values and display texts.
#include "components/stampa/OpzStampa.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/Stampante.h"
#include "components/util/Currency.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

OpzStampa::OpzStampa(const QString &sezioneStampa) : m_sezione(sezioneStampa) {}

QString OpzStampa::DescrFileForm(int codice) const
{
    switch (codice) {
    case FormatoCompatibileExcel:
        return QStringLiteral("Compatibile Excel");
    case FormatoTesto:
        return QStringLiteral("Testo");
    case FormatoExcel:
        return QStringLiteral("Formato Excel");
    default:
        return {};
    }
}

QString OpzStampa::EstensioneFormato(int codice)
{
    switch (codice) {
    case FormatoCompatibileExcel:
        return QStringLiteral("csv");
    case FormatoTesto:
        return QStringLiteral("txt");
    case FormatoExcel:
        return QStringLiteral("xlsx");
    default:
        return {};
    }
}

QString OpzStampa::ConEstensione(const QString &nome, int codice)
{
    const QString estensione = EstensioneFormato(codice);
    const QString file = QFileInfo(nome).fileName();
    if (estensione.isEmpty() || file.isEmpty())
        return nome;
    const qsizetype punto = file.lastIndexOf(QLatin1Char('.'));
    if (punto < 0)
        return nome + QLatin1Char('.') + estensione;
    // A workbook named as text, or text named as a workbook: the name
    // follows what the file holds.
    const QString attuale = file.mid(punto + 1).toLower();
    const bool xls = attuale == QLatin1String("xls");
    const bool cartella = attuale == QLatin1String("xlsx") || xls;
    const bool testo = attuale == QLatin1String("csv") || attuale == QLatin1String("txt");
    // The workbook is written in the format of "xlsx", which an "xls" name
    // would not open as.
    if ((codice == FormatoExcel && (testo || xls)) || (codice != FormatoExcel && cartella))
        return nome.left(nome.size() - (file.size() - punto - 1)) + estensione;
    return nome;
}

bool OpzStampa::PrendiSostituzioneConfermata(const QString &percorso)
{
    if (m_sostituzioneConfermata.isEmpty())
        return false;
    const bool stesso = QDir::cleanPath(QFileInfo(m_sostituzioneConfermata).absoluteFilePath()) ==
                        QDir::cleanPath(QFileInfo(percorso).absoluteFilePath());
    m_sostituzioneConfermata.clear();
    return stesso;
}

QString OpzStampa::DescrStampante(const Stampante &stampanteCorrente) const
{
    QString testo;
    // The automatic PDF and its e-mail belong to a print on a PDF printer:
    // with any other output they do nothing, and are not named.
    bool pdf = false;
    switch (m_staVid) {
    case UscitaStampante: {
        QString nome = m_nomeStampante.trimmed();
        QString porta = m_nomePorta;
        pdf = nome.isEmpty() ? stampanteCorrente.Virtuale || EStampantePdf(stampanteCorrente.DeviceName)
                             : EStampantePdf(nome);
        if (nome.isEmpty()) {
            nome = stampanteCorrente.DeviceName.isEmpty() ? QStringLiteral("(nessuna stampante)")
                                                          : stampanteCorrente.DeviceName;
            nome += QStringLiteral(" (predefinita)");
            if (porta.isEmpty())
                porta = stampanteCorrente.Port;
        }
        testo = nome;
        if (!porta.isEmpty())
            testo += QStringLiteral(" su ") + porta;
        const int cassetto = ParIntero(QStringLiteral("NumCassetto"));
        const int carta = ParIntero(QStringLiteral("NumTipoCarta"));
        if (cassetto > 0)
            testo += QStringLiteral(" - cassetto ") + QString::number(cassetto);
        if (carta > 0)
            testo += QStringLiteral(" - carta ") + QString::number(carta);
        if (m_forzaVert == -1)
            testo += QStringLiteral(" - verticale");
        break;
    }
    case UscitaVideo:
        testo = QStringLiteral("Video (scala %1%)").arg(qRound(double(m_fatt) * 100));
        break;
    case UscitaFile:
        testo = QStringLiteral("File ") + DescrFileForm(m_fileForm) + QStringLiteral(": ") + m_fileName;
        break;
    case UscitaFissa:
        testo = (m_fisStampante != 0 ? QStringLiteral("Lunghezza fissa su stampante: ")
                                     : QStringLiteral("Lunghezza fissa su file: ")) +
                m_fisFileName;
        if (m_fisUtilComp != 0)
            testo += QStringLiteral(" (compresso)");
        break;
    default:
        break;
    }
    if (pdf && ParVero(QStringLiteral("PdfAutomAbil")))
        testo += QStringLiteral(" - Pdf automatico");
    if (pdf && ParVero(QStringLiteral("EmailInvia")))
        testo += QStringLiteral(" - invio email");
    return testo;
}

bool OpzStampa::StaVidEscluso(int tipo) const
{
    return tipo >= 0 && tipo < 4 && m_esclusi[tipo];
}

void OpzStampa::StaVidEscluso(int tipo, bool escluso)
{
    if (tipo >= 0 && tipo < 4)
        m_esclusi[tipo] = escluso;
}

void OpzStampa::FileFormFisso()
{
    if (m_fileForm == FormatoCompatibileExcel) {
        m_sepCampi = QStringLiteral(";");
        m_delimStr = QStringLiteral("\"");
    }
}

QVariant OpzStampa::ParStampa(const QString &chiave, int tipo) const
{
    const auto it = m_par.constFind(chiave.toLower());
    if (it == m_par.constEnd())
        return tipo == TipoTesto ? QVariant(QString()) : QVariant();
    if (tipo == TipoTesto)
        return it->second.toString();
    return it->second;
}

void OpzStampa::ImpostaParStampa(const QString &chiave, const QVariant &valore, int tipo)
{
    const QVariant v = tipo == TipoTesto ? QVariant(valore.toString()) : valore;
    auto it = m_par.find(chiave.toLower());
    if (it == m_par.end())
        m_par.insert(chiave.toLower(), {chiave, v});
    else
        it->second = v;
}

int OpzStampa::ParIntero(const QString &chiave) const
{
    const QVariant v = ParStampa(chiave);
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? int(d) : 0;
    }
    if (v.userType() == qMetaTypeId<Currency>())
        return int(v.value<Currency>().toDouble());
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n : 0;
}

bool OpzStampa::ParVero(const QString &chiave) const
{
    const QVariant v = ParStampa(chiave);
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("Vero"), Qt::CaseInsensitive) == 0)
            return true;
        bool ok = false;
        const double d = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok && d != 0;
    }
    if (v.userType() == qMetaTypeId<Currency>())
        return v.value<Currency>().raw() != 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && d != 0;
}

QStringList OpzStampa::ChiaviParStampa() const
{
    QStringList chiavi;
    for (auto it = m_par.constBegin(); it != m_par.constEnd(); ++it)
        chiavi << it->first;
    chiavi.sort(Qt::CaseInsensitive);
    return chiavi;
}
