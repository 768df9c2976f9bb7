// The mailer's bench: a PDF to send, the e-mail keys of the print options
// pointing at the local SMTP receiver, and a log file.
#pragma once

#include "components/stampa/InvioEmailSmtp.h"
#include "components/stampa/OpzStampa.h"
#include "support/ServerSmtp.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

class BancoInvioEmail : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        QString motivo;
        server = ServerSmtp::Istanza(&motivo);
        if (!server) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        pdf = dir.filePath(QStringLiteral("Elenco_clienti.pdf"));
        {
            QPdfWriter w(pdf);
            QPainter p(&w);
            // A mark of its own: the receiver is shared by tests running at once,
            // and PDFs written in the same second are otherwise the same bytes.
            p.drawText(100, 100, QStringLiteral("Elenco clienti ") + QUuid::createUuid().toString());
        }
        QFile f(pdf);
        f.open(QIODevice::ReadOnly);
        byte = f.readAll();
        log = dir.filePath(QStringLiteral("email.log"));
        const std::pair<const char *, QVariant> chiavi[] = {
            {"EmailTipoInvio", QStringLiteral("S")},
            {"EmailServerSMTP", QStringLiteral("127.0.0.1")},
            {"EmailNumPorta", QString::number(server->porta)},
            {"EmailInd", QStringLiteral("vendite@ditta.it")},
            {"EmailCentro", QStringLiteral("Ufficio vendite")},
            {"EmailReplay", QStringLiteral("risposte@ditta.it")},
            {"EmailTo", QStringLiteral("mario@cliente.it; \"Anna, amm.\" <anna@cliente.it>")},
            {"EmailOggetto", QStringLiteral("Elenco clienti del 05/12/2024 – città")},
            {"EmailTesto", QStringLiteral("In allegato l'elenco.\nCordiali saluti")},
            {"EmailLogin", server->login},
            {"EmailPwd", server->password},
            {"EmailFileLog", log}};
        for (const auto &[k, v] : chiavi)
            opz.ImpostaParStampa(QString::fromLatin1(k), v);
    }

    ServerSmtp *server = nullptr;
    QTemporaryDir dir;
    QString pdf, log;
    QByteArray byte;
    OpzStampa opz;
    InvioEmailSmtp invio;
};
