// Record-form engine: set-up, field registration, page parameters, toolbar.
#include "components/pagine/GestPagineInterni.h"

#include "components/util/VbErrore.h"

#include <QAction>
#include <QIcon>
#include <QStyle>

namespace
{

struct VoceComando {
    const char *chiave;
    const char *tooltip;
};

// The page commands in toolbar order, with their access letters.
const VoceComando kComandi[] = {
    {"Ricerca", "(R) Ricerca"},
    {"Salva", "(S) Salva"},
    {"Cancella", "(C) Cancella"},
    {"Annulla", "(A) Annulla"},
    {"Duplica", "(D) Duplica"},
    {"VarKey", "(V) Varia campi chiave"},
    {"Lista", "(L) Lista"},
    {"ListaInd", "(-) Precedente nella lista"},
    {"ListaAvanti", "(+) Successivo nella lista"},
    {"Inizio", "(I) Inizio Archivio"},
    {"Precedente", "(P) Precedente"},
    {"Successivo", "(U) Successivo"},
    {"Fine", "(F) Fine Archivio"},
    {"Chiudi", "(H) Chiudi"},
    {"Menu", "(M) Menu"},
};

QStyle::StandardPixmap iconaStandard(const QString &chiave)
{
    static const QHash<QString, QStyle::StandardPixmap> icone = {
        {QStringLiteral("ricerca"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("salva"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("cancella"), QStyle::SP_TrashIcon},
        {QStringLiteral("annulla"), QStyle::SP_DialogCancelButton},
        {QStringLiteral("duplica"), QStyle::SP_FileIcon},
        {QStringLiteral("varkey"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("lista"), QStyle::SP_FileDialogListView},
        {QStringLiteral("listaind"), QStyle::SP_ArrowUp},
        {QStringLiteral("listaavanti"), QStyle::SP_ArrowDown},
        {QStringLiteral("inizio"), QStyle::SP_MediaSkipBackward},
        {QStringLiteral("precedente"), QStyle::SP_MediaSeekBackward},
        {QStringLiteral("successivo"), QStyle::SP_MediaSeekForward},
        {QStringLiteral("fine"), QStyle::SP_MediaSkipForward},
        {QStringLiteral("chiudi"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("menu"), QStyle::SP_DirHomeIcon},
    };
    return icone.value(chiave.toLower(), QStyle::SP_CustomBase);
}

} // namespace

GestPagine::GestPagine(QObject *parent) : QObject(parent), d(std::make_unique<Interni>()) {}

GestPagine::~GestPagine()
{
    d->rec.ChiudiTutti();
}

void GestPagine::TabellaPrincipale(const QString &tabella)
{
    d->tabella = tabella;
}

void GestPagine::ImpostaModoAvvio(int modo)
{
    d->modoAvvio = modo;
}

void GestPagine::ImpostaDopoSalvataggio(int modo)
{
    d->dopoSalvataggio = modo;
}

void GestPagine::AbilitaCallback(int piOper, bool abilita)
{
    if (abilita)
        d->callback.insert(piOper);
    else
        d->callback.erase(piOper);
}

bool GestPagine::CallbackAbilitata(int piOper) const
{
    return d->callback.count(piOper) > 0;
}

QVariant GestPagine::RegistraCampo(const QString &nomeCampo, QLineEdit *controllo,
                                   const OpzioniCampo &opzioni)
{
    if (!controllo)
        throw VbErrore(VbErrore::OggettoNonImpostato,
                       QStringLiteral("Controllo mancante per il campo %1").arg(nomeCampo));
    const QString k = nomeCampo.toLower();
    if (d->perNome.contains(k) || d->perControllo.contains(controllo))
        throw VbErrore(457, QStringLiteral("Campo già registrato: %1").arg(nomeCampo));

    auto c = std::make_unique<Campo>();
    c->nome = nomeCampo;
    c->controllo = controllo;
    c->opzioni = opzioni;
    c->formato = opzioni.formato.toString();
    if (nomeCampo.startsWith(QLatin1Char('|'))) {
        // "|<join>|ColA|ColB...": one box for several columns.
        const QStringList parti = nomeCampo.split(QLatin1Char('|'));
        c->unione = parti.value(1);
        for (int i = 2; i < parti.size(); ++i)
            if (!parti[i].trimmed().isEmpty())
                c->colonne << parti[i].trimmed();
    } else {
        c->colonne << nomeCampo;
    }
    c->chiaveFissa = opzioni.tipoChiave.isValid() && opzioni.tipoChiave.toInt() == 2;
    c->chiave = !c->chiaveFissa && opzioni.chiave.isValid() && opzioni.chiave.toInt() != 0;
    if (opzioni.dimensione.isValid() && !opzioni.dimensione.toString().trimmed().isEmpty()) {
        const double dim = opzioni.dimensione.toDouble();
        const double assoluto = std::abs(dim);
        c->numerico = true;
        c->negativi = dim < 0;
        c->cifre = int(assoluto);
        c->decimali = int(std::lround((assoluto - c->cifre) * 10));
    }
    d->perControllo.insert(controllo, c.get());
    d->perNome.insert(k, c.get());
    d->campi.push_back(std::move(c));
    return {};
}

int GestPagine::NumeroCampi() const
{
    return int(d->campi.size());
}

void GestPagine::ImpostaContesto(ContestoPrg *contesto)
{
    d->contesto = contesto;
}

void GestPagine::ImpostaControlloChiave(QLineEdit *controllo)
{
    d->controlloChiave = controllo;
}

void GestPagine::ImpostaPrimoControllo(QWidget *controllo)
{
    d->primoControllo = controllo;
}

void GestPagine::ImpostaAree(QWidget *testata, QWidget *dettaglio, const QList<QWidget *> &noRicerca)
{
    d->testata = testata;
    d->dettaglio = dettaglio;
    d->noRicerca.clear();
    for (QWidget *w : noRicerca)
        d->noRicerca << w;
}

QWidget *GestPagine::AreaDettaglio() const
{
    return d->dettaglio;
}

void GestPagine::ImpostaColori(long foreNormale, long foreDisabil, long backErrore, long backNormale)
{
    d->foreNormale = foreNormale;
    d->foreDisabil = foreDisabil;
    d->backErrore = backErrore;
    d->backNormale = backNormale;
}

void GestPagine::ScriviParPagina(const QString &chiave, int tipo, const QVariant &valore)
{
    (void)tipo;
    d->parametri.insert(chiave.toLower(), valore);
    if (chiave.compare(QLatin1String("AbilToolTipText"), Qt::CaseInsensitive) == 0 &&
        valore.toString().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0) {
        for (const auto &c : d->campi)
            if (c->controllo && c->controllo->toolTip().trimmed().isEmpty() &&
                c->opzioni.descrizione.isValid())
                c->controllo->setToolTip(c->opzioni.descrizione.toString());
    }
}

QVariant GestPagine::LeggiParPagina(const QString &chiave) const
{
    return d->parametri.value(chiave.toLower());
}

void GestPagine::ImpostaParametri(const QVariant &p1, const QVariant &p2, const QVariant &p3,
                                  const QVariant &p4)
{
    const QVariant valori[] = {p1, p2, p3, p4};
    for (int i = 0; i < 4; ++i)
        d->parametri.insert(QStringLiteral("par%1").arg(i + 1), valori[i]);
}

void GestPagine::ImpostaMessaggi(FunzioneMessaggio funzione)
{
    d->messaggi = std::move(funzione);
}

QStringList GestPagine::Comandi()
{
    QStringList r;
    for (const auto &v : kComandi)
        r << QString::fromLatin1(v.chiave);
    return r;
}

QString GestPagine::TooltipComando(const QString &chiave)
{
    for (const auto &v : kComandi)
        if (chiave.compare(QLatin1String(v.chiave), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(v.tooltip);
    return {};
}

void GestPagine::ImpostaToolbar(const QString &tipoToolbar, QToolBar *barra,
                                const QHash<QString, QIcon> &immagini)
{
    d->tipoToolbar = tipoToolbar;
    d->barra = barra;
    if (!barra)
        return;
    if (barra->actions().isEmpty()) {
        for (const auto &v : kComandi) {
            const QString chiave = QString::fromLatin1(v.chiave);
            QIcon icona = immagini.value(chiave);
            if (icona.isNull() && iconaStandard(chiave) != QStyle::SP_CustomBase)
                icona = barra->style()->standardIcon(iconaStandard(chiave));
            QAction *a = barra->addAction(icona, chiave);
            a->setObjectName(chiave);
            a->setToolTip(QString::fromLatin1(v.tooltip));
        }
    }
    for (QAction *a : barra->actions()) {
        if (a->objectName().isEmpty())
            continue;
        const QString chiave = a->objectName();
        connect(a, &QAction::triggered, this, [this, chiave] {
            if (d->form)
                d->form->ButtonComando(chiave);
            else
                EseguiComando(chiave);
        });
    }
    aggiornaAbilitazioni();
}

QAction *GestPagine::Bottone(const QString &chiave) const
{
    if (!d->barra)
        return nullptr;
    for (QAction *a : d->barra->actions())
        if (a->objectName().compare(chiave, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}
