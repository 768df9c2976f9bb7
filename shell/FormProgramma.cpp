// The windows this program opens by name. The customer form lives in a lower
// layer and registers itself through its own hook when it is part of the build.
#include "shell/Avvio.h"

#if __has_include("customer/RegistraFormClienti.h")
#include "customer/RegistraFormClienti.h"
#define CLIENTI_HA_FORM_CLIENTI 1
#endif

void RegistraFormProgramma()
{
#ifdef CLIENTI_HA_FORM_CLIENTI
    RegistraFormClienti();
#endif
}
