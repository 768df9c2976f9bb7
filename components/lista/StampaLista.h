// How a list window is printed: its GestLista is a ComponenteStampa (see
// components/stampa/ComponenteStampa.h for the dialog, the provider and the
// run).
#pragma once

#include "components/stampa/ComponenteStampa.h"
