// The program's error an action throws, as its number and text, for tests
// that check what a failure says.
#pragma once

#include "components/util/VbErrore.h"

#include <QString>
#include <functional>
#include <utility>

// The number and text of the error `azione` throws (0 and "" when none).
inline std::pair<int, QString> ErroreDi(const std::function<void()> &azione)
{
    try {
        azione();
    } catch (const VbErrore &e) {
        return {e.numero(), e.descrizione()};
    }
    return {0, QString()};
}
