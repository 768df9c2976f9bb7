// What the common form framework needs of a window: its read/write level, its
// opening parameter, its managers (page, line-grid, list), its toolbar
// commands, its text boxes by index and their KeyUp, and its screen-scaling
// bookkeeping. A window implements what applies to it; the rest keeps the
// defaults.
#pragma once

#include <QString>
#include <QVariant>

class QWidget;

class FormComune
{
  public:
    virtual ~FormComune() = default;

    virtual QWidget *finestra() = 0;

    // Managers that receive the framework's parameters ("RisVid", "AbilRW",
    // "RisVidFatta"), as flags that may be combined.
    enum Gestore { GestorePagine = 1, GestoreLinee = 2, GestoreLista = 4 };
    virtual void ParGestore(int gestore, const QString &nome, const QVariant &valore)
    {
        (void)gestore;
        (void)nome;
        (void)valore;
    }

    // Read/write level: 1 editable, 0 read-only.
    virtual int oiAbilRW() const { return m_abilRW; }
    virtual void oiAbilRW(int livello) { m_abilRW = livello; }

    // Opening parameter of a launched window ("RO=/RO").
    virtual QString ParametroApertura() const { return {}; }

    // Toolbar commands by key, and whether one is available now.
    virtual void ButtonComando(const QString &psKey) { (void)psKey; }
    virtual bool ComandoDisponibile(const QString &psKey) const
    {
        (void)psKey;
        return true;
    }

    // txt(indice), or txtAppo(indice) with `appo`; nullptr when missing.
    virtual QWidget *CampoTesto(int indice, bool appo)
    {
        (void)indice;
        (void)appo;
        return nullptr;
    }
    virtual void txt_KeyUp(int Index, int &KeyCode, int Shift)
    {
        (void)Index;
        (void)KeyCode;
        (void)Shift;
    }
    virtual void txtAppo_KeyUp(int Index, int &KeyCode, int Shift)
    {
        (void)Index;
        (void)KeyCode;
        (void)Shift;
    }

    // Screen scaling: the [Risoluzione Video] key of the window ("" = Generale)
    // and the factor applied so far (0 = none yet).
    QString osRisVidKey;
    double odRisVidVal = 0;

  private:
    int m_abilRW = 1;
};
