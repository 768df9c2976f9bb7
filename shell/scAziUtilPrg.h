// Receiver of the lookup library's events: it hands the library the main
// window and keeps the keys a lookup leaves for another program.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include "components/aiuto/AiutoDecod.h"
class QWidget;

class scAziUtilPrg : public QObject
{
    Q_OBJECT
  public:
    // Receives the events of `aiuto` (not owned).
    explicit scAziUtilPrg(AiutoDecod *aiuto, QObject *parent = nullptr);

    AiutoDecod *ogAziAiuto() const { return mgAziAiuto; }

    // A setting of the lookup library ("PathDbMenu"...).
    void ImpostaParametro(const QString &nome, const QVariant &valore);
    QVariant Parametro(const QString &nome) const;

    // The library asks for the program's main window.
    void mgAziAiuto_ClsMainMenuFrm(QWidget *&frm);
    // The library is about to decode; nothing to prepare in this program.
    void mgAziAiuto_ClsPrepDecod(const QString &tipo);
    // A lookup asks to launch another program: the host reads the keys back
    // with "keyprgprim" and "keyprgsec".
    void mgAziAiuto_LanciaKeyPrim(const QString &chiave);
    void mgAziAiuto_LanciaKeySec(const QString &chiave);

  private:
    QPointer<AiutoDecod> mgAziAiuto;
};
