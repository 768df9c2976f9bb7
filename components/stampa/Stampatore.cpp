// Print engine: the run of one print (state, stop, StaAtt on every way out),
// export files and fixed-length prints. Paged outputs are in
// StampatorePagine.cpp.
#include "components/stampa/Stampatore.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/ColonneStampa.h"
#include "components/stampa/EsportaTesto.h"
#include "components/stampa/EsportaXlsx.h"
#include "components/stampa/LavoroStampa.h"
#include "components/stampa/MessaggiStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/SorgenteRighe.h"
#include "components/stampa/StampaFissa.h"
#include "components/stampa/StatoStampa.h"
#include "components/util/VbErrore.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <cerrno>

namespace
{

// Rows of an export between two turns of the event loop (stop button).
constexpr qint64 RigheTraControlli = 1000;

std::function<bool(const QUrl &)> &apriFile()
{
    static std::function<bool(const QUrl &)> f = [](const QUrl &u) { return QDesktopServices::openUrl(u); };
    return f;
}

// The engine busy and StaAtt 1 for as long as the print runs, both cleared
// when it ends in any way.
class GuardiaStampa
{
  public:
    explicit GuardiaStampa(bool &inStampa) : m_inStampa(inStampa) { m_inStampa = true; }
    ~GuardiaStampa() { m_inStampa = false; }
    GuardiaStampa(const GuardiaStampa &) = delete;
    GuardiaStampa &operator=(const GuardiaStampa &) = delete;

  private:
    bool &m_inStampa;
    StatoStampa::InCorso m_staAtt;
};

} // namespace

namespace lavoro_stampa
{

std::unique_ptr<QTemporaryFile> FileTemporaneo(const QString &modello, QString &errore)
{
    auto f = std::make_unique<QTemporaryFile>(QDir::temp().filePath(modello));
    errno = 0;
    if (!f->open()) {
        errore = messaggi_stampa::FileNonScrivibile(QDir::temp().filePath(modello), errno, f->errorString());
        return nullptr;
    }
    f->close();
    return f;
}

QString PercorsoCompleto(const OpzStampa &opz, const QString &nome)
{
    const QString cartella = opz.PathDefault().trimmed();
    if (QFileInfo(nome).isRelative() && !cartella.isEmpty())
        return QDir(cartella).filePath(nome);
    return nome;
}

bool InviaACoda(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                EsitoStampa &esito)
{
    switch (Catalogo().Invia(stampante, file, opzioni, esito.errore)) {
    case EsitoInvio::Accettato:
        esito.errore.clear();
        return true;
    case EsitoInvio::InAttesa:
        esito.inAttesa = true;
        return false;
    case EsitoInvio::Rifiutato:
        break;
    }
    return false;
}

} // namespace lavoro_stampa

Stampatore::Stampatore(QObject *parent) : QObject(parent) {}

Stampatore::~Stampatore() = default;

void Stampatore::ImpostaApriFile(std::function<bool(const QUrl &)> apri)
{
    apriFile() = apri ? std::move(apri) : [](const QUrl &u) { return QDesktopServices::openUrl(u); };
}

bool Stampatore::apriPdf(const QString &file)
{
    return apriFile()(QUrl::fromLocalFile(file));
}

QString Stampatore::PrefissoPagine() const
{
    if (!m_cartellaPagine) {
        m_cartellaPagine = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("clienti-anteprima-XXXXXX")));
        if (!m_cartellaPagine->isValid())
            m_cartellaPagine.reset();
    }
    return m_cartellaPagine ? m_cartellaPagine->path() + QLatin1Char('/')
                            : QDir::tempPath() + QLatin1Char('/');
}

EsitoStampa Stampatore::Stampa(SorgenteRighe &righe, const QString &tipo, int orientamento, const QFont &font)
{
    EsitoStampa esito;
    if (m_inStampa) {
        esito.errore = QStringLiteral("Si può lanciare solo una stampa alla volta");
        return esito;
    }
    if (!m_opz) {
        esito.errore = QStringLiteral("Mancano i parametri di stampa");
        return esito;
    }
    GuardiaStampa guardia(m_inStampa);
    m_interrompi = 0;
    m_chiusuraRichiesta = false;
    Lavoro l(righe);
    l.tipo = tipo;
    l.orientamento = orientamento;
    l.font = font;
    try {
        esito = esegui(l);
    } catch (const VbErrore &e) {
        esito = EsitoStampa{};
        esito.errore = QStringLiteral("Errore(%1): %2").arg(e.numero()).arg(e.descrizione());
    } catch (const std::exception &e) {
        esito = EsitoStampa{};
        esito.errore =
            QStringLiteral("La stampa si è fermata per un errore imprevisto e non è stata completata. "
                           "Ripetere la stampa; se l'errore si ripete, avvisare l'assistenza.") +
            messaggi_stampa::Dettaglio(QString::fromUtf8(e.what()));
    }
    righe.ChiudiRighe();
    if (m_avanzamento) {
        m_avanzamento->Nascondi();
        // What was made and where, said where the user is looking, unless a
        // message follows that says it.
        if (esito.eseguita && esito.errore.isEmpty() && !esito.fatto.isEmpty())
            m_avanzamento->Terminata(esito.fatto);
    }
    return esito;
}

