// The lookup kind behind each simple code field of the customer form, shared
// by its function-key lookups and by the decoding of a field left.
#pragma once

#include <QString>
#include <QVariant>

struct TipoCampo {
    QString tipo;         // lookup kind ("Zona", "Pagamento"...)
    QVariant contesto;    // value that narrows the kind (class number, account types)
    bool opzione = false; // the lookup offers "Nuovo"
};

// False for a field that is no simple code field.
bool TipoCampoCodice(int indice, TipoCampo &tipo);
