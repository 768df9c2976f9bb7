// Standalone menu client: parameters from JSON files, everything else logged.
#include "components/menu/ClienteMenuLocale.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/menu/IniComuniLocali.h"
#include "components/menu/ValoriJson.h"
#include "components/util/VbErrore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSaveFile>
#include <QSysInfo>
#include <optional>

Q_LOGGING_CATEGORY(logMenuLocale, "clienti.menu")

namespace
{

QString Chiave(const QString &nome)
{
    return nome.toCaseFolded();
}

QString Descrivi(const QVariantList &argomenti)
{
    QStringList t;
    for (const QVariant &a : argomenti)
        t << a.toString();
    return t.join(QStringLiteral(", "));
}

// A missing file holds no parameters; anything but a JSON object is an error,
// since running on half a configuration would only fail later and less clearly.
QJsonObject LeggiOggetto(const QString &percorso)
{
    if (percorso.isEmpty() || !QFileInfo::exists(percorso))
        return {};
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        throw VbErrore(75, QStringLiteral("Impossibile leggere il file dei parametri del menu \"%1\": %2")
                               .arg(percorso, f.errorString()));
    QJsonParseError errore;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &errore);
    if (errore.error != QJsonParseError::NoError || !doc.isObject())
        throw VbErrore(13,
                       QStringLiteral("Il file dei parametri del menu \"%1\" non è un oggetto JSON valido%2")
                           .arg(percorso, errore.error != QJsonParseError::NoError
                                              ? QStringLiteral(": ") + errore.errorString()
                                              : QString()));
    return doc.object();
}

// Sets (a value) or removes (none) the given names in a parameter file,
// leaving every other name as it was; names are matched without regard to case.
void AggiornaFile(const QString &percorso, const QList<QPair<QString, std::optional<QVariant>>> &modifiche)
{
    if (percorso.isEmpty())
        return;
    QJsonObject o = LeggiOggetto(percorso);
    for (const auto &[nome, valore] : modifiche) {
        for (const QString &k : o.keys())
            if (k.compare(nome, Qt::CaseInsensitive) == 0)
                o.remove(k);
        if (valore)
            o.insert(nome, ValoreJson(*valore));
    }
    const bool nuovo = !QFileInfo::exists(percorso);
    QSaveFile f(percorso);
    const bool aperto = f.open(QIODevice::WriteOnly);
    // The parameters hold logins and servers: a new file is its owner's only.
    if (aperto && nuovo)
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!aperto || f.write(QJsonDocument(o).toJson(QJsonDocument::Indented)) < 0 || !f.commit())
        throw VbErrore(75, QStringLiteral("Impossibile scrivere il file dei parametri del menu \"%1\": %2")
                               .arg(percorso, f.errorString()));
}

} // namespace

ClienteMenuLocale::ClienteMenuLocale(const QString &fileParametri, const QString &fileComuni, QObject *parent)
    : ClienteMenu(parent), m_file(fileParametri), m_fileComuni(fileComuni)
{
    if (m_fileComuni.isEmpty() && !m_file.isEmpty()) {
        const QFileInfo fi(m_file);
        m_fileComuni = fi.dir().filePath(fi.completeBaseName() + QStringLiteral("-comuni.json"));
    }
}

void ClienteMenuLocale::Carica()
{
    QHash<QString, Voce> par;
    for (const QString &percorso : {m_fileComuni, m_file}) {
        const QJsonObject o = LeggiOggetto(percorso);
        for (auto it = o.begin(); it != o.end(); ++it)
            Imposta(par, it.key(), ValoreDaJson(it.value()));
    }
    m_par = par;
}

void ClienteMenuLocale::SalvaFile()
{
    QList<QPair<QString, std::optional<QVariant>>> tutto;
    for (const Voce &v : std::as_const(m_par))
        if (!IniComuniLocali::EPassword(v.nome))
            tutto.append({v.nome, v.valore});
    AggiornaFile(m_file, tutto);
}

void ClienteMenuLocale::Imposta(QHash<QString, Voce> &dove, const QString &nome, const QVariant &valore)
{
    auto it = dove.find(Chiave(nome));
    if (it == dove.end())
        dove.insert(Chiave(nome), Voce{nome, valore});
    else
        it->valore = valore;
}

QVariant ClienteMenuLocale::LeggiPar(const QString &nome, const QVariant &predef)
{
    // A plain per-configuration e-mail key answers for the configuration in
    // use (EmailTipoNum) when that one holds it.
    const auto numero = m_par.constFind(Chiave(QStringLiteral("EmailTipoNum")));
    if (numero != m_par.constEnd()) {
        const QString numerato = IniComuniLocali::NomeInConfigurazione(nome, numero->valore.toInt());
        const auto v = numerato.isEmpty() ? m_par.constEnd() : m_par.constFind(Chiave(numerato));
        if (v != m_par.constEnd())
            return v->valore;
    }
    auto it = m_par.constFind(Chiave(nome));
    if (it != m_par.constEnd())
        return it->valore;
    return NomePersonale(nome) ? QVariant(NonTrovato) : predef;
}