EsitoStampa Stampatore::esegui(Lavoro &l)
{
    l.tutte = l.righe.ColonneStampa();
    l.indici = colonne_stampa::Scelte(l.tutte, l.tipo);
    l.colonne = colonne_stampa::Estrai(l.tutte, l.indici);
    if (l.colonne.isEmpty()) {
        EsitoStampa e;
        e.errore = QStringLiteral("La lista non ha colonne da stampare.");
        return e;
    }
    // The print's texts: what the options carry, else the list's caption and
    // the program's name; kept in the options, where the e-mail texts read them.
    l.titolo = m_opz->ParStampa(QStringLiteral("StampaCaption")).toString();
    if (l.titolo.isEmpty()) {
        l.titolo = l.righe.Didascalia();
        m_opz->ImpostaParStampa(QStringLiteral("StampaCaption"), l.titolo);
    }
    l.descrizione = m_opz->ParStampa(QStringLiteral("StampaDescPrg")).toString();
    if (l.descrizione.isEmpty()) {
        l.descrizione = QGuiApplication::applicationDisplayName();
        m_opz->ImpostaParStampa(QStringLiteral("StampaDescPrg"), l.descrizione);
    }
    l.paginaDa = qMax(1, m_opz->ParIntero(QStringLiteral("PaginaDa")));
    l.paginaA = qMax(0, m_opz->ParIntero(QStringLiteral("PaginaA")));

    switch (m_opz->oiStaVid()) {
    case OpzStampa::UscitaStampante:
        return stampaPagine(l);
    case OpzStampa::UscitaVideo:
        return anteprima(l);
    case OpzStampa::UscitaFile:
        return esportaFile(l);
    case OpzStampa::UscitaFissa:
        return stampaFissa(l);
    default: {
        EsitoStampa e;
        e.errore =
            QStringLiteral("Tipo di stampa non valido (%1). Scegliere dove stampare (stampante, video, "
                           "file o lunghezza fissa) e ripetere la stampa.")
                .arg(m_opz->oiStaVid());
        return e;
    }
    }
}

bool Stampatore::sostituireFile(const QString &percorso)
{
    // Taken whether the file is there or not: an agreement is for one print.
    const bool confermata = m_opz->PrendiSostituzioneConfermata(percorso);
    const QFileInfo info(percorso);
    if (!info.exists() || info.isDir() || confermata)
        return true;
    const QString domanda =
        QStringLiteral("Il file %1 esiste già. Sostituirlo?").arg(QDir::toNativeSeparators(percorso));
    return ChiediUtente(m_messaggi, domanda, {QStringLiteral("&Sì"), QStringLiteral("&No")}, 2,
                        m_genitoreMessaggi) == 1;
}

bool Stampatore::dopoPagina(int pagina)
{
    if (m_avanzamento)
        m_avanzamento->PaginaInStampa(pagina);
    QCoreApplication::processEvents();
    return !fermata();
}

EsitoStampa Stampatore::esportaFile(Lavoro &l)
{
    EsitoStampa esito;
    if (m_opz->FileName().trimmed().isEmpty()) {
        esito.errore = QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
        return esito;
    }
    // A name without extension (typed so in the Save dialog, or saved so with
    // the options) is written with its format's.
    const QString percorso = OpzStampa::ConEstensione(
        lavoro_stampa::PercorsoCompleto(*m_opz, m_opz->FileName().trimmed()), m_opz->FileForm());

    std::unique_ptr<Esportazione> file;
    if (m_opz->FileForm() == OpzStampa::FormatoExcel)
        file = std::make_unique<EsportaXlsx>(*m_opz, l.colonne, l.titolo);
    else
        file = std::make_unique<EsportaTesto>(*m_opz, l.colonne);
    // Options no file can be written with are said before anything is asked.
    esito.errore = file->ErroreScrittura();
    if (!esito.errore.isEmpty())
        return esito;
    // Answering no ends the print with nothing written and nothing more said.
    if (!sostituireFile(percorso)) {
        esito.interrotta = true;
        return esito;
    }
    if (!file->Apri(percorso, esito.errore))
        return esito;
    if (m_avanzamento)
        m_avanzamento->Mostra();
    file->ScriviIntestazione();
    // The file takes the list's texts as the bytes it writes.
    file->TestiDa(&l.righe);
    l.righe.TestiUtf8(true);
    const auto ripristina = qScopeGuard([&l] { l.righe.TestiUtf8(false); });
    if (file->ErroreScrittura().isEmpty() && l.righe.ApriRighe(l.indici)) {
        QList<CellaStampa> celle;
        while (l.righe.RigaSuccessiva(celle)) {
            file->ScriviRiga(celle);
            if (file->RigheScritte() % RigheTraControlli == 0) {
                if (!file->ErroreScrittura().isEmpty())
                    break;
                if (m_avanzamento)
                    m_avanzamento->RigheInStampa(file->RigheScritte());
                QCoreApplication::processEvents();
                if (fermata()) {
                    file->Annulla();
                    esito.interrotta = true;
                    return esito;
                }
            }
        }
    }
    if (!file->Chiudi(esito.errore))
        return esito;
    esito.eseguita = true;
    esito.pagine = int(qMin<qint64>(file->RigheScritte(), INT_MAX));
    esito.file = percorso;
    esito.fatto = messaggi_stampa::FileScritto(percorso, file->RigheScritte());
    return esito;
}

