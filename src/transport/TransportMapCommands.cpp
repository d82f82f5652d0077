#include "transport/TransportMapCommands.h"

void TransportMapCommands::marSrutisCvenebazogadrukaze1Click() {}

void TransportMapCommands::GenStopShowMnItClick() {}

void TransportMapCommands::DetStopShowMnItClick() {}
