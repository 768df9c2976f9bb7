// A check box that only the program greys: the user's click turns a greyed
// or clear box ticked and a ticked one clear, never greyed.
#pragma once

#include <QCheckBox>

class CasellaVb : public QCheckBox
{
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};