EsitoStampa Stampatore::stampaFissa(Lavoro &l)
{
    EsitoStampa esito;
    const QString destinazione = m_opz->FisFileName().trimmed();
    if (destinazione.isEmpty()) {
        esito.errore = QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
        return esito;
    }
    const bool suStampante = m_opz->FisStampante() != 0;
    Stampante stampante;
    QString percorso = destinazione;
    std::unique_ptr<QTemporaryFile> temporaneo;
    if (suStampante) {
        stampante = Catalogo().CercaPerNomeOPorta(destinazione);
        if (!stampante.valida() || stampante.Virtuale) {
            esito.errore = messaggi_stampa::StampanteNonInstallata(destinazione);
            return esito;
        }
        temporaneo = lavoro_stampa::FileTemporaneo(QStringLiteral("clienti-fissa-XXXXXX"), esito.errore);
        if (!temporaneo)
            return esito;
        percorso = temporaneo->fileName();
    } else {
        percorso = lavoro_stampa::PercorsoCompleto(*m_opz, percorso);
        esito.errore = messaggi_stampa::ControllaCartella(percorso);
        if (!esito.errore.isEmpty())
            return esito;
        if (!sostituireFile(percorso)) {
            esito.interrotta = true;
            return esito;
        }
    }

    if (!l.righe.ApriRighe(l.indici)) {
        esito.errore = QStringLiteral("Non ci sono righe da stampare.");
        return esito;
    }
    // First the rows are measured, so that every column fits its values;
    // then they are read again and written.
    StampaFissa fissa(*m_opz, l.colonne, l.titolo);
    if (m_avanzamento)
        m_avanzamento->Mostra();
    QList<CellaStampa> celle;
    qint64 misurate = 0;
    while (!fissa.MisuraCompleta() && l.righe.RigaSuccessiva(celle)) {
        fissa.Misura(celle);
        if (++misurate % RigheTraControlli == 0) {
            QCoreApplication::processEvents();
            if (fermata()) {
                esito.interrotta = true;
                return esito;
            }
        }
    }
    if (!fissa.Apri(percorso, esito.errore))
        return esito;
    if (!l.righe.ApriRighe(l.indici)) {
        fissa.Annulla();
        esito.errore = QStringLiteral("Non ci sono righe da stampare.");
        return esito;
    }
    fissa.ScriviIntestazione();
    int pagina = fissa.Pagina();
    while (!fissa.Completa() && l.righe.RigaSuccessiva(celle)) {
        fissa.ScriviRiga(celle);
        if (fissa.Pagina() != pagina) {
            if (!dopoPagina(pagina)) {
                fissa.Annulla();
                esito.interrotta = true;
                return esito;
            }
            pagina = fissa.Pagina();
        }
    }
    if (!fissa.Chiudi(esito.errore))
        return esito;
    esito.pagine = fissa.Pagina();
    if (suStampante) {
        OpzioniLavoro lavoro;
        lavoro.titolo = l.titolo;
        lavoro.grezzo = true;
        if (!lavoro_stampa::InviaACoda(stampante.DeviceName, percorso, lavoro, esito))
            return esito;
    } else {
        esito.file = percorso;
        esito.fatto = messaggi_stampa::FileScritto(percorso);
    }
    esito.eseguita = true;
    esito.celleFuoriMisura = fissa.CelleFuoriMisura();
    if (esito.celleFuoriMisura > 0)
        esito.errore =
            QStringLiteral("La stampa è stata eseguita, ma in %1 celle il valore non entrava nella sua "
                           "colonna ed è stato segnato con caratteri #. Per vederli tutti scegliere meno "
                           "colonne, la stampa compressa o più caratteri per riga, e ripetere la stampa.")
                .arg(esito.celleFuoriMisura);
    return esito;
}
