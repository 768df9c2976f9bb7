// Registration of the customer form with the form dispatcher.
#pragma once

// Registers "frmClienti" (opened by the names "frmclienti", "frmClienti"...).
void RegistraFormClienti();