void ClienteMenuLocale::ScriviPar(const QString &nome, const QVariant &valore)
{
    if (nome.compare(QStringLiteral("ScriviIniComuni"), Qt::CaseInsensitive) == 0) {
        Registra(QStringLiteral("ScriviPar"), {nome, valore});
        EseguiIniComuni(valore.toString());
        return;
    }
    if (nome.compare(QStringLiteral("LeggiIniComuni"), Qt::CaseInsensitive) == 0) {
        Registra(QStringLiteral("ScriviPar"), {nome, valore});
        RileggiIniComuni();
        return;
    }
    Imposta(m_par, nome, valore);
    if (m_salva && !IniComuniLocali::EPassword(nome))
        AggiornaFile(m_file, {{nome, valore}});
}

void ClienteMenuLocale::ImpostaValore(const QString &nome, int tipo, bool flag, const QVariant &valore)
{
    Imposta(m_perLancio, nome, valore);
    Registra(QStringLiteral("ImpostaValore"), {nome, tipo, flag, valore});
}

void ClienteMenuLocale::Richiesta(const QString &ambito, const QString &richiesta)
{
    Registra(QStringLiteral("Richiesta"), {ambito, richiesta});
}

void ClienteMenuLocale::PassaAProgramma(const QString &programma, const QString &form, const QString &chiave)
{
    Registra(QStringLiteral("PassaAProgramma"), {programma, form, chiave});
}

void ClienteMenuLocale::Attiva(const QString &ambito, const QVariant &procId)
{
    Registra(QStringLiteral("Attiva"), {ambito, procId});
}

void ClienteMenuLocale::ParametroHost(const QString &nome, const QString &ambito, const QVariant &valore)
{
    Registra(QStringLiteral("ParametroHost"), {nome, ambito, valore});
    if (nome.compare(QStringLiteral("MsgBox"), Qt::CaseInsensitive) != 0)
        return;
    // Without a menu program nobody else would show the message.
    const QString testo = valore.toString();
    m_messaggi.append(testo);
    if (RisposteProgrammate::Attivo(RisposteProgrammate::MsgHost)) {
        RisposteProgrammate::Prendi(RisposteProgrammate::MsgHost);
        RisposteProgrammate::Registra(RisposteProgrammate::MsgHost,
                                      {{QStringLiteral("testo"), testo}, {QStringLiteral("ambito"), ambito}});
        return;
    }
    QMessageBox::warning(nullptr, QCoreApplication::applicationName(), testo);
}

void ClienteMenuLocale::NomeTerminale(QString &valore)
{
    const QVariant v = LeggiPar(QStringLiteral("NomeTerminale"), QVariant());
    valore = v.isValid() && !v.toString().isEmpty() ? v.toString() : QSysInfo::machineHostName();
}

bool ClienteMenuLocale::Esiste(const QString &nome) const
{
    return m_par.contains(Chiave(nome));
}

QStringList ClienteMenuLocale::Nomi() const
{
    QStringList r;
    for (const Voce &v : m_par)
        r << v.nome;
    r.sort(Qt::CaseInsensitive);
    return r;
}

QVariant ClienteMenuLocale::ValorePerLancio(const QString &nome) const
{
    auto it = m_perLancio.constFind(Chiave(nome));
    return it == m_perLancio.constEnd() ? QVariant() : it->valore;
}

void ClienteMenuLocale::Registra(const QString &nome, const QVariantList &argomenti)
{
    m_registro.append({nome, argomenti});
    qCInfo(logMenuLocale).noquote() << "menu:" << nome << "(" << Descrivi(argomenti) << ")";
}

void ClienteMenuLocale::EseguiIniComuni(const QString &selezione)
{
    const IniComuniLocali::Selezione s = IniComuniLocali::LeggiSelezione(selezione);
    QList<QPair<QString, std::optional<QVariant>>> modifiche;
    for (const QString &nome : s.nomi) {
        if (!s.salva) {
            modifiche.append({nome, std::nullopt});
            continue;
        }
        // Only what the program holds can be saved: a flagged name never set is
        // left alone; a password is never written to a file.
        if (IniComuniLocali::EPassword(nome))
            continue;
        auto it = m_par.constFind(Chiave(nome));
        if (it != m_par.constEnd())
            modifiche.append({it->nome, it->valore});
    }
    AggiornaFile(s.comune ? m_fileComuni : m_file, modifiche);
}

void ClienteMenuLocale::RileggiIniComuni()
{
    QHash<QString, Voce> daiFile;
    for (const QString &percorso : {m_fileComuni, m_file}) {
        const QJsonObject o = LeggiOggetto(percorso);
        for (auto it = o.begin(); it != o.end(); ++it)
            Imposta(daiFile, it.key(), ValoreDaJson(it.value()));
    }
    for (const QString &nome : IniComuniLocali::NomiParametri())
        if (!daiFile.contains(Chiave(nome)))
            m_par.remove(Chiave(nome));
    for (const Voce &v : std::as_const(daiFile))
        Imposta(m_par, v.nome, v.valore);
}
