#include "streets/StreetMapCommands.h"

void StreetMapCommands::raionSiSemavaliyvelaquCismiTiTeba1Click() {}

void StreetMapCommands::StreetGenShowMnItClick() {}

void StreetMapCommands::StreetDetShowMnItClick() {}
