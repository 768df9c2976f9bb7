// Receiver of the lookup library's events: it hands the library the main
// window, keeps the keys a lookup leaves for another program, and holds the
// parameters the start-up passes to the library.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

class scAziUtilPrg : public QObject {
    Q_OBJECT
public:
    explicit scAziUtilPrg(QObject *parent = nullptr);

    // Parameters for the lookup library ("PathDbMenu"...), names without regard to case.
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
    QHash<QString, QVariant> m_parametri;
};
