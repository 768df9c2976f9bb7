// Registration of the customer form with the form dispatcher.
#include "customer/RegistraFormClienti.h"

#include "customer/frmClienti.h"
#include "services/FormLanciabile.h"

void RegistraFormClienti()
{
    RegistroForm::Registra(
        QStringLiteral("frmClienti"), [] { return static_cast<FormLanciabile *>(new frmClienti); },
        QStringLiteral("Clienti"));
}
