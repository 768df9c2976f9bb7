// Whether a print runs: the program's StaAtt, 1 from the start of a print
// engine's run to its end (on every way out: done, stopped, failed, thrown),
// else 0. Every window reads it (Globali::StaAtt): the list-print dialog
// refuses a second print, the print choice refuses changes of the print
// parameters and the preview refuses to close while it is 1. Only a running
// print writes it (Stampatore::Stampa holds a StatoStampa::InCorso for as long
// as it runs), so the windows and the engines cannot disagree about it.
#pragma once

class StatoStampa
{
  public:
    static constexpr const int &StaAtt() { return s_staAtt; }

    // Held for the length of one print. Prints started inside another's
    // event loop (the preview waiting for its next page) count up: StaAtt
    // goes back to 0 when the last of them ends.
    class InCorso
    {
      public:
        InCorso()
        {
            ++s_aperte;
            s_staAtt = 1;
        }
        ~InCorso()
        {
            if (--s_aperte == 0)
                s_staAtt = 0;
        }
        InCorso(const InCorso &) = delete;
        InCorso &operator=(const InCorso &) = delete;
    };

  private:
    static inline int s_staAtt = 0;
    static inline int s_aperte = 0;
};
