// The wait window.
#include "services/frmConn.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace
{

QPointer<QFrame> &finestra()
{
    static QPointer<QFrame> f;
    return f;
}

} // namespace

namespace frmConn
{

void Mostra(const QString &psTesto)
{
    QPointer<QFrame> &f = finestra();
    if (!f) {
        f = new QFrame(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
        f->setObjectName(QStringLiteral("frmConn"));
        f->setAttribute(Qt::WA_DeleteOnClose);
        f->setFrameShape(QFrame::Box);
        auto *lay = new QVBoxLayout(f);
        auto *lab = new QLabel(f);
        lab->setObjectName(QStringLiteral("LabConn"));
        lab->setAlignment(Qt::AlignCenter);
        lab->setMinimumWidth(320);
        lay->addWidget(lab);
    }
    f->findChild<QLabel *>(QStringLiteral("LabConn"))->setText(psTesto);
    f->adjustSize();
    f->show();
    f->raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Scarica()
{
    if (QPointer<QFrame> &f = finestra())
        delete f.data();
}

bool Caricato()
{
    return !finestra().isNull();
}

QString Testo()
{
    const QPointer<QFrame> &f = finestra();
    return f ? f->findChild<QLabel *>(QStringLiteral("LabConn"))->text() : QString();
}

bool EFrmConn(const QWidget *w)
{
    return w && w == finestra().data();
}

} // namespace frmConn
