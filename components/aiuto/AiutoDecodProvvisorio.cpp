// Temporary constructor and destructor of the lookup library so that main links
// while its implementation is being finished; delete this file when AiutoDecod.cpp lands.
#include "components/aiuto/AiutoDecod.h"

AiutoDecod::AiutoDecod(QObject *parent) : QObject(parent) {}
AiutoDecod::~AiutoDecod() = default;
