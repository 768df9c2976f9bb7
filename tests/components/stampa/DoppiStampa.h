// Test doubles around the print engine: a preview that records the pages
// drawn and answers Continua as a user would, a progress window that can
// press its stop button, an e-mail sender, a list of customers made on
// demand, and readers of the PDF and separated-text files the engine writes.
#pragma once

#include "components/stampa/FinestreStampa.h"
#include "components/stampa/SorgenteMemoria.h"
#include "components/stampa/Stampatore.h"
#include "components/util/Currency.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <functional>

class VistaFinta : public VistaStampa
{
  public:
    Stampatore *motore = nullptr;
    QImage tela;
    QList<int> pagine; // the page drawn at each TelaDisegnata
    std::array<bool, 5> frecce{};
    QString messaggio;
    int continua = 0;
    bool attivo = true;
    bool mostrata = false;
    // The user's move inside Continua; by default "next page".
    std::function<void(VistaFinta &)> azione;
    std::function<void()> allaPagina;

    void ogStampa(Stampatore *m) override
    {
        motore = m;
        if (m) {
            m->UltimaPaginaSalvata(0);
            m->PaginaCorrente(1);
            m->UltimaPagina(1);
        }
    }
    Stampatore *ogStampa() const override { return motore; }
    void Mostra() override { mostrata = true; }
    bool obAttivo() const override { return attivo; }
    QImage &Tela() override { return tela; }
    void TelaDisegnata() override
    {
        pagine << motore->UltimaPagina();
        if (allaPagina)
            allaPagina();
    }
    void Continua() override
    {
        ++continua;
        if (azione)
            azione(*this);
        else
            Avanti();
    }
    void AbilitaFreccia(int i, bool a) override { frecce[size_t(i)] = a; }
    void SistImgFrecce() override {}
    void ScriviMessaggio(const QString &t) override { messaggio = t; }

    void Avanti()
    {
        motore->PaginaCorrente(motore->PaginaCorrente() + 1);
        motore->UltimaPagina(motore->PaginaCorrente());
    }
    void Esci()
    {
        motore->ChiusuraRichiesta(true);
        motore->Interrompi(2);
    }
};

class AvanzamentoFinto : public AvanzamentoStampa
{
  public:
    Stampatore *motore = nullptr;
    QList<int> pagine;
    qint64 righe = 0;
    int fermaAllaPagina = 0;   // presses stop when this page is reported
    qint64 fermaAlleRighe = 0; // or when this many rows are
    bool rispostaEmail = true;
    int richiesteEmail = 0;
    bool visibile = false;
    std::function<void(int)> allaPagina;

    void ogStampa(Stampatore *m) override { motore = m; }
    void Mostra() override { visibile = true; }
    void Nascondi() override { visibile = false; }
    void PaginaInStampa(int p) override
    {
        pagine << p;
        if (allaPagina)
            allaPagina(p);
        if (fermaAllaPagina > 0 && p >= fermaAllaPagina)
            motore->Interrompi(1);
    }
    void RigheInStampa(qint64 r) override
    {
        righe = r;
        if (fermaAlleRighe > 0 && r >= fermaAlleRighe)
            motore->Interrompi(1);
    }
    QVariant ChiediEmailLogPwd() override
    {
        ++richiesteEmail;
        return rispostaEmail;
    }
};

class InvioFinto : public InvioEmail
{
  public:
    QList<Esito> risposte; // one per call; Inviato when none left
    QStringList file;
    // Runs during the send (a stop pressed meanwhile); then Interrotto when
    // the engine's Fermata answers true.
    std::function<void()> durante;
    Esito Invia(OpzStampa &, const QString &filePdf, QString &errore) override
    {
        file << filePdf;
        Dettaglio.clear();
        if (durante) {
            durante();
            if (Fermata && Fermata())
                return Esito::Interrotto;
        }
        const Esito e = risposte.isEmpty() ? Esito::Inviato : risposte.takeFirst();
        if (e != Esito::Inviato) {
            errore = QStringLiteral("login rifiutato dal server");
            Dettaglio = QStringLiteral("535 5.7.8 Authentication credentials invalid");
        }
        return e;
    }
};

// A customer list: code, name, balance (numbers) and a hidden note.
inline QList<ColonnaStampa> ColonneClienti()
{
    return {{QStringLiteral("Codice"), 1000, Qt::AlignLeft, true, false},
            {QStringLiteral("Ragione sociale"), 4000, Qt::AlignLeft, true, false},
            {QStringLiteral("Saldo"), 1500, Qt::AlignRight, true, true},
            {QStringLiteral("Note"), 3000, Qt::AlignLeft, false, false}};
}

inline SorgenteMemoria SorgenteClienti(qint64 righe,
                                       const QString &didascalia = QStringLiteral("Elenco clienti"))
{
    return SorgenteMemoria(
        ColonneClienti(), righe,
        [](qint64 r, QList<CellaStampa> &c) {
            c.resize(4);
            const QString codice = QStringLiteral("C%1").arg(r + 1, 6, 10, QLatin1Char('0'));
            c[0] = {codice, codice};
            const QString nome = QStringLiteral("Cliente numero %1 S.r.l.").arg(r + 1);
            c[1] = {nome, nome};
            const Currency saldo = Currency::fromRaw((r % 1000) * 12345);
            c[2] = {saldo.toString(2).replace(QLatin1Char('.'), QLatin1Char(',')), saldo.toVariant()};
            c[3] = {QStringLiteral("nota"), QStringLiteral("nota")};
        },
        didascalia);
}

// Pages and the first page's size (points) of a PDF, through pdfinfo.
inline int PaginePdf(const QString &file, QString *dimensioni = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return -1;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (dimensioni)
        *dimensioni =
            QRegularExpression(QStringLiteral("Page size:\\s+([^\\n]*)")).match(out).captured(1).trimmed();
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out).captured(1).toInt();
}

inline QString TestoPdf(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The rows of a separated-text file as Python's csv module reads them, with
// the file's separator and qualifier (none: the double quote, as spreadsheet
// programs open a file by default); each row the list of its fields.
inline QList<QStringList> RigheCsv(const QString &file, const QString &separatore,
                                   const QString &delimitatore)
{
    static const QString script =
        QStringLiteral("import csv, json, sys\n"
                       "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                       "    r = csv.reader(f, delimiter=sys.argv[2], quotechar=sys.argv[3] or '\"')\n"
                       "    print(json.dumps(list(r)))\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), script, file, separatore, delimitatore});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {{QStringLiteral("python3: ") + QString::fromUtf8(p.readAllStandardError())}};
    QList<QStringList> righe;
    for (const QJsonValue &riga : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList campi;
        for (const QJsonValue &campo : riga.toArray())
            campi << campo.toString();
        righe << campi;
    }
    return righe;
}
